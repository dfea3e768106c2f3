#include "i18n/language.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTranslator>

namespace i18n
{
namespace
{

// Catalogue of Qt's own texts and catalogue of the program's texts; loaded
// again on every language switch, never re-created. They are made before
// main() runs and destroyed after it returns.
QTranslator qtTranslator;
QTranslator appTranslator;

const char languageKey[] = "Language";

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

QString storedLanguage()
{
    return QSettings().value(languageKey, "fr").toString();
}

void useLanguage(const QString &code)
{
    applyCatalogue(qtTranslator, QString("translations/qt_%1.qm").arg(code));
    applyCatalogue(appTranslator,
                   QString("%1_%2.qm").arg(QCoreApplication::applicationName()).arg(code));
    QSettings().setValue(languageKey, code);
}

} // namespace i18n
