#pragma once
// Reading a route's broadcast data file (<route>tp.csv): Shift-JIS text, one
// announcement a line with its text, step flag and sound flag. Free of
// widgets and devices, so tests and the fuzzer use it on its own.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace mdlM_Tape {

struct TapeRow {
    QString Text;
    qint16 StepFlag = 0;  // 1: the row marks a fare step (kept, not acted on)
    qint16 SoundFlag = 0; // 1, 2, 3: slot 4, 5, 6 plays before the text
    bool operator==(const TapeRow&) const = default;
};

// A broadcast data file larger than this is refused unread.
inline constexpr qint64 kMaxTapeFileBytes = 16 * 1024 * 1024;

// The file name for a route number text: "007" -> "7tp.csv", "" -> "0tp.csv".
QString tapeFileName(const QString& number);
// The file in folder (empty: the current directory) whose name equals
// tapeFileName(number) ignoring letter case; an exact match wins. Empty when
// there is none.
QString findTapeFile(const QString& folder, const QString& number);
// The lines of a file: ended by CR LF or LF, a last line without an end
// counted too, each decoded from Shift-JIS.
QStringList splitTapeLines(const QByteArray& bytes);
// One line as a row: the text (optionally in double quotes, which allow
// commas; "" inside quotes is one quote), then the step and sound flags.
// Missing or blank flags and flags that are not whole decimal numbers read
// as 0; a number outside the signed 16-bit range answers nullopt.
std::optional<TapeRow> readTapeLine(const QString& line);
// The rows of a whole file; nullopt when it has no lines or a flag is out of
// range.
std::optional<QList<TapeRow>> readTape(const QByteArray& bytes);
// Reads and parses the file at path; nullopt when it cannot be read, is
// larger than kMaxTapeFileBytes or does not parse.
std::optional<QList<TapeRow>> readTapeFile(const QString& path);

} // namespace mdlM_Tape
