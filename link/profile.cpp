#include "link/profile.h"

#include "link/records.h"

#include <QRegularExpression>

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace profile
{

namespace
{

constexpr int largestProfile = 1024 * 1024;
constexpr int longestValueShown = 40; // characters of a value quoted in a problem

const char seaLevel[] = "sea_level", ellipsoid[] = "ellipsoid";

QString nameOf(const records::Setting &setting)
{
    const QString key = QString::fromLatin1(setting.key);
    return key.mid(key.lastIndexOf(QLatin1Char('.')) + 1);
}

// What a profile may hold for the setting, with its unit.
QString allowed(const records::Setting &setting)
{
    const QString unit =
        *setting.unit ? QStringLiteral(" (%1)").arg(QLatin1String(setting.unit)) : QString();
    switch (setting.kind) {
    case records::Kind::Switch:
        return QStringLiteral("true or false");
    case records::Kind::Altitude:
        return QStringLiteral("\"%1\" or \"%2\"").arg(QLatin1String(seaLevel), ellipsoid);
    case records::Kind::CanSpeed:
        return QStringLiteral("125, 250, 500 or 1000") + unit;
    case records::Kind::Number:
    case records::Kind::Brightness:
        break;
    }
    const records::Range &range = *setting.range;
    QString text = QStringLiteral("%1 to %2").arg(range.lowest).arg(range.highest);
    if (range.step != 1)
        text += QStringLiteral(" in steps of %1").arg(range.step);
    return text + unit;
}

// Why a number may not be given to the setting, or nothing when it may.
QString refusal(const records::Setting &setting, qint64 number)
{
    if (setting.kind == records::Kind::CanSpeed) {
        return std::count(std::begin(records::canSpeeds), std::end(records::canSpeeds), number)
                   ? QString()
                   : QStringLiteral("not a CAN speed of the module");
    }
    const records::Range &range = *setting.range;
    if (number < range.lowest || number > range.highest)
        return QStringLiteral("out of range");
    if ((number - range.lowest) % range.step != 0)
        return QStringLiteral("not a multiple of %1").arg(range.step);
    return {};
}

// How a value of the module is written in a profile: TOML, or nothing when a
// profile cannot hold it, with the reason in `why`.
std::optional<QString> literal(const records::Setting &setting, const QString &wire,
                               QString *why = nullptr)
{
    if (setting.kind == records::Kind::Switch)
        return QLatin1String(records::switchIsOn(wire) ? "true" : "false");
    if (setting.kind == records::Kind::Altitude)
        return QStringLiteral("\"%1\"").arg(records::switchIsOn(wire) ? ellipsoid : seaLevel);
    bool isInteger = false;
    const qint64 number = wire.toLongLong(&isInteger, 10);
    const QString refused = wire.isEmpty() ? QStringLiteral("empty")
                            : !isInteger   ? QStringLiteral("not an integer")
                                           : refusal(setting, number);
    if (why)
        *why = refused;
    if (!refused.isEmpty())
        return std::nullopt;
    return QString::number(number);
}

// Control characters replaced, so that a text stays on its line (in a
// comment, a problem) and a comment stays valid TOML.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

// The length of the well-formed UTF-8 sequence of two to four bytes at `at`, or 0.
int sequenceLength(const QByteArray &text, int at)
{
    const auto byte = [&](int i) { return i < text.size() ? uchar(text[i]) : uchar(0); };
    const uchar lead = byte(at);
    const int length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 ? 2 : 0;
    const uchar low = lead == 0xe0 ? 0xa0 : lead == 0xf0 ? 0x90 : 0x80;
    const uchar high = lead == 0xed ? 0x9f : lead == 0xf4 ? 0x8f : 0xbf;
    if (length == 0 || lead > 0xf4 || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80)
            return 0;
    }
    return length;
}

// toml++ 3.3 (Debian 12) reaches __builtin_unreachable when it asks whether a
// character beyond ASCII is white space, which it does for such a character
// outside a string or a comment, and after a backslash that ends a line in a
// string. No key or value of a profile needs one, so it is given each of them
// as '?', which keeps every line and column; problems quote the file's own
// text. Malformed UTF-8 is left for toml++ to report.
QByteArray asciiOnly(const QByteArray &text)
{
    QByteArray ascii;
    ascii.reserve(text.size());
    for (int at = 0; at < text.size();) {
        const int length = sequenceLength(text, at);
        ascii += length ? '?' : text[at];
        at += length ? length : 1;
    }
    return ascii;
}

// A key as it stands on a line of the file, read without TOML: a table's
// header or the key of a key-value pair. Quotes are dropped, so that
// "can.bus_speed_kbps" and can.bus_speed_kbps read the same. It serves to
// explain a file that TOML refuses.
struct LineKey {
    QString key;    // dotted, under the table of the last header before it
    int column = 0; // 1-based, where the header or the key begins
    bool header = false;
    int valueColumn = 0; // 1-based, where the value begins; 0 for a header
    QString value;       // as written, without a comment
};

std::optional<LineKey> keyOn(const QString &line, const QString &table)
{
    static const QRegularExpression quotes(QStringLiteral("[\"']")),
        dots(QStringLiteral("\\s*\\.\\s*"));
    const auto plain = [](QString key) { return key.remove(quotes).replace(dots, ".").trimmed(); };
    const auto blanks = [](const QString &text) {
        int count = 0;
        while (count < text.size() && text.at(count).isSpace())
            ++count;
        return count;
    };
    LineKey found;
    const QString text = line.trimmed();
    found.column = blanks(line) + 1;
    if (text.startsWith(QLatin1Char('['))) {
        const int end = text.indexOf(QLatin1Char(']'));
        if (end < 0)
            return std::nullopt;
        found.key = plain(text.mid(1, end - 1).remove(QLatin1Char('[')));
        found.header = true;
        return found;
    }
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || line.left(equals).trimmed().isEmpty() || text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const QString key = plain(line.left(equals));
    found.key = table.isEmpty() ? key : table + QLatin1Char('.') + key;
    QString value = line.mid(equals + 1);
    found.valueColumn = equals + 2 + blanks(value);
    // A comment ends the value unless it starts within a quote.
    const int hash = value.indexOf(QLatin1Char('#'));
    if (hash >= 0 && value.left(hash).count(QLatin1Char('"')) % 2 == 0 &&
        value.left(hash).count(QLatin1Char('\'')) % 2 == 0)
        value.truncate(hash);
    found.value = value.trimmed();
    return found;
}

class Checker
{
public:
    explicit Checker(const QByteArray &text) : lines(text.split('\n')) {}

    Reading reading;

    // The text of a value or key as it stands in the file: its first line
    // only, cut short when long.
    QString written(const toml::source_region &where) const
    {
        const int line = int(where.begin.line) - 1;
        if (line < 0 || line >= lines.size())
            return {};
        const QVector<uint> characters = QString::fromUtf8(lines.at(line)).toUcs4();
        const int from = int(where.begin.column) - 1;
        int to = where.end.line == where.begin.line ? int(where.end.column) - 1 : characters.size();
        to = std::min(to, int(characters.size()));
        if (from < 0 || from >= to)
            return {};
        return shortened(QString::fromUcs4(characters.data() + from, to - from),
                         where.end.line != where.begin.line);
    }

    void walk(const toml::table &table, const QString &path)
    {
        for (auto &&[name, node] : table) {
            const QString key = (path.isEmpty() ? QString() : path + QLatin1Char('.')) +
                                QString::fromUtf8(name.str().data(), int(name.str().size()));
            const QStringList inside = namesUnder(key);
            const auto setting = std::find_if(
                records::settings.begin(), records::settings.end(),
                [&](const records::Setting &s) { return key == QLatin1String(s.key); });
            if (setting != records::settings.end()) {
                value(*setting, node, key, name.source());
            } else if (!inside.isEmpty() && node.is_table()) {
                walk(*node.as_table(), key);
            } else if (!inside.isEmpty()) {
                problem(node.source(), key, node,
                        QStringLiteral("not a table; [%1] holds: %2").arg(key, inside.join(", ")));
            } else {
                const QString where =
                    path.isEmpty() ? QStringLiteral("a profile") : QStringLiteral("[%1]").arg(path);
                const QString prefix = path.isEmpty() ? QString() : path + QLatin1Char('.');
                // A header such as [frame.position] is named whole.
                QString shown = prefix + written(name.source());
                for (const toml::node *inner = &node;
                     inner->is_table() && inner->as_table()->size() == 1 &&
                     inner->as_table()->begin()->second.is_table();) {
                    // The iterator holds the pair it gives: keep it alive.
                    const auto only = inner->as_table()->begin();
                    const auto &[innerName, innerNode] = *only;
                    shown += QLatin1Char('.') +
                             QString::fromUtf8(innerName.str().data(), int(innerName.str().size()));
                    inner = &innerNode;
                }
                problem(name.source(), shown, node,
                        QStringLiteral("unknown %1; %2 holds: %3")
                            .arg(node.is_table() ? "table" : "key", where,
                                 namesUnder(path).join(", ")));
            }
        }
    }

    // A file that TOML refuses: where, and what TOML expected, with the
    // likely fix when the slip is a common one.
    void slip(const toml::parse_error &error)
    {
        const toml::source_position at = error.source().begin;
        const std::string_view description = error.description();
        // toml++ names the character it stopped at: the file's, not the '?'.
        const QString character = written({at, {at.line, at.column + 1}, nullptr});
        QString detail =
            QString::fromUtf8(description.data(), int(description.size()))
                .replace(QStringLiteral("'?'"), QLatin1Char('\'') + character + QLatin1Char('\''));
        detail = detail.mid(detail.indexOf(QStringLiteral(": ")) + 2);

        // The keys of the lines up to the slip, each under its table.
        QVector<std::pair<LineKey, int>> keys; // with their 1-based line
        QString table;
        for (int line = 1; line <= int(at.line) && line <= lines.size(); ++line) {
            const QString text = QString::fromUtf8(lines.at(line - 1));
            if (std::optional<LineKey> found = keyOn(text, table)) {
                if (found->header)
                    table = found->key;
                keys.append({*found, line});
            }
        }
        Problem slipped{int(at.line), int(at.column), {}, {}, {}};
        const LineKey *here =
            !keys.isEmpty() && keys.last().second == int(at.line) ? &keys.last().first : nullptr;
        const bool inValue = here && !here->header && int(at.column) >= here->valueColumn;
        if (here && (inValue || here->header)) {
            slipped.key = here->key;
            slipped.value = shortened(here->value, false);
        }
        const auto setting =
            std::find_if(records::settings.begin(), records::settings.end(),
                         [&](const records::Setting &s) { return slipped.key == s.key; });

        if (here && detail.startsWith(QLatin1String("cannot redefine"))) {
            // The same key or table again: toml++ points at the second, the
            // lines before it tell the first.
            slipped.column = here->column;
            slipped.key = here->key;
            slipped.value = here->header ? QString() : shortened(here->value, false);
            const auto sameKey = [&](bool exactly) {
                return std::find_if(keys.begin(), keys.end() - 1, [&](const auto &earlier) {
                    return earlier.first.key == here->key ||
                           (!exactly && earlier.first.key.startsWith(here->key + '.'));
                });
            };
            auto first = sameKey(true);
            if (first == keys.end() - 1)
                first = sameKey(false);
            slipped.message =
                here->header ? QStringLiteral("table given twice") : QStringLiteral("given twice");
            if (first != keys.end() - 1)
                slipped.message += QStringLiteral(" (also at line %1, column %2)")
                                       .arg(first->second)
                                       .arg(first->first.column);
            if (here->header)
                slipped.message += QStringLiteral("; give each table once, with all its keys");
        } else if (inValue && !here->value.isEmpty() && here->value.front().isLetter()) {
            // A bare word: a text without quotes, or a misspelt true or false.
            const records::Kind kind =
                setting != records::settings.end() ? setting->kind : records::Kind::Switch;
            slipped.message =
                setting == records::settings.end()
                    ? QStringLiteral("not TOML: a text is quoted (\"%1\"), a switch is true or "
                                     "false")
                          .arg(here->value)
                : kind == records::Kind::Switch
                    ? QStringLiteral("not TOML: expected true or false, in lower case")
                : kind == records::Kind::Altitude
                    ? QStringLiteral("not TOML: a text is quoted; allowed: ") + allowed(*setting)
                    : QStringLiteral("not TOML: expected a number; allowed: ") + allowed(*setting);
        } else {
            slipped.message = QStringLiteral("not TOML: ") + detail;
            static const QRegularExpression zeros(QStringLiteral("^([-+]?)0+(\\d)"));
            if (inValue && detail.contains(QLatin1String("leading zero")))
                slipped.message += QStringLiteral("; write ") +
                                   QString(here->value).replace(zeros, QStringLiteral("\\1\\2"));
            if (inValue && !here->value.startsWith(QLatin1Char('"')) &&
                !here->value.startsWith(QLatin1Char('\'')) &&
                here->value.contains(QLatin1Char(' ')))
                slipped.message += QStringLiteral("; spaces are not allowed in a value");
        }
        reading.problems.append(slipped);
    }

private:
    QList<QByteArray> lines;
    struct Given {
        toml::source_region key, value;
    };
    std::map<int, Given> given; // where each setting was given first

    static QString shortened(const QString &text, bool cut)
    {
        const QVector<uint> characters = text.trimmed().toUcs4();
        const int shown = std::min(int(characters.size()), longestValueShown);
        QString result = QString::fromUcs4(characters.data(), shown);
        if (cut || shown < characters.size())
            result += QChar(0x2026);
        return oneLine(result);
    }

    // The names right under a table of the profile ("" for the top), in the
    // order of the reply.
    static QStringList namesUnder(const QString &path)
    {
        const QString prefix = path.isEmpty() ? QString() : path + QLatin1Char('.');
        QStringList names;
        for (const records::Setting *setting : records::settingsInReadOrder()) {
            const QString key = QString::fromLatin1(setting->key);
            if (!key.startsWith(prefix))
                continue;
            const QString name = key.mid(prefix.length()).section(QLatin1Char('.'), 0, 0);
            if (!names.contains(name))
                names.append(name);
        }
        return names;
    }

    void value(const records::Setting &setting, const toml::node &node, const QString &key,
               const toml::source_region &here)
    {
        const int position = int(&setting - records::settings.data());
        // A setting given twice, in whichever two forms (a quoted dotted key
        // and a table, an inline table), is named at the later place, with
        // the earlier. Keys are not met in file order.
        const auto seen = given.find(position);
        if (seen != given.end()) {
            const auto place = [](const Given &g) {
                return std::pair(g.key.begin.line, g.key.begin.column);
            };
            const Given now{here, node.source()};
            const bool earlier = place(now) < place(seen->second);
            const Given first = earlier ? now : seen->second;
            const Given later = earlier ? seen->second : now;
            reading.problems.append({int(later.key.begin.line), int(later.key.begin.column), key,
                                     written(later.value),
                                     QStringLiteral("given twice (also at line %1, column %2)")
                                         .arg(first.key.begin.line)
                                         .arg(first.key.begin.column)});
            seen->second = first;
        } else {
            given.emplace(position, Given{here, node.source()});
        }

        QString wrong;
        if (setting.kind == records::Kind::Switch) {
            if (const auto *on = node.as_boolean())
                reading.values[position] = records::switchText(on->get());
            else
                wrong = QStringLiteral("not a boolean");
        } else if (setting.kind == records::Kind::Altitude) {
            const auto *text = node.as_string();
            if (text && (text->get() == seaLevel || text->get() == ellipsoid))
                reading.values[position] = records::switchText(text->get() == ellipsoid);
            else
                wrong = QStringLiteral("not an altitude reference");
        } else if (const auto *number = node.as_integer()) {
            wrong = refusal(setting, number->get());
            if (wrong.isEmpty())
                reading.values[position] = QString::number(number->get());
        } else {
            wrong = QStringLiteral("not an integer");
        }
        if (wrong.isEmpty())
            return;
        // Typed values never carry a blank into the frame; a text that holds
        // one is named for what it would do there.
        if (const auto *text = node.as_string()) {
            if (std::any_of(text->get().begin(), text->get().end(),
                            [](char c) { return std::isspace(static_cast<unsigned char>(c)); }))
                wrong = QStringLiteral("spaces are not allowed in a value: each would shift "
                                       "every value after it in the frame");
        }
        problem(node.source(), key, node, wrong + QStringLiteral("; allowed: ") + allowed(setting));
    }

    void problem(const toml::source_region &where, const QString &key, const toml::node &node,
                 const QString &message)
    {
        reading.problems.append({int(where.begin.line), int(where.begin.column), key,
                                 node.is_table() ? QString() : written(node.source()), message});
    }
};

} // namespace

