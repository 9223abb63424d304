#include "platform/TicketRenderer.h"

#include "core/Twips.h"
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>
#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cmath>
#include <exception>

namespace ticket {

namespace {

ZXing::BarcodeFormat zxingFormat(Symbology symbology) {
    switch (symbology) {
    case Symbology::Nw7: return ZXing::BarcodeFormat::Codabar;
    case Symbology::Itf: return ZXing::BarcodeFormat::ITF;
    case Symbology::Code128: return ZXing::BarcodeFormat::Code128;
    case Symbology::Qr: return ZXing::BarcodeFormat::QRCode;
    }
    return ZXing::BarcodeFormat::None;
}

QString symbologyName(Symbology symbology) {
    switch (symbology) {
    case Symbology::Nw7: return QStringLiteral("NW-7");
    case Symbology::Itf: return QStringLiteral("ITF");
    case Symbology::Code128: return QStringLiteral("Code128");
    case Symbology::Qr: return QStringLiteral("QR");
    }
    return {};
}

QColor toColor(Argb argb) {
    return QColor::fromRgba(argb);
}

// Scale of the preview: ticket dots to pixels at a device pixel ratio of 1.
qreal previewScale(const TicketPlugin& p) {
    const qreal w = qreal(p.previewWidth) / core::kTwipsPerPixel;
    const qreal h = qreal(p.previewHeight) / core::kTwipsPerPixel;
    return std::min(w / p.width, h / p.height);
}

// Where ticket dots land in device pixels.
struct Placement {
    QPointF origin; // device pixels
    qreal k = 1;    // device pixels per dot

    int at(qreal base, int dots) const { return int(std::lround(base + dots * k)); }
    // Each edge rounded on its own, so neighbouring items meet exactly.
    QRect rect(int x, int y, int w, int h) const {
        const int left = at(origin.x(), x), top = at(origin.y(), y);
        return QRect(QPoint(left, top), QPoint(at(origin.x(), x + w) - 1, at(origin.y(), y + h) - 1));
    }
    int length(int dots) const { return std::max(1, int(std::lround(dots * k))); }
};

// A frame of width w inside r, as four filled rectangles: crisp at any size.
void frame(QPainter& painter, const QRect& r, int w, const QColor& color) {
    w = std::min({w, r.width() / 2 + 1, r.height() / 2 + 1});
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), color);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), color);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), color);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), color);
}

QFont itemFont(const QString& family, int pixels, bool bold) {
    QFont font;
    // A Windows face name is drawn with its installed stand-in, as elsewhere
    // in the program; any other face that is not installed falls back to the
    // Gothic face K27 ships with, which has every Japanese glyph.
    font.setFamilies({platform::installedFace(family), QStringLiteral("IPAGothic")});
    font.setPixelSize(std::max(1, pixels));
    font.setBold(bold);
    return font;
}

// Whether the face that stands for the font has a bold style of its own.
bool hasRealBold(const QFont& font) {
    const QString family = QFontInfo(font).family();
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(),
                       [&](const QString& style) { return QFontDatabase::weight(family, style) >= QFont::DemiBold; });
}

