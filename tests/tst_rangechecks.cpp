// Range checks of the numeric fields: each field's range and message, how
// texts are read, and what the keyboard user sees around a message.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "testsupport.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>

namespace
{

const char *const identifierText = "L'identifiant est en dehors des limites.";
const char *const periodRange = "La valeur doit être comprise entre 10 et 2500 (ms)";

// Each kind of field: its fields (less "lineEdit_"), bounds and texts.
const struct Kind {
    const char *fields;
    int low, high;
    const char *text, *informative;
} kinds[] = {
    {"ID_Lat_Lon ID_Speed_Alt ID_precision ID_UTC_Time ID_Current_Time ID_Time", 10, 2045,
     identifierText, "La valeur doit être comprise entre 10 et 2045"},
    {"periode_Lon_Lat periode_Speed_Alt periode_precision periode_UTC_time "
     "periode_Current_time periode_Time periode_Lon_Lat_RT periode_Time_RT "
     "periode_ECUMASTER_GPS_INFOS periode_ECUMASTER_TIME",
     10, 2500, "La periode est en dehors des limites.", periodRange},
    {"TimeShift", -12, 12, "Le décalage horaire est en dehors des limites.",
     "La valeur doit être comprise entre -12 et 12"},
    {"PremierID_RT PremierID_ECUMASTER", 10, 2000, identifierText,
     "La valeur doit être comprise entre 10 et 2000"},
    {"OffsetID_RT", 10, 30, "L'offset est en dehors des limites.",
     "La valeur doit être comprise entre 10 et 30"},
};

const Kind &kindOf(const QString &name)
{
    for (const Kind &kind : kinds)
        if (QString(kind.fields).split(' ').contains(name.mid(9)))
            return kind;
    qFatal("no kind for %s", qPrintable(name));
}

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
    // The real English catalogue, so that the captions can be switched.
    void initTestCase()
    {
        QDir::setCurrent(testsupport::buildDir());
        QCoreApplication::setApplicationName("veldrix");
    }
    void values_data();
    void values();
    void keyboard_data();
    void keyboard();
    void loadingRaisesNoMessage();
};

void TestRangeChecks::values_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("accepted");
    QTest::addColumn<QStringList>("refused");
    auto row = [](const QByteArray &tag, const QString &name, const QStringList &accepted,
                  const QStringList &refused) {
        QTest::newRow(tag.constData()) << name << accepted << refused;
    };
    // Every field at and just past both ends of its range.
    for (const Kind &kind : kinds)
        for (const QString &name : QString(kind.fields).split(' '))
            row(name.toLatin1(), "lineEdit_" + name,
                {QString::number(kind.low), QString::number(kind.high)},
                {QString::number(kind.low - 1), QString::number(kind.high + 1)});
    // Texts are read in base 10 as 32-bit numbers with no success flag: a minus
    // sign fails an unsigned reading, giving 0, but is fine for the time zone;
    // what fails to read is 0, a valid time zone offset.
    row("-5 unsigned", "lineEdit_ID_Time", {}, {"-5"});
    row("-5 unsigned period", "lineEdit_periode_Time_RT", {}, {"-5"});
    row("-5 unsigned first identifier", "lineEdit_PremierID_RT", {}, {"-5"});
    row("-5 time zone", "lineEdit_TimeShift", {"-5", "2147483648"}, {});
    // The ECUmaster fields take any text.
    for (const char *name : {"lineEdit_PremierID_ECUMASTER", "lineEdit_periode_ECUMASTER_GPS_INFOS",
                             "lineEdit_periode_ECUMASTER_TIME"})
        row(QByteArray(name + 9) + " texts", name, {"0100"},
            {"", "abc", "100ms", "0x20", "4294967396", "-5"});
}

