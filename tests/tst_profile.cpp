// Settings profiles: every key reaches its setting both ways (and a reply's
// values their place in the write order), every rule refuses what it must
// with its place and what is allowed, and a module's values that a profile
// cannot hold are left out of a readable profile.
#include "link/profile.h"
#include "link/records.h"
#include "testsupport.h"

namespace
{

// What the form and the module allow, for the settings that have bounds.
std::pair<int, int> bounds(const QString &widget)
{
    return widget.contains("periode")     ? std::pair(10, 2500)
           : widget.contains("PremierID") ? std::pair(10, 2000)
           : widget.contains("OffsetID")  ? std::pair(10, 30)
           : widget.contains("ID_")       ? std::pair(10, 2045)
           : widget.contains("TimeShift") ? std::pair(-12, 12)
           : widget.contains("LumLED")    ? std::pair(0, 100)
           : widget.contains("VCAN")      ? std::pair(125, 1000)
                                          : std::pair(0, 1);
}

// A profile setting each of the 36 values (write order, as the module spells them).
QByteArray profileOf(const QStringList &values)
{
    QByteArray text;
    for (int w = 0; w < values.size(); ++w) {
        const QString &widget = standin::widgets().at(w);
        const bool on = values[w] == "1";
        const QString value = widget.startsWith("check") ? (on ? "true" : "false")
                              : widget.startsWith("radio")
                                  ? (on ? "\"ellipsoid\"" : "\"sea_level\"")
                                  : values[w];
        text += (standin::profileKeys().at(w) + " = " + value + '\n').toUtf8();
    }
    return text;
}

// What a read makes of a profile: its problems as described, then, when it
// holds any, its 36 values in write order (null where it sets none).
QStringList readBack(const QByteArray &text)
{
    const profile::Reading reading = profile::read(text);
    QStringList problems, values = QVector<QString>(standin::widgets().size()).toList();
    for (const profile::Problem &problem : reading.problems)
        problems << profile::describe(problem, "p.toml");
    for (const auto &[position, value] : reading.values)
        values[position] = value;
    return reading.values.empty() ? problems : problems + values;
}

} // namespace

class TestProfile : public QObject
{
    Q_OBJECT

private slots:
    // Six patterns in which every two settings differ at least once, so that
    // a key read into or written from another's place shows; then the bounds.
    void settings_data()
    {
        QTest::addColumn<QStringList>("values");
        for (int bit = 0; bit < 8; ++bit) {
            QStringList values;
            for (const QString &widget : standin::widgets()) {
                const int w = values.size();
                const auto [low, high] = bounds(widget);
                values << QString::number(bit >= 6                      ? (bit == 6 ? low : high)
                                          : widget.startsWith("combo")  ? 125 << (bit % 4)
                                          : widget.startsWith("horizo") ? 10 + 5 * bit
                                          : high == 1                   ? ((w + 1) >> bit) & 1
                                                      : low + (w + 7 * bit) % (high - low));
            }
            QTest::addRow(bit < 6 ? "bit %d" : bit == 6 ? "lowest" : "highest", bit) << values;
        }
    }
    void settings()
    {
        QFETCH(QStringList, values);
        const QByteArray text = profileOf(values);
        QCOMPARE(readBack(text), values);
        QCOMPARE(readBack("\xEF\xBB\xBF" + QByteArray(text).replace("\n", "\r\n")), values);
        QCOMPARE(records::inWriteOrder(standin::inReadOrder(values)), values);
    }

