// Range checks of the numeric fields: which range each field has, what the
// message says, how texts are read, and how the focus comes back afterwards.
#include "app/mainwindow.h"
#include "testsupport.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>

namespace
{

const char *const identifierText = "L'identifiant est en dehors des limites.";
const char *const periodText = "La periode est en dehors des limites.";
const char *const timeShiftText = "Le décalage horaire est en dehors des limites.";
const char *const offsetText = "L'offset est en dehors des limites.";
const char *const frameIdentifierRange = "La valeur doit être comprise entre 10 et 2045";
const char *const periodRange = "La valeur doit être comprise entre 10 et 2500 (ms)";
const char *const timeShiftRange = "La valeur doit être comprise entre -12 et 12";
const char *const firstIdentifierRange = "La valeur doit être comprise entre 10 et 2000";
const char *const offsetRange = "La valeur doit être comprise entre 10 et 30";

const QStringList frameIdentifierFields = {"lineEdit_ID_Lat_Lon",      "lineEdit_ID_Speed_Alt",
                                           "lineEdit_ID_precision",    "lineEdit_ID_UTC_Time",
                                           "lineEdit_ID_Current_Time", "lineEdit_ID_Time"};
const QStringList periodFields = {"lineEdit_periode_Lon_Lat",
                                  "lineEdit_periode_Speed_Alt",
                                  "lineEdit_periode_precision",
                                  "lineEdit_periode_UTC_time",
                                  "lineEdit_periode_Current_time",
                                  "lineEdit_periode_Time",
                                  "lineEdit_periode_Lon_Lat_RT",
                                  "lineEdit_periode_Time_RT",
                                  "lineEdit_periode_ECUMASTER_GPS_INFOS",
                                  "lineEdit_periode_ECUMASTER_TIME"};

QLineEdit *field(MainWindow &window, const QString &name)
{
    return window.findChild<QLineEdit *>(name);
}

// Ends the editing of a field the way the form reports it, through the
// field's own signal and whatever is connected to it.
void finish(QLineEdit *field)
{
    emit field->editingFinished();
}

bool activate(QWidget *window)
{
    window->show();
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// Answers range messages like the program's user: each box first takes the
// focus, as a window system gives it to a new modal window, then is closed
// with OK. A box raised while another is still up is closed as well and
// counted apart, so that a stacked message fails the test instead of hanging it.
class RangeMessages
{
public:
    RangeMessages()
    {
        answerer.inspect = [this](QDialog *box) {
            QPointer<QDialog> first = box;
            QTimer stackedCloser;
            stackedCloser.setInterval(5);
            QObject::connect(&stackedCloser, &QTimer::timeout, [this, first] {
                auto *top = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (top && top != first && top->isVisible()) {
                    ++stacked;
                    top->buttons().first()->click();
                }
            });
            stackedCloser.start();
            QApplication::setActiveWindow(box);
        };
    }
    int shown() const { return answerer.seen.size(); }
    const testsupport::SeenBox &last() const { return answerer.seen.last(); }

    testsupport::ModalAnswerer answerer;
    int stacked = 0;
};

} // namespace

class TestRangeChecks : public QObject
{
    Q_OBJECT

private slots:
    void fieldRanges_data();
    void fieldRanges();
    void checkSlots_data();
    void checkSlots();
    void conversions_data();
    void conversions();
    void emptiedField_data();
    void emptiedField();
    void focusComesBack_data();
    void focusComesBack();
    void oneFinishOneMessage_data();
    void oneFinishOneMessage();
    void textsStayFrench_data();
    void textsStayFrench();
    void loadingRaisesNoMessage();
};

void TestRangeChecks::fieldRanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("accepted");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("informative");

