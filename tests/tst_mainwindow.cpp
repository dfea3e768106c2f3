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
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QStatusBar>

#include "forms/ui_mainwindow.h"

namespace
{

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

const QStringList validatedFields = {"lineEdit_TimeShift",
                                     "lineEdit_ID_Lat_Lon",
                                     "lineEdit_ID_Speed_Alt",
                                     "lineEdit_ID_precision",
                                     "lineEdit_ID_Current_Time",
                                     "lineEdit_ID_UTC_Time",
                                     "lineEdit_ID_Time",
                                     "lineEdit_PremierID_RT",
                                     "lineEdit_OffsetID_RT",
                                     "lineEdit_periode_Lon_Lat",
                                     "lineEdit_periode_Speed_Alt",
                                     "lineEdit_periode_precision",
                                     "lineEdit_periode_Current_time",
                                     "lineEdit_periode_UTC_time",
                                     "lineEdit_periode_Time",
                                     "lineEdit_periode_Lon_Lat_RT",
                                     "lineEdit_periode_Time_RT"};

const QStringList freeTextFields = {"lineEdit_PremierID_ECUMASTER",
                                    "lineEdit_periode_ECUMASTER_GPS_INFOS",
                                    "lineEdit_periode_ECUMASTER_TIME"};

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
    void formCountsAndOrder();
    void formProperties();
    void windowIsFixedAndNamed();
    void existingObjectNameIsKept();
    void startState();
    void validators_data();
    void validators();
    void tabChain();
    void menusAndActions();
    void ctrlQClosesTheWindow();
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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("caption");
    auto row = [](const char *name, const char *cls, const char *parent, QRect rect,
                  const QString &caption) {
        QTest::newRow(name) << QString(name) << QString(cls) << QString(parent) << rect << caption;
    };
    row("centralwidget", "QWidget", "MainWindow", QRect(), QString());
    row("pushButton_Config", "QPushButton", "centralwidget", QRect(470, 440, 121, 23),
        QStringLiteral("Configurer le GPS"));
    row("pushButton_RAZ", "QPushButton", "centralwidget", QRect(640, 440, 121, 23),
        QStringLiteral("RAZ le GPS"));
    row("pushButton_Reboot", "QPushButton", "centralwidget", QRect(640, 400, 121, 23),
        QStringLiteral("Redémarrer le GPS"));
    row("groupBox", "QGroupBox", "centralwidget", QRect(10, 90, 401, 161),
        QStringLiteral("CAN MegaSquirt 3 (RT)"));
    row("checkBox_Lon_Lat_RT", "QCheckBox", "groupBox", QRect(30, 90, 261, 17),
        QStringLiteral("Trames position GPS / Vitesse / Altitude"));
    row("checkBox_Time_RT", "QCheckBox", "groupBox", QRect(30, 120, 261, 17),
        QStringLiteral("Trames Date/Heure et Infos"));
    row("lineEdit_PremierID_RT", "QLineEdit", "groupBox", QRect(110, 50, 61, 20), QString());
    row("lineEdit_OffsetID_RT", "QLineEdit", "groupBox", QRect(200, 50, 61, 20), QString());
    row("lbl_PremierID_RT", "QLabel", "groupBox", QRect(100, 30, 81, 16),
        QStringLiteral("Premier ID"));
    row("lbl_Offset_RT", "QLabel", "groupBox", QRect(206, 30, 51, 16), QStringLiteral("Offset ID"));
    row("lbl_Periode_RT", "QLabel", "groupBox", QRect(300, 60, 61, 16),
        QStringLiteral("Période (ms)"));
    row("lineEdit_periode_Lon_Lat_RT", "QLineEdit", "groupBox", QRect(300, 90, 61, 20), QString());
    row("lineEdit_periode_Time_RT", "QLineEdit", "groupBox", QRect(300, 120, 61, 20), QString());
    row("groupBox_2", "QGroupBox", "centralwidget", QRect(10, 260, 401, 221),
        QStringLiteral("CAN Module VELDRIX"));
    row("lineEdit_periode_Current_time", "QLineEdit", "groupBox_2", QRect(320, 160, 61, 20),
        QString());
    row("lineEdit_periode_Lon_Lat", "QLineEdit", "groupBox_2", QRect(320, 40, 61, 20), QString());
    row("checkBox_GPS_CURRENT_Time", "QCheckBox", "groupBox_2", QRect(20, 160, 201, 17),
        QStringLiteral("Trame Date/Heure (Fuseau Horaire)"));
    row("checkBox_GPS_UTC_Time", "QCheckBox", "groupBox_2", QRect(20, 130, 201, 17),
        QStringLiteral("Trame Date/Heure (UTC)"));
    row("lineEdit_ID_Current_Time", "QLineEdit", "groupBox_2", QRect(230, 160, 61, 20), QString());
    row("lineEdit_ID_Speed_Alt", "QLineEdit", "groupBox_2", QRect(230, 70, 61, 20), QString());
    row("lineEdit_periode_Speed_Alt", "QLineEdit", "groupBox_2", QRect(320, 70, 61, 20), QString());
    row("lineEdit_ID_Lat_Lon", "QLineEdit", "groupBox_2", QRect(230, 40, 61, 20), QString());
    row("lineEdit_periode_UTC_time", "QLineEdit", "groupBox_2", QRect(320, 130, 61, 20), QString());
    row("checkBox_GPS_Speed_Alt", "QCheckBox", "groupBox_2", QRect(20, 70, 201, 17),
        QStringLiteral("Trame Vitesse/Altitude"));
    row("checkBox_GPS_Long_Lat", "QCheckBox", "groupBox_2", QRect(20, 40, 201, 17),
        QStringLiteral("Trame Longitude/Latitude"));
    row("lineEdit_ID_UTC_Time", "QLineEdit", "groupBox_2", QRect(230, 130, 61, 20), QString());
    row("lbl_ID", "QLabel", "groupBox_2", QRect(226, 20, 71, 20), QStringLiteral("Identifiant"));
    row("lbl_Periode", "QLabel", "groupBox_2", QRect(320, 20, 61, 16),
        QStringLiteral("Période (ms)"));
    row("lineEdit_ID_Time", "QLineEdit", "groupBox_2", QRect(230, 190, 61, 20), QString());
    row("checkBox_Time", "QCheckBox", "groupBox_2", QRect(20, 190, 201, 17),
        QStringLiteral("TrameTemps (HHMMSS)"));
    row("lineEdit_periode_Time", "QLineEdit", "groupBox_2", QRect(320, 190, 61, 20), QString());
    row("lineEdit_ID_precision", "QLineEdit", "groupBox_2", QRect(230, 100, 61, 20), QString());
    row("lineEdit_periode_precision", "QLineEdit", "groupBox_2", QRect(320, 100, 61, 20),
        QString());
    row("checkBox_precision", "QCheckBox", "groupBox_2", QRect(20, 100, 201, 17),
        QStringLiteral("Trame Precision GPS/infos Satellites"));
    row("groupBox_General", "QGroupBox", "centralwidget", QRect(10, 20, 401, 61),
        QStringLiteral("Paramètres CAN"));
    row("checkBox_ZT", "QCheckBox", "groupBox_General", QRect(240, 30, 151, 17),
        QStringLiteral("Résistance de terminaison"));
    row("comboBox_VCAN", "QComboBox", "groupBox_General", QRect(120, 30, 101, 22), QString());
    row("lbl_VCAN", "QLabel", "groupBox_General", QRect(20, 30, 101, 20),
        QStringLiteral("Vitesse du bus CAN"));
    row("groupBox_3", "QGroupBox", "centralwidget", QRect(420, 20, 401, 61),
        QStringLiteral("Paramètres Fuseau Horaire"));
    row("checkBox_DayLightSaving", "QCheckBox", "groupBox_3", QRect(230, 30, 161, 17),
        QStringLiteral("Heure Eté/Hiver Automatique"));
    row("lbl_TimeZone", "QLabel", "groupBox_3", QRect(20, 30, 111, 16),
        QStringLiteral("Fuseau Horaire"));
    row("lineEdit_TimeShift", "QLineEdit", "groupBox_3", QRect(142, 30, 71, 20), QString());
    row("pushButton_Scan", "QPushButton", "centralwidget", QRect(470, 400, 121, 23),
        QStringLiteral("Connecter"));
    row("groupBox_4", "QGroupBox", "centralwidget", QRect(420, 330, 401, 61),
        QStringLiteral("LED Module GPS"));
    row("horizontalSlider_LumLED", "QSlider", "groupBox_4", QRect(130, 30, 201, 19), QString());
    row("checkBox_LEDs", "QCheckBox", "groupBox_4", QRect(20, 30, 101, 17),
        QStringLiteral("Activée"));
    row("label_LumLED", "QLabel", "groupBox_4", QRect(200, 10, 61, 16),
        QStringLiteral("Luminosité"));
    row("label_LumLEDpercent", "QLabel", "groupBox_4", QRect(340, 30, 31, 20), QStringLiteral("%"));
    row("groupBox_5", "QGroupBox", "centralwidget", QRect(420, 260, 401, 61),
        QStringLiteral("Altitude"));
    row("radioButton_hMSL", "QRadioButton", "groupBox_5", QRect(10, 30, 181, 17),
        QStringLiteral("Par rapport au niveau de la mer"));
    row("radioButton_hEllipsoidal", "QRadioButton", "groupBox_5", QRect(200, 30, 191, 17),
        QStringLiteral("Par rapport à l'ellipsoïde de la terre"));
    row("groupBox_6", "QGroupBox", "centralwidget", QRect(420, 90, 401, 161),
        QStringLiteral("CAN ECUmaster"));
    row("lineEdit_PremierID_ECUMASTER", "QLineEdit", "groupBox_6", QRect(140, 40, 71, 20),
        QString());
    row("checkBox_ECUMASTER_TIME", "QCheckBox", "groupBox_6", QRect(20, 120, 261, 17),
        QStringLiteral("Trame Date/Heure"));
    row("lbl_PremierID_ECUMASTER", "QLabel", "groupBox_6", QRect(20, 40, 81, 16),
        QStringLiteral("Premier ID"));
    row("checkBox_ECUMASTER_GPS_INFOS", "QCheckBox", "groupBox_6", QRect(20, 90, 261, 17),
        QStringLiteral("Trames position GPS / Altitude / Vitesse / Infos"));
    row("lineEdit_periode_ECUMASTER_GPS_INFOS", "QLineEdit", "groupBox_6", QRect(290, 90, 61, 20),
        QString());
    row("lineEdit_periode_ECUMASTER_TIME", "QLineEdit", "groupBox_6", QRect(290, 120, 61, 20),
        QString());
    row("lbl_Periode_RT_2", "QLabel", "groupBox_6", QRect(290, 60, 61, 16),
        QStringLiteral("Période (ms)"));
    row("statusbar", "QStatusBar", "MainWindow", QRect(), QString());
    row("menuBar", "QMenuBar", "MainWindow", QRect(0, 0, 830, 21), QString());
}

