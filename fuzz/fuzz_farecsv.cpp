// CSV text for hy3tool build comes from spreadsheets and hand editing:
// reading any bytes must neither crash nor loop, and a text read without
// problems must make a fare file and CSV text that read back the same.
#include "control/FareCsv.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const FareCsv csv = readFareCsv(bytes);
    if (csv.problems.size() > kMaxFareCsvProblems + 1)
        __builtin_trap();
    // A problem names the field it is in, which can lie past the last field
    // a stop has (a quote left open in field 181): at most one per comma.
    const qsizetype fields = bytes.count(',') + 1;
    for (const FareCsvProblem& p : csv.problems)
        if (p.line < 1 || p.column < 0 || p.column > fields || p.message.isEmpty())
            __builtin_trap();
    if (!csv.problems.isEmpty()) {
        if (!csv.records.isEmpty())
            __builtin_trap();
        return 0;
    }
    if (csv.records.size() < kMinRouteStops || csv.records.size() > kMaxRouteStops)
        __builtin_trap();

    // Accepted text makes a fare file the reset accepts, holding the same stops.
    if (!hy3WriteProblem(csv.records).isEmpty())
        __builtin_trap();
    const QByteArray hy3 = writeHy3(csv.records);
    const Hy3Check check = checkHy3(hy3);
    if (!check.accepted || check.file.records != csv.records || !check.namesChangedByText.isEmpty())
        __builtin_trap();

    // Written out again, the text reads back the same.
    const FareCsv again = readFareCsv(writeFareCsv(csv.records));
    if (!again.problems.isEmpty() || again.records != csv.records)
        __builtin_trap();
    return 0;
}