    for (const QString &name : frameIdentifierFields)
        QTest::newRow(qPrintable(name))
            << name << QStringList{"10", "2045"} << QStringList{"9", "2046"} << identifierText
            << frameIdentifierRange;
    for (const QString &name : periodFields)
        QTest::newRow(qPrintable(name)) << name << QStringList{"10", "2500"}
                                        << QStringList{"9", "2501"} << periodText << periodRange;
    QTest::newRow("lineEdit_TimeShift")
        << "lineEdit_TimeShift" << QStringList{"-12", "0", "12"} << QStringList{"-13", "13"}
        << timeShiftText << timeShiftRange;
    QTest::newRow("lineEdit_PremierID_RT")
        << "lineEdit_PremierID_RT" << QStringList{"10", "2000"} << QStringList{"9", "2001"}
        << identifierText << firstIdentifierRange;
    QTest::newRow("lineEdit_PremierID_ECUMASTER")
        << "lineEdit_PremierID_ECUMASTER" << QStringList{"10", "2000"} << QStringList{"9", "2001"}
        << identifierText << firstIdentifierRange;
    QTest::newRow("lineEdit_OffsetID_RT") << "lineEdit_OffsetID_RT" << QStringList{"10", "30"}
                                          << QStringList{"9", "31"} << offsetText << offsetRange;
}

// Every field, at and just past both ends of its range: the bounds, the two
// texts, and a box without parent, title or icon that offers only OK.
void TestRangeChecks::fieldRanges()
{
    QFETCH(QString, name);
    QFETCH(QStringList, accepted);
    QFETCH(QStringList, refused);
    QFETCH(QString, text);
    QFETCH(QString, informative);

    testsupport::ModalAnswerer answerer;
    MainWindow window;
    QLineEdit *edit = field(window, name);
    QVERIFY(edit);

    for (const QString &value : accepted) {
        edit->setText(value);
        finish(edit);
        QVERIFY2(answerer.seen.isEmpty(), qPrintable(value));
    }
    for (const QString &value : refused) {
        const int before = answerer.seen.size();
        edit->setText(value);
        finish(edit);
        QCOMPARE(answerer.seen.size(), before + 1);
        const testsupport::SeenBox &box = answerer.seen.last();
        QCOMPARE(box.className, QString("QMessageBox"));
        QCOMPARE(box.text, text);
        QCOMPARE(box.informativeText, informative);
        QCOMPARE(box.title, QString());
        QVERIFY(!box.hadParent);
        QVERIFY(!box.hadIcon);
        QCOMPARE(box.buttonCount, 1);
        QCOMPARE(edit->text(), value);
    }
}

void TestRangeChecks::checkSlots_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<QString>("informative");

    QTest::newRow("id 9") << QByteArray("checkIDRange") << 9u << false << frameIdentifierRange;
    QTest::newRow("id 10") << QByteArray("checkIDRange") << 10u << true << "";
    QTest::newRow("id 2045") << QByteArray("checkIDRange") << 2045u << true << "";
    QTest::newRow("id 2046") << QByteArray("checkIDRange") << 2046u << false
                             << frameIdentifierRange;
    QTest::newRow("id max") << QByteArray("checkIDRange") << 4294967295u << false
                            << frameIdentifierRange;
    QTest::newRow("period 9") << QByteArray("checkPeriodeRange") << 9u << false << periodRange;
    QTest::newRow("period 10") << QByteArray("checkPeriodeRange") << 10u << true << "";
    QTest::newRow("period 2500") << QByteArray("checkPeriodeRange") << 2500u << true << "";
    QTest::newRow("period 2501") << QByteArray("checkPeriodeRange") << 2501u << false
                                 << periodRange;
}

// The two check slots answer on their own and show their own message.
void TestRangeChecks::checkSlots()
{
    QFETCH(QByteArray, slot);
    QFETCH(uint, value);
    QFETCH(bool, inRange);
    QFETCH(QString, informative);

    testsupport::ModalAnswerer answerer;
    MainWindow window;
    bool result = !inRange;
    QVERIFY(QMetaObject::invokeMethod(&window, slot.constData(), Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, result), Q_ARG(uint32_t, value)));
    QCOMPARE(result, inRange);
    QCOMPARE(answerer.seen.size(), inRange ? 0 : 1);
    if (!inRange)
        QCOMPARE(answerer.seen.first().informativeText, informative);
}

