#include "board/degit/M_Degit.h"

#include "board/degit/SegmentFace.h"
#include "core/PropertyBag.h"
#include "core/Twips.h"
#include "platform/ColorRef.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"

#include <QEvent>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

// Everything a drawn surface depends on. A board shows the same few fares
// over and over; a picture drawn once is taken again from the cache below
// instead of being drawn anew.
struct SurfaceKey {
    QString shown;
    QRgb back, unlit, lit;
    qint16 keta, degitSize, degitStyle;
    qint32 charExtra;
    bool bold;
    QSize device;
    qreal dpr;
    bool operator==(const SurfaceKey&) const = default;
};

size_t qHash(const SurfaceKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.shown, k.back, k.unlit, k.lit, k.keta, k.degitSize, k.degitStyle, k.charExtra, k.bold,
                      k.device.width(), k.device.height(), k.dpr);
}

// Pictures are a few kilobytes each; the cache starts over when full.
constexpr qsizetype kSurfaceCacheSize = 1024;

QHash<SurfaceKey, QImage>& surfaceCache() {
    static QHash<SurfaceKey, QImage> cache;
    return cache;
}

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
    }
}

double numberOf(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1.0 : 0.0;
    return v.toDouble();
}

bool isEmptyText(const QVariant& v) {
    return v.typeId() == QMetaType::QString && v.toString().isEmpty();
}

// Numeric text: a number with optional surrounding blanks.
bool readsAsNumber(const QVariant& v, double* out) {
    if (isNumber(v)) {
        *out = numberOf(v);
        return true;
    }
    if (v.typeId() != QMetaType::QString)
        return false;
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    if (ok)
        *out = d;
    return ok;
}

// The text of a value: whole numbers without a decimal part, others with up
// to 15 significant digits.
QString textOf(const QVariant& v) {
    if (!isNumber(v))
        return v.toString();
    const double d = numberOf(v);
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    return QString::number(d, 'g', 15);
}

// Formats a number with at least `digits` digits, rounding halves away from
// zero, as a "000" pattern does.
QString zeroFilled(double d, int digits) {
    const double r = std::round(d);
    const bool negative = r < 0;
    QString s = QString::number(qint64(std::fabs(r)));
    if (s.size() < digits)
        s = QString(digits - s.size(), QLatin1Char('0')) + s;
    return negative ? QLatin1Char('-') + s : s;
}

} // namespace

M_Degit::M_Degit(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    os_ = platform::helper().GetVersionEx();
    fontRule(os_, charExtra_, boldFont_);
    // The first drawing happens before any property is known.
    DrawDegit(QStringLiteral("0"), baseForeColor_, degitForeColor_);
    InitProperties();
    resizeForClass();
}

M_Degit::~M_Degit() = default;

void M_Degit::fontRule(const platform::OsVersionInfo& os, qint32& charExtra, bool& boldFont) {
    if (os.platformId == 1 || os.majorVersion == 4) {
        charExtra = 1;
        boldFont = false;
    } else {
        charExtra = 0;
        boldFont = true;
    }
}

int M_Degit::cellWidthTwips(qint16 degitSize) {
    switch (degitSize) {
    case 1: return 255;
    case 2: return 285;
    case 3: return 165;
    default: return 195;
    }
}

int M_Degit::heightTwips(qint16 degitSize) {
    switch (degitSize) {
    case 1: return 390;
    case 2: return 435;
    case 3: return 225;
    default: return 300;
    }
}

void M_Degit::InitProperties() {
    baseForeColor_ = kDefaultBaseForeColor;
    degitForeColor_ = kDefaultDegitForeColor;
    fillZero_ = 0;
    zeroMode_ = 0;
    shift_ = 0;
    keta_ = 4;
    degitSize_ = 0;
    degitStyle_ = 0;
    value_ = QVariant::fromValue<qint16>(0);
    userSet_ = true;
}

qint32 M_Degit::ShowSetDlg() {
    qint16 zero = zeroMode_, shift = shift_, fill = fillZero_;
    const qint32 result = platform::helper().Call_dlg100(this, keta_, zero, shift, fill);
    // The library's answer is taken as it is, without the setters' corrections.
    zeroMode_ = zero;
    shift_ = shift;
    fillZero_ = fill;
    DrawDegit(value_, baseForeColor_, degitForeColor_);
    return result;
}

void M_Degit::ResetDegit(bool nMode) {
    const qint16 shift = shift_, zero = zeroMode_, fill = fillZero_;
    setShift(0);
    setZeroMode(0);
    setFillZero(0);
    if (nMode)
        setValue(QString(std::max<int>(keta_, 0), QLatin1Char('8')));
    else
        setValue(QString());
    setShift(shift);
    setZeroMode(zero);
    setFillZero(fill);
}

