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

const QString copyrightLine = QString::fromUtf8("Copyright © 2020–2021 Veldrix");

// A catalogue held in memory: answers the dialog's context from a table.
class TableTranslator : public QTranslator
{
public:
    explicit TableTranslator(QHash<QString, QString> table) : table(std::move(table)) {}
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (QLatin1String(context) != QLatin1String("FormAbout"))
            return QString();
        return table.value(QString::fromUtf8(source));
    }

private:
    QHash<QString, QString> table;
};

QString textOf(const QWidget &dialog, const char *name)
{
    const auto *label = dialog.findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

// Opens the dialog through the window's slot, as the help menu does, and
// hands the live dialog to `look` before it is closed with OK.
void openAbout(MainWindow &window, const std::function<void(QDialog *)> &look)
{
    testsupport::ModalAnswerer answerer;
    answerer.inspect = look;
    QMetaObject::invokeMethod(&window, "about");
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.first().className, QStringLiteral("FormAbout"));
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

    void showsItsTextsInTheCurrentLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("description");
        QTest::newRow("fr") << "langFr" << QString::fromUtf8("À propos de veldrix…")
                            << QString::fromUtf8("Configurateur du module VELDRIX");
        QTest::newRow("en") << "langEn" << QString::fromUtf8("About veldrix…")
                            << QString::fromUtf8("Configurator of the VELDRIX module");
    }

    void showsItsTextsInTheCurrentLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, description);
        MainWindow window;
        QMetaObject::invokeMethod(&window, language.toLatin1().constData());
        openAbout(window, [&](QDialog *dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("FormAbout"));
            QCOMPARE(dialog->windowTitle(), title);
            QCOMPARE(dialog->size(), QSize(300, 300));
            QVERIFY(dialog->isModal());
            QCOMPARE(dialog->parentWidget(), &window);
            QCOMPARE(textOf(*dialog, "applicationName"), QStringLiteral("VELDRIX"));
            QCOMPARE(textOf(*dialog, "version"), QStringLiteral("Version 2.1.0.0"));
            QCOMPARE(textOf(*dialog, "copyright"), copyrightLine);
            QCOMPARE(textOf(*dialog, "label_4"),
                     QString::fromUtf8("Veldrix – BP 42, 99000 Velmont"));
            QVERIFY2(textOf(*dialog, "label_6").startsWith(description),
                     qPrintable(textOf(*dialog, "label_6")));
        });
    }

    // With the default fonts of Linux desktops, from small to the large one
    // of headless runs, no text is cut, in either language; read from the
    // top, the widgets follow one another without overlapping.
    void textsFitTheirPlaces_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("pixels");
        for (const char *language : {"langFr", "langEn"})
            for (int pixels : {11, 13, 15, 17})
                QTest::addRow("%s %dpx", language, pixels) << language << pixels;
    }

    void textsFitTheirPlaces()
    {
        QFETCH(QString, language);
        QFETCH(int, pixels);
        MainWindow window;
        QMetaObject::invokeMethod(&window, language.toLatin1().constData());
        FormAbout dialog(&window);
        QFont font("DejaVu Sans");
        font.setPixelSize(pixels);
        dialog.setFont(font);
        for (const char *name : {"applicationName", "version", "copyright", "label_4"}) {
            const auto *label = dialog.findChild<QLabel *>(name);
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                         label->contentsRect().width(),
                     qPrintable(label->text()));
        }
        const auto *description = dialog.findChild<QLabel *>("label_6");
        QVERIFY2(description->heightForWidth(description->width()) <= description->height(),
                 qPrintable(description->text()));

        QRect above;
        for (const char *name :
             {"applicationName", "version", "copyright", "label_4", "label_6", "buttonBox"}) {
            const QRect place = dialog.findChild<QWidget *>(name)->geometry();
            QVERIFY2(dialog.rect().contains(place), name);
            QVERIFY2(above.isNull() || place.top() > above.bottom(), name);
            above = place;
        }
    }

    // A catalogue reaches every text but the copyright line, and the version
    // number goes in after translation: where the translation puts %1, or
    // nowhere when it has none.
    void textsMeetTheCatalogue_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *name, const QString &source, const QString &translation,
                            const char *label, const QString &shown) {
            QTest::newRow(name) << source << translation << QString(label) << shown;
        };
        const QString version = "Version %1", other = "traduit";
        row("version untranslated", version, QString(), "version", "Version 2.1.0.0");
        row("version reworded", version, "Release %1", "version", "Release 2.1.0.0");
        row("version number first", version, "%1 (version)", "version", "2.1.0.0 (version)");
        row("version without %1", version, "Version", "version", "Version");
        row("copyright", QString::fromUtf8("Copyright © 2020 Veldrix"), other, "copyright",
            copyrightLine);
        row("maker", QString::fromUtf8("Veldrix – BP 42, 99000 Velmont"), other, "label_4", other);
    }

    void textsMeetTheCatalogue()
    {
        QFETCH(QString, source);
        QFETCH(QString, translation);
        QFETCH(QString, label);
        QFETCH(QString, shown);
        TableTranslator catalogue({{source, translation}});
        QCoreApplication::installTranslator(&catalogue);
        if (source == "Version %1" && !translation.isEmpty() && !translation.contains("%1"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QString::arg: .*"));
        FormAbout dialog(nullptr);
        QCoreApplication::removeTranslator(&catalogue);
        QCOMPARE(textOf(dialog, label.toLatin1().constData()), shown);
    }

    // The title takes the application name of the moment; the product label
    // keeps its own text.
    void titleFollowsTheApplicationName()
    {
        QCoreApplication::setApplicationName("autre-nom");
        FormAbout dialog(nullptr);
        QCoreApplication::setApplicationName("veldrix");
        QCOMPARE(dialog.windowTitle(), QString::fromUtf8("À propos de autre-nom…"));
        QCOMPARE(textOf(dialog, "applicationName"), QStringLiteral("VELDRIX"));
    }

    // Each opening builds a dialog, alone while it is up, gone once closed.
    void eachOpeningIsADialogOfItsOwn()
    {
        MainWindow window;
        QList<QPointer<QDialog>> opened;
        for (int opening = 0; opening < 2; ++opening) {
            openAbout(window, [&](QDialog *dialog) {
                QCOMPARE(window.findChildren<FormAbout *>().size(), 1);
                opened.append(dialog);
            });
            QCOMPARE(opened.size(), opening + 1);
            QVERIFY(opened.last().isNull());
            QVERIFY(window.findChildren<FormAbout *>().isEmpty());
        }
    }
};

VELDRIX_TEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
