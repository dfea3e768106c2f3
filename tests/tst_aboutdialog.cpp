// The about dialog: what it shows in each language, that its texts fit their
// places, how its texts meet a catalogue, and that each opening is a dialog
// of its own.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "forms/formabout.h"
#include "testsupport.h"

#include <QDir>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QTranslator>

namespace
{

const QString copyrightLine = "Copyright © 2020–2021 Veldrix";
const QString makerLine = "Veldrix – BP 42, 99000 Velmont";

// A catalogue held in memory: answers the dialog's context from a table.
class TableTranslator : public QTranslator
{
public:
    explicit TableTranslator(QHash<QString, QString> table) : table(std::move(table)) {}
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QLatin1String(context) == QLatin1String("FormAbout") ? table.value(source)
                                                                    : QString();
    }

private:
    QHash<QString, QString> table;
};

QString textOf(const QWidget &dialog, const QString &name)
{
    const auto *label = dialog.findChild<QLabel *>(name);
    return label ? label->text() : "<no label " + name + ">";
}

// The first widget, from the top, whose text is cut at a font of `pixels`,
// that leaves the dialog or overlaps the one above it; empty when none does.
QString misfit(QDialog &dialog, int pixels)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    dialog.setFont(font);
    QRect above;
    for (const char *name :
         {"applicationName", "version", "copyright", "label_4", "label_6", "buttonBox"}) {
        const auto *widget = dialog.findChild<QWidget *>(name);
        const QRect place = widget->geometry();
        const auto *label = qobject_cast<const QLabel *>(widget);
        const bool cut =
            label && (label->wordWrap() ? label->heightForWidth(place.width()) > place.height()
                                        : label->fontMetrics().horizontalAdvance(label->text()) >
                                              label->contentsRect().width());
        if (cut || !dialog.rect().contains(place) ||
            (!above.isNull() && place.top() <= above.bottom()))
            return QString("%1 at %2 px").arg(name).arg(pixels);
        above = place;
    }
    return QString();
}

} // namespace

class TestAboutDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The real catalogues of the build, found as the program finds them.
        QVERIFY(QDir::setCurrent(testsupport::buildDir()));
        QCoreApplication::setApplicationName("veldrix");
    }

    // Back to the French source texts, whatever a test switched to.
    void cleanup()
    {
        QCoreApplication::removeTranslator(&appTranslator);
        QCoreApplication::removeTranslator(&qtTranslator);
    }

    void showsItsTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::newRow("fr") << "langFr"
                            << "À propos de veldrix…"
                            << "Configurateur du module VELDRIX";
        QTest::newRow("en") << "langEn"
                            << "About veldrix…"
                            << "Configuration tool for the VELDRIX module";
    }

    // Opened from the window in each language, as a modal child of 300 × 300
    // whose texts are whole and fit their places at small to large fonts,
    // the widgets following one another from the top without overlapping.
    void showsItsTexts()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, description);
        MainWindow window;
        QMetaObject::invokeMethod(&window, language.toLatin1().constData());
        testsupport::ModalAnswerer answerer;
        answerer.inspect = [&](QDialog *dialog) {
            QCOMPARE(dialog->objectName(), QString("FormAbout"));
            QCOMPARE(dialog->windowTitle(), title);
            QCOMPARE(dialog->size(), QSize(300, 300));
            QVERIFY(dialog->isModal());
            QCOMPARE(dialog->parentWidget(), &window);
            QCOMPARE(textOf(*dialog, "applicationName"), QString("VELDRIX"));
            QCOMPARE(textOf(*dialog, "version"), QString("Version 2.1.0.0"));
            QCOMPARE(textOf(*dialog, "copyright"), copyrightLine);
            QCOMPARE(textOf(*dialog, "label_4"), makerLine);
            QVERIFY2(textOf(*dialog, "label_6").startsWith(description),
                     qPrintable(textOf(*dialog, "label_6")));
            for (int pixels : {11, 13, 15, 17})
                QCOMPARE(misfit(*dialog, pixels), QString());
        };
        QMetaObject::invokeMethod(&window, "about");
        QCOMPARE(answerer.seen.size(), 1);
    }

    // A catalogue reaches every text but the copyright line, and the version
    // number goes in after translation, where the translation puts %1. The
    // title takes the application name of the moment.
    void textsMeetTheCatalogue()
    {
        TableTranslator catalogue(
            {{"Version %1", "%1 (version)"}, {copyrightLine, "traduit"}, {makerLine, "traduit"}});
        QCoreApplication::installTranslator(&catalogue);
        QCoreApplication::setApplicationName("autre-nom");
        FormAbout dialog(nullptr);
        QCoreApplication::setApplicationName("veldrix");
        QCoreApplication::removeTranslator(&catalogue);
        QCOMPARE(textOf(dialog, "version"), QString("2.1.0.0 (version)"));
        QCOMPARE(textOf(dialog, "copyright"), copyrightLine);
        QCOMPARE(textOf(dialog, "label_4"), QString("traduit"));
        QCOMPARE(textOf(dialog, "applicationName"), QString("VELDRIX"));
        QCOMPARE(dialog.windowTitle(), QString("À propos de autre-nom…"));
    }

    // Each opening builds a dialog, alone while it is up, gone once closed.
    void eachOpeningIsADialogOfItsOwn()
    {
        MainWindow window;
        testsupport::ModalAnswerer answerer;
        QList<QPointer<QDialog>> opened;
        answerer.inspect = [&](QDialog *dialog) {
            QCOMPARE(window.findChildren<FormAbout *>().size(), 1);
            opened.append(dialog);
        };
        for (int opening = 1; opening <= 2; ++opening) {
            QMetaObject::invokeMethod(&window, "about");
            QCOMPARE(answerer.seen.size(), opening);
            QCOMPARE(answerer.seen.last().className, QString("FormAbout"));
            QCOMPARE(opened.size(), opening);
            QVERIFY(opened.last().isNull());
            QVERIFY(window.findChildren<FormAbout *>().isEmpty());
        }
        QCOMPARE(opened.size(), 2);
    }
};

VELDRIX_TEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
