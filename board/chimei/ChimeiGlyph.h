#pragma once
// Turning a stop name into dot patterns: cutting it into the pieces that
// fill one cell each, the vertical-writing form of each piece, the face it
// is drawn in, and the 16 x 16 pattern a piece leaves in the glyph box.
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>

namespace chimei {

constexpr int kGlyphSize = 16;
// A glyph box read back: true where the pixel is inked, [y][x].
using Glyph = std::array<std::array<bool, kGlyphSize>, kGlyphSize>;

// How a piece is drawn in its cell in vertical writing.
struct PieceForm {
    QString drawn;   // the character actually printed
    int xOffset = 0; // pen position inside the glyph box
    int yOffset = 0;
    bool transposed = false; // mirrored on the main diagonal
};
PieceForm pieceForm(const QString& piece, qint16 fontMode);

// The face a piece is drawn in under a font mode, by the Shift-JIS code of
// its first character.
QString faceForPiece(const QString& piece, qint16 fontMode);

// Prints a piece into a glyph box (white background, black ink), its pen
// at (xOffset, yOffset).
void renderPiece(QImage& box, const QString& piece, const QString& face, bool bold, int xOffset, int yOffset);
// Whether the glyph box pixel is ink (black).
bool isInk(const QImage& box, int x, int y);
// A piece rasterised in a fresh glyph box.
Glyph rasterise(const QString& piece, const QString& face, bool bold, int xOffset, int yOffset);

// The pieces of a name, each drawn into one cell: a full-width character,
// or two half-width characters side by side, or a half-width character that
// has no half-width partner. At most maxPieces are returned.
QStringList splitPieces(const QString& text, int maxPieces);

} // namespace chimei