// Text in r, squeezed sideways when it is wider than r, as a ticket
// printer condenses a long stop name rather than cut it.
void drawFittedText(QPainter& painter, const QRect& r, const QString& text, const QFont& font, HAlign align,
                    VAlign valign, const QColor& color) {
    const QFontMetricsF metrics(font);
    const QStringList lines = text.split(QLatin1Char('\n'));
    qreal widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const qreal squeeze = widest > r.width() ? r.width() / widest : 1.0;
    const qreal boxWidth = r.width() / squeeze;

    painter.save();
    painter.setClipRect(r, Qt::IntersectClip);
    painter.translate(r.left(), r.top());
    painter.scale(squeeze, 1.0);
    if (!font.bold() || hasRealBold(font)) {
        int flags = align == HAlign::Left ? Qt::AlignLeft : align == HAlign::Right ? Qt::AlignRight : Qt::AlignHCenter;
        flags |= valign == VAlign::Top ? Qt::AlignTop : valign == VAlign::Bottom ? Qt::AlignBottom : Qt::AlignVCenter;
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRectF(0, 0, boxWidth, r.height()), flags, text);
    } else {
        // Faces without a bold style (the IPA faces) are emboldened by the
        // font engine only while glyphs are small enough for its cache;
        // large ticket numbers would come out thin. Outlines stroked by a
        // 24th of the size give the same weight at every size.
        QFont regular = font;
        regular.setBold(false);
        const QFontMetricsF m(regular);
        const qreal block = m.height() * lines.size();
        qreal baseline = (valign == VAlign::Top      ? 0
                          : valign == VAlign::Bottom ? r.height() - block
                                                     : (r.height() - block) / 2) +
                         m.ascent();
        QPainterPath path;
        for (const QString& line : lines) {
            const qreal w = m.horizontalAdvance(line);
            const qreal x = align == HAlign::Left ? 0 : align == HAlign::Right ? boxWidth - w : (boxWidth - w) / 2;
            path.addText(QPointF(x, baseline), regular, line);
            baseline += m.height();
        }
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(path, color);
        painter.strokePath(path, QPen(color, regular.pixelSize() / 24.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter.restore();
}

void drawBarcode(QPainter& painter, const QRect& r, const TicketPlugin& plugin, const TicketItem& item,
                 const TicketValues& values) {
    if (item.background)
        painter.fillRect(r, toColor(*item.background));
    // A value the bar code cannot carry leaves its place blank rather than
    // print a code that reads as another stop.
    const std::optional<QString> text =
        barcodeText(*plugin.barcode, values.route, values.ticketNumber, values.stopOrder);
    if (!text)
        return;
    const QString symbol = symbolText(item.symbology, *text);
    const Modules m = barcodeModules(item.symbology, symbol);
    if (m.isEmpty())
        return;

    const int captionHeight = item.caption ? std::max(6, int(std::lround(r.height() * 0.22))) : 0;
    const QRect area = r.adjusted(0, 0, 0, -captionHeight);
    const int quiet = quietZone(item.symbology);
    const QColor ink = toColor(item.color);
    if (item.symbology == Symbology::Qr) {
        const int unit = std::max(1, std::min(area.width(), area.height()) / (m.width + 2 * quiet));
        const int left = area.left() + (area.width() - m.width * unit) / 2;
        const int top = area.top() + (area.height() - m.height * unit) / 2;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width;) {
                int run = 0;
                while (x + run < m.width && m.at(x + run, y))
                    ++run;
                if (run > 0)
                    painter.fillRect(QRect(left + x * unit, top + y * unit, run * unit, unit), ink);
                x += std::max(run, 1);
            }
        }
    } else {
        const int unit = std::max(1, area.width() / (m.width + 2 * quiet));
        const int left = area.left() + (area.width() - m.width * unit) / 2;
        const int margin = std::max(1, area.height() / 12);
        const int top = area.top() + margin;
        const int height = std::max(1, area.height() - 2 * margin);
        for (int x = 0; x < m.width;) {
            int run = 0;
            while (x + run < m.width && m.at(x + run, 0))
                ++run;
            if (run > 0)
                painter.fillRect(QRect(left + x * unit, top, run * unit, height), ink);
            x += std::max(run, 1);
        }
    }
    if (captionHeight > 0) {
        const QRect band(r.left(), area.bottom() + 1, r.width(), captionHeight);
        drawFittedText(painter, band, symbol, itemFont(QStringLiteral("IPAGothic"), captionHeight * 9 / 10, false),
                       HAlign::Center, VAlign::Middle, ink);
    }
}

} // namespace

Modules barcodeModules(Symbology symbology, const QString& text) {
    if (text.isEmpty())
        return {};
    try {
        const ZXing::BitMatrix bits =
            ZXing::MultiFormatWriter(zxingFormat(symbology)).setMargin(0).encode(text.toStdString(), 0, 0);
        Modules m;
        m.width = bits.width();
        m.height = bits.height();
        m.dark.resize(size_t(m.width) * size_t(m.height));
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x)
                m.dark[size_t(y) * size_t(m.width) + size_t(x)] = bits.get(x, y);
        }
        return m;
    } catch (const std::exception&) {
        // The writer throws for text its symbology cannot carry.
        return {};
    }
}

int quietZone(Symbology symbology) {
    return symbology == Symbology::Qr ? 4 : 10;
}

