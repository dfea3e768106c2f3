// The program as installed: started from its folder of an install into a
// private prefix (a CTest fixture lays it out), its French Qt texts come from
// the system's catalogues through links, not from copies.
#include "app/mainwindow.h"
#include "testsupport.h"

#include <QDialogButtonBox>

class TestInstalled : public QObject
{
    Q_OBJECT

private slots:
    void qtTextsAreFrenchThroughLinks()
    {
        QVERIFY2(QFileInfo(QDir::currentPath()).fileName() == "veldrix", "not in lib/veldrix");
        QVERIFY(QFileInfo("translations/qt_fr.qm").isSymLink());
        MainWindow window;
        QVERIFY(QMetaObject::invokeMethod(&window, "langFr"));
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Annuler"));
    }
};

VELDRIX_TEST_MAIN(TestInstalled)
#include "tst_installed.moc"
