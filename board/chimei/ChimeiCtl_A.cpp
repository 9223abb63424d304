#include "board/chimei/ChimeiCtl_A.h"

#include "core/PropertyBag.h"
#include "core/ShiftJis.h"
#include "platform/Clock.h"
#include "platform/ColorRef.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

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

void renderGlyph(QImage& box, const QString& piece, const QString& face, bool bold, int x, int y) {
    QPainter p(&box);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(glyphFont(face, bold));
    p.setPen(Qt::black);
    p.drawText(QPoint(x, y + kBaseline), piece);
}

bool isInk(const QImage& box, int x, int y) {
    return (box.pixel(x, y) & 0x00FFFFFF) == 0;
}

// Length of the code point starting at i (a surrogate pair counts as one).
qsizetype codePointLength(const QString& s, qsizetype i) {
    return (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ? 2 : 1;
}

} // namespace

ChimeiCtl_A::ChimeiCtl_A(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kDesignWidth, kDesignHeight);
    glyph_ = QImage(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    glyph_.fill(Qt::white);
    frameTimer_ = new QTimer(this);
    frameTimer_->setSingleShot(true);
    connect(frameTimer_, &QTimer::timeout, this, &ChimeiCtl_A::tick);
    resizeSurface(kColumnHeight);
    initialFaceName_ = font().family();
    InitProperties();
}

ChimeiCtl_A::~ChimeiCtl_A() = default;

// ---------------------------------------------------------------------------
// Properties

void ChimeiCtl_A::setBackColor(quint32 c) {
    backColor_ = c;
    // Only the background changes: dots already drawn keep their colour.
    if (!surface_.isNull())
        surface_.setColor(0, platform::toQColor(c).rgb());
    update();
    Q_EMIT PropertyChanged(QStringLiteral("BackColor"));
}

void ChimeiCtl_A::setForeColor(quint32 c) {
    foreColor_ = c;
    Q_EMIT PropertyChanged(QStringLiteral("ForeColor"));
}

void ChimeiCtl_A::setSpeed(qint16 v) {
    rebase();
    speed_ = v;
    schedule();
    Q_EMIT PropertyChanged(QStringLiteral("Speed"));
}

void ChimeiCtl_A::setScrollStartWait(qint32 v) {
    // Pauses already under way keep their length.
    rebase();
    scrollStartWait_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("ScrollStartWait"));
}

void ChimeiCtl_A::setMode(qint16 v) {
    mode_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("Mode"));
}

void ChimeiCtl_A::setAppearance(qint16 v) {
    rebase();
    appearance_ = v != 0 ? 1 : 0;
    frameSize_ = appearance_ ? QSize(37, 195) : QSize(35, 185);
    if (!surface_.isNull())
        surface_.setColor(0, platform::toQColor(backColor_).rgb());
    update();
    schedule();
    Q_EMIT PropertyChanged(QStringLiteral("Appearance"));
}

void ChimeiCtl_A::setFontMode(qint16 v) {
    fontMode_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("FontMode"));
}

void ChimeiCtl_A::setFontBold(bool v) {
    fontBold_ = v;
    Q_EMIT PropertyChanged(QStringLiteral("FontBold"));
}

void ChimeiCtl_A::InitProperties() {
    backColor_ = kDefaultBackColor;
    foreColor_ = kDefaultForeColor;
    speed_ = kDefaultSpeed;
    scrollStartWait_ = kDefaultScrollStartWait;
    mode_ = 0;
    fontMode_ = 0;
    fontBold_ = false;
    if (!surface_.isNull())
        surface_.setColor(0, platform::toQColor(backColor_).rgb());
}

void ChimeiCtl_A::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("BackColor"), backColor_, kDefaultBackColor);
    bag.WriteProperty(QStringLiteral("ForeColor"), foreColor_, kDefaultForeColor);
    bag.WriteProperty(QStringLiteral("Speed"), speed_, kDefaultSpeed);
    bag.WriteProperty(QStringLiteral("ScrollStartWait"), scrollStartWait_, kDefaultScrollStartWait);
    bag.WriteProperty(QStringLiteral("Mode"), mode_, qint16(0));
    bag.WriteProperty(QStringLiteral("Appearance"), appearance_, qint16(1));
    bag.WriteProperty(QStringLiteral("FontMode"), fontMode_, qint16(0));
    bag.WriteProperty(QStringLiteral("FontBold"), fontBold_, false);
}

