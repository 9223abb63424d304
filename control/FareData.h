#pragma once
// The fare data of a route: the stop records of its fare file (<route>.hy3)
// and the program-wide fare-data state the reset fills, stepping moves along
// and the board refresh reads. Free of widgets, so hy3tool and the fuzzer
// use it on their own.
//
// File layout, little-endian, no header, no padding:
//   int16 N, then N records of
//   uint16 L, L bytes of stop name (Shift-JIS), int16 SeiriNum,
//   150 x int16 DataCol (column 1 first).
#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

inline constexpr int kStopTableRows = 301; // rows 1..301 of StopTable
inline constexpr int kDataColumns = 150;   // columns 1..150 of DataCol

// One stop of a route.
struct StopRecord {
    QString Chimei;      // stop name
    qint16 SeiriNum = 0; // numbered-ticket number issued at this stop
    // Data columns; DataCol[0] is column 1. Columns 1..50 are the fares under
    // ticket numbers 1..50, -1 marks a column without a fare.
    std::array<qint16, kDataColumns> DataCol{};

    // Column i (1..150); 0 for a column outside that range.
    qint16 col(int i) const { return i >= 1 && i <= kDataColumns ? DataCol[size_t(i - 1)] : qint16(0); }
    bool operator==(const StopRecord&) const = default;
};

// What went wrong reading a fare file's bytes.
enum class Hy3Error {
    None,
    TooShort,        // not even the two bytes of N
    TooManyRecords,  // N above 301: the route does not fit StopTable
    Truncated,       // the records end before N of them were read
    NameRunsPastEnd, // a stop name's length reaches beyond the file
};

// The records of a fare file. count is N as the file states it; records
// holds them only when error is None (then records.size() == count, or 0
// records for N <= 0).
struct Hy3File {
    Hy3Error error = Hy3Error::None;
    qint16 count = 0;
    QList<StopRecord> records;
    qsizetype errorOffset = 0; // byte offset where reading stopped, on error
    int errorRecord = 0;       // 1-based record being read, on error
};

// Reads N alone (error TooShort when there are fewer than two bytes).
Hy3File readHy3Count(QByteArrayView bytes);
// Reads N and all N records. Never reads past the bytes, never trusts N:
// N above 301 fails before any record is read.
Hy3File readHy3(QByteArrayView bytes);
// A description of a failure for the user and for hy3tool.
QString hy3ErrorText(const Hy3File& file);

// Why records cannot be stored in a fare file: more than 32767 of them (N is
// 16 bits) or a stop name longer than 65535 bytes in Shift-JIS (L is 16
// bits). Empty when they can.
QString hy3WriteProblem(const QList<StopRecord>& records);
// The bytes of a fare file holding records. Stop names are encoded as
// Shift-JIS (characters it lacks become '?'; hy3tool checks names first).
// Records that hy3WriteProblem refuses give an empty array, never a file
// whose counts have wrapped round.
QByteArray writeHy3(const QList<StopRecord>& records);

// The reset's own messages for a file it refuses before reading the records.
QString hy3ZeroCountMessage();
QString hy3SectionMessage();

// What the reset makes of a fare file's bytes, for hy3tool check and dump.
struct Hy3Check {
    Hy3File file;
    bool accepted = false;
    int firstSection = 0; // the sections the reset accepts, when accepted
    int lastSection = 0;
    QString refusal; // the message the reset shows, when refused
    // Whenever all N records could be read (accepted or not): the bytes after
    // them, which the reset ignores, and the 1-based stops whose name bytes
    // do not come back unchanged from text (broken or duplicate codes).
    qsizetype trailingBytes = 0;
    QList<int> namesChangedByText;
};
// Mirrors the reset: N = 0 and N - 1 below every section are refused before
// the records are read, then the records must all be there. The sections
// accepted are 1..N-1 (the reset clamps a section to 1..300).
Hy3Check checkHy3(QByteArrayView bytes);

// The fare file of a route: folder, a "/" when the folder is not empty and
// does not already end in one, the route number without leading zeros
// ("00012" -> 12, "" -> 0) and ".hy3".
QString hy3FileName(const QString& folder, const QString& keitouText);
// The route number of a route text as the file name and the ticket use it:
// the leading decimal digits as a number, 0 when there are none.
qint32 routeNumber(const QString& keitouText);
// A folder with the separator rule above applied.
QString folderWithSeparator(const QString& folder);

// The program-wide fare-data state. The reset is its only writer; stepping
// moves CurStop only; the board refresh reads it.
struct FareData {
    // Rows 1..301; index 0 is unused so that row n is StopTable[n].
    std::array<StopRecord, kStopTableRows + 1> StopTable{};
    qint16 DataCount = 0;  // records of the last accepted fare file
    qint16 CurStop = 0;    // zero-based current stop; the shown row is CurStop + 1
    qint16 StartKukan = 0; // section of the last reset, 1..300 (0 before it)
    QString KeitouText;    // route number as entered, leading zeros kept

    // Row n (1..301); a cleared row outside that range.
    const StopRecord& row(int n) const;
    // Clears all rows, then puts records into rows 1..records.size().
    void replaceRows(const QList<StopRecord>& records);
};