void TestRangeChecks::conversions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("refused");

    // A minus sign makes an unsigned reading fail: 0, out of range.
    QTest::newRow("-5 identifier") << "lineEdit_ID_Time"
                                   << "-5" << true;
    QTest::newRow("-5 period") << "lineEdit_periode_Time_RT"
                               << "-5" << true;
    QTest::newRow("-5 first identifier") << "lineEdit_PremierID_RT"
                                         << "-5" << true;
    QTest::newRow("-5 time zone") << "lineEdit_TimeShift"
                                  << "-5" << false;
    // What fails to convert reads as 0, which is a valid time zone offset.
    QTest::newRow("time zone too large") << "lineEdit_TimeShift"
                                         << "99999999999" << false;
    QTest::newRow("time zone 2^31") << "lineEdit_TimeShift"
                                    << "2147483648" << false;
    // The ECUmaster fields take any text.
    for (const char *name : {"lineEdit_PremierID_ECUMASTER", "lineEdit_periode_ECUMASTER_GPS_INFOS",
                             "lineEdit_periode_ECUMASTER_TIME"}) {
        const QByteArray tag = QByteArray(name).mid(int(qstrlen("lineEdit_")));
        QTest::newRow((tag + " empty").constData()) << name << "" << true;
        QTest::newRow((tag + " letters").constData()) << name << "abc" << true;
        QTest::newRow((tag + " trailing letters").constData()) << name << "100ms" << true;
        QTest::newRow((tag + " hexadecimal").constData()) << name << "0x20" << true;
        QTest::newRow((tag + " octal-looking").constData()) << name << "0100" << false;
        QTest::newRow((tag + " 2^32 + 100").constData()) << name << "4294967396" << true;
        QTest::newRow((tag + " -5").constData()) << name << "-5" << true;
    }
}

// Texts are read in base 10 as 32-bit numbers; what does not read is 0.
void TestRangeChecks::conversions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, refused);

    testsupport::ModalAnswerer answerer;
    MainWindow window;
    QLineEdit *edit = field(window, name);
    edit->setText(text);
    finish(edit);
    QCOMPARE(answerer.seen.size(), refused ? 1 : 0);
    QCOMPARE(edit->text(), text);
}

void TestRangeChecks::emptiedField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("refused");

    const QList<QPair<const char *, int>> keys = {{"Return", Qt::Key_Return}, {"Tab", Qt::Key_Tab}};
    for (const auto &key : keys) {
        // The integer fields do not report an empty text as finished.
        for (const char *name :
             {"lineEdit_ID_Lat_Lon", "lineEdit_periode_Speed_Alt", "lineEdit_TimeShift",
              "lineEdit_PremierID_RT", "lineEdit_OffsetID_RT"})
            QTest::addRow("%s %s", name + 9, key.first) << name << key.second << false;
        // The ECUmaster fields do, and empty reads as 0.
        for (const char *name :
             {"lineEdit_PremierID_ECUMASTER", "lineEdit_periode_ECUMASTER_GPS_INFOS",
              "lineEdit_periode_ECUMASTER_TIME"})
            QTest::addRow("%s %s", name + 9, key.first) << name << key.second << true;
    }
}

// The user empties a field with the keyboard and leaves it with a key.
void TestRangeChecks::emptiedField()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(bool, refused);

    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    QLineEdit *edit = field(window, name);
    edit->setText("20");
    edit->setFocus(Qt::TabFocusReason);
    QVERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString());

    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(answers.shown(), refused ? 1 : 0);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(edit->text(), QString());
}

void TestRangeChecks::focusComesBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("identifier") << "lineEdit_ID_Lat_Lon"
                                << "2046";
    QTest::newRow("period") << "lineEdit_periode_UTC_time"
                            << "9";
    QTest::newRow("time zone") << "lineEdit_TimeShift"
                               << "-13";
    QTest::newRow("offset") << "lineEdit_OffsetID_RT"
                            << "31";
    QTest::newRow("ECUmaster identifier") << "lineEdit_PremierID_ECUMASTER"
                                          << "abc";
}

// The user leaves a field with Tab; after the message the field has the
// focus back, holds the same text and has all of it selected.
void TestRangeChecks::focusComesBack()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    QLineEdit *edit = field(window, name);
    edit->setFocus(Qt::MouseFocusReason);
    edit->setText(text);
    edit->setCursorPosition(1);
    QVERIFY(!edit->hasSelectedText());

    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(answers.shown(), 1);
    QCOMPARE(window.focusWidget(), edit);
    QVERIFY(activate(&window));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->selectedText(), text);

    // The field can be typed over at once.
    QTest::keyClicks(edit, "20");
    QCOMPARE(edit->text(), QString("20"));
}