    // Each refused with its place, key, value and what is allowed; every
    // problem listed in file order, and nothing kept.
    void problems_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("pattern");
        for (int w = 0; w < standin::widgets().size(); ++w) {
            const auto [low, high] = bounds(standin::widgets().at(w));
            const QString key = standin::profileKeys().at(w);
            for (int beyond : {low - 1, high + 1})
                if (high != 1)
                    QTest::addRow("%s = %d", qPrintable(key), beyond)
                        << QString("%1 = %2").arg(key).arg(beyond).toUtf8()
                        << QString::asprintf("^p.toml:1:%d: %s = %d: .*allowed: .*%d.*%d",
                                             int(key.size()) + 4, qPrintable(key), beyond, low,
                                             high);
        }
        const QList<std::pair<QByteArray, QString>> rows = {
            {"[frames.position]\nperod_ms = 100\n",
             "^p.toml:2:1: frames.position.perod_ms = 100: unknown key.* period_ms"},
            {"can.termination = 1\r\n",
             "^p.toml:1:19: can.termination = 1: .*allowed: true or false$"},
            {"frames.position.id = \"10 20\"",
             "= \"10 20\": spaces are not allowed in a value.*allowed: 10 to 2045"},
            {"altitude.reference = 'msl'", "= 'msl': .*allowed: \"sea_level\" or \"ellipsoid\"$"},
            {"led.brightness_percent = 47", "= 47: .*allowed: 0 to 100 in steps of 5"},
            {"[time]\nzone_offset_hours = 13\ndaylight_saving = 2\n[can]\ntermination = true\n",
             "^p.toml:2:21: time.zone_offset_hours = 13: .*\np.toml:3:19: time.daylight_saving"},
            {"# \xc3\xa9t\xc3\xa9\n[can]\n", "^p.toml: empty"},
            {"\xc3\xa9 = 1", "^p.toml:1:1: not TOML: expected .*'\xc3\xa9'$"},
            // A setting given twice, in any two forms, met by the reader in
            // either order: named at the later place, with the earlier.
            {"\"can.bus_speed_kbps\" = 125\n[can]\nbus_speed_kbps = 250\n",
             "^p.toml:3:1: can.bus_speed_kbps = 250: given twice \\(also at line 1, column 1\\)$"},
            {"can = {bus_speed_kbps = 125}\n\"can.bus_speed_kbps\" = 250\n",
             "^p.toml:2:1: can.bus_speed_kbps = 250: given twice \\(also at line 1, column 8\\)$"},
            {"[led]\nenabled = true\nenabled = false\n",
             "^p.toml:3:1: led.enabled = false: given twice \\(also at line 2, column 1\\)$"},
            {"can.bus_speed_kbps = 125\n[can]\ntermination = true\n",
             "^p.toml:2:1: can: table given twice \\(also at line 1, column 1\\)"},
            {"[frame.position]\n", "^p.toml:1:2: frame.position: unknown table; a profile holds"},
            // TOML slips, with the likely fix.
            {"[frames.position]\nenabled = yes\n",
             "^p.toml:2:11: frames.position.enabled = yes: not TOML: expected true or false"},
            {"[altitude]\nreference = sea_level # here\n",
             "^p.toml:2:13: altitude.reference = sea_level: not TOML: a text is quoted; "
             "allowed: \"sea_level\" or \"ellipsoid\"$"},
            {"[led]\nbrightness_percent = 0050\n", "= 0050: not TOML: .*zero.*; write 50$"},
            {"[can]\nbus_speed_kbps = 10 20\n", "= 10 20: not TOML: .*spaces are not allowed"},
            {QByteArray(10 << 20, '#'), "^p.toml: larger than 1 MiB"},
        };
        for (const auto &[text, pattern] : rows)
            QTest::addRow("%s", text.left(30).toPercentEncoding(" =[]\"'._").constData())
                << text << pattern;
    }
    void problems()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, pattern);
        const QStringList lines = readBack(text);
        QVERIFY2(QRegularExpression(pattern).match(lines.join('\n')).hasMatch() &&
                     lines.filter("p.toml").size() == lines.size(),
                 qPrintable(lines.join('\n')));
    }

    // What a profile cannot hold is left out, shown in a comment, told to
    // the caller with why, and the profile still reads back; neither can a
    // header or a caption break it.
    void leftOut()
    {
        QStringList values = standin::factorySettings(), kept = values;
        // setting, what the module holds, what the profile gives back (null: left out)
        const QList<std::tuple<int, QString, QString>> held = {{0, "800", {}},     {1, "2", "1"},
                                                               {3, "", {}},        {12, "abc", {}},
                                                               {13, "0050", "50"}, {29, "47", {}}};
        for (const auto &[w, module, back] : held) {
            values[w] = module;
            kept[w] = back;
        }
        const profile::Written written = profile::write(
            values, {"VELDRIX_X\n[can]", "tty\rUSB0", "\x7f", "\n#"}, {"Vitesse\n[can]"});
        QVERIFY(written.text.contains("\"abc\", not an integer"));
        QCOMPARE(readBack(written.text), kept);
        QStringList told;
        for (const profile::LeftOut &leftOut : written.leftOut)
            told << profile::describe(leftOut);
        const QString intro = ": left out of the profile: the module holds ";
        QCOMPARE(told,
                 QStringList({
                     "can.bus_speed_kbps" + intro +
                         "\"800\", not a CAN speed of the module; allowed: 125, 250, 500 "
                         "or 1000 (kbit/s)",
                     "time.zone_offset_hours" + intro + "\"\", empty; allowed: -12 to 12 (hours)",
                     "frames.position.period_ms" + intro +
                         "\"abc\", not an integer; allowed: 10 to 2500 (ms)",
                     "led.brightness_percent" + intro +
                         "\"47\", not a multiple of 5; allowed: 0 to 100 in steps of 5 (%)",
                 }));
    }

    // Each value's comment carries the caption given for its own setting
    // (write order, while the profile is laid out in read order).
    void captions()
    {
        QStringList captions;
        for (const records::Setting &setting : records::settings)
            captions << QString(setting.key).toUpper();
        const QString text = profile::write(standin::factorySettings(), {}, captions).text;
        QString table;
        int seen = 0;
        for (const QString &line : text.split('\n')) {
            if (line.startsWith('['))
                table = line.mid(1, line.size() - 2) + '.';
            else if (!line.startsWith('#') && !line.isEmpty() && ++seen)
                QVERIFY2(line.contains("# " + (table + line.section(' ', 0, 0)).toUpper() + ": "),
                         qPrintable(line));
        }
        QCOMPARE(seen, records::settingCount);
    }
};

VELDRIX_TEST_MAIN(TestProfile)
#include "tst_profile.moc"
