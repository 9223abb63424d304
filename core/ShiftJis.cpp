#include "core/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace core::sjis {

namespace {

// UTF-16 units of the code point starting at i: 2 for a surrogate pair.
qsizetype codePointLength(QStringView text, qsizetype i) {
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
}

// Characters the code page lacks whose customary Shift-JIS form is a close
// neighbour: text typed or pasted from sources that use the JIS mappings (a
// yen sign as the path separator, the wave dash, the minus sign) keeps its
// meaning instead of turning into '?'.
char16_t customaryFallback(char16_t c) {
    switch (c) {
    case u'\u00A5': return u'\\';     // YEN SIGN -> the code page's 0x5C
    case u'\u301C': return u'\uFF5E'; // WAVE DASH -> FULLWIDTH TILDE
    case u'\u2212': return u'\uFF0D'; // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    case u'\u2016': return u'\u2225'; // DOUBLE VERTICAL LINE -> PARALLEL TO
    case u'\u2014': return u'\u2015'; // EM DASH -> HORIZONTAL BAR
    case u'\u00AC': return u'\uFFE2'; // NOT SIGN -> FULLWIDTH NOT SIGN
    case u'\u00A2': return u'\uFFE0'; // CENT SIGN -> FULLWIDTH CENT SIGN
    case u'\u00A3': return u'\uFFE1'; // POUND SIGN -> FULLWIDTH POUND SIGN
    default: return 0;
    }
}

// One code point in Shift-JIS, or nothing when the code page has no code.
// The encoder is reused from character to character, as opening a converter
// costs far more than converting one character; one that has met a
// character it cannot encode is dropped (its error state does not reset
// reliably) and the next call opens a fresh one.
QByteArray encodeOne(std::optional<QStringEncoder>& one, QStringView codePoint) {
    if (!one)
        one.emplace("Shift_JIS");
    const QByteArray bytes = one->encode(codePoint);
    if (!one->hasError())
        return bytes;
    one.reset();
    return {};
}

// One code point in Shift-JIS: its own code, else its customary form's,
// else nothing.
QByteArray encodeWithFallback(std::optional<QStringEncoder>& one, QStringView codePoint) {
    QByteArray bytes = encodeOne(one, codePoint);
    if (bytes.isEmpty() && codePoint.size() == 1) {
        if (const char16_t substitute = customaryFallback(codePoint[0].unicode()))
            bytes = encodeOne(one, QStringView(&substitute, 1));
    }
    return bytes;
}
} // namespace

QByteArray encode(QStringView text) {
    QStringEncoder encoder("Shift_JIS");
    QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return whole;

    // Some character has no code: encode one code point at a time so that
    // exactly the unrepresentable ones get their customary form or '?'.
    QByteArray out;
    out.reserve(text.size() * 2);
    std::optional<QStringEncoder> one;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        const QByteArray bytes = encodeWithFallback(one, text.mid(i, len));
        out += bytes.isEmpty() ? QByteArray("?") : bytes;
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
    std::optional<QStringEncoder> one;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        const QString ch = text.mid(i, len).toString();
        if (encodeWithFallback(one, ch).isEmpty() && !found.contains(ch))
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
    std::optional<QStringDecoder> one;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const qsizetype len = (isLeadByte(b) && i + 1 < bytes.size()) ? 2 : 1;
        if (isLeadByte(b) && len == 1)
            break; // lone lead byte at the end: no character
        // As in encodeOne: one decoder while the characters decode, a fresh
        // one after each that does not.
        if (!one)
            one.emplace("Shift_JIS");
        const QString ch = one->decode(bytes.sliced(i, len));
        if (!one->hasError() && !ch.contains(QChar::ReplacementCharacter))
            out += ch;
        else
            one.reset();
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