void TestRangeChecks::oneFinishOneMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("informative");
    QTest::addColumn<QString>("next");

    // The field that follows in the Tab order is out of range as well, when
    // it is a line edit.
    QTest::newRow("identifier") << "lineEdit_ID_Lat_Lon" << frameIdentifierRange
                                << "lineEdit_periode_Lon_Lat";
    QTest::newRow("identifier 2") << "lineEdit_ID_precision" << frameIdentifierRange
                                  << "lineEdit_periode_precision";
    QTest::newRow("period") << "lineEdit_periode_Time_RT" << periodRange << "";
    QTest::newRow("first identifier")
        << "lineEdit_PremierID_RT" << firstIdentifierRange << "lineEdit_OffsetID_RT";
    QTest::newRow("offset") << "lineEdit_OffsetID_RT" << offsetRange << "";
    QTest::newRow("ECUmaster period")
        << "lineEdit_periode_ECUMASTER_GPS_INFOS" << periodRange << "";
}

// The message takes the focus from the field, and the field reports the end
// of its editing once more. One Return must still give one message, a later
// Return or leaving the field gives one more, and a neighbour that loses the
// focus to the message raises nothing of its own.
void TestRangeChecks::oneFinishOneMessage()
{
    QFETCH(QString, name);
    QFETCH(QString, informative);
    QFETCH(QString, next);

    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    QLineEdit *edit = field(window, name);
    edit->setText("5");
    if (!next.isEmpty())
        field(window, next)->setText("5");
    edit->setFocus(Qt::MouseFocusReason);

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), 1);
    QCOMPARE(answers.stacked, 0);

    // Return again: the message again.
    QVERIFY(activate(&window));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), 2);
    QCOMPARE(answers.stacked, 0);

    // Typed over and left with Tab, which hands the focus to the neighbour;
    // the neighbour then loses it to the message.
    QVERIFY(activate(&window));
    QTest::keyClicks(edit, "7");
    QCOMPARE(edit->text(), QString("7"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(answers.shown(), 3);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(window.focusWidget(), edit);
    QCOMPARE(answers.last().informativeText, informative);
}

void TestRangeChecks::textsStayFrench_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("informative");

    QTest::newRow("identifier") << "lineEdit_ID_UTC_Time" << identifierText << frameIdentifierRange;
    QTest::newRow("period") << "lineEdit_periode_Time" << periodText << periodRange;
    QTest::newRow("time zone") << "lineEdit_TimeShift" << timeShiftText << timeShiftRange;
    QTest::newRow("first identifier")
        << "lineEdit_PremierID_ECUMASTER" << identifierText << firstIdentifierRange;
    QTest::newRow("offset") << "lineEdit_OffsetID_RT" << offsetText << offsetRange;
}

void TestRangeChecks::textsStayFrench()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, informative);

    const QString directory = QDir::currentPath();
    const QString application = QCoreApplication::applicationName();
    QDir::setCurrent(testsupport::buildDir());
    QCoreApplication::setApplicationName("veldrix");

    testsupport::ModalAnswerer answerer;
    {
        MainWindow window;
        QVERIFY(QMetaObject::invokeMethod(&window, "langEn", Qt::DirectConnection));
        // The captions really are English now.
        QVERIFY(window.findChild<QGroupBox *>("groupBox_General")->title() != "Paramètres CAN");

        QLineEdit *edit = field(window, name);
        edit->setText("99999");
        finish(edit);
        QVERIFY(QMetaObject::invokeMethod(&window, "langFr", Qt::DirectConnection));
    }
    QCoreApplication::setApplicationName(application);
    QDir::setCurrent(directory);

    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.first().text, text);
    QCOMPARE(answerer.seen.first().informativeText, informative);
}

// Loading a configuration writes the fields' texts; out-of-range values
// arrive that way without a message, even in the field being edited.
void TestRangeChecks::loadingRaisesNoMessage()
{
    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    const QList<QLineEdit *> edits = window.findChildren<QLineEdit *>();
    QCOMPARE(edits.size(), 20);
    edits.first()->setFocus(Qt::MouseFocusReason);
    for (QLineEdit *edit : edits)
        edit->setText("0");
    for (QLineEdit *edit : edits)
        edit->setText("65535");
    QCoreApplication::processEvents();
    QCOMPARE(answers.shown(), 0);
    QCOMPARE(edits.first()->text(), QString("65535"));
}

VELDRIX_TEST_MAIN(TestRangeChecks)
#include "tst_rangechecks.moc"
