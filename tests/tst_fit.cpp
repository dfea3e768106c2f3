// Every caption of the main window and of the about dialog fits its widget
// with the program's font, in both languages, texts set while running
// included: a caption lengthened in either language shows up here by name.
#include "app/mainwindow.h"
#include "forms/formabout.h"
#include "forms/formfont.h"
#include "testsupport.h"

// Each captioned widget under `top` whose text is wider or taller than its
// place: its size hint, a group box's title, a wrapping label's lines.
static QString misfits(QWidget &top, const QString &language)
{
    QString found;
    for (QWidget *w : top.findChildren<QWidget *>())
        if (QString("QLabel QCheckBox QRadioButton QPushButton QComboBox QGroupBox")
                .contains(w->metaObject()->className()) &&
            (qMax(w->sizeHint().width(), w->minimumSizeHint().width()) > w->width() ||
             (w->property("wordWrap").toBool() ? w->heightForWidth(w->width())
                                               : w->fontMetrics().height()) > w->height()))
            found += QString("%1:%2 ").arg(language, w->objectName());
    return found;
}

class TestFit : public QObject
{
    Q_OBJECT
private slots:
    void captionsFit()
    {
        useFormFont();
        QVERIFY(QDir::setCurrent(VELDRIX_BUILD_DIR));
        for (const QString language : {"langFr", "langEn"}) {
            MainWindow window;
            QVERIFY(QMetaObject::invokeMethod(&window, qPrintable(language)));
            FormAbout about(&window); // a child: checked with the window
            QCOMPARE(misfits(window, language), QString());
            // What connecting and reading put on the form.
            window.findChild<QWidget *>("horizontalSlider_LumLED")->setProperty("value", 100);
            window.findChild<QPushButton *>("pushButton_Scan")->setText("Lire");
            QCOMPARE(misfits(window, language), QString());
            // The connected message, in a status bar as wide as the window.
            QVERIFY(window.fontMetrics().horizontalAdvance(
                        "VELDRIX_GPS2CAN_SIM connecté sur port /dev/ttyUSB0 (relecture)") < 800);
        }
    }
};

VELDRIX_TEST_MAIN(TestFit)
#include "tst_fit.moc"
