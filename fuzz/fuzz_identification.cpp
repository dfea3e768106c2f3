// Fuzzes what the program does with the module's answer to the identify
// command (closing bytes, NUL bytes, the prefix, text that is not UTF-8) and
// with the name it takes from it: the name decides how much of the
// configuration reply is skipped and begins the configuration string.
//
// Input: the identification answer, ended by a backslash and one other byte
// (a doubled backslash stands for one), then the bytes of a configuration
// reply.
#include "harness.h"

#include "link/exchange.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using fuzzing::require;
    FuzzedDataProvider input(data, size);
    const std::string idText = input.ConsumeRandomLengthString();
    const std::string replyText = input.ConsumeRemainingBytesAsString();
    const QByteArray answer(idText.data(), static_cast<int>(idText.size()));
    const QByteArray reply(replyText.data(), static_cast<int>(replyText.size()));

    const std::optional<QString> name = exchange::moduleNameFromIdentification(answer);
    const QByteArray kept = answer.left(answer.size() - 2);
    const bool isModule = answer.size() > 2 && kept.startsWith("VELDRIX_");
    require(name.has_value() == isModule,
            "a module is an answer whose text begins with the prefix");
    if (!name)
        return 0;
    const int nul = kept.indexOf('\0');
    require(*name == QString::fromUtf8(nul < 0 ? kept : kept.left(nul)),
            "the name is the text less its closing bytes, up to a NUL, as UTF-8");

    fuzzing::setModuleName(*name);
    // Whatever the name holds ("%1", NULs cut away, replacement characters,
    // pairs of UTF-16 units), a good reply whose leading text is as long as
    // the name loads, and the configuration string carries it verbatim.
    const QByteArray leading = "VELDRIX_" + QByteArray(name->size() - 8, 'x');
    require(
        fuzzing::loadReply(fuzzing::framed(leading + " " + fuzzing::exampleReadOrder().toLatin1())),
        "a good reply loads whatever the module's name");
    require(fuzzing::configurationString() ==
                "c" + *name + " " + fuzzing::exampleWriteOrder() + " ",
            "the worked example goes back out in write order");

    fuzzing::loadReply(reply);
    fuzzing::loadReply(fuzzing::framed(reply));
    fuzzing::setModuleName(QString());
    return 0;
}