// With the captions in English, each refused value raises one message that
// stays French, in a box without parent, title or icon that offers only OK,
// and the text stays as it was.
void TestRangeChecks::values()
{
    QFETCH(QString, name);
    QFETCH(QStringList, accepted);
    QFETCH(QStringList, refused);

    testsupport::ModalAnswerer answerer;
    MainWindow window;
    QVERIFY(QMetaObject::invokeMethod(&window, "langEn", Qt::DirectConnection));
    QVERIFY(window.findChild<QGroupBox *>("groupBox_General")->title() != "Paramètres CAN");
    QLineEdit *edit = field(window, name);
    const Kind &kind = kindOf(name);
    for (const QString &value : accepted + refused) {
        const int before = answerer.seen.size();
        edit->setText(value);
        emit edit->editingFinished();
        QCOMPARE(edit->text(), value);
        if (accepted.contains(value)) {
            QVERIFY2(answerer.seen.size() == before, qPrintable(value));
            continue;
        }
        QVERIFY2(answerer.seen.size() == before + 1, qPrintable(value));
        const testsupport::SeenBox &box = answerer.seen.last();
        QCOMPARE(box.className, QString("QMessageBox"));
        QCOMPARE(box.text, QString(kind.text));
        QCOMPARE(box.informativeText, QString(kind.informative));
        QCOMPARE(box.title, QString());
        QVERIFY(!box.hadParent && !box.hadIcon);
        QCOMPARE(box.buttonCount, 1);
    }
}

void TestRangeChecks::keyboard_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("next");
    // With the next field in the Tab order, when that is a line edit; it holds
    // a wrong value as well.
    QTest::newRow("identifier") << "lineEdit_ID_Lat_Lon"
                                << "lineEdit_periode_Lon_Lat";
    QTest::newRow("first identifier") << "lineEdit_PremierID_RT"
                                      << "lineEdit_OffsetID_RT";
    QTest::newRow("period") << "lineEdit_periode_Time_RT"
                            << "";
    QTest::newRow("time zone") << "lineEdit_TimeShift"
                               << "";
    QTest::newRow("ECUmaster period") << "lineEdit_periode_ECUMASTER_GPS_INFOS"
                                      << "";
}

// A field left empty raises nothing unless it takes any text. The message
// takes the focus from the field, which then reports the end of its editing
// once more. One Return must still give one message, after which
// the field has the focus back with its text selected; another Return, or
// typing over it and leaving with Tab, gives one more; and the next field,
// which loses the focus to that message, raises nothing of its own.
void TestRangeChecks::keyboard()
{
    QFETCH(QString, name);
    QFETCH(QString, next);
    const QString informative = kindOf(name).informative;
    // The integer fields do not report an empty text as finished; the
    // ECUmaster fields do, and empty reads as 0.
    const int empty = name.contains("ECUMASTER") ? 1 : 0;

    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    QLineEdit *edit = field(window, name);
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), empty);
    QVERIFY(activate(&window));
    edit->setText("-99");
    if (!next.isEmpty())
        field(window, next)->setText("5");

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), empty + 1);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(answers.answerer.seen.last().informativeText, informative);
    QCOMPARE(window.focusWidget(), edit);
    QVERIFY(activate(&window));
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QString("-99"));

    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answers.shown(), empty + 2);
    QCOMPARE(answers.stacked, 0);

    QVERIFY(activate(&window));
    QTest::keyClicks(edit, "9999");
    QCOMPARE(edit->text(), QString("9999"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(answers.shown(), empty + 3);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(answers.answerer.seen.last().informativeText, informative);
    QCOMPARE(window.focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QString("9999"));

    // Emptied and left with Tab.
    QVERIFY(activate(&window));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(answers.shown(), empty * 2 + 3);
    QCOMPARE(answers.stacked, 0);
    QCOMPARE(edit->text(), QString());
}

// Loading the module's configuration writes wrong values into every field,
// the one being edited included, without a message: it does not even report
// the end of an editing.
void TestRangeChecks::loadingRaisesNoMessage()
{
    RangeMessages answers;
    MainWindow window;
    QVERIFY(activate(&window));
    const QList<QLineEdit *> edits = window.findChildren<QLineEdit *>();
    QCOMPARE(edits.size(), 20);
    QList<QSharedPointer<QSignalSpy>> spies;
    for (QLineEdit *edit : edits)
        spies << QSharedPointer<QSignalSpy>::create(edit, &QLineEdit::editingFinished);
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
    for (int i = 0; i < edits.size(); ++i) {
        QCOMPARE(edits[i]->text(), QString("99999"));
        QCOMPARE(spies[i]->count(), 0);
    }
    QCOMPARE(answers.shown(), 0);
}

VELDRIX_TEST_MAIN(TestRangeChecks)
#include "tst_rangechecks.moc"
