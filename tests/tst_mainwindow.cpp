// The main window as built: the form against its table, the start state, the
// validator, the keyboard order, the menus and the quit shortcut.
#include "app/mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>

namespace
{

// The form: name, class, parent, rectangle (none for the three main window
// parts, placed by the window), then the caption, if any.
const char *const formTable[] = {
    "centralwidget QWidget MainWindow -",
    "pushButton_Config QPushButton centralwidget 470,440,121,23 Configurer le GPS",
    "pushButton_RAZ QPushButton centralwidget 640,440,121,23 RAZ le GPS",
    "pushButton_Reboot QPushButton centralwidget 640,400,121,23 Redémarrer le GPS",
    "groupBox QGroupBox centralwidget 10,90,401,161 CAN MegaSquirt 3 (RT)",
    "checkBox_Lon_Lat_RT QCheckBox groupBox 30,90,261,17 Trames position GPS / Vitesse / Altitude",
    "checkBox_Time_RT QCheckBox groupBox 30,120,261,17 Trames Date/Heure et Infos",
    "lineEdit_PremierID_RT QLineEdit groupBox 110,50,61,20",
    "lineEdit_OffsetID_RT QLineEdit groupBox 200,50,61,20",
    "lbl_PremierID_RT QLabel groupBox 100,30,81,16 Premier ID",
    "lbl_Offset_RT QLabel groupBox 206,30,51,16 Offset ID",
    "lbl_Periode_RT QLabel groupBox 300,60,61,16 Période (ms)",
    "lineEdit_periode_Lon_Lat_RT QLineEdit groupBox 300,90,61,20",
    "lineEdit_periode_Time_RT QLineEdit groupBox 300,120,61,20",
    "groupBox_2 QGroupBox centralwidget 10,260,401,221 CAN Module VELDRIX",
    "lineEdit_periode_Current_time QLineEdit groupBox_2 320,160,61,20",
    "lineEdit_periode_Lon_Lat QLineEdit groupBox_2 320,40,61,20",
    "checkBox_GPS_CURRENT_Time QCheckBox groupBox_2 20,160,201,17 Trame Date/Heure (Fuseau "
    "Horaire)",
    "checkBox_GPS_UTC_Time QCheckBox groupBox_2 20,130,201,17 Trame Date/Heure (UTC)",
    "lineEdit_ID_Current_Time QLineEdit groupBox_2 230,160,61,20",
    "lineEdit_ID_Speed_Alt QLineEdit groupBox_2 230,70,61,20",
    "lineEdit_periode_Speed_Alt QLineEdit groupBox_2 320,70,61,20",
    "lineEdit_ID_Lat_Lon QLineEdit groupBox_2 230,40,61,20",
    "lineEdit_periode_UTC_time QLineEdit groupBox_2 320,130,61,20",
    "checkBox_GPS_Speed_Alt QCheckBox groupBox_2 20,70,201,17 Trame Vitesse/Altitude",
    "checkBox_GPS_Long_Lat QCheckBox groupBox_2 20,40,201,17 Trame Longitude/Latitude",
    "lineEdit_ID_UTC_Time QLineEdit groupBox_2 230,130,61,20",
    "lbl_ID QLabel groupBox_2 226,20,71,20 Identifiant",
    "lbl_Periode QLabel groupBox_2 320,20,61,16 Période (ms)",
    "lineEdit_ID_Time QLineEdit groupBox_2 230,190,61,20",
    "checkBox_Time QCheckBox groupBox_2 20,190,201,17 TrameTemps (HHMMSS)",
    "lineEdit_periode_Time QLineEdit groupBox_2 320,190,61,20",
    "lineEdit_ID_precision QLineEdit groupBox_2 230,100,61,20",
    "lineEdit_periode_precision QLineEdit groupBox_2 320,100,61,20",
    "checkBox_precision QCheckBox groupBox_2 20,100,201,17 Trame Precision GPS/infos Satellites",
    "groupBox_General QGroupBox centralwidget 10,20,401,61 Paramètres CAN",
    "checkBox_ZT QCheckBox groupBox_General 240,30,151,17 Résistance de terminaison",
    "comboBox_VCAN QComboBox groupBox_General 120,30,101,22",
    "lbl_VCAN QLabel groupBox_General 20,30,101,20 Vitesse du bus CAN",
    "groupBox_3 QGroupBox centralwidget 420,20,401,61 Paramètres Fuseau Horaire",
    "checkBox_DayLightSaving QCheckBox groupBox_3 230,30,161,17 Heure Eté/Hiver Automatique",
    "lbl_TimeZone QLabel groupBox_3 20,30,111,16 Fuseau Horaire",
    "lineEdit_TimeShift QLineEdit groupBox_3 142,30,71,20",
    "pushButton_Scan QPushButton centralwidget 470,400,121,23 Connecter",
    "groupBox_4 QGroupBox centralwidget 420,330,401,61 LED Module GPS",
    "horizontalSlider_LumLED QSlider groupBox_4 130,30,201,19",
    "checkBox_LEDs QCheckBox groupBox_4 20,30,101,17 Activée",
    "label_LumLED QLabel groupBox_4 200,10,61,16 Luminosité",
    "label_LumLEDpercent QLabel groupBox_4 340,30,31,20 %",
    "groupBox_5 QGroupBox centralwidget 420,260,401,61 Altitude",
    "radioButton_hMSL QRadioButton groupBox_5 10,30,181,17 Par rapport au niveau de la mer",
    "radioButton_hEllipsoidal QRadioButton groupBox_5 200,30,191,17 Par rapport à l'ellipsoïde "
    "de la terre",
    "groupBox_6 QGroupBox centralwidget 420,90,401,161 CAN ECUmaster",
    "lineEdit_PremierID_ECUMASTER QLineEdit groupBox_6 140,40,71,20",
    "checkBox_ECUMASTER_TIME QCheckBox groupBox_6 20,120,261,17 Trame Date/Heure",
    "lbl_PremierID_ECUMASTER QLabel groupBox_6 20,40,81,16 Premier ID",
    "checkBox_ECUMASTER_GPS_INFOS QCheckBox groupBox_6 20,90,261,17 Trames position GPS / "
    "Altitude / Vitesse / Infos",
    "lineEdit_periode_ECUMASTER_GPS_INFOS QLineEdit groupBox_6 290,90,61,20",
    "lineEdit_periode_ECUMASTER_TIME QLineEdit groupBox_6 290,120,61,20",
    "lbl_Periode_RT_2 QLabel groupBox_6 290,60,61,16 Période (ms)",
    "statusbar QStatusBar MainWindow -",
    "menuBar QMenuBar MainWindow 0,0,830,21",
};

QString captionOf(QObject *widget)
{
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text();
    if (auto *box = qobject_cast<QGroupBox *>(widget))
        return box->title();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text();
    return QString();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        window.reset(new MainWindow);
    }
    void cleanup() { window.reset(); }

