// The about dialog: what it shows in each language, that its texts fit their
// places, how the version number and the copyright line meet translation,
// and that each opening is a dialog of its own.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "forms/formabout.h"
#include "testsupport.h"

#include <QDialogButtonBox>
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
    QVERIFY(answerer.seen.first().hadParent);
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

    // Six widgets, no layout; read from the top: product, version, copyright,
    // maker, framed description, then the single OK button.
    void placesItsWidgetsTopToBottom()
    {
        FormAbout dialog(nullptr);
        QVERIFY(dialog.layout() == nullptr);
        QCOMPARE(dialog.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).size(), 5);
        const auto *buttons = dialog.findChild<QDialogButtonBox *>("buttonBox");
        QVERIFY(buttons);
        QCOMPARE(buttons->standardButtons(), QDialogButtonBox::Ok);
        const auto *description = dialog.findChild<QLabel *>("label_6");
        QVERIFY(description && description->wordWrap());
        QVERIFY(description->frameShape() != QFrame::NoFrame);

        const char *order[] = {"applicationName", "version", "copyright",
                               "label_4",         "label_6", "buttonBox"};
        QRect above;
        for (const char *name : order) {
            const auto *widget = dialog.findChild<QWidget *>(name);
            QVERIFY2(widget && widget->parentWidget() == &dialog, name);
            const QRect place = widget->geometry();
            QVERIFY2(QRect(0, 0, 300, 300).contains(place), name);
            if (!above.isNull())
                QVERIFY2(place.top() > above.bottom(), name);
            above = place;
        }
    }

    // With the default fonts of Linux desktops, from small to the large one
    // of headless runs, no text is cut, in either language.
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
    }

    // The number is put in after translation: a translation keeps it where
    // its %1 stands, and loses it when it has no %1.
    void versionNumberGoesInAfterTranslation_data()
    {
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("shown");
        QTest::newRow("untranslated") << QString() << "Version 2.1.0.0";
        QTest::newRow("other word") << "Release %1"
                                    << "Release 2.1.0.0";
        QTest::newRow("number first") << "%1 (version)"
                                      << "2.1.0.0 (version)";
        QTest::newRow("no place for it") << "Version"
                                         << "Version";
    }

    void versionNumberGoesInAfterTranslation()
    {
        QFETCH(QString, translation);
        QFETCH(QString, shown);
        TableTranslator catalogue({{"Version %1", translation}});
        QCoreApplication::installTranslator(&catalogue);
        if (!translation.isEmpty() && !translation.contains("%1"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QString::arg: .*"));
        FormAbout dialog(nullptr);
        QCoreApplication::removeTranslator(&catalogue);
        QCOMPARE(textOf(dialog, "version"), shown);
    }

    // Even a catalogue that translates the copyright text leaves the line as
    // it is, while every other text follows the catalogue.
    void copyrightLineIgnoresTheCatalogue()
    {
        const char *sources[] = {"VELDRIX", "Copyright © 2020 Veldrix",
                                 "Veldrix – BP 42, 99000 Velmont"};
        QHash<QString, QString> table;
        for (const char *source : sources)
            table.insert(QString::fromUtf8(source), QStringLiteral("traduit"));
        TableTranslator catalogue(table);
        QCoreApplication::installTranslator(&catalogue);
        FormAbout dialog(nullptr);
        QCoreApplication::removeTranslator(&catalogue);
        QCOMPARE(textOf(dialog, "copyright"), copyrightLine);
        QCOMPARE(textOf(dialog, "applicationName"), QStringLiteral("traduit"));
        QCOMPARE(textOf(dialog, "label_4"), QStringLiteral("traduit"));
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
