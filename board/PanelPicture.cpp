#include "board/PanelPicture.h"

#include "board/Form1.h"
#include "board/degit/SegmentFace.h"
#include "core/Twips.h"
#include "platform/Fonts.h"

#include <QPainter>
#include <QPainterPath>

namespace PanelPicture {

namespace {
const QColor kFrame(0xC8, 0xC8, 0xC6);
const QColor kFrameEdge(0x9A, 0x9A, 0x98);
const QColor kFace(0xFF, 0xFF, 0xFF);
const QColor kCaption(0x30, 0x30, 0x30);
const QColor kBlock(0x4A, 0x4A, 0x4A);
const QColor kBlockEdge(0x2E, 0x2E, 0x2E);
const QColor kUnlit(0x62, 0x62, 0x62);
} // namespace

QImage digitBlock(const QSize& digits) {
    // The block with its one-pixel rim; the segments reach no further.
    QImage img(digits.width() + 2, digits.height() + 2, QImage::Format_RGB32);
    img.fill(kBlockEdge);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect r(1, 1, digits.width(), digits.height());
    p.fillRect(r, kBlock);
    const int cell = r.width() / 4;
    for (int i = 0; i < 4; ++i)
        SegmentFace::drawGlyph(p, QRectF(r.x() + i * cell, r.y() - 1, cell, r.height()), 0x7F, kUnlit,
                               SegmentFace::Face::A);
    return img;
}

QImage draw() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    img.fill(kFrame);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // Outer frame: light grey with a darker rim, corners rounded.
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), 8, 8);
    p.fillRect(img.rect(), QColor(0xC0, 0xC0, 0xC0));
    p.fillPath(outer, kFrame);
    p.setPen(QPen(kFrameEdge, 1));
    p.drawPath(outer);

    // White board face.
    const QRectF face(7.5, 6.5, kWidth - 15, kHeight - 13);
    QPainterPath facePath;
    facePath.addRoundedRect(face, 4, 4);
    p.fillPath(facePath, kFace);
    p.setPen(QPen(kFrameEdge, 1));
    p.drawPath(facePath);

    // Captions at the left edge: 整理券 small at the top, 運 beside the
    // first row, 賃 beside the fourth.
    const int leftEdge = core::twipsToPixels(810); // first column
    p.setPen(kCaption);
    p.setFont(platform::faceFont(platform::kFaceGothic, 7.5, true));
    p.drawText(QRect(9, 27, leftEdge - 12, 14), Qt::AlignCenter, QStringLiteral("整理券"));
    QFont big = platform::faceFont(platform::kFaceGothic, 24, true);
    p.setFont(big);
    const QRect row0 = core::twipsRect(0, 705, 0, 300);
    const QRect row3 = core::twipsRect(0, 2445, 0, 300);
    p.drawText(QRect(9, row0.center().y() - 20, leftEdge - 12, 40), Qt::AlignCenter, QStringLiteral("運"));
    p.drawText(QRect(9, row3.center().y() - 26, leftEdge - 12, 40), Qt::AlignCenter, QStringLiteral("賃"));

    // The fifty digit blocks, unlit segments only, where the fare digits lie.
    // All fifty are alike and sit on whole pixels: one is drawn and copied.
    const QImage block = digitBlock(QSize(core::twipsToPixels(Form1::degitRectTwips(1).width()),
                                          core::twipsToPixels(Form1::degitRectTwips(1).height())));
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int n = 1; n <= 50; ++n) {
        const QRect t = Form1::degitRectTwips(n);
        p.drawImage(core::twipsToPixels(t.x()) - 1, core::twipsToPixels(t.y()) - 1, block);
    }
    p.end();
    return img;
}

} // namespace PanelPicture