void TestMainWindow::form()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, rect);
    QFETCH(QString, caption);

    const QList<QWidget *> named = window->findChildren<QWidget *>(name);
    QCOMPARE(named.size(), 1);
    QWidget *widget = named.first();
    QCOMPARE(QString(widget->metaObject()->className()), className);
    QVERIFY(widget->parentWidget());
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    if (!rect.isNull())
        QCOMPARE(widget->geometry(), rect);
    if (!caption.isNull())
        QCOMPARE(captionOf(widget), caption);
    else
        QVERIFY(captionOf(widget).isEmpty());
}

void TestMainWindow::formCountsAndOrder()
{
    auto count = [&](const char *cls) {
        int n = 0;
        for (QWidget *w : window->findChildren<QWidget *>())
            n += QString(w->metaObject()->className()) == QLatin1String(cls);
        return n;
    };
    QCOMPARE(count("QPushButton"), 4);
    QCOMPARE(count("QGroupBox"), 7);
    QCOMPARE(count("QCheckBox"), 13);
    QCOMPARE(count("QRadioButton"), 2);
    QCOMPARE(count("QLineEdit"), 20);
    QCOMPARE(count("QLabel"), 11);
    QCOMPARE(count("QComboBox"), 1);
    QCOMPARE(count("QSlider"), 1);

    // Widgets are made in table order: within one parent, children keep it.
    QStringList lineEdits;
    for (QObject *o : child<QGroupBox>("groupBox_6")->children())
        lineEdits << o->objectName();
    QCOMPARE(lineEdits, QStringList({"lineEdit_PremierID_ECUMASTER", "checkBox_ECUMASTER_TIME",
                                     "lbl_PremierID_ECUMASTER", "checkBox_ECUMASTER_GPS_INFOS",
                                     "lineEdit_periode_ECUMASTER_GPS_INFOS",
                                     "lineEdit_periode_ECUMASTER_TIME", "lbl_Periode_RT_2"}));

    QCOMPARE(window->centralWidget(), child<QWidget>("centralwidget"));
    QCOMPARE(window->statusBar(), child<QStatusBar>("statusbar"));
    QCOMPARE(window->menuBar(), child<QMenuBar>("menuBar"));
}

