#include "board/chimei/ChimeiCtl_A.h"

#include "board/chimei/ChimeiGlyph.h"
#include "core/PropertyBag.h"
#include "platform/Clock.h"
#include "platform/ColorRef.h"
#include "platform/Platform.h"
#include "platform/VXB4Res.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

ChimeiCtl_A::ChimeiCtl_A(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kDesignWidth, kDesignHeight);
    glyph_ = QImage(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    glyph_.fill(Qt::white);
    frameTimer_ = new QTimer(this);
    frameTimer_->setSingleShot(true);
    connect(frameTimer_, &QTimer::timeout, this, &ChimeiCtl_A::tick);
    resizeSurface(kColumnHeight);
    scroll_.setFrameHeight(frameSize_.height());
    initialFaceName_ = font().family();
    InitProperties();
}

ChimeiCtl_A::~ChimeiCtl_A() = default;

// ---------------------------------------------------------------------------
// Properties
//
// BackColor and Appearance change the background under the dots and leave
// the dots as they are: the dot surface keeps what was drawn, and a name
// shown in the old colours stays readable until the next SetChimei redraws
// it. Dots already drawn keep their colour when ForeColor changes.

void ChimeiCtl_A::setBackColor(quint32 c) {
    backColor_ = c;
    surface_.setBackground(c);
    update();
    Q_EMIT PropertyChanged(QStringLiteral("BackColor"));
}

void ChimeiCtl_A::setForeColor(quint32 c) {
    foreColor_ = c;
    Q_EMIT PropertyChanged(QStringLiteral("ForeColor"));
}

void ChimeiCtl_A::setSpeed(qint16 v) {
    rebase();
    scroll_.setSpeed(v);
    schedule();
    Q_EMIT PropertyChanged(QStringLiteral("Speed"));
}

void ChimeiCtl_A::setScrollStartWait(qint32 v) {
    // Stored as given; a negative value pauses for no time at all (the
    // scroll model clamps it where it waits). Pauses already under way keep
    // their length.
    rebase();
    scroll_.setStartWait(v);
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
    scroll_.setFrameHeight(frameSize_.height());
    surface_.setBackground(backColor_);
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
    scroll_.setSpeed(kDefaultSpeed);
    scroll_.setStartWait(kDefaultScrollStartWait);
    mode_ = 0;
    fontMode_ = 0;
    fontBold_ = false;
    surface_.setBackground(backColor_);
}

void ChimeiCtl_A::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("BackColor"), backColor_, kDefaultBackColor);
    bag.WriteProperty(QStringLiteral("ForeColor"), foreColor_, kDefaultForeColor);
    bag.WriteProperty(QStringLiteral("Speed"), Speed(), kDefaultSpeed);
    bag.WriteProperty(QStringLiteral("ScrollStartWait"), ScrollStartWait(), kDefaultScrollStartWait);
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
    scroll_.setSpeed(i16("Speed", kDefaultSpeed));
    scroll_.setStartWait(bag.ReadProperty(QStringLiteral("ScrollStartWait"), kDefaultScrollStartWait).toInt());
    mode_ = i16("Mode", 0);
    // The border style only: the frame keeps its size.
    appearance_ = i16("Appearance", 1) != 0 ? 1 : 0;
    fontMode_ = i16("FontMode", 0);
    fontBold_ = bag.ReadProperty(QStringLiteral("FontBold"), false).toBool();
    surface_.setBackground(backColor_);
    update();
    schedule();
}

// ---------------------------------------------------------------------------
// Drawing

void ChimeiCtl_A::Refresh() {
    update();
}

void ChimeiCtl_A::resizeSurface(int height) {
    surface_.reset(height, backColor_);
    scroll_.setSurfaceHeight(height);
}

