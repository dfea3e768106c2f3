// Fuzzes what the program makes of the module's bytes: the identification
// answer, the reply check and the split of a reply, and the configuration
// frame built from what was read. The input edits the stand-in's own reply
// (so that good frames are reached without a corpus) or stands alone.
#include "link/exchange.h"
#include "link/records.h"
#include "standin/modulestandin.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

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
    require(name.has_value() == (bytes.size() > 2 && kept.startsWith("VELDRIX_")));
    const int nul = kept.indexOf('\0');
    require(!name || *name == QString::fromUtf8(nul < 0 ? kept : kept.left(nul)));

    // For ASCII without NUL the reply check is plain: prefix and check character.
    const QString checked = records::checkedReply(exchange::textBeforeNul(bytes));
    const int n = bytes.size();
    bool ascii = !bytes.contains('\0');
    for (const char byte : bytes)
        ascii = ascii && byte > 0;
    if (ascii)
        require((checked != "NAN") == (n >= 3 && bytes.startsWith("VELDRIX_") &&
                                       standin::checkCharacter(bytes.left(n - 3)) == bytes[n - 3]));

    // Whatever was read goes back out verbatim, closed by its check character.
    const QStringList values = records::replyValues(checked, 19);
    const QString string = records::configurationString(name.value_or(QString()), values);
    const QByteArray frame = records::configurationFrame(string);
    require(frame.chopped(2) == string.toUtf8() &&
            frame.right(2) == standin::checkCharacter(string.toUtf8()) + QByteArray("\n"));
    return 0;
}
