// Every caption of the main window and of the about dialog fits its widget
// with the program's font, in both languages, texts set while running
// included: a caption lengthened in either language shows up here by name.
// The Windows tests run it under Wine at five display scales (96 to 192 dpi),
// where the window and its text must grow together by the screen's factor.
#include "app/mainwindow.h"
#include "forms/formabout.h"
#include "forms/formfont.h"
#include "testsupport.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// Each captioned widget under `top` whose text is wider or taller than its
// place (its size hint, a group box's title, a wrapping label's lines), with
// the pixels it lacks.
static QStringList misfits(QWidget &top)
{
    QStringList found;
    for (QWidget *w : top.findChildren<QWidget *>()) {
        if (!QString("QLabel QCheckBox QRadioButton QPushButton QComboBox QGroupBox")
                 .contains(w->metaObject()->className()))
            continue;
        const QSize need(qMax(w->sizeHint().width(), w->minimumSizeHint().width()),
                         w->property("wordWrap").toBool() ? w->heightForWidth(w->width())
                                                          : w->fontMetrics().height());
        const QSize lack = (need - w->size()).expandedTo({0, 0});
        if (!lack.isNull())
            found << QString("%1:%2x%3").arg(w->objectName()).arg(lack.width()).arg(lack.height());
    }
    return found;
}

class TestFit : public QObject
{
    Q_OBJECT
public:
    // As the program starts: before the application object is made.
    static void initMain() { enableScreenScaling(); }

private slots:
    void initTestCase()
    {
        useFormFont();
        QVERIFY(QDir::setCurrent(VELDRIX_BUILD_DIR));
    }

    void captionsFit()
    {
        QStringList found;
        for (const QString language : {"langFr", "langEn"}) {
            MainWindow window;
            QVERIFY(QMetaObject::invokeMethod(&window, qPrintable(language)));
            window.show();
            FormAbout about(&window); // a child: checked with the window
            about.show();             // the form's font comes with the polish
            found << language + ':' << misfits(window);
            // What connecting and reading put on the form.
            window.findChild<QWidget *>("horizontalSlider_LumLED")->setProperty("value", 100);
            window.findChild<QPushButton *>("pushButton_Scan")->setText("Lire");
            found << misfits(window);
            // The connected message, in a status bar as wide as the window.
            QVERIFY(window.statusBar()->fontMetrics().horizontalAdvance(
                        "VELDRIX_GPS2CAN_SIM connecté sur port /dev/ttyUSB0 (relecture)") < 800);
        }
        QVERIFY2(found.join(' ') == "langFr: langEn:",
                 qPrintable("too small, by width x height pixels: " + found.join(' ')));
    }

    // At 125 % the window is 1038 x 668 pixels and its text 25 % larger: the
    // screen's own factor, not one rounded to a whole number, and the form's
    // 11 pixels never below what the system's dialog font asks for.
    void followsScale()
    {
        MainWindow window;
        window.show();
        qreal scale = 1; // elsewhere headless, at 96 dpi
#ifdef Q_OS_WIN
        const HDC dc = GetDC(nullptr); // the system's dots per inch, 96 at 100 %
        scale = GetDeviceCaps(dc, LOGPIXELSX) / 96.0;
        ReleaseDC(nullptr, dc);
        // Elsewhere desktop fonts are larger and wider: the reason for the form's own.
        const QFont system = QApplication::font();
        QVERIFY2(system.pointSizeF() * window.screen()->logicalDotsPerInch() / 72 <= 11.5,
                 qPrintable(system.toString()));
#endif
        QCOMPARE(window.devicePixelRatioF(), scale);
        const QFontInfo form(window.findChild<QWidget *>("lbl_Periode")->font());
        QCOMPARE(form.family(), formFont().family());
        QCOMPARE(form.pixelSize(), 11);
    }
};

VELDRIX_TEST_MAIN(TestFit)
#include "tst_fit.moc"
