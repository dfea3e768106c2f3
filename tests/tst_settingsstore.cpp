// A settings store that can be neither read nor written: the program starts
// in French, switches language, and says nothing.
#include "app/mainwindow.h"
#include "testsupport.h"

#include <QPushButton>
#include <QSettings>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationName("veldrix");
        QVERIFY(QDir::setCurrent(testsupport::buildDir()));
        // A folder where the settings file should be: no file can be read
        // or written there, whoever runs the test.
        const QString path = QSettings().fileName();
        QVERIFY(QDir().mkpath(path));
    }

    void unusableStoreGivesFrenchSilently()
    {
        testsupport::ModalAnswerer answerer;
        {
            QSettings settings;
            settings.setValue("Language", "en");
            settings.sync();
            QCOMPARE(settings.status(), QSettings::AccessError);
        }
        MainWindow window;
        auto *scan = window.findChild<QPushButton *>("pushButton_Scan");
        QCOMPARE(scan->text(), QString("Connecter"));
        QVERIFY(QMetaObject::invokeMethod(&window, "langEn"));
        QCOMPARE(scan->text(), QString("Connect"));
        MainWindow next;
        QCOMPARE(next.findChild<QPushButton *>("pushButton_Scan")->text(), QString("Connecter"));
        QTest::qWait(50);
        QVERIFY(answerer.seen.isEmpty());
    }
};

VELDRIX_TEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
