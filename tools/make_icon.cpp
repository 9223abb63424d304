// Draws K27's application icon, a small fare board: a dark case around a
// lit white face with six digit windows, amber fares lit in them and green
// ticket numbers above. The same list of shapes is written as SVG and
// painted into PNG files, so the two never differ:
//   make_icon NAME OUTDIR   -> OUTDIR/scalable/apps/NAME.svg,
//                              OUTDIR/<n>x<n>/apps/NAME.png for the usual sizes
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

namespace {

constexpr int kGrid = 256; // the drawing's own units

struct Shape {
    QRectF rect;
    qreal radius = 0;
    QColor fill;
    QColor stroke = Qt::transparent;
    qreal strokeWidth = 0;
};

const QColor kCase(0x2E, 0x30, 0x33);
const QColor kRim(0x6A, 0x6E, 0x74);
const QColor kFace(0xFF, 0xFC, 0xEE);
const QColor kWindow(0x2A, 0x2A, 0x2A);
const QColor kLit(0xF8, 0xD2, 0x72); // the board's lit segments
const QColor kNumber(0x00, 0xA8, 0x00);

// The bars of a seven-segment character in a cell: a top, b upper right, c
// lower right, d bottom, e lower left, f upper left, g middle.
void digit(std::vector<Shape>& out, const QRectF& cell, const char* segments, const QColor& colour) {
    const qreal t = cell.width() * 0.22; // bar thickness
    const qreal w = cell.width(), h = cell.height(), x = cell.x(), y = cell.y();
    const qreal mid = y + (h - t) / 2;
    for (const char* s = segments; *s; ++s) {
        QRectF r;
        switch (*s) {
        case 'a': r = {x, y, w, t}; break;
        case 'b': r = {x + w - t, y, t, (h + t) / 2}; break;
        case 'c': r = {x + w - t, mid, t, (h + t) / 2}; break;
        case 'd': r = {x, y + h - t, w, t}; break;
        case 'e': r = {x, mid, t, (h + t) / 2}; break;
        case 'f': r = {x, y, t, (h + t) / 2}; break;
        case 'g': r = {x, mid, w, t}; break;
        default: continue;
        }
        out.push_back({r, t * 0.3, colour});
    }
}

const char* segmentsOf(char c) {
    switch (c) {
    case '0': return "abcdef";
    case '1': return "bc";
    case '2': return "abdeg";
    case '3': return "abcdg";
    case '4': return "bcfg";
    case '5': return "acdfg";
    case '6': return "acdefg";
    case '7': return "abc";
    case '8': return "abcdefg";
    case '9': return "abcdfg";
    default: return "";
    }
}

std::vector<Shape> icon() {
    std::vector<Shape> s;
    s.push_back({QRectF(12, 36, 232, 184), 22, kCase, kRim, 4});
    s.push_back({QRectF(26, 50, 204, 156), 10, kFace});
    // Two rows of three digit windows, each under its ticket number and
    // showing a fare's first two digits, lit.
    const char numbers[] = "123456";
    const char* fares[] = {"17", "19", "21", "23", "26", "29"};
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int i = row * 3 + col;
            const qreal x = 38 + col * 62, y = 78 + row * 66;
            digit(s, QRectF(x + 23, y - 21, 10, 16), segmentsOf(numbers[i]), kNumber);
            s.push_back({QRectF(x, y, 56, 40), 4, kWindow});
            for (int k = 0; k < 2; ++k)
                digit(s, QRectF(x + 8 + k * 22, y + 6, 18, 28), segmentsOf(fares[i][k]), kLit);
        }
    }
    return s;
}

QString svgColour(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QByteArray svg(const std::vector<Shape>& shapes) {
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                 "viewBox=\"0 0 %1 %1\">\n")
                      .arg(kGrid);
    for (const Shape& s : shapes) {
        out += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"")
                   .arg(s.rect.x())
                   .arg(s.rect.y())
                   .arg(s.rect.width())
                   .arg(s.rect.height())
                   .arg(s.radius)
                   .arg(svgColour(s.fill));
        if (s.strokeWidth > 0)
            out += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"").arg(svgColour(s.stroke)).arg(s.strokeWidth);
        out += QStringLiteral("/>\n");
    }
    out += QStringLiteral("</svg>\n");
    return out.toUtf8();
}

QImage png(const std::vector<Shape>& shapes, int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(qreal(size) / kGrid, qreal(size) / kGrid);
    for (const Shape& s : shapes) {
        p.setBrush(s.fill);
        // A stroke is centred on the outline, as in SVG.
        p.setPen(s.strokeWidth > 0 ? QPen(s.stroke, s.strokeWidth) : QPen(Qt::NoPen));
        p.drawRoundedRect(s.rect, s.radius, s.radius);
    }
    p.end();
    return img;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon NAME OUTDIR\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[1]);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const std::vector<Shape> shapes = icon();

    const QString scalable = out.filePath(QStringLiteral("scalable/apps"));
    QFile file(scalable + u'/' + name + QStringLiteral(".svg"));
    if (!QDir().mkpath(scalable) || !file.open(QIODevice::WriteOnly) || file.write(svg(shapes)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    file.close();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = out.filePath(QStringLiteral("%1x%1/apps").arg(size));
        const QString path = folder + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !png(shapes, size).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
