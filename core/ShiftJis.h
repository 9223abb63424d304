#pragma once
// Shift-JIS (code page 932) is the encoding of everything that crosses into
// files, plug-ins and the helper-library operations; inside the program text
// is QString.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace core::sjis {

// Encodes text as Shift-JIS. A character the code page lacks but that has a
// customary Shift-JIS form takes that form (yen sign -> 0x5C, wave dash ->
// fullwidth tilde, minus sign -> fullwidth hyphen-minus, double vertical
// line -> parallel, em dash -> horizontal bar, not, cent and pound signs ->
// their fullwidth forms). Any other character the code page cannot represent
// becomes '?' (0x3F), as the Windows conversion does by default, so byte
// counts stay predictable: one byte for the replaced character.
QByteArray encode(QStringView text);

// The characters of text that Shift-JIS cannot represent, each once, in the
// order they first appear (a character outside the BMP is one entry of two
// UTF-16 units). Empty when the whole text encodes.
QStringList unencodable(QStringView text);

// Decodes Shift-JIS bytes. Bytes that form no character (a lone lead byte at
// the end, an invalid trail byte) are dropped rather than turned into U+FFFD.
QString decode(QByteArrayView bytes);

// True when the byte is the first byte of a two-byte Shift-JIS character.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace core::sjis

namespace core {

// Length of the text in Shift-JIS bytes.
int lenB(const QString& text);
// count bytes of the text's Shift-JIS form from the 1-based byte position
// start, decoded again; empty when the range lies outside the text.
QString midB(const QString& text, int start, int count);

} // namespace core
