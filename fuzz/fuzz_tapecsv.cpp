// Broadcast data files (<route>tp.csv) come from the operator's folders:
// reading any bytes must neither crash nor loop.
#include "sound/TapeFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto rows = mdlM_Tape::readTape(bytes)) {
        // Every line is one row, as the counting pass counts them.
        if (rows->size() != mdlM_Tape::splitTapeLines(bytes).size())
            __builtin_trap();
    }
    return 0;
}
