#include "mainwindow.h"

#include "forms/ui_mainwindow.h"
#include "processstate.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QIntValidator>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSettings>
#include <QStatusBar>
#include <QTranslator>

// Defined in this order so that they are built in this order before main
// runs, and destroyed in the reverse order after it returns.
QTranslator qtTranslator;
QTranslator appTranslator;
QString moduleName = "";
QString modulePortName = "";
bool moduleFound = false;
bool moduleConnected = false;

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui_MainWindow)
{
    ui->setupUi(this);
    // The window has a fixed size: a resize grip would promise otherwise.
    statusBar()->setSizeGripEnabled(false);

#ifdef Q_OS_WIN
    // Qt keeps no settings in the registry for a program without an
    // organisation name. Under the one Qt stands in elsewhere (Linux:
    // ~/.config/Unknown Organization/veldrix.conf) the language is kept in
    // HKEY_CURRENT_USER\Software\Unknown Organization\veldrix.
    if (QCoreApplication::organizationName().isEmpty())
        QCoreApplication::setOrganizationName(QStringLiteral("Unknown Organization"));
#endif
    QSettings settings;
    const QString language = settings.value("Language", "fr").toString();
    loadLanguage(language);

    // The title stays the program's own name until a language is chosen from
    // the menu; the form's translated title then takes its place.
    setWindowTitle(QCoreApplication::applicationName());

    ui->comboBox_VCAN->addItem("125 kbps", 125);
    ui->comboBox_VCAN->addItem("250 kbps", 250);
    ui->comboBox_VCAN->addItem("500 kbps", 500);
    ui->comboBox_VCAN->addItem("1 Mbps", 1000);

    // The module commands make sense only once a module has been read.
    ui->pushButton_Config->setEnabled(false);
    ui->pushButton_Reboot->setEnabled(false);
    ui->pushButton_RAZ->setEnabled(false);

    // One validator, without a range, shared by the integer fields; the range
    // of each field is checked when its editing finishes. It is never deleted:
    // it serves every window for the whole run. The three ECUmaster fields take
    // any text.
    static QIntValidator *const integerOnly = new QIntValidator;
    for (QLineEdit *field :
         {ui->lineEdit_TimeShift, ui->lineEdit_ID_Lat_Lon, ui->lineEdit_ID_Speed_Alt,
          ui->lineEdit_ID_precision, ui->lineEdit_ID_Current_Time, ui->lineEdit_ID_UTC_Time,
          ui->lineEdit_ID_Time, ui->lineEdit_PremierID_RT, ui->lineEdit_OffsetID_RT,
          ui->lineEdit_periode_Lon_Lat, ui->lineEdit_periode_Speed_Alt,
          ui->lineEdit_periode_precision, ui->lineEdit_periode_Current_time,
          ui->lineEdit_periode_UTC_time, ui->lineEdit_periode_Time, ui->lineEdit_periode_Lon_Lat_RT,
          ui->lineEdit_periode_Time_RT})
        field->setValidator(integerOnly);

    createActions();
    createMenus();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (clicksTalking > 0) {
        closeAskedMeanwhile = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::awaitExchange(const std::function<void()> &exchange)
{
    const QScopedValueRollback<bool> during(exchanging, true);
    exchange();
}

// Action texts are translated once, here: a later language switch reaches
// them at the next start.
void MainWindow::createActions()
{
    quitAct = new QAction(tr("&Quitter"), this);
    quitAct->setShortcut(QKeySequence(tr("Ctrl+Q")));
    quitAct->setIcon(QIcon::fromTheme("application-exit"));
    quitAct->setStatusTip(tr("Quitter l’application"));
    connect(quitAct, &QAction::triggered, this, &QWidget::close);

    langFrAct = new QAction(tr("&Français"), this);
    connect(langFrAct, &QAction::triggered, this, &MainWindow::langFr);

    langEnAct = new QAction(tr("&Anglais"), this);
    connect(langEnAct, &QAction::triggered, this, &MainWindow::langEn);

    aboutAct = new QAction(tr("À propos de %1…").arg(QCoreApplication::applicationName()), this);
    connect(aboutAct, &QAction::triggered, this, &MainWindow::about);
}

void MainWindow::createMenus()
{
    menuBar()->addAction(quitAct);

    langMenu = menuBar()->addMenu(tr("&Langue"));
    langMenu->addAction(langFrAct);
    langMenu->addAction(langEnAct);

    helpMenu = menuBar()->addMenu(tr("&Aide"));
    helpMenu->addAction(aboutAct);
}
