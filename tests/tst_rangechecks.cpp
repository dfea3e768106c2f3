// Range checks of the numeric fields: each field's range and message, how
// texts are read, and what the keyboard user sees around a message.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "testsupport.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>

namespace
{

const int prefixLength = sizeof("lineEdit_") - 1;
const char *const identifierText = "L'identifiant est en dehors des limites.";
const char *const frameIdRange = "La valeur doit être comprise entre 10 et 2045";
const char *const firstIdRange = "La valeur doit être comprise entre 10 et 2000";
const char *const periodRange = "La valeur doit être comprise entre 10 et 2500 (ms)";
const char *const offsetRange = "La valeur doit être comprise entre 10 et 30";

QLineEdit *field(MainWindow &window, const QString &name)
{
    return window.findChild<QLineEdit *>(name);
}

bool activate(QWidget *window)
{
    window->show();
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// Answers range messages as they reach a user: each box first takes the focus,
// as the window system gives it to a new modal window, then is closed with OK.
// A box raised while the first is still up is closed too and counted apart,
// so that a stacked message fails the test instead of hanging it.
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

    testsupport::ModalAnswerer answerer;
    int stacked = 0;
};

} // namespace

class TestRangeChecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void fieldRanges_data();
    void fieldRanges();
    void conversions_data();
    void conversions();
    void emptiedField_data();
    void emptiedField();
    void keyboard_data();
    void keyboard();
    void loadingRaisesNoMessage();
};

// The real English catalogue, so that the captions can be switched.
void TestRangeChecks::initTestCase()
{
    QDir::setCurrent(testsupport::buildDir());
    QCoreApplication::setApplicationName("veldrix");
}

void TestRangeChecks::fieldRanges_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("accepted");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("informative");

    const struct {
        QStringList names, accepted, refused;
        const char *text, *informative;
    } kinds[] = {
        {{"lineEdit_ID_Lat_Lon", "lineEdit_ID_Speed_Alt", "lineEdit_ID_precision",
          "lineEdit_ID_UTC_Time", "lineEdit_ID_Current_Time", "lineEdit_ID_Time"},
         {"10", "2045"},
         {"9", "2046"},
         identifierText,
         frameIdRange},
        {{"lineEdit_periode_Lon_Lat", "lineEdit_periode_Speed_Alt", "lineEdit_periode_precision",
          "lineEdit_periode_UTC_time", "lineEdit_periode_Current_time", "lineEdit_periode_Time",
          "lineEdit_periode_Lon_Lat_RT", "lineEdit_periode_Time_RT",
          "lineEdit_periode_ECUMASTER_GPS_INFOS", "lineEdit_periode_ECUMASTER_TIME"},
         {"10", "2500"},
         {"9", "2501"},
         "La periode est en dehors des limites.",
         periodRange},
        {{"lineEdit_TimeShift"},
         {"-12", "0", "12"},
         {"-13", "13"},
         "Le décalage horaire est en dehors des limites.",
         "La valeur doit être comprise entre -12 et 12"},
        {{"lineEdit_PremierID_RT", "lineEdit_PremierID_ECUMASTER"},
         {"10", "2000"},
         {"9", "2001"},
         identifierText,
         firstIdRange},
        {{"lineEdit_OffsetID_RT"},
         {"10", "30"},
         {"9", "31"},
         "L'offset est en dehors des limites.",
         offsetRange},
    };
    for (const auto &kind : kinds) {
        for (const QString &name : kind.names)
            QTest::newRow(qPrintable(name))
                << name << kind.accepted << kind.refused << kind.text << kind.informative;
    }
}

// Every field at and just past both ends of its range, with the captions in
// English: the message stays French, in a box without parent, title or icon
// that offers only OK, and the text stays as it was.
void TestRangeChecks::fieldRanges()
{
    QFETCH(QString, name);
    QFETCH(QStringList, accepted);
    QFETCH(QStringList, refused);
    QFETCH(QString, text);
    QFETCH(QString, informative);

    testsupport::ModalAnswerer answerer;
    MainWindow window;
    QVERIFY(QMetaObject::invokeMethod(&window, "langEn", Qt::DirectConnection));
    QVERIFY(window.findChild<QGroupBox *>("groupBox_General")->title() != "Paramètres CAN");
    QLineEdit *edit = field(window, name);

    for (const QString &value : accepted) {
        edit->setText(value);
        emit edit->editingFinished();
        QVERIFY2(answerer.seen.isEmpty(), qPrintable(value));
    }
    for (const QString &value : refused) {
        const int before = answerer.seen.size();
        edit->setText(value);
        emit edit->editingFinished();
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
    // What fails to read is 0, a valid time zone offset.
    QTest::newRow("time zone 2^31") << "lineEdit_TimeShift"
                                    << "2147483648" << false;
    // The ECUmaster fields take any text.
    for (const char *name : {"lineEdit_PremierID_ECUMASTER", "lineEdit_periode_ECUMASTER_GPS_INFOS",
                             "lineEdit_periode_ECUMASTER_TIME"}) {
        const char *tag = name + prefixLength;
        QTest::addRow("%s empty", tag) << name << "" << true;
        QTest::addRow("%s letters", tag) << name << "abc" << true;
        QTest::addRow("%s trailing letters", tag) << name << "100ms" << true;
        QTest::addRow("%s hexadecimal", tag) << name << "0x20" << true;
        QTest::addRow("%s leading zero", tag) << name << "0100" << false;
        QTest::addRow("%s 2^32 + 100", tag) << name << "4294967396" << true;
        QTest::addRow("%s -5", tag) << name << "-5" << true;
    }
}

// Texts are read in base 10 as 32-bit numbers.
void TestRangeChecks::conversions()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, refused);

    testsupport::ModalAnswerer answerer;
    MainWindow window;
    QLineEdit *edit = field(window, name);
    edit->setText(text);
    emit edit->editingFinished();
    QCOMPARE(answerer.seen.size(), refused ? 1 : 0);
    QCOMPARE(edit->text(), text);
}

