// Fuzzes the profile reader. The input edits a good profile (so that keys and
// values are reached without a corpus) or stands alone. Nothing crashes it,
// every problem describes itself on one line, and whatever it accepts, laid
// over the stand-in's factory settings and written out under a header also
// taken from the input, reads back without a problem to the same settings.
#include "link/profile.h"
#include "standin/modulestandin.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#define REQUIRE(condition) (condition) ? void() : std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray good = profile::write(standin::factorySettings(), {}).text;
    FuzzedDataProvider input(data, size);
    const QString header = QString::fromStdString(input.ConsumeRandomLengthString(16));
    QByteArray text = input.ConsumeBool() ? good : QByteArray();
    while (input.remaining_bytes() > 2) {
        const int at = input.ConsumeIntegralInRange<int>(0, text.size());
        const std::string bytes = input.ConsumeRandomLengthString(8);
        text.replace(at, input.ConsumeIntegralInRange<int>(0, 8), bytes.data(), int(bytes.size()));
    }

    const profile::Reading reading = profile::read(text);
    REQUIRE(reading.problems.isEmpty() != reading.values.empty());
    for (const profile::Problem &problem : reading.problems)
        REQUIRE(!profile::describe(problem, "f").contains(QLatin1Char('\n')));
    if (!reading.problems.isEmpty())
        return 0;

    QStringList values = standin::factorySettings();
    for (const auto &[position, value] : reading.values)
        values[position] = value;
    const profile::Reading again = profile::read(
        profile::write(values, {header, header, header, header}, {header, header}).text);
    REQUIRE(again.problems.isEmpty() && int(again.values.size()) == values.size());
    for (const auto &[position, value] : again.values)
        REQUIRE(value == values[position]);
    return 0;
}