QString describe(const Problem &problem, const QString &fileName)
{
    QString text = fileName;
    if (problem.line > 0)
        text += QStringLiteral(":%1:%2").arg(problem.line).arg(problem.column);
    text += QStringLiteral(": ");
    if (!problem.key.isEmpty()) {
        text += oneLine(problem.key);
        if (!problem.value.isEmpty())
            text += QStringLiteral(" = ") + oneLine(problem.value);
        text += QStringLiteral(": ");
    }
    return text + oneLine(problem.message);
}

QString describe(const LeftOut &leftOut)
{
    const records::Setting &setting = records::settings.at(std::size_t(leftOut.position));
    return QStringLiteral("%1: left out of the profile: the module holds \"%2\", %3; allowed: %4")
        .arg(QLatin1String(setting.key), oneLine(leftOut.held), leftOut.reason, allowed(setting));
}

Reading read(const QByteArray &text)
{
    Problem whole; // a problem of the file as a whole
    if (text.size() > largestProfile) {
        whole.message = QStringLiteral("larger than 1 MiB: not a profile");
        return {{}, {whole}};
    }
    const QByteArray content = text.startsWith("\xef\xbb\xbf") ? text.mid(3) : text;
    const QByteArray ascii = asciiOnly(content);
    const toml::parse_result parsed =
        toml::parse(std::string_view(ascii.constData(), std::size_t(ascii.size())));
    Checker checker(content);
    if (!parsed) {
        checker.slip(parsed.error());
        return checker.reading;
    }

    checker.walk(parsed.table(), QString());
    Reading &reading = checker.reading;
    if (!reading.problems.isEmpty()) {
        reading.values.clear();
        std::stable_sort(reading.problems.begin(), reading.problems.end(),
                         [](const Problem &a, const Problem &b) {
                             return std::pair(a.line, a.column) < std::pair(b.line, b.column);
                         });
    } else if (reading.values.empty()) {
        whole.message = QStringLiteral("empty: the profile sets none of the module's settings");
        reading.problems.append(whole);
    }
    return reading;
}