void TestRangeChecks::emptiedField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("refused");

    const QPair<const char *, Qt::Key> keys[] = {{"Return", Qt::Key_Return}, {"Tab", Qt::Key_Tab}};
    for (const auto &key : keys) {
        // The integer fields do not report an empty text as finished.
        for (const char *name : {"lineEdit_ID_Lat_Lon", "lineEdit_periode_Speed_Alt",
                                 "lineEdit_TimeShift", "lineEdit_OffsetID_RT"})
            QTest::addRow("%s %s", name + prefixLength, key.first)
                << name << int(key.second) << false;
        // The ECUmaster fields do, and empty reads as 0.
        for (const char *name : {"lineEdit_PremierID_ECUMASTER", "lineEdit_periode_ECUMASTER_TIME"})
            QTest::addRow("%s %s", name + prefixLength, key.first)
                << name << int(key.second) << true;
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

    QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(answers.shown(), refused ? 1 : 0);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(edit->text(), QString());
}

void TestRangeChecks::keyboard_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("informative");
    QTest::addColumn<QString>("next");

    // With the next field in the Tab order, when that is a line edit; it holds
    // a wrong value as well.
    QTest::newRow("identifier") << "lineEdit_ID_Lat_Lon" << frameIdRange
                                << "lineEdit_periode_Lon_Lat";
    QTest::newRow("identifier 2") << "lineEdit_ID_precision" << frameIdRange
                                  << "lineEdit_periode_precision";
    QTest::newRow("period") << "lineEdit_periode_Time_RT" << periodRange << "";
    QTest::newRow("first identifier")
        << "lineEdit_PremierID_RT" << firstIdRange << "lineEdit_OffsetID_RT";
    QTest::newRow("offset") << "lineEdit_OffsetID_RT" << offsetRange << "";
    QTest::newRow("time zone") << "lineEdit_TimeShift"
                               << "La valeur doit être comprise entre -12 et 12"
                               << "";
    QTest::newRow("ECUmaster period")
        << "lineEdit_periode_ECUMASTER_GPS_INFOS" << periodRange << "";
}

// The message takes the focus from the field, which then reports the end of
// its editing once more. One Return must still give one message, after which
// the field has the focus back with its text selected; another Return, or
// typing over it and leaving with Tab, gives one more; and the next field,
// which loses the focus to that message, raises nothing of its own.
void TestRangeChecks::keyboard()
{
    QFETCH(QString, name);
    QFETCH(QString, informative);
    QFETCH(QString, next);

    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    QLineEdit *edit = field(window, name);
    edit->setFocus(Qt::MouseFocusReason);
    edit->setText("-99");
    if (!next.isEmpty())
        field(window, next)->setText("5");

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), 1);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(answers.answerer.seen.last().informativeText, informative);
    QCOMPARE(window.focusWidget(), edit);
    QVERIFY(activate(&window));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QString("-99"));

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), 2);
    QCOMPARE(answers.stacked, 0);

    QVERIFY(activate(&window));
    QTest::keyClicks(edit, "9999");
    QCOMPARE(edit->text(), QString("9999"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(answers.shown(), 3);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(answers.answerer.seen.last().informativeText, informative);
    QCOMPARE(window.focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QString("9999"));
}

// Loading the module's configuration writes wrong values into every field,
// the one being edited included, without a message.
void TestRangeChecks::loadingRaisesNoMessage()
{
    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    const QList<QLineEdit *> edits = window.findChildren<QLineEdit *>();
    QCOMPARE(edits.size(), 20);
    edits.first()->setFocus(Qt::MouseFocusReason);

    moduleName = "VELDRIX_GPS";
    QStringList values;
    for (int i = 0; i < 36; ++i)
        values << "99999";
    const QString reply = moduleName + " " + values.join(' ');
    bool loaded = false;
    QVERIFY(QMetaObject::invokeMethod(&window, "parseConfToUI", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, loaded), Q_ARG(QString, reply)));
    moduleName.clear();
    QVERIFY(loaded);
    QCoreApplication::processEvents();
    for (QLineEdit *edit : edits)
        QCOMPARE(edit->text(), QString("99999"));
    QCOMPARE(answers.shown(), 0);
}

VELDRIX_TEST_MAIN(TestRangeChecks)
#include "tst_rangechecks.moc"