void ChimeiCtl_A::ReadProperties(const PropertyBag& bag) {
    auto i16 = [&](const char* key, qint16 def) { return qint16(bag.ReadProperty(QLatin1String(key), def).toInt()); };
    rebase();
    backColor_ = bag.ReadProperty(QStringLiteral("BackColor"), kDefaultBackColor).toUInt();
    foreColor_ = bag.ReadProperty(QStringLiteral("ForeColor"), kDefaultForeColor).toUInt();
    speed_ = i16("Speed", kDefaultSpeed);
    scrollStartWait_ = bag.ReadProperty(QStringLiteral("ScrollStartWait"), kDefaultScrollStartWait).toInt();
    mode_ = i16("Mode", 0);
    // The border style only: the frame keeps its size.
    appearance_ = i16("Appearance", 1) != 0 ? 1 : 0;
    fontMode_ = i16("FontMode", 0);
    fontBold_ = bag.ReadProperty(QStringLiteral("FontBold"), false).toBool();
    if (!surface_.isNull())
        surface_.setColor(0, platform::toQColor(backColor_).rgb());
    update();
    schedule();
}

// ---------------------------------------------------------------------------
// Drawing

void ChimeiCtl_A::Refresh() {
    update();
}

void ChimeiCtl_A::resizeSurface(int height) {
    surfaceHeight_ = height;
    surface_ = QImage(kSurfaceWidth, height, QImage::Format_Indexed8);
    clearSurface();
}

void ChimeiCtl_A::clearSurface() {
    if (surface_.isNull())
        return;
    surface_.setColorTable({platform::toQColor(backColor_).rgb()});
    surface_.fill(0);
}

uchar ChimeiCtl_A::colorIndex(quint32 color) {
    const QRgb rgb = platform::toQColor(color).rgb();
    QList<QRgb> table = surface_.colorTable();
    for (qsizetype i = 1; i < table.size(); ++i)
        if (table[i] == rgb)
            return uchar(i);
    if (table.size() < 256) {
        table.append(rgb);
        surface_.setColorTable(table);
        return uchar(table.size() - 1);
    }
    // 255 dot colours since the last clear: the newest takes the last slot.
    surface_.setColor(255, rgb);
    return 255;
}