    void form_data();
    void form();
    void formHasNothingElse();
    void windowIsFixedAndNamed();
    void startState();
    void validators_data();
    void validators();
    void tabChain();
    void menusAndCtrlQ();
    void everySlotFindsItsSignal();

private:
    template <class T> T *child(const char *name)
    {
        T *found = window->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QScopedPointer<MainWindow> window;
};

void TestMainWindow::form_data()
{
    QTest::addColumn<QString>("row");
    for (const char *row : formTable)
        QTest::newRow(QByteArray(row).split(' ').first().constData()) << QString::fromUtf8(row);
}

void TestMainWindow::form()
{
    QFETCH(QString, row);
    const QStringList parts = row.split(' ');
    const QList<QWidget *> named = window->findChildren<QWidget *>(parts[0]);
    QCOMPARE(named.size(), 1);
    QWidget *widget = named.first();
    QCOMPARE(QString(widget->metaObject()->className()), parts[1]);
    QVERIFY(widget->parentWidget());
    QCOMPARE(widget->parentWidget()->objectName(), parts[2]);
    if (parts[3] != "-") {
        const QStringList r = parts[3].split(',');
        QCOMPARE(widget->geometry(), QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()));
    }
    QCOMPARE(captionOf(widget), row.section(' ', 4));
}

// No widget beyond the table.
void TestMainWindow::formHasNothingElse()
{
    QMap<QString, int> inTable, onForm;
    for (const char *row : formTable)
        ++inTable[QString::fromUtf8(row).section(' ', 1, 1)];
    inTable.remove("QWidget");
    for (QWidget *w : window->findChildren<QWidget *>())
        if (inTable.contains(w->metaObject()->className()))
            ++onForm[w->metaObject()->className()];
    QCOMPARE(onForm, inTable);
}

void TestMainWindow::windowIsFixedAndNamed()
{
    QCOMPARE(window->objectName(), QString("MainWindow"));
    QCOMPARE(window->centralWidget(), child<QWidget>("centralwidget"));
    QCOMPARE(window->statusBar(), child<QStatusBar>("statusbar"));
    QCOMPARE(window->menuBar(), child<QMenuBar>("menuBar"));
    QCOMPARE(window->minimumSize(), QSize(830, 534));
    QCOMPARE(window->maximumSize(), QSize(830, 534));
    QCOMPARE(window->sizePolicy(), QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed));
    window->resize(1000, 700);
    QCOMPARE(window->size(), QSize(830, 534));
    // Until a language is chosen the title is the program's own name.
    QCOMPARE(window->windowTitle(), QCoreApplication::applicationName());
}

