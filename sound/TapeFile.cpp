#include "sound/TapeFile.h"

#include "core/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mdlM_Tape {

namespace {

// A flag field: blank reads 0, a whole decimal number is taken when it fits
// in 16 bits, anything else that is not a number reads 0.
std::optional<qint16> readFlag(QStringView field) {
    field = field.trimmed();
    if (field.isEmpty())
        return qint16(0);
    qsizetype i = 0;
    if (field.front() == u'+' || field.front() == u'-')
        ++i;
    if (i == field.size())
        return qint16(0);
    for (qsizetype j = i; j < field.size(); ++j)
        if (field[j] < u'0' || field[j] > u'9')
            return qint16(0);
    // Leading zeros do not count toward the size of the number.
    QStringView digits = field.mid(i);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    if (digits.size() > 6)
        return std::nullopt;
    const qint64 magnitude = digits.toLongLong();
    const qint64 value = field.front() == u'-' ? -magnitude : magnitude;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

} // namespace

QString tapeFileName(const QString& number) {
    // The route number as a number and back: leading zeros and anything
    // after the digits are dropped, an empty text is route 0.
    const QString t = number.trimmed();
    qsizetype end = 0;
    while (end < t.size() && t[end] >= u'0' && t[end] <= u'9')
        ++end;
    QStringView digits = QStringView(t).left(end);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return (digits.isEmpty() ? QStringLiteral("0") : digits.toString()) + QStringLiteral("tp.csv");
}

QString findTapeFile(const QString& folder, const QString& number) {
    const QDir dir = folder.isEmpty() ? QDir::current() : QDir(folder);
    const QString name = tapeFileName(number);
    const QFileInfo exact(dir, name);
    if (exact.isFile())
        return exact.filePath();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}

QStringList splitTapeLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines << core::sjis::decode(QByteArrayView(bytes).sliced(start, stop - start));
        start = next;
    }
    return lines;
}

std::optional<TapeRow> readTapeLine(const QString& line) {
    TapeRow row;
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    qsizetype rest;
    if (i < line.size() && line[i] == u'"') {
        ++i;
        for (;;) {
            if (i >= line.size()) // unterminated: the text runs to the end
                break;
            if (line[i] == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    row.Text += u'"';
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            row.Text += line[i++];
        }
        // Whatever stands between the closing quote and the comma is dropped.
        const qsizetype comma = line.indexOf(u',', i);
        rest = comma < 0 ? line.size() : comma + 1;
    } else {
        const qsizetype comma = line.indexOf(u',', i);
        row.Text = line.mid(i, comma < 0 ? -1 : comma - i).trimmed();
        rest = comma < 0 ? line.size() : comma + 1;
    }
    const QStringList flags = line.mid(rest).split(u',');
    const auto step = readFlag(flags.value(0));
    const auto sound = readFlag(flags.value(1));
    if (!step || !sound)
        return std::nullopt;
    row.StepFlag = *step;
    row.SoundFlag = *sound;
    return row;
}

std::optional<QList<TapeRow>> readTape(const QByteArray& bytes) {
    const QStringList lines = splitTapeLines(bytes);
    if (lines.isEmpty())
        return std::nullopt;
    QList<TapeRow> rows;
    rows.reserve(lines.size());
    for (const QString& line : lines) {
        auto row = readTapeLine(line);
        if (!row)
            return std::nullopt;
        rows << *row;
    }
    return rows;
}

std::optional<QList<TapeRow>> readTapeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxTapeFileBytes)
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxTapeFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxTapeFileBytes)
        return std::nullopt;
    return readTape(bytes);
}

} // namespace mdlM_Tape