void TestMainWindow::formProperties()
{
    for (const char *name : {"groupBox", "groupBox_2"}) {
        const QFont font = child<QGroupBox>(name)->font();
        QVERIFY(!font.bold());
        QCOMPARE(font.weight(), 50);
        QVERIFY(font.kerning());
    }
    auto *slider = child<QSlider>("horizontalSlider_LumLED");
    QCOMPARE(slider->minimum(), 5);
    QCOMPARE(slider->maximum(), 100);
    QCOMPARE(slider->singleStep(), 5);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->tickPosition(), QSlider::TicksBelow);
    QCOMPARE(slider->tickInterval(), 5);

    const Qt::Alignment centred = Qt::AlignCenter;
    for (const char *name : {"lbl_PremierID_RT", "lbl_Offset_RT", "lbl_Periode_RT", "lbl_ID",
                             "lbl_Periode", "label_LumLED", "lbl_Periode_RT_2"})
        QCOMPARE(child<QLabel>(name)->alignment(), centred);
    QCOMPARE(child<QLabel>("label_LumLEDpercent")->alignment(),
             Qt::AlignRight | Qt::AlignTrailing | Qt::AlignVCenter);
    QCOMPARE(child<QLabel>("lbl_PremierID_ECUMASTER")->alignment(),
             Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);

    // The two altitude buttons exclude each other.
    auto *msl = child<QRadioButton>("radioButton_hMSL");
    auto *ellipsoid = child<QRadioButton>("radioButton_hEllipsoidal");
    msl->setChecked(true);
    ellipsoid->setChecked(true);
    QVERIFY(!msl->isChecked());
}

