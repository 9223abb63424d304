#include "control/FareData.h"

#include "core/ShiftJis.h"

#include <QtEndian>

namespace {

// A cursor over the file's bytes that refuses to read past them.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes) {}
    qsizetype pos() const { return pos_; }
    bool has(qsizetype n) const { return n >= 0 && bytes_.size() - pos_ >= n; }
    qint16 int16() {
        const auto v = qFromLittleEndian<qint16>(bytes_.data() + pos_);
        pos_ += 2;
        return v;
    }
    quint16 uint16() {
        const auto v = qFromLittleEndian<quint16>(bytes_.data() + pos_);
        pos_ += 2;
        return v;
    }
    QByteArrayView take(qsizetype n) {
        const QByteArrayView v = bytes_.sliced(pos_, n);
        pos_ += n;
        return v;
    }

private:
    QByteArrayView bytes_;
    qsizetype pos_ = 0;
};

Hy3File failed(Hy3File f, Hy3Error error, qsizetype offset, int record) {
    f.error = error;
    f.errorOffset = offset;
    f.errorRecord = record;
    f.records.clear();
    return f;
}

const StopRecord& clearedRow() {
    static const StopRecord cleared;
    return cleared;
}

} // namespace

Hy3File readHy3Count(QByteArrayView bytes) {
    Hy3File f;
    Reader r(bytes);
    if (!r.has(2))
        return failed(f, Hy3Error::TooShort, 0, 0);
    f.count = r.int16();
    return f;
}

Hy3File readHy3(QByteArrayView bytes) {
    Hy3File f = readHy3Count(bytes);
    if (f.error != Hy3Error::None)
        return f;
    if (f.count > kStopTableRows)
        return failed(f, Hy3Error::TooManyRecords, 0, kStopTableRows + 1);
    Reader r(bytes);
    r.int16();
    f.records.reserve(qMax<qint16>(f.count, 0));
    for (int k = 1; k <= f.count; ++k) {
        const qsizetype start = r.pos();
        if (!r.has(2))
            return failed(f, Hy3Error::Truncated, start, k);
        const quint16 nameLength = r.uint16();
        if (!r.has(nameLength))
            return failed(f, Hy3Error::NameRunsPastEnd, start, k);
        StopRecord rec;
        rec.Chimei = core::sjis::decode(r.take(nameLength));
        if (!r.has(2 + 2 * kDataColumns))
            return failed(f, Hy3Error::Truncated, start, k);
        rec.SeiriNum = r.int16();
        for (qint16& c : rec.DataCol)
            c = r.int16();
        f.records << rec;
    }
    return f;
}

QString hy3ErrorText(const Hy3File& file) {
    switch (file.error) {
    case Hy3Error::None: return {};
    case Hy3Error::TooShort: return QStringLiteral("運賃データのファイルが短すぎます（停留所の数がありません）。");
    case Hy3Error::TooManyRecords:
        return QStringLiteral("運賃データの停留所の数（%1）が多すぎます。扱えるのは%2までです。")
            .arg(file.count)
            .arg(kStopTableRows);
    case Hy3Error::Truncated:
        return QStringLiteral(
                   "運賃データのファイルが途中で終わっています（停留所 %1 / %2、先頭から %3 バイトの位置）。")
            .arg(file.errorRecord)
            .arg(file.count)
            .arg(file.errorOffset);
    case Hy3Error::NameRunsPastEnd:
        return QStringLiteral(
                   "運賃データの停名の長さがファイルの終わりを越えています（停留所 %1、先頭から %2 バイトの位置）。")
            .arg(file.errorRecord)
            .arg(file.errorOffset);
    }
    return {};
}

QString hy3WriteProblem(const QList<StopRecord>& records) {
    if (records.size() > 32767)
        return QStringLiteral("%1 stops do not fit in a fare file (at most 32767)").arg(records.size());
    for (qsizetype k = 0; k < records.size(); ++k) {
        const qsizetype length = core::sjis::encode(records[k].Chimei).size();
        if (length > 65535)
            return QStringLiteral("the name of stop %1 is %2 bytes long in Shift-JIS (at most 65535)")
                .arg(k + 1)
                .arg(length);
    }
    return {};
}

QByteArray writeHy3(const QList<StopRecord>& records) {
    if (!hy3WriteProblem(records).isEmpty())
        return {};
    QByteArray out;
    auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian<quint16>(v, b);
        out.append(b, 2);
    };
    put16(quint16(qint16(records.size())));
    for (const StopRecord& rec : records) {
        const QByteArray name = core::sjis::encode(rec.Chimei);
        put16(quint16(name.size()));
        out += name;
        put16(quint16(rec.SeiriNum));
        for (qint16 c : rec.DataCol)
            put16(quint16(c));
    }
    return out;
}

QString hy3ZeroCountMessage() {
    return QStringLiteral("指定した系統はデータの数が0(未登録)の可能性があります...");
}

QString hy3SectionMessage() {
    return QStringLiteral("指定した区間はデータの数よりも多いです...\r\n  解決法：正しい区間を入力して下さい.");
}

Hy3Check checkHy3(QByteArrayView bytes) {
    Hy3Check c;
    c.file = readHy3(bytes);
    // The reset checks the count before it reads a record, so a count it
    // refuses hides any fault in the records.
    if (c.file.error == Hy3Error::TooShort)
        c.refusal = hy3ErrorText(c.file);
    else if (c.file.count == 0)
        c.refusal = hy3ZeroCountMessage();
    else if (c.file.count - 1 < 1)
        c.refusal = hy3SectionMessage();
    else if (c.file.error != Hy3Error::None)
        c.refusal = hy3ErrorText(c.file);
    else {
        c.accepted = true;
        c.firstSection = 1;
        c.lastSection = qMin(c.file.count - 1, kStopTableRows - 1);
    }
    if (c.file.error != Hy3Error::None)
        return c;

    // Walk the records again to find where they end and which names do not
    // survive a trip through text.
    qsizetype pos = 2;
    for (qsizetype k = 0; k < c.file.records.size(); ++k) {
        const quint16 nameLength = qFromLittleEndian<quint16>(bytes.data() + pos);
        const QByteArrayView name = bytes.sliced(pos + 2, nameLength);
        if (core::sjis::encode(c.file.records[k].Chimei) != name)
            c.namesChangedByText << int(k + 1);
        pos += 2 + nameLength + 2 + 2 * kDataColumns;
    }
    c.trailingBytes = bytes.size() - pos;
    return c;
}

qint32 routeNumber(const QString& keitouText) {
    const QString t = keitouText.trimmed();
    qint64 n = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9')
            break;
        n = qMin<qint64>(n * 10 + (c.unicode() - u'0'), 2147483647);
    }
    return qint32(n);
}

QString folderWithSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString hy3FileName(const QString& folder, const QString& keitouText) {
    return folderWithSeparator(folder) + QString::number(routeNumber(keitouText)) + QStringLiteral(".hy3");
}

const StopRecord& FareData::row(int n) const {
    if (n < 1 || n > kStopTableRows)
        return clearedRow();
    return StopTable[size_t(n)];
}

void FareData::replaceRows(const QList<StopRecord>& records) {
    StopTable.fill(StopRecord{});
    for (qsizetype k = 0; k < records.size() && k < kStopTableRows; ++k)
        StopTable[size_t(k + 1)] = records[k];
}