Written write(const QStringList &valuesInWriteOrder, const Header &header,
              const QStringList &captionsInWriteOrder)
{
    QString text = QStringLiteral("# Settings of the VELDRIX module %1\n"
                                  "# port:    %2\n"
                                  "# read at: %3\n"
                                  "# program: %4\n"
                                  "#\n"
                                  "# Each value is followed by its caption in the window, what\n"
                                  "# is allowed, and its unit. A setting left out keeps what the\n"
                                  "# module holds when this profile is written to it.\n")
                       .arg(oneLine(header.moduleName), oneLine(header.port), oneLine(header.time),
                            oneLine(header.programVersion));
    Written written;
    int group = -1;
    for (const records::Setting *setting : records::settingsInReadOrder()) {
        if (records::groupOf(*setting) != group) {
            group = records::groupOf(*setting);
            text += QStringLiteral("\n# %1\n[%2]\n")
                        .arg(QLatin1String(records::groups[group].title),
                             QLatin1String(records::groups[group].table));
        }
        const int position = int(setting - records::settings.data());
        const QString wire = valuesInWriteOrder.value(position);
        const QString caption = oneLine(captionsInWriteOrder.value(position));
        const QString comment = QStringLiteral("# ") +
                                (caption.isEmpty() ? QString() : caption + QStringLiteral(": ")) +
                                allowed(*setting);
        // The module holds whatever the window sent it, which a profile cannot
        // always hold: "abc" or "5" for a period, "47" for the brightness.
        // Such a value is left out and shown in a comment instead, so that the
        // profile still reads back and writing it to the module keeps that
        // value, as for any key left out; the caller is told, to tell the user.
        // A number with leading zeros or a sign ("0050", "+50") is that number;
        // a switch reads as on the form: anything but "0" is on.
        QString why;
        if (const std::optional<QString> value = literal(*setting, wire, &why)) {
            text += QStringLiteral("%1 = %2").arg(nameOf(*setting), *value).leftJustified(28) +
                    comment + QLatin1Char('\n');
        } else {
            text +=
                QStringLiteral("# %1 =").arg(nameOf(*setting)).leftJustified(28) + comment +
                QStringLiteral(". Left out: the module holds \"%1\", %2\n").arg(oneLine(wire), why);
            written.leftOut.append({position, wire, why});
        }
    }
    written.text = text.toUtf8();
    return written;
}

QString key(int position)
{
    if (position < 0 || position >= records::settingCount)
        return {};
    return QString::fromLatin1(records::settings[std::size_t(position)].key);
}

std::optional<QString> valueText(int position, const QString &wire)
{
    if (position < 0 || position >= records::settingCount)
        return std::nullopt;
    return literal(records::settings[std::size_t(position)], wire);
}

} // namespace profile