void ChimeiCtl_A::DrawDot16(qint32 X, qint32 Y, const QString& strText) {
    glyph_.fill(Qt::white);
    if (strText.isEmpty())
        return;
    const chimei::PieceForm form = chimei::pieceForm(strText, fontMode_);
    chimei::renderPiece(glyph_, form.drawn, chimei::faceForPiece(form.drawn, fontMode_), fontBold_, form.xOffset,
                        form.yOffset);
    surface_.plotGlyph(glyph_, X, Y, form.transposed, foreColor_);
    update();
}

void ChimeiCtl_A::SetChimei(const QString& strText) {
    // Pending events may call SetChimei themselves. Such a call is newer
    // than this one and has already settled the display, so this one gives
    // way, here and after drawing alike: the newest name always wins.
    const quint64 call = ++calls_;
    QCoreApplication::processEvents();
    if (call != calls_)
        return;

    surface_.clear();
    update();
    if (strText.isEmpty())
        return; // a running scroll goes on over the blank column

    const quint64 name = ++names_;
    text_ = strText;
    // Freeze any running scroll while the new name is drawn.
    scroll_.stop();
    frameTimer_->stop();

    const int bytes = platform::helper().LenB_ASCII(strText);
    const QStringList pieces = chimei::splitPieces(strText, kMaxCells);
    // A lone half-width character is the one name without a whole cell.
    const int n = bytes == 1 ? 0 : int(pieces.size());
    const ChimeiLayout layout = ChimeiLayout::forCells(n, mode_);
    resizeSurface(layout.height);
    for (qsizetype k = 0; k < pieces.size(); ++k)
        DrawDot16(2, qint32(layout.first + k * layout.pitch), pieces[k]);

    QCoreApplication::processEvents();
    // Another name arrived meanwhile and has already settled the display.
    if (name != names_)
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
// Scrolling: the model counts, the frame timer looks at it when something
// can have changed.

void ChimeiCtl_A::emitSpeedRaised(bool raised) {
    if (raised)
        Q_EMIT PropertyChanged(QStringLiteral("Speed"));
}

void ChimeiCtl_A::stopScrolling() {
    scroll_.stop();
    frameTimer_->stop();
    update();
}

void ChimeiCtl_A::startScrolling() {
    scroll_.start(platform::clock().elapsedMs());
    update();
    schedule();
}

void ChimeiCtl_A::rebase() {
    if (scroll_.phase() != ChimeiScroll::Phase::Idle)
        emitSpeedRaised(scroll_.rebase(platform::clock().elapsedMs()));
}

void ChimeiCtl_A::tick() {
    if (scroll_.phase() == ChimeiScroll::Phase::Idle) {
        frameTimer_->stop();
        return;
    }
    const int before = scroll_.top();
    emitSpeedRaised(scroll_.advanceTo(platform::clock().elapsedMs()));
    if (scroll_.top() != before)
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
    if (scroll_.phase() == ChimeiScroll::Phase::Idle || !isVisible()) {
        // Hidden, nothing needs painting: the position is worked out from
        // the clock whenever the column is shown again.
        frameTimer_->stop();
        return;
    }
    const qint64 delay = scroll_.nextWakeIn(platform::clock().elapsedMs(), frameIntervalMs());
    if (delay < 0)
        frameTimer_->stop();
    else
        frameTimer_->start(int(delay));
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

void ChimeiCtl_A::changeEvent(QEvent* event) {
    // System colours are looked up when the colour table is built: a new
    // palette builds it again.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        surface_.refreshColours();
        update();
    }
    QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// Painting

QRect ChimeiCtl_A::frameInnerRect() const {
    const int border = appearance_ ? 2 : 1;
    return frameRect().adjusted(border, border, -border, -border);
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
    // Only the band of the dot surface that lies inside the frame, copied
    // from its paint-ready picture.
    const int top = scroll_.top();
    p.setClipRect(inner);
    surface_.paintBand(p, QPoint(inner.left(), inner.top() + top), QRect(0, -top, kSurfaceWidth, inner.height()));
}
