// Fuzzes what the program makes of the module's bytes: the identification
// answer, the reply check and the split of a reply into values. The input
// edits the stand-in's own reply (so that good frames are reached without a
// corpus) or stands alone; the stand-in is the witness of what must come out.
#include "link/exchange.h"
#include "link/records.h"
#include "standin/modulestandin.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#define REQUIRE(condition) (condition) ? void() : std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray reply = standin::ModuleStandin().reply();
    FuzzedDataProvider input(data, size);
    QByteArray bytes = input.ConsumeBool() ? reply : QByteArray();
    while (input.remaining_bytes() > 2) {
        const int at = input.ConsumeIntegralInRange<int>(0, bytes.size());
        const std::string text = input.ConsumeRandomLengthString(8);
        bytes.replace(at, input.ConsumeIntegralInRange<int>(0, 8), text.data(), int(text.size()));
    }

    const std::optional<QString> name = exchange::moduleNameFromIdentification(bytes);
    const QByteArray kept = bytes.left(bytes.size() - 2);
    REQUIRE(name.has_value() == (bytes.size() > 2 && kept.startsWith("VELDRIX_")));
    // The name stops at the first NUL, where the bytes read as a C string end.
    REQUIRE(!name || *name == QString::fromUtf8(kept.constData()));

    // Plain ASCII passes exactly when it has the prefix and a right check character.
    const QString checked = records::checkedReply(exchange::textBeforeNul(bytes));
    const int n = bytes.size();
    if (std::all_of(bytes.begin(), bytes.end(), [](char byte) { return byte > 0; }))
        REQUIRE((checked != "NAN") == (n >= 3 && bytes.startsWith("VELDRIX_") &&
                                       standin::checkCharacter(bytes.left(n - 3)) == bytes[n - 3]));
    records::replyValues(checked, 19); // the order of the values is the window tests'
    return 0;
}
