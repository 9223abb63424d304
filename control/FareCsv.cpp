#include "control/FareCsv.h"

#include "core/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <type_traits>

namespace {

// An unquoted field is a view into the text being read (most fields are
// numbers, and copying each one costs more than reading it); a quoted one
// owns its bytes, doubled quotes undone.
struct Field {
    QByteArrayView view;
    QByteArray unquoted;
    int line = 0; // where the field starts
    bool quoted = false;
    QByteArrayView bytes() const { return quoted ? QByteArrayView(unquoted) : view; }
};

struct Record {
    QList<Field> fields;
    int line = 0;
    // A line with nothing on it, or only commas (spreadsheets export empty
    // rows that way).
    bool blank() const {
        for (const Field& f : fields)
            if (f.quoted || !f.view.isEmpty())
                return false;
        return true;
    }
};

// Collects problems up to the limit; past it, one last problem says that
// reading stopped.
class Problems {
public:
    explicit Problems(QList<FareCsvProblem>& list) : list_(list) {}
    bool full() const { return list_.size() > kMaxFareCsvProblems; }
    void add(int line, int column, const QString& message) {
        if (full())
            return;
        if (list_.size() == kMaxFareCsvProblems) {
            list_ << FareCsvProblem{line, 0, QStringLiteral("too many problems; the rest is not checked")};
            return;
        }
        list_ << FareCsvProblem{line, column, message};
    }

private:
    QList<FareCsvProblem>& list_;
};

// Splits the bytes into records of fields. Quoted fields may hold commas,
// doubled quotes and line breaks; a CR before LF (or before the end) ends a
// line like LF alone. An unclosed quote ends the text.
QList<Record> splitRecords(QByteArrayView text, Problems& problems) {
    QList<Record> records;
    const char* const bytes = text.data(); // indexed directly: this loop sees every byte
    const qsizetype n = text.size();
    qsizetype i = 0;
    if (text.startsWith("\xEF\xBB\xBF"))
        i = 3;
    int line = 1;
    auto lineEndAt = [&](qsizetype k) {
        return k == n || bytes[k] == '\n' || (bytes[k] == '\r' && (k + 1 == n || bytes[k + 1] == '\n'));
    };
    while (i < n && !problems.full()) {
        Record rec;
        rec.line = line;
        // Lines of a table are alike: room for as many fields as the last.
        if (!records.isEmpty())
            rec.fields.reserve(records.last().fields.size());
        for (;;) {
            Field f;
            f.line = line;
            const int column = int(rec.fields.size()) + 1;
            if (i < n && bytes[i] == '"') {
                f.quoted = true;
                ++i;
                bool closed = false;
                while (i < n) {
                    const char c = bytes[i];
                    if (c == '"') {
                        if (i + 1 < n && bytes[i + 1] == '"') {
                            f.unquoted += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        closed = true;
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    f.unquoted += c;
                    ++i;
                }
                if (!closed) {
                    // The rest of the text is inside the quote: nothing of
                    // this record can be checked.
                    problems.add(f.line, column, QStringLiteral("the quote opened here is never closed"));
                    return records;
                }
                if (i < n && bytes[i] != ',' && !lineEndAt(i)) {
                    problems.add(line, column, QStringLiteral("text after the closing quote"));
                    while (i < n && bytes[i] != ',' && !lineEndAt(i))
                        ++i;
                }
            } else {
                const qsizetype start = i;
                while (i < n && bytes[i] != ',' && bytes[i] != '\n')
                    ++i;
                qsizetype end = i;
                if (end > start && bytes[end - 1] == '\r' && (i == n || bytes[i] == '\n'))
                    --end;
                f.view = text.sliced(start, end - start);
            }
            rec.fields << f;
            if (i < n && bytes[i] == ',') {
                ++i;
                continue;
            }
            if (i < n && bytes[i] == '\r')
                ++i;
            if (i < n && bytes[i] == '\n') {
                ++i;
                ++line;
            }
            break;
        }
        records << rec;
    }
    return records;
}

QString fieldName(int column) {
    if (column == 1)
        return QStringLiteral("stop name");
    if (column == 2)
        return QStringLiteral("ticket number");
    return QStringLiteral("data column %1").arg(column - 2);
}

// A whole decimal number in 16 bits, ASCII digits with an optional sign;
// spaces and tabs around it are allowed. Works on decoded text and, for the
// common all-ASCII field, straight on its bytes.
enum class Whole { Empty, NotWhole, OutOfRange, Ok };

template <typename View> Whole parseWhole(View t, qint16* out) {
    auto at = [&](qsizetype k) -> char16_t {
        if constexpr (std::is_same_v<View, QByteArrayView>)
            return char16_t(uchar(t[k]));
        else
            return t[k].unicode();
    };
    if (t.isEmpty())
        return Whole::Empty;
    const bool negative = at(0) == u'-';
    qsizetype i = (at(0) == u'+' || negative) ? 1 : 0;
    if (i == t.size())
        return Whole::NotWhole;
    for (qsizetype k = i; k < t.size(); ++k)
        if (at(k) < u'0' || at(k) > u'9')
            return Whole::NotWhole;
    while (i + 1 < t.size() && at(i) == u'0')
        ++i;
    if (t.size() - i > 6)
        return Whole::OutOfRange;
    qint64 value = 0;
    for (; i < t.size(); ++i)
        value = value * 10 + (at(i) - u'0');
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return Whole::OutOfRange;
    *out = qint16(value);
    return Whole::Ok;
}

// The number, or the problem with it: text is the field as written,
// trimmed the same without surrounding blanks.
std::optional<qint16> numberOrProblem(Whole whole, qint16 value, const QString& text, const QString& trimmed,
                                      QString* problem) {
    switch (whole) {
    case Whole::Ok: return value;
    case Whole::Empty: *problem = QStringLiteral("empty (write a whole number: 0, or -1 for no fare)"); break;
    case Whole::NotWhole: *problem = QStringLiteral("\"%1\" is not a whole number").arg(text); break;
    case Whole::OutOfRange:
        *problem = QStringLiteral("%1 does not fit in 16 bits (-32768 to 32767)").arg(trimmed);
        break;
    }
    return std::nullopt;
}

std::optional<qint16> readNumber(const QString& text, QString* problem) {
    const QString t = text.trimmed();
    qint16 value = 0;
    return numberOrProblem(parseWhole(QStringView(t), &value), value, text, t, problem);
}

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

// The same for a field's bytes, without decoding them when they are ASCII
// (trimming ASCII text as bytes removes what trimming it as text would).
std::optional<qint16> readNumber(QByteArrayView ascii, QString* problem) {
    const QByteArrayView t = ascii.trimmed();
    qint16 value = 0;
    const Whole whole = parseWhole(t, &value);
    if (whole == Whole::Ok)
        return value;
    return numberOrProblem(whole, value, QString::fromLatin1(ascii), QString::fromLatin1(t), problem);
}

// The code-page-932 character that looks like one it lacks: text typed on
// other systems carries these JIS forms.
QChar lookAlike(char32_t code) {
    switch (code) {
    case U'\u301C': return QChar(u'\uFF5E'); // wave dash -> fullwidth tilde
    case U'\u2212': return QChar(u'\uFF0D'); // minus sign -> fullwidth hyphen-minus
    case U'\u2016': return QChar(u'\u2225'); // double vertical line -> parallel to
    case U'\u00A5': return QChar(u'\uFFE5'); // yen sign -> fullwidth yen sign
    case U'\u00A2': return QChar(u'\uFFE0'); // cent sign
    case U'\u00A3': return QChar(u'\uFFE1'); // pound sign
    case U'\u00AC': return QChar(u'\uFFE2'); // not sign
    default: return {};
    }
}

// A phrase for each character of a stop name that Shift-JIS cannot hold.
QStringList unrepresentable(const QString& name) {
    QStringList found;
    {
        // Most names encode and read back whole; only then is each
        // character looked at on its own.
        QStringEncoder encoder("Shift_JIS");
        const QByteArray encoded = encoder.encode(name);
        if (!encoder.hasError() && core::sjis::decode(encoded) == name)
            return found;
    }
    for (qsizetype i = 0; i < name.size();) {
        const qsizetype len =
            (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) ? 2 : 1;
        const QString ch = name.mid(i, len);
        i += len;
        QStringEncoder encoder("Shift_JIS");
        const QByteArray encoded = encoder.encode(ch);
        const char32_t code = len == 2 ? QChar::surrogateToUcs4(ch[0], ch[1]) : ch[0].unicode();
        const QString what =
            QStringLiteral("'%1' (U+%2)").arg(ch, QString::number(quint32(code), 16).toUpper().rightJustified(4, u'0'));
        if (encoder.hasError()) {
            QString entry = what + QStringLiteral(" has no Shift-JIS code");
            if (const QChar alike = lookAlike(code); !alike.isNull())
                entry += QStringLiteral("; write '%1' instead").arg(alike);
            found << entry;
            continue;
        }
        // A few characters are written with another one's code and would
        // come back as that one.
        const QString back = core::sjis::decode(encoded);
        if (back != ch)
            found << what + QStringLiteral(" has no Shift-JIS code of its own; it would read back as '%1'").arg(back);
    }
    return found;
}

} // namespace

QStringList fareCsvHeader() {
    QStringList header{QStringLiteral("停留所名"), QStringLiteral("整理券番号")};
    for (int c = 1; c <= kDataColumns; ++c)
        header << QString::number(c);
    return header;
}

QByteArray writeFareCsv(const QList<StopRecord>& records) {
    auto quoted = [](const QString& field) {
        if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') && !field.contains(u'\r'))
            return field;
        QString q = field;
        q.replace(u'"', QStringLiteral("\"\""));
        return u'"' + q + u'"';
    };
    QString out = fareCsvHeader().join(u',') + u'\n';
    for (const StopRecord& rec : records) {
        out += quoted(rec.Chimei);
        out += u',';
        out += QString::number(rec.SeiriNum);
        for (qint16 c : rec.DataCol) {
            out += u',';
            out += QString::number(c);
        }
        out += u'\n';
    }
    return out.toUtf8();
}

FareCsv readFareCsv(QByteArrayView bytes) {
    FareCsv csv;
    Problems problems(csv.problems);
    QList<Record> records = splitRecords(bytes, problems);
    while (!records.isEmpty() && records.last().blank())
        records.removeLast();
    if (records.isEmpty()) {
        problems.add(1, 0, QStringLiteral("no header line and no stops"));
        return csv;
    }

    // A field's text; nullopt (reported) when it is not UTF-8, so that no
    // further problem is made up from its misread characters.
    auto text = [&](const Field& f, int column) -> std::optional<QString> {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString t = utf8.decode(f.bytes());
        if (!utf8.hasError())
            return t;
        problems.add(f.line, column,
                     QStringLiteral("%1: not UTF-8 text (save the file as CSV in UTF-8)").arg(fieldName(column)));
        return std::nullopt;
    };

    // The header: its field count, and a guard against a first stop that
    // would otherwise be taken for the header and lost.
    const Record& header = records.first();
    if (header.fields.size() >= 2) {
        QString ignored;
        if (readNumber(text(header.fields[1], 2).value_or(QString()), &ignored))
            problems.add(header.line, 0,
                         QStringLiteral("line 1 holds a stop, but it must be the header line (stop name, ticket "
                                        "number, columns 1 to 150)"));
    }
    if (header.fields.size() != kFareCsvFields)
        problems.add(header.line, 0,
                     QStringLiteral("the header line has %1 fields; it needs %2 (stop name, ticket number, columns 1 "
                                    "to 150)")
                         .arg(header.fields.size())
                         .arg(kFareCsvFields));

    int stops = 0;
    for (qsizetype r = 1; r < records.size() && !problems.full(); ++r) {
        const Record& rec = records[r];
        if (rec.blank()) {
            problems.add(rec.line, 0, QStringLiteral("blank line between stops"));
            continue;
        }
        ++stops;
        if (stops == kMaxRouteStops + 1)
            problems.add(
                rec.line, 0,
                QStringLiteral("more than %1 stops; a fare file for K27 holds at most %1").arg(kMaxRouteStops));
        const qsizetype count = rec.fields.size();
        if (count != kFareCsvFields)
            problems.add(rec.line, int(qMin<qsizetype>(count, kFareCsvFields)) + 1,
                         QStringLiteral("%1 fields; a stop needs %2: stop name, ticket number and data columns 1 to %3")
                             .arg(count)
                             .arg(kFareCsvFields)
                             .arg(kDataColumns));

        StopRecord stop;
        for (int column = 1; column <= qMin<qsizetype>(count, kFareCsvFields); ++column) {
            const Field& f = rec.fields[column - 1];
            if (column == 1) {
                const std::optional<QString> decoded = text(f, column);
                if (!decoded)
                    continue;
                const QString& value = *decoded;
                stop.Chimei = value;
                const QStringList bad = unrepresentable(value);
                // A long name is cut short in the message; the character named says the rest.
                const QString shown = value.size() > 40 ? value.left(40) + u'…' : value;
                for (const QString& ch : bad)
                    problems.add(f.line, 1, QStringLiteral("stop name \"%1\": %2").arg(shown, ch));
                const qsizetype length = core::sjis::encode(value).size();
                if (length > 65535)
                    problems.add(f.line, 1,
                                 QStringLiteral("stop name is %1 bytes long in Shift-JIS; a fare file holds at most "
                                                "65535")
                                     .arg(length));
                continue;
            }
            // Numbers are nearly always plain ASCII, read without decoding.
            QString problem;
            std::optional<qint16> number;
            if (isAscii(f.bytes())) {
                number = readNumber(f.bytes(), &problem);
            } else {
                const std::optional<QString> decoded = text(f, column);
                if (!decoded)
                    continue;
                number = readNumber(*decoded, &problem);
            }
            if (!number) {
                problems.add(f.line, column, fieldName(column) + QStringLiteral(": ") + problem);
                continue;
            }
            if (column == 2)
                stop.SeiriNum = *number;
            else
                stop.DataCol[size_t(column - 3)] = *number;
        }
        csv.records << stop;
    }
    if (stops < kMinRouteStops && !problems.full())
        problems.add(records.last().line, 0,
                     QStringLiteral("%1 stop%2; a route needs at least %3")
                         .arg(stops == 0 ? QStringLiteral("no") : QString::number(stops))
                         .arg(stops == 1 ? QString() : QStringLiteral("s"))
                         .arg(kMinRouteStops));
    // Problems of quoting are found before those of the fields: report all
    // in the order of the text, the note that reading stopped staying last.
    const auto sortedEnd = problems.full() ? csv.problems.end() - 1 : csv.problems.end();
    std::stable_sort(csv.problems.begin(), sortedEnd, [](const FareCsvProblem& a, const FareCsvProblem& b) {
        return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    if (!csv.problems.isEmpty())
        csv.records.clear();
    return csv;
}

QString fareCsvProblemText(const QString& fileName, const FareCsvProblem& problem) {
    const QString line = QString::number(problem.line);
    if (problem.column == 0)
        return QStringLiteral("%1:%2: %3").arg(fileName, line, problem.message);
    return QStringLiteral("%1:%2:%3: %4").arg(fileName, line, QString::number(problem.column), problem.message);
}