void TestMainWindow::startState()
{
    auto *speed = child<QComboBox>("comboBox_VCAN");
    QStringList items;
    for (int i = 0; i < speed->count(); ++i) {
        QCOMPARE(speed->itemData(i).type(), QVariant::Int);
        items << speed->itemText(i) + "=" + speed->itemData(i).toString();
    }
    QCOMPARE(items, QStringList({"125 kbps=125", "250 kbps=250", "500 kbps=500", "1 Mbps=1000"}));
    QCOMPARE(speed->currentIndex(), 0);

    QVERIFY(child<QPushButton>("pushButton_Scan")->isEnabled());
    for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"})
        QVERIFY(!child<QPushButton>(name)->isEnabled());
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
    QVERIFY(window->statusBar()->currentMessage().isEmpty());
    QCOMPARE(QSettings().value("Language").toString(), QString("fr"));
}

void TestMainWindow::validators_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("validated");
    for (const char *row : formTable) {
        const QString name = QString(row).section(' ', 0, 0);
        if (name.startsWith("lineEdit_"))
            QTest::newRow(qPrintable(name)) << name << !name.contains("ECUMASTER");
    }
}

// Seventeen fields share one validator without a range; the ECUmaster fields
// take any text.
void TestMainWindow::validators()
{
    QFETCH(QString, name);
    QFETCH(bool, validated);
    auto *field = window->findChild<QLineEdit *>(name);
    const QValidator *shared = child<QLineEdit>("lineEdit_TimeShift")->validator();
    QCOMPARE(field->validator(), validated ? shared : nullptr);
    QVERIFY(qobject_cast<const QIntValidator *>(shared));
    QTest::keyClicks(field, "a-3b% 1");
    QCOMPARE(field->text(), QString(validated ? "-31" : "a-3b% 1"));
    field->clear();
    QTest::keyClicks(field, "2147483647");
    QCOMPARE(field->text(), QString("2147483647"));
}

void TestMainWindow::tabChain()
{
    const QStringList chain =
        QString("comboBox_VCAN checkBox_ZT checkBox_DayLightSaving lineEdit_PremierID_RT "
                "lineEdit_OffsetID_RT checkBox_Lon_Lat_RT lineEdit_periode_Lon_Lat_RT "
                "checkBox_Time_RT lineEdit_periode_Time_RT checkBox_GPS_Long_Lat "
                "lineEdit_ID_Lat_Lon lineEdit_periode_Lon_Lat checkBox_GPS_Speed_Alt "
                "lineEdit_ID_Speed_Alt lineEdit_periode_Speed_Alt checkBox_precision "
                "lineEdit_ID_precision lineEdit_periode_precision checkBox_GPS_UTC_Time "
                "lineEdit_ID_UTC_Time lineEdit_periode_UTC_time checkBox_GPS_CURRENT_Time "
                "lineEdit_ID_Current_Time lineEdit_periode_Current_time checkBox_Time "
                "lineEdit_ID_Time lineEdit_periode_Time pushButton_Scan pushButton_Config "
                "pushButton_Reboot pushButton_RAZ")
            .split(' ');
    for (int i = 1; i < chain.size(); ++i) {
        QWidget *next = child<QWidget>(qPrintable(chain[i - 1]))->nextInFocusChain();
        // Widgets that take no tab focus (labels) may sit between two links.
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), chain[i]);
    }
}

void TestMainWindow::menusAndCtrlQ()
{
    auto texts = [](const QList<QAction *> &actions) {
        QStringList list;
        for (QAction *action : actions)
            list << action->text() + (action->menu() ? " >" : "");
        return list;
    };
    const QList<QAction *> top = window->menuBar()->actions();
    QCOMPARE(texts(top), QStringList({"&Quitter", "&Langue >", "&Aide >"}));
    QCOMPARE(texts(top[1]->menu()->actions()), QStringList({"&Français", "&Anglais"}));
    QCOMPARE(texts(top[2]->menu()->actions()),
             QStringList{QString("À propos de %1…").arg(QCoreApplication::applicationName())});
    QCOMPARE(top[0]->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(top[0]->statusTip(), QString("Quitter l’application"));

    window->show();
    QApplication::setActiveWindow(window.data());
    QVERIFY(QTest::qWaitForWindowActive(window.data()));
    QTest::keyClick(window.data(), Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!window->isVisible());
}

namespace
{
QStringList warnings;
void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        warnings << message;
}
} // namespace

// A slot whose name matches no widget signal is reported by Qt when the form
// connects by name; building the window must report none.
void TestMainWindow::everySlotFindsItsSignal()
{
    warnings.clear();
    QtMessageHandler previous = qInstallMessageHandler(collect);
    MainWindow().show();
    qInstallMessageHandler(previous);
    QVERIFY2(warnings.filter("connectSlotsByName").isEmpty(), qPrintable(warnings.join('\n')));
}

VELDRIX_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
