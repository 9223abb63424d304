// Fare files (<route>.hy3) come from the operator's folders: reading any
// bytes must neither crash nor read past them, and what reads must write
// back and read again the same.
#include "control/FareData.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const Hy3File f = readHy3(bytes);
    const Hy3Check check = checkHy3(bytes);
    if (check.file.error != f.error || check.accepted != (f.error == Hy3Error::None && f.count >= 2))
        __builtin_trap();
    if (f.error != Hy3Error::None) {
        if (!f.records.isEmpty() || hy3ErrorText(f).isEmpty())
            __builtin_trap();
        return 0;
    }
    // Every record announced is there; a count of zero or less reads none.
    if (f.records.size() != qMax<qsizetype>(f.count, 0) || f.records.size() > kStopTableRows)
        __builtin_trap();
    if (check.trailingBytes < 0 || check.trailingBytes > bytes.size())
        __builtin_trap();

    if (!hy3WriteProblem(f.records).isEmpty())
        return 0;
    const QByteArray written = writeHy3(f.records);
    const Hy3File again = readHy3(written);
    if (again.error != Hy3Error::None || again.records != f.records)
        __builtin_trap();
    // Names that text reproduces byte for byte give back the very bytes.
    if (check.namesChangedByText.isEmpty() && f.count > 0 &&
        QByteArrayView(written) != bytes.first(bytes.size() - check.trailingBytes))
        __builtin_trap();
    return 0;
}