void TestMainWindow::windowIsFixedAndNamed()
{
    QCOMPARE(window->objectName(), QString("MainWindow"));
    QCOMPARE(window->size(), QSize(830, 534));
    QCOMPARE(window->minimumSize(), QSize(830, 534));
    QCOMPARE(window->maximumSize(), QSize(830, 534));
    QCOMPARE(window->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(window->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    window->resize(1000, 700);
    QCOMPARE(window->size(), QSize(830, 534));
    // Until a language is chosen the title is the program's own name.
    QCOMPARE(window->windowTitle(), QCoreApplication::applicationName());
}

void TestMainWindow::existingObjectNameIsKept()
{
    QMainWindow host;
    host.setObjectName("alreadyNamed");
    Ui_MainWindow form;
    form.setupUi(&host);
    QCOMPARE(host.objectName(), QString("alreadyNamed"));
    QCOMPARE(host.windowTitle(), QString("VELDRIX v2.1"));
}

void TestMainWindow::startState()
{
    auto *speed = child<QComboBox>("comboBox_VCAN");
    QCOMPARE(speed->count(), 4);
    const QStringList texts = {"125 kbps", "250 kbps", "500 kbps", "1 Mbps"};
    const QList<int> data = {125, 250, 500, 1000};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(speed->itemText(i), texts[i]);
        QCOMPARE(speed->itemData(i, Qt::UserRole).type(), QVariant::Int);
        QCOMPARE(speed->itemData(i, Qt::UserRole).toInt(), data[i]);
    }
    QCOMPARE(speed->currentIndex(), 0);

    QVERIFY(child<QPushButton>("pushButton_Scan")->isEnabled());
    for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"})
        QVERIFY(!child<QPushButton>(name)->isEnabled());

    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        if (field->objectName().startsWith("lineEdit_"))
            QVERIFY2(field->text().isEmpty(), qPrintable(field->objectName()));
    QVERIFY(window->statusBar()->currentMessage().isEmpty());
    QCOMPARE(QSettings().value("Language").toString(), QString("fr"));
}

void TestMainWindow::validators_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("validated");
    for (const QString &name : validatedFields)
        QTest::newRow(qPrintable(name)) << name << true;
    for (const QString &name : freeTextFields)
        QTest::newRow(qPrintable(name)) << name << false;
}

