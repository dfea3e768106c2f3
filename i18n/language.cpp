#include "app/mainwindow.h"
#include "app/processstate.h"
#include "forms/ui_mainwindow.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTranslator>

namespace
{

// Loads a catalogue into a translator that is reused for every switch, or
// takes the translator out when no such file exists. A file that exists but
// does not load leaves an empty translator installed: the texts stay French.
void applyCatalogue(QTranslator &translator, const QString &file)
{
    if (QFile::exists(file)) {
        translator.load(file);
        QCoreApplication::installTranslator(&translator);
    } else {
        QCoreApplication::removeTranslator(&translator);
    }
}

} // namespace

// Catalogues are looked for relative to the working directory: Qt's own as
// translations/qt_<code>.qm, the program's as <application name>_<code>.qm.
// The code is used as stored, whatever it is, and written back.
void MainWindow::loadLanguage(const QString &code)
{
    applyCatalogue(qtTranslator, QString("translations/qt_%1.qm").arg(code));
    applyCatalogue(appTranslator,
                   QString("%1_%2.qm").arg(QCoreApplication::applicationName()).arg(code));
    ui->retranslateUi(this);
    QSettings settings;
    settings.setValue("Language", code);
}

void MainWindow::langFr()
{
    loadLanguage("fr");
}

void MainWindow::langEn()
{
    loadLanguage("en");
}
