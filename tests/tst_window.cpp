// The window without a module: the form's geometry, fixed parts and tab
// chain, both records against the stand-in's table, the range checks as a
// user types, and the menus used as a user uses them.
#include "app/mainwindow.h"
#include "app/processstate.h"
#include "forms/formabout.h"
#include "testsupport.h"

using testsupport::get;

namespace
{

// Triggers the action that reads `text` in the menu bar or one of its menus,
// as a click would.
void trigger(QMainWindow &window, const QString &text)
{
    for (QAction *action : window.findChildren<QAction *>())
        if (action->text() == text && !action->associatedWidgets().isEmpty())
            return action->trigger();
    QFAIL(qPrintable("no menu entry " + text));
}

// Every caption of the window and of an about dialog, by object name (the
// menus by their place), the bus speeds and the dialog's title.
QMap<QString, QString> captions(QMainWindow &window)
{
    FormAbout about(&window);
    QMap<QString, QString> shown{{"about", about.windowTitle()}};
    int menus = 0;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        const bool titled = qobject_cast<QGroupBox *>(widget) || qobject_cast<QMenu *>(widget);
        const QString caption = widget->property(titled ? "title" : "text").toString(),
                      key = qobject_cast<QMenu *>(widget) ? QString("menu%1").arg(menus++)
                                                          : widget->objectName();
        if (!key.isEmpty() && !caption.isEmpty())
            shown[key] = caption;
    }
    auto *speeds = get<QComboBox>(window, "comboBox_VCAN");
    for (int i = 0; i < speeds->count(); ++i)
        shown["comboBox_VCAN"] += speeds->itemText(i) + ';';
    return shown;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // The catalogues sit in the build folder, where the program looks for them.
    void initTestCase() { QVERIFY(QDir::setCurrent(VELDRIX_BUILD_DIR)); }
    void init() { QSettings().clear(); }

