// The configuration records and the check character. The form is filled and
// read by widget name, so that these tests keep their own idea of the two
// orders instead of reading the program's table; the last test exchanges the
// records with the module stand-in over a real serial port.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/exchange.h"
#include "link/records.h"
#include "standin/modulestandin.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

using standin::ModuleStandin;

namespace
{

const QString example = " 500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 "
                        "1000 1005 50 100 1520 10 1 50 0 1 0 100 1000 1536 ";
const QString exampleReply = "500 1 1 1 1 100 1000 1 200 1001 0 500 1002 0 1000 1003 1 1000 1004 "
                             "0 1000 1005 0 0 50 100 1520 10 1 50 0 1 0 100 1000 1536";

// The worked example widget by widget, in write order: buttons 1 or 0, the
// combo box by index, the slider by value, line edits by text.
const QString exampleForm =
    "comboBox_VCAN=2,checkBox_ZT=1,checkBox_DayLightSaving=1,lineEdit_TimeShift=1,"
    "checkBox_GPS_Long_Lat=1,checkBox_GPS_Speed_Alt=1,checkBox_precision=0,"
    "checkBox_GPS_UTC_Time=0,checkBox_GPS_CURRENT_Time=1,checkBox_Time=0,checkBox_Lon_Lat_RT=0,"
    "checkBox_Time_RT=0,lineEdit_periode_Lon_Lat=100,lineEdit_ID_Lat_Lon=1000,"
    "lineEdit_periode_Speed_Alt=200,lineEdit_ID_Speed_Alt=1001,lineEdit_periode_precision=500,"
    "lineEdit_ID_precision=1002,lineEdit_periode_UTC_time=1000,lineEdit_ID_UTC_Time=1003,"
    "lineEdit_periode_Current_time=1000,lineEdit_ID_Current_Time=1004,"
    "lineEdit_periode_Time=1000,lineEdit_ID_Time=1005,lineEdit_periode_Lon_Lat_RT=50,"
    "lineEdit_periode_Time_RT=100,lineEdit_PremierID_RT=1520,lineEdit_OffsetID_RT=10,"
    "checkBox_LEDs=1,horizontalSlider_LumLED=50,radioButton_hEllipsoidal=0,radioButton_hMSL=1,"
    "checkBox_ECUMASTER_GPS_INFOS=1,checkBox_ECUMASTER_TIME=0,"
    "lineEdit_periode_ECUMASTER_GPS_INFOS=100,lineEdit_periode_ECUMASTER_TIME=1000,"
    "lineEdit_PremierID_ECUMASTER=1536";

// Sets widgets from "name=value" entries separated by commas. A radio button
// is set alone, so that a test can leave both altitude buttons unchecked.
void fill(MainWindow &w, const QString &entries)
{
    for (const QString &entry : entries.split(',')) {
        const QString name = entry.section('=', 0, 0), value = entry.section('=', 1);
        QWidget *widget = w.findChild<QWidget *>(name);
        if (auto *e = qobject_cast<QLineEdit *>(widget)) {
            e->setText(value);
        } else if (auto *b = qobject_cast<QAbstractButton *>(widget)) {
            const bool exclusive = b->autoExclusive();
            b->setAutoExclusive(false);
            b->setChecked(value == "1");
            b->setAutoExclusive(exclusive);
        } else if (auto *c = qobject_cast<QComboBox *>(widget)) {
            c->setCurrentIndex(value.toInt());
        } else if (auto *s = qobject_cast<QSlider *>(widget)) {
            s->setValue(value.toInt());
        } else {
            qFatal("cannot set %s", qPrintable(entry));
        }
    }
}

// Everything a reply can change, as "name=value" lines.
QStringList formState(MainWindow &w)
{
    QStringList state;
    for (QWidget *child : w.findChildren<QWidget *>()) {
        QString value;
        if (auto *e = qobject_cast<QLineEdit *>(child))
            value = e->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(child); b && b->isCheckable())
            value = QString::number(b->isChecked());
        else if (auto *c = qobject_cast<QComboBox *>(child))
            value = QString::number(c->currentIndex());
        else if (auto *s = qobject_cast<QSlider *>(child))
            value = QString::number(s->value());
        else if (auto *l = qobject_cast<QLabel *>(child))
            value = l->text();
        else
            continue;
        state << child->objectName() + "=" + value;
    }
    return state;
}

