#include "core/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace core::sjis {

namespace {

// UTF-16 units of the code point starting at i: 2 for a surrogate pair.
qsizetype codePointLength(QStringView text, qsizetype i) {
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
}

} // namespace

QByteArray encode(QStringView text) {
    QStringEncoder encoder("Shift_JIS");
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole;

    // Some character has no code: encode one code point at a time so that
    // exactly the unrepresentable ones become '?'.
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        QStringEncoder one("Shift_JIS");
        const QByteArray bytes = one.encode(text.mid(i, len));
        out += one.hasError() ? QByteArray("?") : bytes;
        i += len;
    }
    return out;
}

QStringList unencodable(QStringView text) {
    QStringList found;
    {
        // encode() converts only when its result becomes a QByteArray.
        QStringEncoder whole("Shift_JIS");
        const QByteArray bytes = whole.encode(text);
        if (!whole.hasError())
            return found;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        QStringEncoder one("Shift_JIS");
        const QByteArray bytes = one.encode(text.mid(i, len));
        const QString ch = text.mid(i, len).toString();
        if (one.hasError() && !found.contains(ch))
            found << ch;
        i += len;
    }
    return found;
}

QString decode(QByteArrayView bytes) {
    {
        QStringDecoder whole("Shift_JIS");
        QString text = whole.decode(bytes);
        if (!whole.hasError() && !text.contains(QChar::ReplacementCharacter))
            return text;
    }
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const qsizetype len = (isLeadByte(b) && i + 1 < bytes.size()) ? 2 : 1;
        if (isLeadByte(b) && len == 1)
            break; // lone lead byte at the end: no character
        QStringDecoder one("Shift_JIS");
        const QString ch = one.decode(bytes.sliced(i, len));
        if (!one.hasError() && !ch.contains(QChar::ReplacementCharacter))
            out += ch;
        i += len;
    }
    return out;
}

} // namespace core::sjis

namespace core {

int lenB(const QString& text) {
    return int(sjis::encode(text).size());
}

QString midB(const QString& text, int start, int count) {
    const QByteArray bytes = sjis::encode(text);
    if (start < 1 || count <= 0 || start > bytes.size())
        return {};
    return sjis::decode(bytes.mid(start - 1, count));
}

} // namespace core
