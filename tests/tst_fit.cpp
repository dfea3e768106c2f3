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
        const int wide = qMax(w->sizeHint().width(), w->minimumSizeHint().width()) - w->width();
        const int high = (w->property("wordWrap").toBool() ? w->heightForWidth(w->width())
                                                           : w->fontMetrics().height()) -
                         w->height();
        if (wide > 0 || high > 0)
            found << QString("%1:%2x%3").arg(w->objectName()).arg(qMax(wide, 0)).arg(qMax(high, 0));
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
        // Points as the screen has them, as in the program, not QtTest's 96 dpi.
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi, false);
        useFormFont();
        QVERIFY(QDir::setCurrent(VELDRIX_BUILD_DIR));
    }

    void captionsFit_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("French") << "langFr";
        QTest::newRow("English") << "langEn";
    }

    void captionsFit()
    {
        QFETCH(QString, language);
        MainWindow window;
        QVERIFY(QMetaObject::invokeMethod(&window, qPrintable(language)));
        window.show();
        FormAbout about(&window); // a child: checked with the window
        about.show();             // the form's font comes with the polish
        QStringList found = misfits(window);
        // What connecting and reading put on the form.
        window.findChild<QWidget *>("horizontalSlider_LumLED")->setProperty("value", 100);
        window.findChild<QPushButton *>("pushButton_Scan")->setText("Lire");
        for (const QString &name : misfits(window))
            if (!found.contains(name))
                found << "running:" + name;
        QVERIFY2(found.isEmpty(), qPrintable("too small for its text, by width x height pixels: " +
                                             found.join(' ')));
        // The connected message, in a status bar as wide as the window.
        QVERIFY(window.statusBar()->fontMetrics().horizontalAdvance(
                    "VELDRIX_GPS2CAN_SIM connecté sur port /dev/ttyUSB0 (relecture)") < 800);
    }

    // At 125 % the window is 1038 x 668 pixels and its text 25 % larger: the
    // screen's own factor, not one rounded to a whole number, and the form's
    // 11 pixels never below what the system's dialog font asks for.
    void followsScale()
    {
        MainWindow window;
        window.show();
#ifdef Q_OS_WIN
        const HDC dc = GetDC(nullptr); // the system's dots per inch, 96 at 100 %
        const qreal scale = GetDeviceCaps(dc, LOGPIXELSX) / 96.0;
        ReleaseDC(nullptr, dc);
#else
        const qreal scale = 1; // headless, at 96 dpi
#endif
        qInfo("scale %g: window %dx%d", scale, qRound(window.width() * window.devicePixelRatioF()),
              qRound(window.height() * window.devicePixelRatioF()));
        QCOMPARE(window.devicePixelRatioF(), scale);
        QCOMPARE(window.size(), QSize(830, 534));
        const QFontInfo form(window.findChild<QWidget *>("lbl_Periode")->font());
        QCOMPARE(form.family(), formFont().family());
        QCOMPARE(form.pixelSize(), 11);
#ifdef Q_OS_WIN
        // Elsewhere desktop fonts are larger and wider: the reason for the form's own.
        const QFont system = QApplication::font();
        QVERIFY2(system.pointSizeF() * window.screen()->logicalDotsPerInch() / 72 <= 11.5,
                 qPrintable(system.toString()));
#endif
    }
};

VELDRIX_TEST_MAIN(TestFit)
#include "tst_fit.moc"