void M_Degit::setBaseForeColor(quint32 c) {
    baseForeColor_ = c;
    Q_EMIT PropertyChanged(QStringLiteral("BaseForeColor"));
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

void M_Degit::setDegitForeColor(quint32 c) {
    degitForeColor_ = c;
    Q_EMIT PropertyChanged(QStringLiteral("DegitForeColor"));
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

void M_Degit::setFillZero(qint16 v) {
    fillZero_ = v > keta_ ? keta_ : v;
    Q_EMIT PropertyChanged(QStringLiteral("FillZero"));
}

void M_Degit::setZeroMode(qint16 v) {
    zeroMode_ = v >= 4 ? 0 : v;
    Q_EMIT PropertyChanged(QStringLiteral("ZeroMode"));
}

void M_Degit::setShift(qint16 v) {
    if (v > keta_ - 1)
        v = qint16(keta_ - 1);
    shift_ = v < 0 ? 0 : v;
    Q_EMIT PropertyChanged(QStringLiteral("Shift"));
}

void M_Degit::setKeta(qint16 v) {
    keta_ = (v < 1 || v > 15) ? 4 : v;
    Q_EMIT PropertyChanged(QStringLiteral("Keta"));
    resizeForClass();
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

void M_Degit::setDegitSize(qint16 v) {
    degitSize_ = (v >= 1 && v <= 3) ? v : 0;
    Q_EMIT PropertyChanged(QStringLiteral("DegitSize"));
    resizeForClass();
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

void M_Degit::setDegitStyle(qint16 v) {
    degitStyle_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("DegitStyle"));
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

void M_Degit::setValue(const QVariant& v) {
    value_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("Value"));
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

void M_Degit::setUserSet(bool v) {
    userSet_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("UserSet"));
}

void M_Degit::setBackColor(quint32 c) {
    backColor_ = c;
    Q_EMIT PropertyChanged(QStringLiteral("BackColor"));
    DrawDegit(value_, baseForeColor_, degitForeColor_);
}

qint32 M_Degit::hwnd() const {
    // A stable identifier of this control's surface for the helper library;
    // no native window is created for it.
    return qint32(reinterpret_cast<quintptr>(this) & 0x7FFFFFFF);
}

void M_Degit::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("BaseForeColor"), baseForeColor_, kDefaultBaseForeColor);
    bag.WriteProperty(QStringLiteral("DegitForeColor"), degitForeColor_, kDefaultDegitForeColor);
    bag.WriteProperty(QStringLiteral("FillZero"), fillZero_, qint16(0));
    bag.WriteProperty(QStringLiteral("ZeroMode"), zeroMode_, qint16(0));
    bag.WriteProperty(QStringLiteral("Shift"), shift_, qint16(0));
    bag.WriteProperty(QStringLiteral("Keta"), keta_, qint16(4));
    bag.WriteProperty(QStringLiteral("DegitSize"), degitSize_, qint16(0));
    bag.WriteProperty(QStringLiteral("DegitStyle"), degitStyle_, qint16(0));
    bag.WriteProperty(QStringLiteral("Value"), value_, QVariant::fromValue<qint16>(0));
    bag.WriteProperty(QStringLiteral("UserSet"), userSet_, true);
    bag.WriteProperty(QStringLiteral("BackColor"), backColor_, kDefaultBackColor);
}

void M_Degit::ReadProperties(const PropertyBag& bag) {
    auto u32 = [&](const char* key, quint32 def) { return bag.ReadProperty(QLatin1String(key), def).toUInt(); };
    auto i16 = [&](const char* key, qint16 def) { return qint16(bag.ReadProperty(QLatin1String(key), def).toInt()); };
    baseForeColor_ = u32("BaseForeColor", kDefaultBaseForeColor);
    degitForeColor_ = u32("DegitForeColor", kDefaultDegitForeColor);
    fillZero_ = i16("FillZero", 0);
    zeroMode_ = i16("ZeroMode", 0);
    shift_ = i16("Shift", 0);
    keta_ = i16("Keta", 4);
    degitSize_ = i16("DegitSize", 0);
    degitStyle_ = i16("DegitStyle", 0);
    value_ = bag.ReadProperty(QStringLiteral("Value"), QVariant::fromValue<qint16>(0));
    userSet_ = bag.ReadProperty(QStringLiteral("UserSet"), true).toBool();
    backColor_ = u32("BackColor", kDefaultBackColor);
    // A new background colour wipes the surface; nothing is drawn over it.
    drawn_ = false;
    clearSurface();
    update();
}

void M_Degit::resizeForClass() {
    resize(core::twipsToPixels(cellWidthTwips(degitSize_) * keta_), core::twipsToPixels(heightTwips(degitSize_)));
}

QString M_Degit::displayText(const QVariant& value) const {
    QVariant v = value;
    const bool number = isNumber(v);
    const bool isZero = number && numberOf(v) == 0;
    const bool isMinusOne = number && numberOf(v) == -1;
    const bool empty = isEmptyText(v);
    switch (zeroMode_) {
    case 0:
        if (isZero || empty)
            v = QString();
        break;
    case 1:
        if (isZero || empty)
            v = QVariant::fromValue<qint16>(0);
        break;
    case 2:
        if (isMinusOne)
            v = QVariant::fromValue<qint16>(0);
        else if (isZero)
            v = QString();
        break;
    case 3:
        if (isMinusOne || isZero || empty)
            v = QVariant::fromValue<qint16>(0);
        break;
    default: break; // negative modes substitute nothing
    }

    QString text = textOf(v);
    double d = 0;
    // A negative FillZero fills nothing.
    if (fillZero_ > 0 && readsAsNumber(v, &d))
        text = zeroFilled(d, fillZero_);
    if (shift_ >= 1)
        text += QString(shift_, QLatin1Char(' '));
    return text;
}

void M_Degit::ensureSurface() {
    const qreal dpr = devicePixelRatioF();
    const QSize device(std::max(1, int(std::lround(width() * dpr))), std::max(1, int(std::lround(height() * dpr))));
    if (surface_.size() != device || surface_.devicePixelRatio() != dpr) {
        surface_ = QImage(device, QImage::Format_RGB32);
        surface_.setDevicePixelRatio(dpr);
    }
}

void M_Degit::clearSurface() {
    ensureSurface();
    surface_.fill(platform::toQColor(backColor_));
}

void M_Degit::DrawDegit(const QVariant& value, quint32 unlit, quint32 lit) {
    drawing_ = {displayText(value), unlit, lit, keta_, degitSize_, degitStyle_, charExtra_, boldFont_};
    drawn_ = true;
    renderSurface();
    update();
}

void M_Degit::renderSurface() {
    if (!drawn_) {
        clearSurface();
        return;
    }
    const Drawing& d = drawing_;
    const int keta = std::max<int>(d.keta, 0);
    // The lit characters: the last Keta of the text.
    const QString shown = d.text.right(keta);

    ensureSurface();
    const SurfaceKey key{shown,
                         platform::toQColor(backColor_).rgb(),
                         platform::toQColor(d.unlit).rgb(),
                         platform::toQColor(d.lit).rgb(),
                         d.keta,
                         d.degitSize,
                         d.degitStyle,
                         d.charExtra,
                         d.bold,
                         surface_.size(),
                         surface_.devicePixelRatio()};
    QHash<SurfaceKey, QImage>& cache = surfaceCache();
    if (const auto it = cache.constFind(key); it != cache.constEnd()) {
        surface_ = *it;
        return;
    }
    clearSurface();

    const qreal dpr = surface_.devicePixelRatio();
    const double cell = core::twipsToPixels(cellWidthTwips(d.degitSize)) * dpr;
    const double extra = d.charExtra * dpr;
    const double advance = cell + extra;
    const double top = -1 * dpr;
    const double cellHeight = core::twipsToPixels(heightTwips(d.degitSize)) * dpr;
    const auto face = SegmentFace::faceForStyle(d.degitStyle);

    QPainter p(&surface_);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Draw in device pixels so the segment geometry snaps to real pixels.
    p.resetTransform();
    p.scale(1.0 / dpr, 1.0 / dpr);

    // Unlit pass: Keta "8"s from the left edge.
    const QColor unlitColor = platform::toQColor(d.unlit);
    for (int i = 0; i < keta; ++i)
        SegmentFace::drawGlyph(p, QRectF(i * advance, top, cell, cellHeight), 0x7F, unlitColor, face, d.bold);

    // Lit pass: right-aligned.
    const double w = std::round(shown.size() * advance);
    const double x0 = surface_.width() - w;
    const QColor litColor = platform::toQColor(d.lit);
    for (int i = 0; i < shown.size(); ++i)
        SegmentFace::drawGlyph(p, QRectF(x0 + i * advance, top, cell, cellHeight), SegmentFace::segmentsFor(shown[i]),
                               litColor, face, d.bold);
    p.end();

    if (cache.size() >= kSurfaceCacheSize)
        cache.clear();
    cache.insert(key, surface_);
}

void M_Degit::paintEvent(QPaintEvent*) {
    // A move to a screen with another pixel ratio redraws the same picture
    // at the new resolution; otherwise the kept image is only copied.
    if (surface_.devicePixelRatio() != devicePixelRatioF())
        renderSurface();
    QPainter p(this);
    p.drawImage(QPoint(0, 0), surface_);
}

void M_Degit::changeEvent(QEvent* event) {
    // A colour value with the top bit set follows the palette; the picture
    // has it baked in, so a new palette draws it again.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        renderSurface();
        update();
    }
    QWidget::changeEvent(event);
}

void M_Degit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    renderSurface();
}

void M_Degit::mousePressEvent(QMouseEvent* event) {
    // The control takes the mouse itself: a press here is the start of its
    // double-click, never a press on the window behind it (which would drag
    // the board).
    event->accept();
}

void M_Degit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT DblClick();
}
