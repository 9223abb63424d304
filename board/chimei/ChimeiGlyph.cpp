#include "board/chimei/ChimeiGlyph.h"

#include "core/ShiftJis.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"

#include <QPainter>

namespace chimei {

namespace {

// Pieces drawn transposed: their horizontal forms mirrored on the main
// diagonal become the vertical forms used in vertical writing.
bool isTransposed(const QString& piece) {
    static const QStringList set = {
        QStringLiteral("（"), QStringLiteral("）"), QStringLiteral("『"), QStringLiteral("』"), QStringLiteral("〔"),
        QStringLiteral("〕"), QStringLiteral("「"), QStringLiteral("」"), QStringLiteral("［"), QStringLiteral("］"),
        QStringLiteral("＜"), QStringLiteral("＞"), QStringLiteral("｛"), QStringLiteral("｝"), QStringLiteral("〈"),
        QStringLiteral("〉"), QStringLiteral("《"), QStringLiteral("》"), QStringLiteral("【"), QStringLiteral("】"),
        QStringLiteral("～"), QStringLiteral("＝"), QStringLiteral("→"),  QStringLiteral("←"),  QStringLiteral("⇒"),
        QStringLiteral("⇔"),  QStringLiteral("－")};
    return set.contains(piece);
}

// The glyph box's font: 12 points (16 pixels), drawn without antialiasing so
// that every pixel is either ink or background.
QFont glyphFont(const QString& face, bool bold) {
    QFont f = platform::faceFont(face, 12, bold);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

// Baseline of a 16-pixel glyph whose pen is at the top of the box.
constexpr int kBaseline = 14;

// Length of the code point starting at i (a surrogate pair counts as one).
qsizetype codePointLength(const QString& s, qsizetype i) {
    return (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ? 2 : 1;
}

} // namespace

PieceForm pieceForm(const QString& piece, qint16 fontMode) {
    PieceForm form{piece};
    if (piece == QStringLiteral("ー")) {
        // The long-vowel mark stands upright in vertical writing.
        form.drawn = QStringLiteral("丨");
    } else if (piece == QStringLiteral("申") || piece == QStringLiteral("山")) {
        // These two sit one pixel left of centre in the Gothic face.
        form.xOffset = fontMode == 0 ? 1 : 0;
    } else if (isTransposed(piece)) {
        form.transposed = true;
    } else if (piece == QStringLiteral("。") || piece == QStringLiteral("、")) {
        // Small punctuation goes to the upper right of its cell.
        form.xOffset = 10;
        form.yOffset = -10;
    }
    return form;
}

QString faceForPiece(const QString& piece, qint16 fontMode) {
    if (fontMode < 1 || fontMode > 4)
        return platform::kFaceGothic;
    if (fontMode == 1)
        return platform::kFaceMincho;

    // The Shift-JIS code of the first character: double-byte codes below
    // 0x889F are symbols, letters and kana; the rest, and every single-byte
    // character, count as kanji.
    quint32 code = 0;
    bool kanji = true;
    if (!piece.isEmpty()) {
        const QByteArray bytes = core::sjis::encode(QStringView(piece).first(codePointLength(piece, 0)));
        const auto b0 = bytes.isEmpty() ? 0u : quint32(static_cast<unsigned char>(bytes[0]));
        if (bytes.size() >= 2 && core::sjis::isLeadByte(uchar(b0))) {
            code = (b0 << 8) | static_cast<unsigned char>(bytes[1]);
            kanji = code >= 0x889F;
        } else {
            code = b0;
        }
    }
    switch (fontMode) {
    case 2: return kanji ? platform::kFaceGothic : platform::kFaceMincho;
    case 3: return kanji ? platform::kFaceMincho : platform::kFaceGothic;
    default: // 4: full-width digits and Latin letters in Gothic
        return (code >= 0x824F && code <= 0x829A) ? platform::kFaceGothic : platform::kFaceMincho;
    }
}

void renderPiece(QImage& box, const QString& piece, const QString& face, bool bold, int xOffset, int yOffset) {
    QPainter p(&box);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(glyphFont(face, bold));
    p.setPen(Qt::black);
    p.drawText(QPoint(xOffset, yOffset + kBaseline), piece);
}

bool isInk(const QImage& box, int x, int y) {
    return (box.pixel(x, y) & 0x00FFFFFF) == 0;
}

Glyph rasterise(const QString& piece, const QString& face, bool bold, int xOffset, int yOffset) {
    QImage box(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    box.fill(Qt::white);
    renderPiece(box, piece, face, bold, xOffset, yOffset);
    Glyph ink{};
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x)
            ink[y][x] = isInk(box, x, y);
    return ink;
}

QStringList splitPieces(const QString& text, int maxPieces) {
    auto& helper = platform::helper();
    QStringList pieces;
    qsizetype i = 0;
    while (i < text.size() && pieces.size() < maxPieces) {
        qsizetype len = codePointLength(text, i);
        int bytes = helper.LenB_ASCII(text.mid(i, len));
        // A half-width character shares its cell with a half-width
        // successor; before a full-width one it keeps a cell to itself.
        if (bytes == 1 && i + len < text.size()) {
            const qsizetype nextLen = codePointLength(text, i + len);
            if (helper.LenB_ASCII(text.mid(i + len, nextLen)) == 1) {
                len += nextLen;
                bytes = 2;
            }
        }
        // Taken back through Shift-JIS, so that a character outside the
        // code page shows as the "?" it is stored as.
        pieces << helper.MidB_ASCII(text.mid(i, len), 1, bytes);
        i += len;
    }
    return pieces;
}

} // namespace chimei
