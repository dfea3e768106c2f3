#ifndef VELDRIX_TESTSUPPORT_H
#define VELDRIX_TESTSUPPORT_H

// Shared by the tests: a private settings folder per test process, an
// answerer for the program's modal boxes, and the window's state as text.

#ifdef _WIN32 // no pseudo-terminal, no stand-in there: its table alone
#include "standin/moduletable.h"
#else
#include "standin/modulestandin.h"
#endif

#include <QtTest>
#ifdef QT_WIDGETS_LIB
#include <QtWidgets>
#endif

namespace testsupport
{

// `text` with each of `paths` replaced by its letter, A first: whole paths
// only, "/dev/pts/1" is not in "/dev/pts/16".
inline QString lettered(QString text, const QStringList &paths)
{
    for (int i = 0; i < paths.size(); ++i)
        text.replace(QRegularExpression(QRegularExpression::escape(paths[i]) + "(?!\\d)"),
                     QString(QChar('A' + i)));
    return text;
}

#ifdef QT_WIDGETS_LIB
// Closes every modal dialog once it has been up for patienceMs, noting for
// each "class: text | informative text".
struct Answerer : QObject {
    QStringList seen;
    QTimer timer;
    int patienceMs = 0;
    Answerer()
    {
        connect(&timer, &QTimer::timeout, this,
                [this, up = QElapsedTimer(), shown = QPointer<QDialog>()]() mutable {
                    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                    if (!dialog || !dialog->isVisible())
                        return;
                    if (std::exchange(shown, dialog) != dialog)
                        up.start();
                    if (up.elapsed() < patienceMs)
                        return;
                    auto *box = qobject_cast<QMessageBox *>(dialog);
                    seen << QString("%1: %2 | %3")
                                .arg(dialog->metaObject()->className(), box ? box->text() : "",
                                     box ? box->informativeText() : "");
                    dialog->done(QDialog::Accepted);
                });
        timer.start(5);
    }
};

template <class T = QWidget> T *get(QWidget &window, const QString &name)
{
    T *found = window.findChild<T *>(name);
    if (!found)
        qFatal("no widget %s", qPrintable(name));
    return found;
}

// "Lire 1 1 1": the connect button's caption and the command buttons' states.
inline QString buttons(QWidget &window)
{
    QString state = get<QPushButton>(window, "pushButton_Scan")->text();
    for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"})
        state += get(window, name)->isEnabled() ? " 1" : " 0";
    return state;
}

// The form's 36 values in write order, as the module spells them: each
// widget's user property (text, checked, value), the bus speed's item data.
inline QStringList form(QWidget &window)
{
    QStringList values;
    for (const QString &name : standin::widgets()) {
        QWidget *widget = get(window, name);
        auto *combo = qobject_cast<QComboBox *>(widget);
        const QVariant value =
            combo ? combo->currentData() : widget->metaObject()->userProperty().read(widget);
        values << (value.type() == QVariant::Bool ? QString::number(value.toBool())
                                                  : value.toString());
    }
    return values;
}

#endif
} // namespace testsupport

// Before the test's main: headless, with a settings folder of its own, so
// that no test reads or writes the user's settings.
static const bool isolated = [] {
    static QTemporaryDir home;
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, home.path().toUtf8());
#ifndef VELDRIX_PLATFORM
#define VELDRIX_PLATFORM "offscreen"
#endif
    qputenv("QT_QPA_PLATFORM", VELDRIX_PLATFORM);
    QCoreApplication::setApplicationName("veldrix");
    return true;
}();
#define VELDRIX_TEST_MAIN(TestObject) QTEST_MAIN(TestObject)

#endif
