// The configuration records and the check character, without the module: the
// form is filled by hand, by widget name, so that these tests keep their own
// idea of the two orders instead of reading the program's table.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "link/records.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>

namespace
{

const QString example = " 500 1 1 1 1 1 0 0 1 0 0 0 100 1000 200 1001 500 1002 1000 1003 1000 1004 "
                        "1000 1005 50 100 1520 10 1 50 0 1 0 100 1000 1536 ";
const QString exampleReply = "500 1 1 1 1 100 1000 1 200 1001 0 500 1002 0 1000 1003 1 1000 1004 "
                             "0 1000 1005 0 0 50 100 1520 10 1 50 0 1 0 100 1000 1536";

// The worked example, set widget by widget.
void fillExample(MainWindow &w)
{
    auto box = [&](const char *name, bool on) { w.findChild<QCheckBox *>(name)->setChecked(on); };
    auto text = [&](const char *name, const char *t) {
        w.findChild<QLineEdit *>(name)->setText(t);
    };
    w.findChild<QComboBox *>("comboBox_VCAN")->setCurrentIndex(2);
    box("checkBox_ZT", true);
    box("checkBox_DayLightSaving", true);
    text("lineEdit_TimeShift", "1");
    box("checkBox_GPS_Long_Lat", true);
    box("checkBox_GPS_Speed_Alt", true);
    box("checkBox_precision", false);
    box("checkBox_GPS_UTC_Time", false);
    box("checkBox_GPS_CURRENT_Time", true);
    box("checkBox_Time", false);
    const char *periods[] = {"lineEdit_periode_Lon_Lat",      "lineEdit_periode_Speed_Alt",
                             "lineEdit_periode_precision",    "lineEdit_periode_UTC_time",
                             "lineEdit_periode_Current_time", "lineEdit_periode_Time"};
    const char *ids[] = {"lineEdit_ID_Lat_Lon",      "lineEdit_ID_Speed_Alt",
                         "lineEdit_ID_precision",    "lineEdit_ID_UTC_Time",
                         "lineEdit_ID_Current_Time", "lineEdit_ID_Time"};
    const char *periodValues[] = {"100", "200", "500", "1000", "1000", "1000"};
    const char *idValues[] = {"1000", "1001", "1002", "1003", "1004", "1005"};
    for (int i = 0; i < 6; ++i) {
        text(periods[i], periodValues[i]);
        text(ids[i], idValues[i]);
    }
    box("checkBox_Lon_Lat_RT", false);
    box("checkBox_Time_RT", false);
    text("lineEdit_periode_Lon_Lat_RT", "50");
    text("lineEdit_periode_Time_RT", "100");
    text("lineEdit_PremierID_RT", "1520");
    text("lineEdit_OffsetID_RT", "10");
    box("checkBox_LEDs", true);
    w.findChild<QSlider *>("horizontalSlider_LumLED")->setValue(50);
    w.findChild<QRadioButton *>("radioButton_hMSL")->setChecked(true);
    box("checkBox_ECUMASTER_GPS_INFOS", true);
    box("checkBox_ECUMASTER_TIME", false);
    text("lineEdit_periode_ECUMASTER_GPS_INFOS", "100");
    text("lineEdit_periode_ECUMASTER_TIME", "1000");
    text("lineEdit_PremierID_ECUMASTER", "1536");
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

QString checked(MainWindow &w, const QString &data)
{
    QString s;
    QMetaObject::invokeMethod(&w, "checked_String_with_CRC_Removed", Q_RETURN_ARG(QString, s),
                              Q_ARG(QString, data));
    return s;
}

// Everything a reply can change, as one text, to see that nothing moved.
QString formState(MainWindow &w)
{
    QStringList state;
    for (QWidget *child : w.findChildren<QWidget *>()) {
        if (auto *e = qobject_cast<QLineEdit *>(child))
            state << e->objectName() + "=" + e->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(child); b && b->isCheckable())
            state << b->objectName() + "=" + QString::number(b->isChecked());
        else if (auto *c = qobject_cast<QComboBox *>(child))
            state << c->objectName() + "=" + QString::number(c->currentIndex());
        else if (auto *s = qobject_cast<QSlider *>(child))
            state << s->objectName() + "=" + QString::number(s->value());
        else if (auto *l = qobject_cast<QLabel *>(child))
            state << l->objectName() + "=" + l->text();
    }
    return state.join('\n');
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
        QTest::newRow("0xff") << QByteArray("\xff") << '_';
        QTest::newRow("NUL counts nothing") << QByteArray("a\0b\0c", 5) << 'F';
        QTest::newRow("1 MiB of 'a'") << QByteArray(1 << 20, 'a') << ' ';
    }
    void checkCharacter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(char, expected);
        QCOMPARE(records::checkCharacter(bytes), expected);
    }

    // The outgoing frame and the reply check agree on the check character.
    void bothDirectionsShareTheCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("example") << "cVELDRIX_TEST" + example;
        QTest::newRow("accented") << QString("VELDRIX_ é ü");
        QTest::newRow("prefix only") << QString("VELDRIX_");
    }
    void bothDirectionsShareTheCheck()
    {
        QFETCH(QString, text);
        const QByteArray sent = records::configurationFrame(text);
        QCOMPARE(sent.size(), text.toUtf8().size() + 2);
        QVERIFY(sent.endsWith('\n'));
        const QString asReply = QString::fromUtf8(sent.left(sent.size() - 1)) + "\r\n";
        QCOMPARE(records::checkedReply(asReply), text.startsWith("VELDRIX_") ? text : "NAN");
    }

    void replyCheck_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("expected");
        QTest::newRow("good") << frame("VELDRIX_A 1 2") << "VELDRIX_A 1 2";
        QTest::newRow("closing LF LF") << frame("VELDRIX_A 1 2", "\n\n") << "VELDRIX_A 1 2";
        QTest::newRow("closing blanks") << frame("VELDRIX_A 1 2", "  ") << "VELDRIX_A 1 2";
        QTest::newRow("prefix only") << frame("VELDRIX_") << "VELDRIX_";
        QTest::newRow("lower-case prefix") << frame("veldrix_A 1 2") << "NAN";
        QTest::newRow("no underscore") << frame("VELDRIXA 1 2") << "NAN";
        QTest::newRow("prefix later") << frame(" VELDRIX_A") << "NAN";
        QTest::newRow("empty") << QString() << "NAN";
        QTest::newRow("one") << QString("V") << "NAN";
        QTest::newRow("two") << QString("\r\n") << "NAN";
        QTest::newRow("empty payload") << QString(" \r\n") << "NAN";
        QTest::newRow("one closing byte") << frame("VELDRIX_A 1 2", "\n") << "NAN";
        QTest::newRow("three closing bytes") << frame("VELDRIX_A 1 2", "\r\n\n") << "NAN";
        QTest::newRow("non-ASCII payload") << frame("VELDRIX_é 1") << "VELDRIX_é 1";
    }
    void replyCheck()
    {
        QFETCH(QString, data);
        QFETCH(QString, expected);
        MainWindow w;
        QCOMPARE(checked(w, data), expected);
    }

    // Of all 256 byte values in the check place, only the right one passes.
    void replyCheckRejectsEveryOtherCharacter()
    {
        const QByteArray payload = "VELDRIX_TEST " + exampleReply.toLatin1();
        int passed = 0;
        for (int c = 0; c < 256; ++c) {
            const QString data = QString::fromLatin1(payload + char(c) + "\r\n");
            if (records::checkedReply(data) != "NAN") {
                QCOMPARE(char(c), records::checkCharacter(payload));
                ++passed;
            }
        }
        QCOMPARE(passed, 1);
    }

    void workedExample()
    {
        MainWindow w;
        fillExample(w);
        QCOMPARE(make(w), "cVELDRIX_TEST" + example);

        MainWindow other;
        QVERIFY(parse(other, "VELDRIX_TEST " + exampleReply));
        QCOMPARE(make(other), "cVELDRIX_TEST" + example);
        QCOMPARE(formState(other), formState(w));
    }

    // One field changed from the worked example: it goes out exactly there.
    void oddField_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        auto row = [](const char *name, const char *widget, const char *text, int position) {
            QTest::newRow(name) << QString(widget) << QString(text) << position;
        };
        row("empty", "lineEdit_TimeShift", "", 4);
        row("plus sign", "lineEdit_TimeShift", "+5", 4);
        row("leading zero", "lineEdit_ID_Time", "0100", 24);
        row("placeholder-like", "lineEdit_PremierID_ECUMASTER", "%3", 36);
        row("placeholders and a blank", "lineEdit_periode_Lon_Lat", "%1%2 %99", 13);
        row("last field empty", "lineEdit_PremierID_ECUMASTER", "", 36);
    }
    void oddField()
    {
        QFETCH(QString, widget);
        QFETCH(QString, text);
        QFETCH(int, position);
        MainWindow w;
        fillExample(w);
        w.findChild<QLineEdit *>(widget)->setText(text);
        QStringList values = example.mid(1).chopped(1).split(' ');
        values[position - 1] = text;
        QCOMPARE(make(w), "cVELDRIX_TEST " + values.join(' ') + " ");
    }

    void oddModuleNameAndButtons()
    {
        MainWindow w;
        fillExample(w);
        moduleName = "VELDRIX_%2";
        QVERIFY(make(w).startsWith("cVELDRIX_%2 500 1 1 1 "));

        // Neither altitude button checked writes "0" at place 31.
        auto *msl = w.findChild<QRadioButton *>("radioButton_hMSL");
        msl->setAutoExclusive(false);
        msl->setChecked(false);
        msl->setAutoExclusive(true);
        const QStringList values = make(w).split(' ');
        QCOMPARE(values.at(31), "0");
        QCOMPARE(values.size(), 38); // name, 36 values, the empty text after the last blank
        QCOMPARE(values.last(), "");
    }

    // White space of any kind and amount separates values alike.
    void replySpacing_data()
    {
        QTest::addColumn<QString>("reply");
        const QString v = exampleReply;
        QTest::newRow("several blanks") << "VELDRIX_TEST " + QString(v).replace(" ", "   ");
        QTest::newRow("tabs") << "VELDRIX_TEST " + QString(v).replace(" ", "\t");
        QTest::newRow("line breaks") << "VELDRIX_TEST " + QString(v).replace(" ", "\r\n");
        QTest::newRow("trailing blanks and LF") << "VELDRIX_TEST " + v + "  \n";
        QTest::newRow("leading blanks") << "VELDRIX_TEST    " + v;
        QTest::newRow("other leading text") << "VELDRIX_ABCD:" + v;
    }
    void replySpacing()
    {
        QFETCH(QString, reply);
        MainWindow w;
        QVERIFY(parse(w, reply));
        QCOMPARE(make(w), "cVELDRIX_TEST" + example);
    }

    void wrongCountTouchesNothing_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::newRow("35") << "VELDRIX_TEST " + exampleReply.section(' ', 0, 34);
        QTest::newRow("37") << "VELDRIX_TEST " + exampleReply + " 7";
        QTest::newRow("none") << QString("VELDRIX_TEST ");
        QTest::newRow("shorter than the name") << QString("VELDRIX_");
    }
    void wrongCountTouchesNothing()
    {
        QFETCH(QString, reply);
        MainWindow w;
        fillExample(w);
        w.findChild<QLineEdit *>("lineEdit_TimeShift")->setText("-3");
        const QString before = formState(w);
        QVERIFY(!parse(w, reply));
        QCOMPARE(formState(w), before);
    }

    // One part of the example reply replaced; what the form then shows.
    void replyPart_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("shown");
        auto row = [](const char *name, int place, const char *part, const char *widget,
                      const char *shown) {
            QTest::newRow(name) << place << QString(part) << QString(widget) << QString(shown);
        };
        // switches and radio buttons start in the other state
        row("switch 2", 11, "2", "checkBox_precision", "1");
        row("switch 00", 11, "00", "checkBox_precision", "1");
        row("switch x", 11, "x", "checkBox_precision", "1");
        row("switch 0", 2, "0", "checkBox_ZT", "0");
        row("switch 1", 24, "1", "checkBox_Time_RT", "1");
        // CAN speed: item index; "250 kbps" (1) is current before loading
        row("can 1000", 1, "1000", "comboBox_VCAN", "3");
        row("can 125", 1, "125", "comboBox_VCAN", "0");
        row("can 800", 1, "800", "comboBox_VCAN", "1");
        row("can 0500", 1, "0500", "comboBox_VCAN", "1");
        row("can 500.0", 1, "500.0", "comboBox_VCAN", "1");
        row("can item text", 1, "1Mbps", "comboBox_VCAN", "1");
        // altitude
        row("altitude 1", 31, "1", "radioButton_hEllipsoidal", "1");
        row("altitude x", 31, "x", "radioButton_hEllipsoidal", "1");
        row("altitude 0", 31, "0", "radioButton_hMSL", "1");
        // text fields verbatim, whatever their range
        row("id 5", 7, "5", "lineEdit_ID_Lat_Lon", "5");
        row("period 0050", 6, "0050", "lineEdit_periode_Lon_Lat", "0050");
        row("ecumaster text", 36, "%1abc", "lineEdit_PremierID_ECUMASTER", "%1abc");
    }
    void replyPart()
    {
        QFETCH(int, place);
        QFETCH(QString, part);
        QFETCH(QString, widget);
        QFETCH(QString, shown);
        MainWindow w;
        fillExample(w);
        w.findChild<QComboBox *>("comboBox_VCAN")->setCurrentIndex(1);
        QWidget *target = w.findChild<QWidget *>(widget);
        if (auto *b = qobject_cast<QAbstractButton *>(target)) {
            const bool on = shown == "1";
            if (qobject_cast<QRadioButton *>(b))
                w.findChild<QRadioButton *>(
                     widget == "radioButton_hMSL" ? "radioButton_hEllipsoidal" : "radioButton_hMSL")
                    ->setChecked(on);
            else
                b->setChecked(!on);
            QCOMPARE(b->isChecked(), !on);
        }
        QStringList parts = exampleReply.split(' ');
        parts[place - 1] = part;
        QVERIFY(parse(w, "VELDRIX_TEST " + parts.join(' ')));
        QString state;
        if (auto *b = qobject_cast<QAbstractButton *>(target))
            state = QString::number(b->isChecked());
        else if (auto *c = qobject_cast<QComboBox *>(target))
            state = QString::number(c->currentIndex());
        else
            state = qobject_cast<QLineEdit *>(target)->text();
        QCOMPARE(state, shown);
        if (widget == "radioButton_hMSL")
            QVERIFY(!w.findChild<QRadioButton *>("radioButton_hEllipsoidal")->isChecked());
    }

    void brightness_data()
    {
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("slider");
        QTest::addColumn<QString>("label");
        QTest::newRow("47") << "47" << 45 << "47 %";
        QTest::newRow("abc") << "abc" << 5 << "abc %";
        QTest::newRow("100") << "100" << 100 << "100 %";
        QTest::newRow("250") << "250" << 100 << "250 %";
        QTest::newRow("3") << "3" << 5 << "3 %";
        QTest::newRow("0047") << "0047" << 45 << "0047 %";
        QTest::newRow("placeholder") << "%2" << 5 << "%2 %";
    }
    void brightness()
    {
        QFETCH(QString, part);
        QFETCH(int, slider);
        QFETCH(QString, label);
        MainWindow w;
        w.findChild<QSlider *>("horizontalSlider_LumLED")->setValue(70);
        QStringList parts = exampleReply.split(' ');
        parts[29] = part;
        QVERIFY(parse(w, "VELDRIX_TEST " + parts.join(' ')));
        QCOMPARE(w.findChild<QSlider *>("horizontalSlider_LumLED")->value(), slider);
        QCOMPARE(w.findChild<QLabel *>("label_LumLEDpercent")->text(), label);
    }

    void sliderKeepsToSteps_data()
    {
        QTest::addColumn<int>("moved");
        QTest::addColumn<int>("value");
        QTest::newRow("37") << 37 << 35;
        QTest::newRow("99") << 99 << 95;
        QTest::newRow("5") << 5 << 5;
        QTest::newRow("100") << 100 << 100;
        QTest::newRow("below the range") << 1 << 5;
    }
    void sliderKeepsToSteps()
    {
        QFETCH(int, moved);
        QFETCH(int, value);
        MainWindow w;
        auto *slider = w.findChild<QSlider *>("horizontalSlider_LumLED");
        slider->setValue(50);
        slider->setValue(moved);
        QCOMPARE(slider->value(), value);
        QCOMPARE(w.findChild<QLabel *>("label_LumLEDpercent")->text(), QString("%1 %").arg(value));
    }

    void loadingEmitsNoEditingFinished()
    {
        MainWindow w;
        QList<QSharedPointer<QSignalSpy>> spies;
        for (QLineEdit *field : w.findChildren<QLineEdit *>())
            spies << QSharedPointer<QSignalSpy>::create(field, &QLineEdit::editingFinished);
        QVERIFY(spies.size() >= 20);
        QStringList parts = exampleReply.split(' ');
        parts[6] = "5"; // an identifier out of its range
        QVERIFY(parse(w, "VELDRIX_TEST " + parts.join(' ')));
        for (const auto &spy : spies)
            QCOMPARE(spy->count(), 0);
    }
};

VELDRIX_TEST_MAIN(TestRecords)
#include "tst_records.moc"