void TestMainWindow::validators()
{
    QFETCH(QString, name);
    QFETCH(bool, validated);
    auto *field = window->findChild<QLineEdit *>(name);
    QVERIFY(field);
    if (!validated) {
        QVERIFY(!field->validator());
        QTest::keyClicks(field, "ab%1 -x");
        QCOMPARE(field->text(), QString("ab%1 -x"));
        return;
    }
    // One shared validator without a range.
    auto *shared = child<QLineEdit>("lineEdit_TimeShift")->validator();
    QCOMPARE(field->validator(), shared);
    QVERIFY(qobject_cast<const QIntValidator *>(shared));
    QTest::keyClicks(field, "a-3b");
    QCOMPARE(field->text(), QString("-3"));
    field->clear();
    QTest::keyClicks(field, "2147483647");
    QCOMPARE(field->text(), QString("2147483647"));
}

void TestMainWindow::tabChain()
{
    const QStringList chain = {"comboBox_VCAN",
                               "checkBox_ZT",
                               "checkBox_DayLightSaving",
                               "lineEdit_PremierID_RT",
                               "lineEdit_OffsetID_RT",
                               "checkBox_Lon_Lat_RT",
                               "lineEdit_periode_Lon_Lat_RT",
                               "checkBox_Time_RT",
                               "lineEdit_periode_Time_RT",
                               "checkBox_GPS_Long_Lat",
                               "lineEdit_ID_Lat_Lon",
                               "lineEdit_periode_Lon_Lat",
                               "checkBox_GPS_Speed_Alt",
                               "lineEdit_ID_Speed_Alt",
                               "lineEdit_periode_Speed_Alt",
                               "checkBox_precision",
                               "lineEdit_ID_precision",
                               "lineEdit_periode_precision",
                               "checkBox_GPS_UTC_Time",
                               "lineEdit_ID_UTC_Time",
                               "lineEdit_periode_UTC_time",
                               "checkBox_GPS_CURRENT_Time",
                               "lineEdit_ID_Current_Time",
                               "lineEdit_periode_Current_time",
                               "checkBox_Time",
                               "lineEdit_ID_Time",
                               "lineEdit_periode_Time",
                               "pushButton_Scan",
                               "pushButton_Config",
                               "pushButton_Reboot",
                               "pushButton_RAZ"};
    for (int i = 1; i < chain.size(); ++i) {
        QWidget *from = window->findChild<QWidget *>(chain[i - 1]);
        QVERIFY(from);
        // Widgets that take no tab focus (labels) may sit between two links.
        QWidget *next = from->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), chain[i]);
    }
}

void TestMainWindow::menusAndActions()
{
    const QList<QAction *> top = window->menuBar()->actions();
    QCOMPARE(top.size(), 3);
    QCOMPARE(top[0]->text(), QString("&Quitter"));
    QVERIFY(!top[0]->menu());
    QCOMPARE(top[0]->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(top[0]->statusTip(), QString("Quitter l’application"));
    QVERIFY(!top[0]->isCheckable());

    QCOMPARE(top[1]->text(), QString("&Langue"));
    QVERIFY(top[1]->menu());
    const QList<QAction *> languages = top[1]->menu()->actions();
    QCOMPARE(languages.size(), 2);
    QCOMPARE(languages[0]->text(), QString("&Français"));
    QCOMPARE(languages[1]->text(), QString("&Anglais"));

    QCOMPARE(top[2]->text(), QString("&Aide"));
    QVERIFY(top[2]->menu());
    const QList<QAction *> help = top[2]->menu()->actions();
    QCOMPARE(help.size(), 1);
    QCOMPARE(help[0]->text(), QString("À propos de %1…").arg(QCoreApplication::applicationName()));
}

void TestMainWindow::ctrlQClosesTheWindow()
{
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
    {
        MainWindow another;
    }
    qInstallMessageHandler(previous);
    QVERIFY2(warnings.filter("connectSlotsByName").isEmpty(), qPrintable(warnings.join('\n')));
}

VELDRIX_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
