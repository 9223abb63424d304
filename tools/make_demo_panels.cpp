// Draws the demo's user panel pictures for the backlight states ON1 and ON2:
//   make_demo_panels OUTDIR     -> OUTDIR/panel-on1.bmp, OUTDIR/panel-on2.jpg
// Both are 635 x 244, the board's size, with the digit windows exactly where
// the fare digits lie. ON1 is the panel lit from behind in daylight: a warm
// white face glowing brightest in the middle, with the faint bands of the
// tubes behind the diffuser. ON2 is the same panel at night, the face a deep
// blue. One is a BMP and one a JPEG, so the demo tries both kinds of file.
#include "board/Form1.h"
#include "board/PanelPicture.h"
#include "board/degit/SegmentFace.h"
#include "core/Twips.h"
#include "platform/Fonts.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

struct Look {
    QColor faceCentre; // brightest, behind the middle of the face
    QColor faceEdge;   // dimmest, at the corners
    QColor tubeLight;  // the bands of the tubes, drawn over the face
    QColor caption;    // 整理券, 運, 賃
    QColor window;     // the digit windows
    QColor unlit;      // the unlit segments seen through them
};

const QColor kFrame(0x2E, 0x30, 0x33);
const QColor kFrameLight(0x5A, 0x5E, 0x63);

QImage drawPanel(const Look& look) {
    const int w = PanelPicture::kWidth, h = PanelPicture::kHeight;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(0xC0, 0xC0, 0xC0)); // the board's grey beyond the corners
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);

    // A dark metal case with a light rim, its corners rounded like the
    // board's window.
    QPainterPath outer;
    outer.addRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 8, 8);
    p.fillPath(outer, kFrame);
    p.setPen(QPen(kFrameLight, 1));
    p.drawPath(outer);

    // The face: light spreading from the middle, three soft bands where the
    // tubes sit, and a thin shadow where the case overlaps it.
    const QRectF face(7.5, 6.5, w - 15, h - 13);
    QPainterPath facePath;
    facePath.addRoundedRect(face, 4, 4);
    QRadialGradient glow(face.center(), face.width() * 0.62);
    glow.setColorAt(0, look.faceCentre);
    glow.setColorAt(1, look.faceEdge);
    p.fillPath(facePath, glow);
    p.save();
    p.setClipPath(facePath);
    for (const qreal y : {0.22, 0.52, 0.82}) {
        QLinearGradient band(0, face.top() + face.height() * (y - 0.12), 0, face.top() + face.height() * (y + 0.12));
        QColor clear = look.tubeLight;
        clear.setAlpha(0);
        band.setColorAt(0, clear);
        band.setColorAt(0.5, look.tubeLight);
        band.setColorAt(1, clear);
        p.fillRect(QRectF(face.left(), face.top() + face.height() * (y - 0.12), face.width(), face.height() * 0.24),
                   band);
    }
    p.setPen(QPen(QColor(0, 0, 0, 90), 2));
    p.drawPath(facePath);
    p.restore();
    p.setPen(QPen(kFrameLight, 1));
    p.drawPath(facePath);

    // Captions where the built-in panel has them.
    const int leftEdge = core::twipsToPixels(810);
    p.setPen(look.caption);
    p.setFont(platform::faceFont(platform::kFaceGothic, 7.5, true));
    p.drawText(QRect(9, 27, leftEdge - 12, 14), Qt::AlignCenter, QStringLiteral("整理券"));
    p.setFont(platform::faceFont(platform::kFaceGothic, 24, true));
    const QRect row0 = core::twipsRect(0, 705, 0, 300);
    const QRect row3 = core::twipsRect(0, 2445, 0, 300);
    p.drawText(QRect(9, row0.center().y() - 20, leftEdge - 12, 40), Qt::AlignCenter, QStringLiteral("運"));
    p.drawText(QRect(9, row3.center().y() - 26, leftEdge - 12, 40), Qt::AlignCenter, QStringLiteral("賃"));

    // The fifty digit windows, with a light edge below them as the lit face
    // catches the bevel.
    for (int n = 1; n <= 50; ++n) {
        const QRect t = Form1::degitRectTwips(n);
        const QRect r = core::twipsRect(t.x(), t.y(), t.width(), t.height());
        p.setPen(Qt::NoPen);
        p.fillRect(r.adjusted(-2, -2, 2, 2), QColor(0, 0, 0, 110));
        p.fillRect(QRect(r.left() - 1, r.bottom() + 3, r.width() + 2, 1), QColor(255, 255, 255, 70));
        p.fillRect(r, look.window);
        const int cell = r.width() / 4;
        for (int i = 0; i < 4; ++i)
            SegmentFace::drawGlyph(p, QRectF(r.x() + i * cell, r.y() - 1, cell, r.height()), 0x7F, look.unlit,
                                   SegmentFace::Face::A);
    }
    p.end();
    return img;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_panels OUTDIR\n");
        return 2;
    }
    platform::installFontSubstitutions();
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    const Look day{QColor(0xFF, 0xFE, 0xF4), QColor(0xEC, 0xE6, 0xCC), QColor(255, 255, 250, 120),
                   QColor(0x1E, 0x1E, 0x1E), QColor(0x30, 0x30, 0x30), QColor(0x55, 0x55, 0x55)};
    const Look night{QColor(0x2E, 0x52, 0x8C), QColor(0x0F, 0x1C, 0x36), QColor(120, 170, 255, 60),
                     QColor(0xE6, 0xEE, 0xFF), QColor(0x10, 0x12, 0x16), QColor(0x30, 0x34, 0x3A)};
    const QString on1 = out.filePath(QStringLiteral("panel-on1.bmp"));
    const QString on2 = out.filePath(QStringLiteral("panel-on2.jpg"));
    if (!drawPanel(day).save(on1, "BMP") || !drawPanel(night).save(on2, "JPEG", 92)) {
        std::fprintf(stderr, "cannot write the pictures in %s\n", argv[1]);
        return 1;
    }
    std::printf("%s\n%s\n", qPrintable(on1), qPrintable(on2));
    return 0;
}
