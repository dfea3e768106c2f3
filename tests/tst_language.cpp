// Language switching end to end, with the real compiled catalogues of the
// build tree: captions, menus, the stored choice, and what happens when a
// catalogue is missing or broken.
#include "app/mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>

namespace
{

QString stored()
{
    return QSettings().value("Language").toString();
}

void store(const QString &code)
{
    QSettings().setValue("Language", code);
}

QStringList menuTexts(MainWindow &window)
{
    QStringList texts;
    for (QAction *action : window.menuBar()->actions()) {
        texts << action->text();
        if (action->menu())
            for (QAction *entry : action->menu()->actions())
                texts << entry->text();
    }
    return texts;
}

template <class T> T *child(MainWindow &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no widget %s", name);
    return found;
}

QString scanCaption(MainWindow &window)
{
    return child<QPushButton>(window, "pushButton_Scan")->text();
}

const QStringList frenchMenus = {"&Quitter", "&Langue", "&Français",
                                 "&Anglais", "&Aide",   "À propos de veldrix…"};
const QStringList englishMenus = {"&Quit",    "&Language", "&French",
                                  "&English", "&Help",     "About veldrix…"};

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName("veldrix");
        QVERIFY(QFile::exists(testsupport::buildDir() + "/veldrix_en.qm"));
    }
    void init()
    {
        QVERIFY(QDir::setCurrent(testsupport::buildDir()));
        QSettings().clear();
    }

    void firstStartIsFrenchAndStoresIt();
    void switchingTurnsCaptionsAtOnceAndMenusAtNextStart();
    void switchKeepsTheFormsValues();
    void backToFrenchRestoresSourceTexts();
    void unknownCodeIsKept();
    void brokenOrMissingCatalogues_data();
    void brokenOrMissingCatalogues();
    void catalogueFollowsProgramName();
};

void TestLanguage::firstStartIsFrenchAndStoresIt()
{
    MainWindow window;
    QCOMPARE(scanCaption(window), QString("Connecter"));
    QCOMPARE(child<QGroupBox>(window, "groupBox_General")->title(), QString("Paramètres CAN"));
    QCOMPARE(window.windowTitle(), QString("veldrix"));
    QCOMPARE(menuTexts(window), frenchMenus);
    QCOMPARE(stored(), QString("fr"));
}

void TestLanguage::switchingTurnsCaptionsAtOnceAndMenusAtNextStart()
{
    {
        MainWindow window;
        QVERIFY(QMetaObject::invokeMethod(&window, "langEn"));
        QCOMPARE(scanCaption(window), QString("Connect"));
        QCOMPARE(child<QLabel>(window, "lbl_Periode_RT_2")->text(), QString("Period (ms)"));
        QCOMPARE(child<QLabel>(window, "lbl_PremierID_ECUMASTER")->text(), QString("First ID"));
        QCOMPARE(window.windowTitle(), QString("VELDRIX v2.1"));
        // Actions and menus were translated when the window was built.
        QCOMPARE(menuTexts(window), frenchMenus);
        QCOMPARE(stored(), QString("en"));
    }
    MainWindow next;
    QCOMPARE(scanCaption(next), QString("Connect"));
    QCOMPARE(menuTexts(next), englishMenus);
    QCOMPARE(next.windowTitle(), QString("veldrix"));
    QCOMPARE(stored(), QString("en"));
}

void TestLanguage::switchKeepsTheFormsValues()
{
    MainWindow window;
    child<QLineEdit>(window, "lineEdit_TimeShift")->setText("-3");
    child<QLineEdit>(window, "lineEdit_PremierID_ECUMASTER")->setText("1536");
    child<QCheckBox>(window, "checkBox_ZT")->setChecked(true);
    child<QComboBox>(window, "comboBox_VCAN")->setCurrentIndex(2);
    child<QPushButton>(window, "pushButton_Scan")->setText("Lire");
    child<QLabel>(window, "label_LumLEDpercent")->setText("45 %");

    QVERIFY(QMetaObject::invokeMethod(&window, "langEn"));

    QCOMPARE(child<QLineEdit>(window, "lineEdit_TimeShift")->text(), QString("-3"));
    QCOMPARE(child<QLineEdit>(window, "lineEdit_PremierID_ECUMASTER")->text(), QString("1536"));
    QVERIFY(child<QCheckBox>(window, "checkBox_ZT")->isChecked());
    QCOMPARE(child<QComboBox>(window, "comboBox_VCAN")->currentIndex(), 2);
    // Captions that the program rewrites at run time go back to the form's.
    QCOMPARE(scanCaption(window), QString("Connect"));
    QCOMPARE(child<QLabel>(window, "label_LumLEDpercent")->text(), QString("%"));
}

void TestLanguage::backToFrenchRestoresSourceTexts()
{
    store("en");
    MainWindow window;
    QCOMPARE(scanCaption(window), QString("Connect"));
    QVERIFY(QMetaObject::invokeMethod(&window, "langFr"));
    QCOMPARE(scanCaption(window), QString("Connecter"));
    QCOMPARE(child<QCheckBox>(window, "checkBox_ZT")->text(), QString("Résistance de terminaison"));
    QCOMPARE(stored(), QString("fr"));
    // Qt's own texts come from the French Qt catalogue beside the program.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Annuler"));
}

void TestLanguage::unknownCodeIsKept()
{
    store("de");
    MainWindow window;
    QCOMPARE(stored(), QString("de"));
    QCOMPARE(scanCaption(window), QString("Connecter"));
    QCOMPARE(menuTexts(window), frenchMenus);
}

void TestLanguage::brokenOrMissingCatalogues_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("garbage") << QByteArray("this is not a catalogue\0\1\2", 26);
    QTest::newRow("truncated") << QByteArray("\x3c\xb8\x64\x18\xca\xef\x9c\x95", 8);
}

// Started where the catalogues are missing or broken, English gives French
// texts, silently, and the choice is still stored.
void TestLanguage::brokenOrMissingCatalogues()
{
    QFETCH(QByteArray, content);
    QTemporaryDir elsewhere;
    if (!content.isEmpty()) {
        QDir(elsewhere.path()).mkdir("translations");
        for (const char *name : {"veldrix_en.qm", "translations/qt_en.qm"}) {
            QFile file(elsewhere.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
    }
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    testsupport::ModalAnswerer answerer;
    store("en");
    MainWindow window;
    QCOMPARE(scanCaption(window), QString("Connecter"));
    QVERIFY(QMetaObject::invokeMethod(&window, "langEn"));
    QCOMPARE(scanCaption(window), QString("Connecter"));
    QCOMPARE(stored(), QString("en"));
    QTest::qWait(50);
    QVERIFY(answerer.seen.isEmpty());
}

// The program's catalogue is found by the program's own name.
void TestLanguage::catalogueFollowsProgramName()
{
    QTemporaryDir elsewhere;
    QVERIFY(QFile::copy(testsupport::buildDir() + "/veldrix_en.qm",
                        elsewhere.filePath("renamed_en.qm")));
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QCoreApplication::setApplicationName("renamed");
    store("en");
    MainWindow window;
    const QString caption = scanCaption(window);
    QCoreApplication::setApplicationName("veldrix");
    QCOMPARE(caption, QString("Connect"));
}

VELDRIX_TEST_MAIN(TestLanguage)
#include "tst_language.moc"
