// The window without a module: the form's geometry and fixed parts, both
// records against the stand-in's table, the range checks, and the menus used
// as a user uses them.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "support.h"

using support::get;

namespace
{

// Triggers the entry of the menu bar that reads `text`, as a click would.
void trigger(QMainWindow &window, const QString &text)
{
    QList<QAction *> entries = window.menuBar()->actions();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i]->menu())
            entries += entries[i]->menu()->actions();
        else if (entries[i]->text() == text)
            return entries[i]->trigger();
    }
    QFAIL(qPrintable("no menu entry " + text));
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // The catalogues sit in the build folder, where the program looks for them.
    void initTestCase() { QVERIFY(QDir::setCurrent(VELDRIX_BUILD_DIR)); }
    void init() { QSettings().clear(); }

    // Children lie inside their parent, siblings do not overlap (but for the
    // bus speed's caption and combo box, as the form has them), and no text
    // is bold.
    void formGeometry()
    {
        MainWindow window;
        window.show();
        const QStringList overlaps = {"comboBox_VCAN lbl_VCAN", "lbl_VCAN comboBox_VCAN"};
        for (QWidget *parent : window.findChildren<QWidget *>()) {
            QVERIFY2(!parent->font().bold(), qPrintable(parent->objectName()));
            QWidgetList children;
            for (QWidget *child : parent->findChildren<QWidget *>("", Qt::FindDirectChildrenOnly))
                if (!child->isWindow() && child->objectName().contains('_'))
                    children << child;
            for (QWidget *child : children) {
                QVERIFY2(parent->rect().contains(child->geometry()),
                         qPrintable(child->objectName()));
                for (QWidget *other : children) {
                    const QString pair = child->objectName() + ' ' + other->objectName();
                    QVERIFY2(child == other || overlaps.contains(pair) ||
                                 !child->geometry().intersects(other->geometry()),
                             qPrintable(pair));
                }
            }
        }
    }

    void formFixedParts()
    {
        MainWindow window;
        QCOMPARE(window.minimumSize(), QSize(830, 534));
        QCOMPARE(window.maximumSize(), QSize(830, 534));
        QCOMPARE(support::buttons(window), "Connecter 0 0 0");
        auto *speed = get<QComboBox>(window, "comboBox_VCAN");
        QStringList items;
        for (int i = 0; i < speed->count(); ++i)
            items << speed->itemText(i) + '=' + speed->itemData(i).toString();
        QCOMPARE(items.join(' '), "125 kbps=125 250 kbps=250 500 kbps=500 1 Mbps=1000");
        auto *slider = get<QSlider>(window, "horizontalSlider_LumLED");
        QCOMPARE(QSize(slider->minimum(), slider->maximum()), QSize(5, 100));
        QCOMPARE(slider->tickInterval(), 5);
    }

    // Six patterns in which every two settings differ at least once: a
    // setting read from or written to another's place shows.
    void records_data()
    {
        QTest::addColumn<QStringList>("values");
        for (int bit = 0; bit < 6; ++bit) {
            QStringList values;
            for (const standin::Setting &setting : standin::settings()) {
                const int w = values.size();
                values << (setting.kind == 'v'   ? QString::number(125 << (bit % 4))
                           : setting.kind == 't' ? QString::number(100 + w + 40 * bit)
                           : setting.kind == 'b' ? QString::number(10 + 5 * bit)
                                                 : QString::number(((w + 1) >> bit) & 1));
            }
            QTest::addRow("bit %d", bit) << values;
        }
    }
    void records()
    {
        QFETCH(QStringList, values);
        MainWindow window;
        moduleName = "VELDRIX_X";
        const QString reply = "VELDRIX_X#" + standin::inReadOrder(values).join(' ');
        bool loaded = false;
        QVERIFY(QMetaObject::invokeMethod(&window, "parseConfToUI", Q_RETURN_ARG(bool, loaded),
                                          Q_ARG(QString, reply)));
        QVERIFY(loaded);
        QCOMPARE(support::form(window), values);
        QCOMPARE(get<QLabel>(window, "label_LumLEDpercent")->text(), values[29] + " %");
        QString sent;
        QVERIFY(QMetaObject::invokeMethod(&window, "makeConfFromUI", Q_RETURN_ARG(QString, sent)));
        QCOMPARE(sent, "cVELDRIX_X " + values.join(' ') + ' ');
    }

    void ranges_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("validated");
        const auto add = [](const char *fields, int low, int high, const char *what, bool check) {
            for (const QString &field : QString(fields).split(' '))
                QTest::newRow(qPrintable(field)) << field << low << high << what << check;
        };
        add("ID_Lat_Lon ID_Speed_Alt ID_precision ID_UTC_Time ID_Current_Time ID_Time", 10, 2045,
            "L'identifiant est", true);
        add("periode_Lon_Lat periode_Speed_Alt periode_precision periode_UTC_time "
            "periode_Current_time periode_Time periode_Lon_Lat_RT periode_Time_RT",
            10, 2500, "La periode est", true);
        add("periode_ECUMASTER_GPS_INFOS periode_ECUMASTER_TIME", 10, 2500, "La periode est",
            false);
        add("TimeShift", -12, 12, "Le décalage horaire est", true);
        add("PremierID_RT", 10, 2000, "L'identifiant est", true);
        add("OffsetID_RT", 10, 30, "L'offset est", true);
        add("PremierID_ECUMASTER", 10, 2000, "L'identifiant est", false);
    }
    // Each bound is in range, one step beyond it is not.
    void ranges()
    {
        QFETCH(QString, field);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(QString, what);
        QFETCH(bool, validated);
        MainWindow window;
        auto *edit = get<QLineEdit>(window, "lineEdit_" + field);
        QCOMPARE(qobject_cast<const QIntValidator *>(edit->validator()) != nullptr, validated);
        support::Answerer answerer;
        for (int value : {low - 1, low, high, high + 1}) {
            edit->setText(QString::number(value));
            QVERIFY(QMetaObject::invokeMethod(edit, "editingFinished"));
        }
        const QString box = QString("QMessageBox: %1 en dehors des limites. | La valeur doit être "
                                    "comprise entre %2 et %3%4")
                                .arg(what)
                                .arg(low)
                                .arg(high)
                                .arg(high == 2500 ? " (ms)" : "");
        QCOMPARE(answerer.seen, QStringList({box, box}));
    }

    // Through the menus: each language at once and at the next start, Qt's
    // own texts with it, the choice stored; the about dialog; quitting.
    void menus()
    {
        {
            MainWindow window;
            QCOMPARE(QSettings().value("Language"), "fr");
            trigger(window, "&Anglais");
            QCOMPARE(get<QPushButton>(window, "pushButton_Scan")->text(), "Connect");
            QCOMPARE(QSettings().value("Language"), "en");
        }
        MainWindow window;
        QCOMPARE(get<QPushButton>(window, "pushButton_Scan")->text(), "Connect");
        trigger(window, "&French");
        QCOMPARE(get<QPushButton>(window, "pushButton_Scan")->text(), "Connecter");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
        QCOMPARE(QSettings().value("Language"), "fr");
        support::Answerer answerer;
        trigger(window, "About veldrix…");
        QCOMPARE(answerer.seen, QStringList{"FormAbout:  |  | dressed"});
        window.show();
        trigger(window, "&Quit");
        QVERIFY(!window.isVisible());
    }
};

VELDRIX_TEST_MAIN(TestWindow)
#include "tst_window.moc"