QString ChimeiCtl_A::faceForPiece(const QString& piece, qint16 fontMode) {
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

std::array<std::array<bool, ChimeiCtl_A::kGlyphSize>, ChimeiCtl_A::kGlyphSize>
ChimeiCtl_A::rasterise(const QString& piece, const QString& face, bool bold, int xOffset, int yOffset) {
    QImage box(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    box.fill(Qt::white);
    renderGlyph(box, piece, face, bold, xOffset, yOffset);
    std::array<std::array<bool, kGlyphSize>, kGlyphSize> ink{};
    for (int y = 0; y < kGlyphSize; ++y)
        for (int x = 0; x < kGlyphSize; ++x)
            ink[y][x] = isInk(box, x, y);
    return ink;
}

void ChimeiCtl_A::DrawDot16(qint32 X, qint32 Y, const QString& strText) {
    glyph_.fill(Qt::white);
    if (strText.isEmpty())
        return;

    QString drawn = strText;
    int xOffset = 0, yOffset = 0;
    bool transposed = false;
    if (strText == QStringLiteral("ー")) {
        // The long-vowel mark stands upright in vertical writing.
        drawn = QStringLiteral("丨");
    } else if (strText == QStringLiteral("申") || strText == QStringLiteral("山")) {
        // These two sit one pixel left of centre in the Gothic face.
        xOffset = fontMode_ == 0 ? 1 : 0;
    } else if (isTransposed(strText)) {
        transposed = true;
    } else if (strText == QStringLiteral("。") || strText == QStringLiteral("、")) {
        // Small punctuation goes to the upper right of its cell.
        xOffset = 10;
        yOffset = -10;
    }

    renderGlyph(glyph_, drawn, faceForPiece(drawn, fontMode_), fontBold_, xOffset, yOffset);
    drawPieceDots(X, Y, transposed);
    update();
}

void ChimeiCtl_A::drawPieceDots(qint32 X, qint32 Y, bool transposed) {
    if (surface_.isNull())
        return;
    const uchar index = colorIndex(foreColor_);
    const qint64 w = surface_.width(), h = surface_.height();
    for (int gy = 0; gy < kGlyphSize; ++gy) {
        for (int gx = 0; gx < kGlyphSize; ++gx) {
            if (!isInk(glyph_, gx, gy))
                continue;
            const qint64 x = qint64(X) + 2 * (transposed ? gy : gx);
            const qint64 y = qint64(Y) + 2 * (transposed ? gx : gy);
            if (x < 0 || y < 0 || x >= w || y >= h)
                continue;
            surface_.scanLine(int(y))[x] = index;
        }
    }
}

QStringList ChimeiCtl_A::splitPieces(const QString& text, int maxPieces) {
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

void ChimeiCtl_A::SetChimei(const QString& strText) {
    QCoreApplication::processEvents();

    clearSurface();
    update();
    if (strText.isEmpty())
        return; // a running scroll goes on over the blank column

    const quint64 generation = ++generation_;
    text_ = strText;
    // Freeze any running scroll while the new name is drawn.
    phase_ = Phase::Idle;
    frameTimer_->stop();
    top_ = 0;

    const int bytes = platform::helper().LenB_ASCII(strText);
    const QStringList pieces = splitPieces(strText);
    // A lone half-width character is the one name without a whole cell.
    const int n = bytes == 1 ? 0 : int(pieces.size());

    int first = 0, pitch = 0;
    switch (n) {
    case 0:
        first = 0;
        pitch = 0;
        break;
    case 1:
        first = 80;
        pitch = 0;
        break;
    case 2:
        if (mode_ == 2) {
            first = 48;
            pitch = 64;
        } else {
            first = 32;
            pitch = 96;
        }
        break;
    case 3:
        first = 16;
        pitch = 64;
        break;
    case 4:
        first = 8;
        pitch = 48;
        break;
    case 5:
        first = 4;
        pitch = 38;
        break;
    default:
        first = 0;
        pitch = kCellPitch;
        break;
    }
    resizeSurface(n >= 7 ? kCellPitch * n : kColumnHeight);

    for (qsizetype k = 0; k < pieces.size(); ++k)
        DrawDot16(2, qint32(first + k * pitch), pieces[k]);

    QCoreApplication::processEvents();
    // Another name arrived meanwhile and has already settled the display.
    if (generation != generation_)
        return;

    stopScroll_ = true;
    if (n >= 7) {
        stopScroll_ = false;
        startScrolling();
    } else {
        stopScrolling();
    }
}

// ---------------------------------------------------------------------------
// Scrolling

void ChimeiCtl_A::stopScrolling() {
    phase_ = Phase::Idle;
    firstPause_ = false;
    top_ = 0;
    frameTimer_->stop();
    update();
}

void ChimeiCtl_A::startScrolling() {
    top_ = 0;
    phase_ = Phase::Pausing;
    firstPause_ = true;
    pauseEnd_ = platform::clock().elapsedMs() + std::max<qint32>(scrollStartWait_, 0);
    update();
    schedule();
}

int ChimeiCtl_A::wrapDistance() const {
    return surfaceHeight_ + frameSize_.height();
}

// The first step (counted from the start of a moving stretch at p0) after
// which the name has travelled one frame height past the frame: upwards its
// bottom is a frame height above the frame's top; downwards, for a negative
// speed, it has moved the same distance below its starting place.
qint64 ChimeiCtl_A::wrapStep(double p0) const {
    const double s = stepSize();
    const int d = wrapDistance();
    auto reached = [&](qint64 k) {
        const long top = std::lround(p0 - double(k) * s);
        return s > 0 ? top <= -d : top >= d;
    };
    const double estimate = s > 0 ? (p0 + d - 0.5) / s : (d - 0.5 - p0) / -s;
    qint64 k = std::max<qint64>(1, qint64(std::ceil(estimate)));
    while (k > 1 && reached(k - 1))
        --k;
    while (!reached(k))
        ++k;
    return k;
}

void ChimeiCtl_A::advanceTo(qint64 now) {
    bool speedRaised = false;
    const qint64 wait = std::max<qint32>(scrollStartWait_, 0);
    while (phase_ != Phase::Idle) {
        if (phase_ == Phase::Pausing) {
            if (now < pauseEnd_) {
                top_ = 0;
                break;
            }
            if (firstPause_) {
                firstPause_ = false;
                if (speed_ == 0) {
                    speed_ = 1;
                    speedRaised = true;
                }
            } else if (speed_ != 0) {
                // Every round after a wrap is alike: skip the whole ones.
                const qint64 cycle = wrapStep(0) + wait;
                pauseEnd_ += (now - pauseEnd_) / cycle * cycle;
            }
            phase_ = Phase::Moving;
            t0_ = pauseEnd_;
            p0_ = 0;
        }

        const qint64 steps = now - t0_;
        if (speed_ == 0 || steps <= 0) {
            top_ = int(std::lround(p0_));
            break;
        }
        const qint64 k = wrapStep(p0_);
        if (k <= steps) {
            phase_ = Phase::Pausing;
            pauseEnd_ = t0_ + k + wait;
            p0_ = 0;
            top_ = 0;
            continue;
        }
        top_ = int(std::lround(p0_ - double(steps) * stepSize()));
        break;
    }
    if (speedRaised)
        Q_EMIT PropertyChanged(QStringLiteral("Speed"));
}

void ChimeiCtl_A::rebase() {
    if (phase_ == Phase::Idle)
        return;
    const qint64 now = platform::clock().elapsedMs();
    advanceTo(now);
    if (phase_ == Phase::Moving) {
        p0_ -= double(now - t0_) * stepSize();
        t0_ = now;
    }
}

void ChimeiCtl_A::tick() {
    if (phase_ == Phase::Idle) {
        frameTimer_->stop();
        return;
    }
    const int before = top_;
    advanceTo(platform::clock().elapsedMs());
    if (top_ != before)
        update(frameInnerRect());
    schedule();
}

int ChimeiCtl_A::frameIntervalMs() const {
    const QScreen* s = screen();
    const qreal rate = s ? s->refreshRate() : 60.0;
    if (rate <= 0)
        return 16;
    return std::clamp(int(std::lround(1000.0 / rate)), 4, 100);
}

void ChimeiCtl_A::schedule() {
    if (phase_ == Phase::Idle || !isVisible()) {
        // Hidden, nothing needs painting: the position is worked out from
        // the clock whenever the column is shown again.
        frameTimer_->stop();
        return;
    }
    const qint64 now = platform::clock().elapsedMs();
    qint64 delay = 0;
    if (phase_ == Phase::Pausing) {
        delay = pauseEnd_ - now;
    } else {
        const double s = std::fabs(stepSize());
        if (s == 0) {
            frameTimer_->stop(); // standing still: nothing to do until Speed changes
            return;
        }
        // Wake once per pixel moved, but not more often than the screen
        // shows frames, and in time for the wrap.
        const qint64 perPixel = qint64(std::ceil(1.0 / s));
        delay = std::clamp<qint64>(perPixel, frameIntervalMs(), 1000);
        delay = std::min(delay, t0_ + wrapStep(p0_) - now);
    }
    frameTimer_->start(int(std::clamp<qint64>(delay, 0, INT_MAX)));
}

bool ChimeiCtl_A::frameTimerActive() const {
    return frameTimer_->isActive();
}

void ChimeiCtl_A::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    tick();
}

void ChimeiCtl_A::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    frameTimer_->stop();
}

// ---------------------------------------------------------------------------
// Painting

QRect ChimeiCtl_A::frameInnerRect() const {
    const int border = appearance_ ? 2 : 1;
    return frameRect().adjusted(border, border, -border, -border);
}

QImage ChimeiCtl_A::dotImage() const {
    return surface_.convertToFormat(QImage::Format_RGB32);
}

void ChimeiCtl_A::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));

    const QRect f = frameRect();
    if (appearance_) {
        // Sunken border, two pixels deep.
        const QPalette& pal = palette();
        const QRect r = f.adjusted(0, 0, -1, -1);
        p.setPen(pal.color(QPalette::Mid));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pal.color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect q = r.adjusted(1, 1, -1, -1);
        p.setPen(pal.color(QPalette::Shadow));
        p.drawLine(q.topLeft(), q.topRight());
        p.drawLine(q.topLeft(), q.bottomLeft());
        p.setPen(pal.color(QPalette::Midlight));
        p.drawLine(q.bottomLeft(), q.bottomRight());
        p.drawLine(q.topRight(), q.bottomRight());
    } else {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(f.adjusted(0, 0, -1, -1));
    }

    const QRect inner = frameInnerRect();
    p.fillRect(inner, platform::toQColor(backColor_));
    if (surface_.isNull())
        return;
    // Only the band of the dot surface that lies inside the frame.
    const QRect band = QRect(0, -top_, kSurfaceWidth, inner.height()).intersected(surface_.rect());
    if (band.isEmpty())
        return;
    p.setClipRect(inner);
    p.drawImage(QPoint(inner.left() + band.left(), inner.top() + top_ + band.top()), surface_.copy(band));
}