    // Children lie inside their parent and siblings do not overlap (but for
    // the bus speed's caption and combo box, as the form has them). The
    // commands wait for a module, and the slider, dragged off its steps, goes
    // down to one; the label follows.
    void form()
    {
        MainWindow window;
        window.show();
        const QStringList overlaps = {"comboBox_VCAN lbl_VCAN", "lbl_VCAN comboBox_VCAN"};
        for (QWidget *parent : window.findChildren<QWidget *>()) {
            QWidgetList children;
            for (QWidget *child :
                 parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                if (!child->isWindow() && !child->objectName().isEmpty())
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
        QCOMPARE(testsupport::buttons(window), "Connecter 0 0 0");
        auto *slider = get<QSlider>(window, "horizontalSlider_LumLED");
        slider->setSliderPosition(37);
        QCOMPARE(slider->value(), 35);
        QCOMPARE(get<QLabel>(window, "label_LumLEDpercent")->text(), "35 %");

        // Tab from the bus speed visits the CAN settings, the MegaSquirt 3
        // frames, each of the module's own frames (switch, identifier,
        // period), then the buttons, enabled as once a module has been read.
        const QStringList &w = standin::widgets();
        QStringList chain{w[0], w[1], w[2], w[26], w[27], w[10], w[24], w[11], w[25]};
        for (int frame = 0; frame < 6; ++frame)
            chain << w[4 + frame] << w[13 + 2 * frame] << w[12 + 2 * frame];
        chain << "pushButton_Scan";
        for (const char *name : {"pushButton_Config", "pushButton_Reboot", "pushButton_RAZ"}) {
            get(window, name)->setEnabled(true);
            chain << name;
        }
        QVERIFY(QTest::qWaitForWindowActive(&window));
        get(window, "comboBox_VCAN")->setFocus();
        QStringList reached{QApplication::focusWidget()->objectName()};
        while (reached.size() < chain.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(reached, chain);
    }

    // Six patterns in which every two settings differ at least once: a
    // setting read from or written to another's place shows. Their values
    // come apart and after the last one as a module may send them: several
    // blanks, tabs, line breaks. Then values the form does not show as sent.
    void records_data()
    {
        QTest::addColumn<QStringList>("sent"); // write order
        QTest::addColumn<QString>("blank");    // between the values and after the last
        QTest::addColumn<QStringList>("shown");
        const QStringList blanks{" ", "   ", "\t", " \t ", "\r\n", "\n"};
        QStringList values;
        for (int bit = 0; bit < 6; ++bit) {
            values.clear();
            for (const QString &widget : standin::widgets()) {
                const int w = values.size();
                values << QString::number(widget.startsWith("combo")    ? 125 << (bit % 4)
                                          : widget.startsWith("line")   ? 100 + w + 40 * bit
                                          : widget.startsWith("horizo") ? 10 + 5 * bit
                                                                        : ((w + 1) >> bit) & 1);
            }
            QTest::addRow("bit %d", bit) << values << blanks[bit] << values;
        }
        // A speed the box does not offer leaves it where it was (1 Mbps); the
        // slider keeps to its steps while the label shows the number as sent;
        // a switch is off only at "0".
        QStringList odd = values, shown = values;
        odd[0] = "800", odd[29] = "47", shown[0] = "1000", shown[29] = "45";
        odd[1] = "2", odd[2] = "00", odd[30] = "x", shown[1] = shown[2] = shown[30] = "1";
        QTest::newRow("speed 800, brightness 47, switches 2 00 x") << odd << QString() << shown;
        odd[0] = "0500", odd[29] = shown[29] = "100";
        QTest::newRow("speed 0500") << odd << QString() << shown;
    }
    void records()
    {
        QFETCH(QStringList, sent);
        QFETCH(QString, blank);
        QFETCH(QStringList, shown);
        MainWindow window;
        get<QComboBox>(window, "comboBox_VCAN")->setCurrentIndex(3);
        moduleName = "VELDRIX_X";
        const QString reply =
            "VELDRIX_X#" + standin::inReadOrder(sent).join(blank.isEmpty() ? " " : blank) + blank;
        QVERIFY(QMetaObject::invokeMethod(&window, "parseConfToUI", Q_ARG(QString, reply)));
        QCOMPARE(testsupport::form(window), shown);
        QCOMPARE(get<QLabel>(window, "label_LumLEDpercent")->text(), sent[29] + " %");
        QString conf;
        QVERIFY(QMetaObject::invokeMethod(&window, "makeConfFromUI", Q_RETURN_ARG(QString, conf)));
        QCOMPARE(conf, "cVELDRIX_X " + shown.join(' ') + ' ');
    }

    // Typed as a user types, on a shown window: letters go only into the
    // ECUmaster fields. Each bound is in range, one step beyond it is not: leaving
    // the field with Tab or Return then brings one message, of the field's
    // kind, after which the field has the focus back with its text selected,
    // to be typed over.
    void ranges_data()
    {
        QTest::addColumn<QString>("fields"); // the stand-in's widgets whose names hold this
        QTest::addColumn<int>("low");
        QTest::addColumn<int>("high");
        QTest::addColumn<QString>("what");
        QTest::newRow("identifiers") << "lineEdit_ID_" << 10 << 2045 << "L'identifiant est";
        QTest::newRow("periods") << "periode" << 10 << 2500 << "La periode est";
        QTest::newRow("time zone") << "TimeShift" << -12 << 12 << "Le décalage horaire est";
        QTest::newRow("first identifiers") << "PremierID" << 10 << 2000 << "L'identifiant est";
        QTest::newRow("identifier offset") << "OffsetID" << 10 << 30 << "L'offset est";
    }
    void ranges()
    {
        QFETCH(QString, fields);
        QFETCH(int, low);
        QFETCH(int, high);
        QFETCH(QString, what);
        const QString box = "QMessageBox: " + what + " en dehors des limites. | La " +
                            QString("valeur doit être comprise entre %1 et %2").arg(low).arg(high) +
                            (high == 2500 ? " (ms)" : "");
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        testsupport::Answerer answerer;
        for (const QString &field : standin::widgets().filter(fields)) {
            auto *edit = get<QLineEdit>(window, field);
            QTest::mouseClick(edit, Qt::LeftButton);
            QTest::keyClicks(edit, "x");
            QCOMPARE(edit->text(), field.contains("ECUMASTER") ? "x" : ""); // integers elsewhere
            answerer.seen.clear();
            for (const int value : {low - 1, high + 1, low, high}) {
                // With a leading zero, which is no octal: "013" is 13.
                const QString typed = QString::number(value).insert(value < 0, '0');
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(edit, typed);
                QCOMPARE(edit->text(), typed);
                QTest::keyClick(edit, value < high ? Qt::Key_Tab : Qt::Key_Return);
                if (value >= low && value <= high)
                    continue;
                // The window manager gives the window its focus back.
                window.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&window));
                QCOMPARE(QApplication::focusWidget(), edit);
                QCOMPARE(edit->selectedText(), edit->text());
            }
            QCOMPARE(answerer.seen.join('\n') + ' ' + field, box + '\n' + box + ' ' + field);
        }
    }

    // The title is the program's name until a language is chosen. Each
    // language applies at once and at the next start, Qt's own texts with
    // it, and is stored. In English every caption comes from the catalogue:
    // only these few read the same in both languages, and the menus, made at
    // start, keep theirs until the next. The about entry opens its dialog.
    void languages()
    {
        {
            MainWindow window;
            QCOMPARE(window.windowTitle(), "veldrix");
            const QMap<QString, QString> french = captions(window);
            QCOMPARE(french.value("about"), "À propos de veldrix…");
            testsupport::Answerer answerer;
            trigger(window, "À propos de veldrix…");
            QCOMPARE(answerer.seen, QStringList{"FormAbout:  | "});
            trigger(window, "&Anglais");
            QCOMPARE(window.windowTitle(), "VELDRIX v2.1");
            QCOMPARE(QSettings().value("Language"), "en");
            const QMap<QString, QString> english = captions(window);
            QStringList same;
            for (auto caption = french.begin(); caption != french.end(); ++caption)
                if (english.value(caption.key()) == caption.value())
                    same << caption.key() + '=' + caption.value();
            QCOMPARE(same.join('|'),
                     "applicationName=VELDRIX|comboBox_VCAN=125 kbps;250 kbps;500 kbps;1 Mbps;|"
                     "copyright=Copyright © 2020–2021 Veldrix|groupBox=CAN MegaSquirt 3 (RT)|"
                     "groupBox_5=Altitude|groupBox_6=CAN ECUmaster|label_4=Veldrix – BP 42, "
                     "99000 Velmont|label_LumLEDpercent=%|menu0=&Langue|menu1=&Aide|"
                     "version=Version 2.1.0.0");
        }
        MainWindow window;
        QCOMPARE(get<QPushButton>(window, "pushButton_Scan")->text(), "Connect");
        trigger(window, "&French");
        QCOMPARE(get<QPushButton>(window, "pushButton_Scan")->text(), "Connecter");
        QCOMPARE(QSettings().value("Language"), "fr");
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
    }
};

VELDRIX_TEST_MAIN(TestWindow)
#include "tst_window.moc"