void drawTicket(QPainter& painter, const TicketPlugin& plugin, const TicketValues& values) {
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const qreal s = previewScale(plugin);
    const qreal previewW = qreal(plugin.previewWidth) / core::kTwipsPerPixel;
    const qreal previewH = qreal(plugin.previewHeight) / core::kTwipsPerPixel;
    const QRectF logical((previewW - plugin.width * s) / 2, (previewH - plugin.height * s) / 2, plugin.width * s,
                         plugin.height * s);
    const QTransform toDevice = painter.deviceTransform();

    // From here on one unit is one device pixel: the painter's own scale
    // for the device pixel ratio is undone. What remains of the device
    // transform (a redirection offset) applies to both sides alike.
    painter.save();
    painter.resetTransform();
    painter.scale(1 / dpr, 1 / dpr);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF mapped = (toDevice * painter.deviceTransform().inverted()).mapRect(logical);
    Placement place;
    place.origin = QPointF(std::round(mapped.left()), std::round(mapped.top()));
    place.k = mapped.width() / plugin.width;

    // The paper, its items clipped to its outline, and the border on top,
    // so items that reach the edge never hide it.
    const QRect paper = place.rect(0, 0, plugin.width, plugin.height);
    const qreal radius = plugin.border ? plugin.border->radius * place.k : 0;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(paper), radius, radius);
    if (radius > 0) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.fillPath(outline, toColor(plugin.background));
        painter.restore();
    } else {
        painter.fillRect(paper, toColor(plugin.background));
    }
    painter.save();
    painter.setClipPath(outline, Qt::IntersectClip);
    for (const TicketItem& item : plugin.items) {
        const QRect r = place.rect(item.x, item.y, item.width, item.height);
        switch (item.kind) {
        case ItemKind::Box:
            if (item.background)
                painter.fillRect(r, toColor(*item.background));
            if (item.borderWidth > 0)
                frame(painter, r, place.length(item.borderWidth), toColor(item.borderColor));
            break;
        case ItemKind::Barcode:
            if (plugin.barcode) {
                painter.save();
                painter.setClipRect(r, Qt::IntersectClip);
                drawBarcode(painter, r, plugin, item, values);
                painter.restore();
            }
            break;
        default: {
            if (item.background)
                painter.fillRect(r, toColor(*item.background));
            const QString text = itemText(plugin, item, values);
            if (!text.isEmpty())
                drawFittedText(painter, r, text,
                               itemFont(item.fontFamily, int(std::lround(item.fontSize * place.k)), item.bold),
                               item.align, item.valign, toColor(item.color));
            break;
        }
        }
    }
    painter.restore();

    if (plugin.border) {
        const int w = place.length(plugin.border->width);
        if (radius > 0) {
            QPainterPath inner;
            const qreal innerRadius = std::max(0.0, radius - w);
            inner.addRoundedRect(QRectF(paper).adjusted(w, w, -w, -w), innerRadius, innerRadius);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.fillPath(outline.subtracted(inner), toColor(plugin.border->color));
        } else {
            frame(painter, paper, w, toColor(plugin.border->color));
        }
    }
    painter.restore();
}

QString barcodeFitProblem(const TicketPlugin& plugin) {
    if (!plugin.barcode)
        return {};
    // Every code of a plug-in has the same length, so the first one the
    // bar code can carry stands for all.
    const QString text = barcodeText(*plugin.barcode, 1, 0, plugin.barcode->stopFrom).value_or(QString());
    Placement place;
    place.k = previewScale(plugin);
    for (qsizetype i = 0; i < plugin.items.size(); ++i) {
        const TicketItem& item = plugin.items[i];
        if (item.kind != ItemKind::Barcode)
            continue;
        const QString where = QStringLiteral("ticket.items[%1]").arg(i);
        const QString name = symbologyName(item.symbology);
        const Modules m = barcodeModules(item.symbology, symbolText(item.symbology, text));
        if (m.isEmpty())
            return QStringLiteral("%1: %2 cannot carry \"%3\"").arg(where, name, text);
        const QRect r = place.rect(item.x, item.y, item.width, item.height);
        const int captionHeight = item.caption ? std::max(6, int(std::lround(r.height() * 0.22))) : 0;
        const int needed = m.width + 2 * quietZone(item.symbology);
        const int across =
            item.symbology == Symbology::Qr ? std::min(r.width(), r.height() - captionHeight) : r.width();
        if (across < needed)
            return QStringLiteral("%1: the %2 code needs %3 pixels (%4 modules and quiet zones of %5), "
                                  "the item has %6 at the preview's size")
                .arg(where, name)
                .arg(needed)
                .arg(m.width)
                .arg(quietZone(item.symbology))
                .arg(across);
        if (item.symbology != Symbology::Qr && r.height() - captionHeight < 10)
            return QStringLiteral("%1: the bars need a height of 10 pixels at the least").arg(where);
    }
    return {};
}

QStringList scanBarcodes(const QImage& image) {
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        QImage plain = image;
        plain.setDevicePixelRatio(1);
        p.drawImage(0, 0, plain);
    }
    const QImage paper = flat.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(paper.constBits(), paper.width(), paper.height(), ZXing::ImageFormat::Lum,
                                int(paper.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Codabar | ZXing::BarcodeFormat::ITF | ZXing::BarcodeFormat::Code128 |
                     ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    QStringList texts;
    for (const ZXing::Result& result : ZXing::ReadBarcodes(view, hints)) {
        if (result.isValid())
            texts << QString::fromStdString(result.text());
    }
    return texts;
}

} // namespace ticket
