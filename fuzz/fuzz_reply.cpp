// Fuzzes what the program does with the module's answer to the read command:
// the reply check and the configuration parse together, as the read runs them
// once the port is closed. Each input is tried twice: as received, and as the
// payload of a frame with a right check character and closing bytes, so that
// the parse is reached whenever the input begins with the prefix.
#include "harness.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::setUp();
    fuzzing::setModuleName("VELDRIX_GPS2CAN_SIM");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    fuzzing::loadReply(bytes);
    fuzzing::loadReply(fuzzing::framed(bytes));
    return 0;
}