QString make(MainWindow &w)
{
    QString s;
    QMetaObject::invokeMethod(&w, "makeConfFromUI", Q_RETURN_ARG(QString, s));
    return s;
}

bool parse(MainWindow &w, const QString &conf)
{
    bool ok = false;
    QMetaObject::invokeMethod(&w, "parseConfToUI", Q_RETURN_ARG(bool, ok), Q_ARG(QString, conf));
    return ok;
}

QString frame(const QByteArray &payload, const QByteArray &closing = "\r\n")
{
    return QString::fromUtf8(payload + records::checkCharacter(payload) + closing);
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void init() { moduleName = "VELDRIX_TEST"; }

    void checkCharacter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<char>("expected");
        QTest::newRow("abc") << QByteArray("abc") << 'F';
        QTest::newRow("empty") << QByteArray() << ' ';
        QTest::newRow("sum 64 wraps") << QByteArray("\x20\x20", 2) << ' ';
        QTest::newRow("sum 63 is the top") << QByteArray("?") << '_';
        QTest::newRow("high bytes count unsigned") << QByteArray("\x80\x81", 2) << '!';
        QTest::newRow("NUL counts nothing") << QByteArray("a\0b\0c", 5) << 'F';
    }
    void checkCharacter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, expected);
        QCOMPARE(records::checkCharacter(bytes), expected);
    }

    void replyCheck_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("expected");
        QTest::newRow("good") << frame("VELDRIX_A 1 2") << "VELDRIX_A 1 2";
        QTest::newRow("closing LF LF") << frame("VELDRIX_A 1 2", "\n\n") << "VELDRIX_A 1 2";
        QTest::newRow("non-ASCII payload") << frame("VELDRIX_é 1") << "VELDRIX_é 1";
        QTest::newRow("lower-case prefix") << frame("veldrix_A 1 2") << "NAN";
        QTest::newRow("no underscore") << frame("VELDRIXA 1 2") << "NAN";
        QTest::newRow("prefix later") << frame(" VELDRIX_A") << "NAN";
        QTest::newRow("empty") << QString() << "NAN";
        QTest::newRow("two") << QString("\r\n") << "NAN";
        QTest::newRow("one closing byte") << frame("VELDRIX_A 1 2", "\n") << "NAN";
        QTest::newRow("three closing bytes") << frame("VELDRIX_A 1 2", "\r\n\n") << "NAN";
        // The outgoing frame, given two closing bytes, passes as a reply.
        for (const QString &text : {"VELDRIX_TEST" + example, QString("VELDRIX_ é ü")})
            QTest::addRow("own frame %d", text.size())
                << QString::fromUtf8(records::configurationFrame(text).chopped(1)) + "\r\n"
                << text;
    }
    void replyCheck()
    {
        QFETCH(QString, data);
        QFETCH(QString, expected);
        MainWindow w;
        QString checked;
        QMetaObject::invokeMethod(&w, "checked_String_with_CRC_Removed",
                                  Q_RETURN_ARG(QString, checked), Q_ARG(QString, data));
        QCOMPARE(checked, expected);
    }

    // Of all 256 byte values in the check place, only the right one passes.
    void replyCheckRejectsEveryOtherCharacter()
    {
        const QByteArray payload = "VELDRIX_TEST " + exampleReply.toLatin1();
        for (int c = 0; c < 256; ++c) {
            const QString data = QString::fromLatin1(payload + char(c) + "\r\n");
            QCOMPARE(records::checkedReply(data) != "NAN",
                     char(c) == records::checkCharacter(payload));
        }
    }

    // The example with one change: that value goes out exactly in its place.
    void oddField_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("value");
        auto row = [](const char *tag, const char *name, const char *change, int position,
                      const char *value) {
            QTest::newRow(tag) << QString(name) << QString(change) << position << QString(value);
        };
        const char *n = "VELDRIX_TEST";
        row("worked example", n, "lineEdit_TimeShift=1", 4, "1");
        row("empty", n, "lineEdit_TimeShift=", 4, "");
        row("plus sign", n, "lineEdit_TimeShift=+5", 4, "+5");
        row("leading zero", n, "lineEdit_ID_Time=0100", 24, "0100");
        row("placeholder-like", n, "lineEdit_PremierID_ECUMASTER=%3", 36, "%3");
        row("placeholders, blank", n, "lineEdit_periode_Lon_Lat=%1%2 %99", 13, "%1%2 %99");
        row("last field empty", n, "lineEdit_PremierID_ECUMASTER=", 36, "");
        row("no altitude button", n, "radioButton_hMSL=0", 31, "0");
        row("placeholder in the name", "VELDRIX_%2", "lineEdit_TimeShift=%1", 4, "%1");
    }
    void oddField()
    {
        QFETCH(QString, name);
        QFETCH(QString, change);
        QFETCH(int, position);
        QFETCH(QString, value);
        MainWindow w;
        fill(w, exampleForm + "," + change);
        moduleName = name;
        QStringList values = example.trimmed().split(' ');
        values[position - 1] = value;
        QCOMPARE(make(w), "c" + name + " " + values.join(' ') + " ");
    }

    // The worked example's reply, however spaced, fills the form as the
    // example; any other count than 36 leaves every widget as it was.
    void replyValues_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("loaded");
        const QString v = exampleReply, n = "VELDRIX_TEST ";
        QTest::newRow("worked example") << n + v << true;
        QTest::newRow("several blanks") << n + QString(v).replace(" ", "   ") << true;
        QTest::newRow("tabs") << n + QString(v).replace(" ", "\t") << true;
        QTest::newRow("line breaks") << n + QString(v).replace(" ", "\r\n") << true;
        QTest::newRow("trailing blanks and LF") << n + v + "  \n" << true;
        QTest::newRow("leading blanks") << n + "   " + v << true;
        QTest::newRow("other leading text") << "VELDRIX_ABCD:" + v << true;
        QTest::newRow("35") << n + v.section(' ', 0, 34) << false;
        QTest::newRow("37") << n + v + " 7" << false;
        QTest::newRow("none") << n << false;
        QTest::newRow("shorter than the name") << QString("VELDRIX_") << false;
    }
    void replyValues()
    {
        QFETCH(QString, reply);
        QFETCH(bool, loaded);
        MainWindow w;
        fill(w, exampleForm + ",lineEdit_TimeShift=-3,lineEdit_ID_Time=");
        const QStringList before = formState(w);
        QCOMPARE(parse(w, reply), loaded);
        MainWindow expected;
        fill(expected, exampleForm);
        QCOMPARE(formState(w), loaded ? formState(expected) : before);
    }

    // One part of the example reply replaced: the widget goes from `before`
    // (set after the example) to `after`. Whatever the part, the label shows
    // the brightness text as received, and one altitude button is checked.
    void replyPart_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        auto row = [](const char *tag, int place, const char *part, const char *widget,
                      const char *before, const char *after) {
            QTest::newRow(tag) << place << QString(part) << QString(widget) << QString(before)
                               << QString(after);
        };
        row("switch 2", 11, "2", "checkBox_precision", "0", "1");
        row("switch 00", 11, "00", "checkBox_precision", "0", "1");
        row("switch x", 11, "x", "checkBox_precision", "0", "1");
        row("switch 0", 2, "0", "checkBox_ZT", "1", "0");
        row("switch 1", 24, "1", "checkBox_Time_RT", "0", "1");
        row("can 1000", 1, "1000", "comboBox_VCAN", "1", "3");
        row("can 800 keeps", 1, "800", "comboBox_VCAN", "1", "1");
        row("can 0500 keeps", 1, "0500", "comboBox_VCAN", "1", "1");
        row("can 500.0 keeps", 1, "500.0", "comboBox_VCAN", "1", "1");
        row("can item text keeps", 1, "1Mbps", "comboBox_VCAN", "1", "1");
        row("altitude 1", 31, "1", "radioButton_hEllipsoidal", "0", "1");
        row("altitude x", 31, "x", "radioButton_hEllipsoidal", "0", "1");
        row("altitude 0", 31, "0", "radioButton_hMSL", "0", "1");
        row("id 5 verbatim", 7, "5", "lineEdit_ID_Lat_Lon", "1", "5");
        row("ecumaster text", 36, "%1abc", "lineEdit_PremierID_ECUMASTER", "1", "%1abc");
        row("brightness 47", 30, "47", "horizontalSlider_LumLED", "70", "45");
        row("brightness abc", 30, "abc", "horizontalSlider_LumLED", "70", "5");
        row("brightness %2", 30, "%2", "horizontalSlider_LumLED", "70", "5");
    }
    void replyPart()
    {
        QFETCH(int, place);
        QFETCH(QString, part);
        QFETCH(QString, widget);
        QFETCH(QString, before);
        QFETCH(QString, after);
        MainWindow w;
        fill(w, exampleForm + "," + widget + "=" + before);
        QVERIFY(formState(w).contains(widget + "=" + before));
        QStringList parts = exampleReply.split(' ');
        parts[place - 1] = part;
        QVERIFY(parse(w, "VELDRIX_TEST " + parts.join(' ')));
        const QStringList state = formState(w);
        QVERIFY2(state.contains(widget + "=" + after), qPrintable(state.join('\n')));
        QVERIFY(state.contains("label_LumLEDpercent=" + parts[29] + " %"));
        QVERIFY(state.contains("radioButton_hMSL=0") !=
                state.contains("radioButton_hEllipsoidal=0"));
    }

    void sliderKeepsToSteps()
    {
        MainWindow w;
        for (const auto &[moved, value] : {std::pair(37, 35), {99, 95}, {100, 100}, {1, 5}}) {
            fill(w, "horizontalSlider_LumLED=50,horizontalSlider_LumLED=" + QString::number(moved));
            QVERIFY(formState(w).contains("horizontalSlider_LumLED=" + QString::number(value)));
            QVERIFY(formState(w).contains(QString("label_LumLEDpercent=%1 %").arg(value)));
        }
    }

    // Over a real serial port, the stand-in's reply loads into the form and
    // the frame written back from it is taken by the module byte for byte.
    void throughTheModule_data()
    {
        QTest::addColumn<QStringList>("values");
        const QStringList values = example.trimmed().split(' ');
        QTest::newRow("worked example") << values;
        QStringList odd = values;
        odd[3] = "+5";
        odd[23] = "0100";
        odd[33] = "é";
        odd[35] = "%3";
        QTest::newRow("odd texts") << odd;
    }
    void throughTheModule()
    {
        QFETCH(QStringList, values);
        ModuleStandin module;
        QVERIFY(module.start());
        module.setModuleId("VELDRIX_TEST");
        QVERIFY(module.setSettings(values));
        QSerialPort port;
        exchange::prepare(port, module.portPath());
        QVERIFY(port.open(QIODevice::ReadWrite));
        QCOMPARE(exchange::send(port, "sS\n", exchange::commandDrainMs), exchange::Sent::Done);
        const QByteArray reply = exchange::receive(port);
        QCOMPARE(reply, module.configurationReply());

        MainWindow w;
        QVERIFY(parse(w, records::checkedReply(QString::fromUtf8(reply))));
        const QString conf = make(w);
        QCOMPARE(conf, "cVELDRIX_TEST " + values.join(' ') + " ");
        QVERIFY(module.setSettings(ModuleStandin::factorySettings()));
        const QByteArray frame = records::configurationFrame(conf);
        QCOMPARE(exchange::send(port, frame, exchange::frameDrainMs), exchange::Sent::Done);
        QVERIFY(module.waitUntil([&] { return module.acceptedConfigCount() == 1; }, 2000));
        QCOMPARE(module.received(), "sS\n" + frame);
        QCOMPARE(module.settings(), values);
    }
};

VELDRIX_TEST_MAIN(TestRecords)
#include "tst_records.moc"
