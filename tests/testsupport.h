#ifndef VELDRIX_TESTSUPPORT_H
#define VELDRIX_TESTSUPPORT_H

// Shared by every test: a private settings folder per test process, and a
// helper that answers the program's modal boxes the way a user would.

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace testsupport
{

// Folder of the build tree that holds veldrix_en.qm and translations/.
inline QString buildDir()
{
    return QStringLiteral(VELDRIX_BUILD_DIR);
}

// What a modal box showed when the answerer closed it.
struct SeenBox {
    QString className;
    QString title;
    QString text;
    QString informativeText;
    bool hadParent = false;
    bool hadIcon = false;
    int buttonCount = 0;
};

// Watches for application-modal dialogs and closes each one as soon as it is
// up, with its OK button (or accept() for a plain dialog), recording what it
// showed. It reacts to the box's arrival, never to a fixed delay.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QObject *parent = nullptr) : QObject(parent)
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, this, [this] { poll(); });
        timer.start();
    }

    QList<SeenBox> seen;
    // When set, called with each box before it is closed (for checks that
    // need the live box, such as focus while it is up).
    std::function<void(QDialog *)> inspect;

    // Waits (processing events) until `count` boxes have been answered.
    bool waitFor(int count, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([&] { return seen.size() >= count; }, timeoutMs);
    }

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || answering)
            return;
        answering = true;
        SeenBox box;
        box.className = QString::fromLatin1(dialog->metaObject()->className());
        box.title = dialog->windowTitle();
        box.hadParent = dialog->parentWidget() != nullptr;
        if (auto *message = qobject_cast<QMessageBox *>(dialog)) {
            box.text = message->text();
            box.informativeText = message->informativeText();
            box.hadIcon = message->icon() != QMessageBox::NoIcon;
            box.buttonCount = message->buttons().size();
        }
        seen.append(box);
        if (inspect)
            inspect(dialog);
        if (auto *message = qobject_cast<QMessageBox *>(dialog);
            message && !message->buttons().isEmpty())
            message->buttons().first()->click();
        else
            dialog->accept();
        answering = false;
    }

    QTimer timer;
    bool answering = false;
};

} // namespace testsupport

// Like QTEST_MAIN, but each test process runs headless with a settings folder
// of its own, so that no test reads or writes the user's real settings.
#define VELDRIX_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QTemporaryDir home;                                                                        \
        qputenv("HOME", home.path().toUtf8());                                                     \
        qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());                           \
        QDir(home.path()).mkdir("runtime");                                                        \
        QFile::setPermissions(home.path() + "/runtime",                                            \
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);             \
        qputenv("XDG_RUNTIME_DIR", (home.path() + "/runtime").toUtf8());                           \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#endif
