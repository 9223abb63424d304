#pragma once
// The stop-name dot-matrix display: a vertical column of 16 x 16 dot
// characters in the manner of an LED sign. Each character is rasterised into
// a small glyph box, read back pixel by pixel, and every inked pixel becomes
// one dot on the dot surface. Up to six cells are spread over the column; a
// longer name scrolls upwards, driven by a timer so that nobody waits for it.
//
// The control holds the properties, their persistence and the frame; the
// work is done by its parts: ChimeiGlyph (pieces, faces, rasterising),
// ChimeiLayout (where the cells go), ChimeiDotSurface (the dots and their
// paint-ready copy) and ChimeiScroll (the timed scroll, widget-free).
#include "board/chimei/ChimeiDotSurface.h"
#include "board/chimei/ChimeiLayout.h"
#include "board/chimei/ChimeiScroll.h"

#include <QImage>
#include <QString>
#include <QWidget>

class PropertyBag;
class QTimer;

class ChimeiCtl_A : public QWidget {
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(qint16 Speed READ Speed WRITE setSpeed)
    Q_PROPERTY(qint32 ScrollStartWait READ ScrollStartWait WRITE setScrollStartWait)
    Q_PROPERTY(qint16 Mode READ Mode WRITE setMode)
    Q_PROPERTY(qint16 Appearance READ Appearance WRITE setAppearance)
    Q_PROPERTY(qint16 FontMode READ FontMode WRITE setFontMode)
    Q_PROPERTY(bool FontBold READ FontBold WRITE setFontBold)

public:
    explicit ChimeiCtl_A(QWidget* parent = nullptr);
    ~ChimeiCtl_A() override;

    // Defaults of the persisted properties.
    static constexpr quint32 kDefaultBackColor = 8421504; // grey 128
    static constexpr quint32 kDefaultForeColor = 48895;   // orange 255/190/0
    static constexpr qint16 kDefaultSpeed = ChimeiScroll::kDefaultSpeed;
    static constexpr qint32 kDefaultScrollStartWait = ChimeiScroll::kDefaultStartWait;

    // Geometry in pixels.
    static constexpr int kDesignWidth = 38;
    static constexpr int kDesignHeight = 197;
    static constexpr int kSurfaceWidth = ChimeiDotSurface::kWidth;
    static constexpr int kColumnHeight = ChimeiLayout::kColumnHeight; // six cells of 32
    static constexpr int kCellPitch = ChimeiLayout::kCellPitch;
    static constexpr int kGlyphSize = 16;
    // The dot surface holds at most this many cells (every name a 16-bit
    // byte count can carry); pieces beyond it are not drawn.
    static constexpr int kMaxCells = 16384;

    Q_INVOKABLE void Refresh();
    Q_INVOKABLE void DrawDot16(qint32 X, qint32 Y, const QString& strText);
    Q_INVOKABLE void SetChimei(const QString& strText);

    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 c);
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 c);
    qint16 Speed() const { return scroll_.speed(); }
    void setSpeed(qint16 v);
    qint32 ScrollStartWait() const { return scroll_.startWait(); }
    void setScrollStartWait(qint32 v);
    qint16 Mode() const { return mode_; }
    void setMode(qint16 v);
    qint16 Appearance() const { return appearance_; }
    void setAppearance(qint16 v);
    qint16 FontMode() const { return fontMode_; }
    void setFontMode(qint16 v);
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool v);

    // True while no scrolling is wanted.
    bool StopScroll() const { return stopScroll_; }
    // The last non-empty name given to SetChimei.
    QString text() const { return text_; }

    // Design-time persistence: keys in table order, defaults not stored.
    void WriteProperties(PropertyBag& bag) const;
    void ReadProperties(const PropertyBag& bag);
    // A new instance with nothing stored.
    void InitProperties();

    // Brings the scroll position up to the clock's time and repaints the
    // column when it moved. The frame timer calls it; tests call it after
    // moving a virtual clock.
    Q_INVOKABLE void tick();

    // The dot surface: index 0 is the background, every other index a dot
    // colour. dotImage() gives it in colours.
    const QImage& dotSurface() const { return surface_.indexed(); }
    QImage dotImage() const { return surface_.toImage(); }
    // The dot surface's top inside the frame (negative while scrolled up)
    // and its height.
    int surfaceTop() const { return scroll_.top(); }
    int surfaceHeight() const { return surface_.height(); }
    // The frame (the visible column) inside the control, with its border.
    QRect frameRect() const { return QRect(QPoint(0, 0), frameSize_); }
    QRect frameInnerRect() const;
    // The glyph box as last drawn (white background, black ink).
    const QImage& glyphBox() const { return glyph_; }
    // Whether the scroll waits in one of its pauses.
    bool isPausing() const { return scroll_.phase() == ChimeiScroll::Phase::Pausing; }
    // Whether the frame timer is armed (only while something moves or a
    // pause runs, and only while the control is visible).
    bool frameTimerActive() const;

Q_SIGNALS:
    // Tells the host that a persisted property changed.
    void PropertyChanged(const QString& name);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void resizeSurface(int height);
    void stopScrolling();
    void startScrolling();
    // Brings the scroll up to the clock's time so that a changed setting
    // applies from the next step on.
    void rebase();
    void schedule();
    int frameIntervalMs() const;
    void emitSpeedRaised(bool raised);

    // Persisted and stored fields (Speed and ScrollStartWait live in the
    // scroll model).
    bool fontBold_ = false;
    qint16 fontMode_ = 0;
    qint16 mode_ = 0;
    bool stopScroll_ = true;
    QString initialFaceName_;
    QString text_;
    quint32 backColor_ = kDefaultBackColor;
    quint32 foreColor_ = kDefaultForeColor;
    qint16 appearance_ = 1;

    // Surfaces.
    QSize frameSize_{37, 196};
    ChimeiDotSurface surface_;
    QImage glyph_;

    ChimeiScroll scroll_;
    QTimer* frameTimer_ = nullptr;
    // Count SetChimei calls (every call, and those with a name), so that a
    // call can tell that a newer one ran while it let pending events through.
    quint64 calls_ = 0;
    quint64 names_ = 0;
};
