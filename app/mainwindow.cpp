#include "app/mainwindow.h"

#include "app/formfields.h"
#include "app/processstate.h"
#include "forms/formabout.h"
#include "forms/ui_mainwindow.h"
#include "i18n/language.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QIntValidator>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <cstddef>

// Made before main runs and destroyed after it returns.
QString moduleName = "";
QString modulePortName = "";
bool moduleFound = false;
bool moduleConnected = false;

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui_MainWindow), clickState([this] { close(); })
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
    loadLanguage(i18n::storedLanguage());

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
    for (const formfields::Field &field : formfields::fields)
        if (field.integerOnly)
            findChild<QLineEdit *>(QLatin1String(field.widget))->setValidator(integerOnly);
    // The number fields named in the slots below are checked through them; a
    // number field added without a slot of its own is checked all the same.
    for (std::size_t i = 0; i < formfields::fields.size(); ++i) {
        const QByteArray slot =
            QByteArray("on_") + formfields::fields[i].widget + "_editingFinished()";
        if (records::settings[i].kind != records::Kind::Number ||
            metaObject()->indexOfSlot(slot.constData()) >= 0)
            continue;
        auto *const edit = findChild<QLineEdit *>(QLatin1String(formfields::fields[i].widget));
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { checkFieldRange(edit); });
    }

    createActions();
    createMenus();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (clickState.putOffClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::loadLanguage(const QString &code)
{
    i18n::useLanguage(code);
    ui->retranslateUi(this);
}

void MainWindow::langFr()
{
    loadLanguage("fr");
}

void MainWindow::langEn()
{
    loadLanguage("en");
}

// The dialog lives only while it is shown; what it returns does not matter.
void MainWindow::about()
{
    FormAbout dialog(this);
    dialog.exec();
}

void MainWindow::awaitExchange(const std::function<void()> &exchange)
{
    {
        const ClickState::During during(clickState, ClickState::Wait::Exchange);
        exchange();
    }
    takeUpHeldInput();
}

// While an exchange runs, the window system's input is held back, a close
// from the window's title bar and Ctrl+Q included. Handed over later, to a
// window that a message box blocks by then, a close would be lost: it is
// handed over now, while the click still runs, so that the close is put off
// until the click's end. The rest of that input was given while the window
// could not answer (a click on a button, a key) and is dropped.
void MainWindow::takeUpHeldInput()
{
    class DropInput : public QObject
    {
    public:
        explicit DropInput(const QAction *quit) : quit(quit) {}
        bool eventFilter(QObject *receiver, QEvent *event) override
        {
            switch (event->type()) {
            case QEvent::Shortcut:
                return receiver != quit;
            case QEvent::ShortcutOverride:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
                return true;
            default:
                return false;
            }
        }

    private:
        const QAction *const quit;
    } dropInput(quitAct);
    QCoreApplication::instance()->installEventFilter(&dropInput);
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&dropInput);
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
