// Settings files (<program>.in4) may be cut short, hand-edited or left by
// another version: reading any bytes must neither crash nor read past them,
// and a record read must write back to a file that reads the same record.
#include "app/SettingsFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const mdlIniIo::DecodedSettings first = mdlIniIo::decodeSettings(bytes);
    if (first.bytesUsed < 0 || first.bytesUsed > bytes.size())
        __builtin_trap();
    // A whole file is never shorter than one with every text empty.
    if (first.complete && first.bytesUsed < mdlIniIo::kEmptyFileSize)
        __builtin_trap();
    if (first.record.DegitCount != mdlIniIo::kDegitCount)
        __builtin_trap();

    const QByteArray written = mdlIniIo::encodeSettings(first.record);
    const mdlIniIo::DecodedSettings second = mdlIniIo::decodeSettings(written);
    if (!(second.record == first.record) || !second.complete || second.bytesUsed != written.size())
        __builtin_trap();
    // Writing is stable: the same record gives the same bytes.
    if (mdlIniIo::encodeSettings(second.record) != written)
        __builtin_trap();
    return 0;
}
