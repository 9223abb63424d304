#pragma once
// A route's fare data as CSV text, the form route designers edit in a
// spreadsheet and hy3tool converts to and from a fare file.
//
// UTF-8 (a leading byte-order mark is accepted), lines ended by LF or CR LF.
// Line 1 is a header; every further line is one stop:
//   stop name, ticket number, data column 1, ..., data column 150
// A field may be enclosed in double quotes, which allow commas, quotes
// (doubled) and line breaks inside it. Numbers are whole decimal numbers in
// -32768..32767. Stop names are kept exactly as written (no trimming) and
// must be representable in Shift-JIS.
#include "control/FareData.h"

#include <QByteArray>
#include <QList>
#include <QString>

inline constexpr int kFareCsvFields = 2 + kDataColumns; // name, ticket number, 150 columns
inline constexpr int kMinRouteStops = 2;                // the reset needs a stop to step to
inline constexpr int kMaxRouteStops = kStopTableRows;
inline constexpr int kMaxFareCsvProblems = 100; // reading stops after this many

// One problem in a CSV text. line is the 1-based line where the field (or
// the record) starts; column is the 1-based field, 0 when the problem
// concerns the whole line or the whole text.
struct FareCsvProblem {
    int line = 0;
    int column = 0;
    QString message;
    bool operator==(const FareCsvProblem&) const = default;
};

struct FareCsv {
    QList<StopRecord> records; // usable only when problems is empty
    QList<FareCsvProblem> problems;
};

// The header line's fields: stop name, ticket number, columns 1..150.
QStringList fareCsvHeader();

// The CSV text of records: the header, then one stop a line, LF line ends,
// UTF-8 without a byte-order mark. A field is quoted only when it holds a
// comma, a quote or a line break.
QByteArray writeFareCsv(const QList<StopRecord>& records);

// Reads a CSV text and reports every problem found (up to
// kMaxFareCsvProblems): malformed quoting, text that is not UTF-8, a missing
// header, a wrong field count, a number that is not whole or does not fit in
// 16 bits, a stop name with a character Shift-JIS lacks or longer than a
// fare file holds, fewer than 2 or more than 301 stops. Blank lines at the
// end are ignored.
FareCsv readFareCsv(QByteArrayView bytes);

// "file:line:column: message", or "file:line: message" when column is 0.
QString fareCsvProblemText(const QString& fileName, const FareCsvProblem& problem);
