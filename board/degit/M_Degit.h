#pragma once
// A row of simulated seven-segment digits: every position always shows its
// unlit "8", the value's characters are drawn over them lit and
// right-aligned. Drawing happens only when a member asks for it; the picture
// is kept in an image that paintEvent copies to the screen.
#include <QImage>
#include <QVariant>
#include <QWidget>

#include "platform/VXB4Res.h"

class PropertyBag;

class M_Degit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(quint32 BaseForeColor READ BaseForeColor WRITE setBaseForeColor)
    Q_PROPERTY(quint32 DegitForeColor READ DegitForeColor WRITE setDegitForeColor)
    Q_PROPERTY(qint16 FillZero READ FillZero WRITE setFillZero)
    Q_PROPERTY(qint16 ZeroMode READ ZeroMode WRITE setZeroMode)
    Q_PROPERTY(qint16 Shift READ Shift WRITE setShift)
    Q_PROPERTY(qint16 Keta READ Keta WRITE setKeta)
    Q_PROPERTY(qint16 DegitSize READ DegitSize WRITE setDegitSize)
    Q_PROPERTY(qint16 DegitStyle READ DegitStyle WRITE setDegitStyle)
    Q_PROPERTY(QVariant Value READ Value WRITE setValue)
    Q_PROPERTY(bool UserSet READ UserSet WRITE setUserSet)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(qint32 hwnd READ hwnd)
    Q_PROPERTY(qint32 CharExtra READ CharExtra)
    Q_PROPERTY(bool BoldFont READ BoldFont)

public:
    explicit M_Degit(QWidget* parent = nullptr);
    ~M_Degit() override;

    // Defaults of the persisted properties.
    static constexpr quint32 kDefaultBaseForeColor = 9868950;  // grey 150
    static constexpr quint32 kDefaultDegitForeColor = 7525112; // amber
    static constexpr quint32 kDefaultBackColor = 8421504;      // grey 128

    Q_INVOKABLE qint32 ShowSetDlg();
    Q_INVOKABLE void ResetDegit(bool nMode);

    quint32 BaseForeColor() const { return baseForeColor_; }
    void setBaseForeColor(quint32 c);
    quint32 DegitForeColor() const { return degitForeColor_; }
    void setDegitForeColor(quint32 c);
    qint16 FillZero() const { return fillZero_; }
    void setFillZero(qint16 v);
    qint16 ZeroMode() const { return zeroMode_; }
    void setZeroMode(qint16 v);
    qint16 Shift() const { return shift_; }
    void setShift(qint16 v);
    qint16 Keta() const { return keta_; }
    void setKeta(qint16 v);
    qint16 DegitSize() const { return degitSize_; }
    void setDegitSize(qint16 v);
    qint16 DegitStyle() const { return degitStyle_; }
    void setDegitStyle(qint16 v);
    QVariant Value() const { return value_; }
    void setValue(const QVariant& v);
    bool UserSet() const { return userSet_; }
    void setUserSet(bool v);
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 c);
    qint32 hwnd() const;
    qint32 CharExtra() const { return charExtra_; }
    bool BoldFont() const { return boldFont_; }

    // Design-time persistence: keys in table order, defaults not stored.
    void WriteProperties(PropertyBag& bag) const;
    // Stores each value as read (no correction, no resizing, no redraw) and
    // applies the background colour to the surface.
    void ReadProperties(const PropertyBag& bag);
    // A new instance with nothing stored: the defaults, surface colour kept.
    void InitProperties();

    // The text the drawing routine shows for a value under the current
    // ZeroMode, FillZero and Shift (before the cut to Keta characters).
    QString displayText(const QVariant& value) const;

    // What is on the surface, in device pixels.
    const QImage& surface() const { return surface_; }
    // Cell and height of a size class, in twips.
    static int cellWidthTwips(qint16 degitSize);
    static int heightTwips(qint16 degitSize);
    // The platform rule: older systems get one pixel between characters and
    // the regular weight; every other system none and the bold weight.
    static void fontRule(const platform::OsVersionInfo& os, qint32& charExtra, bool& boldFont);

Q_SIGNALS:
    void DblClick();
    // Tells the host that a persisted property changed.
    void PropertyChanged(const QString& name);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawDegit(const QVariant& value, quint32 unlit, quint32 lit);
    void renderSurface();
    void resizeForClass();
    void clearSurface();
    void ensureSurface();

    bool userSet_ = false;
    quint32 baseForeColor_ = 0;
    quint32 degitForeColor_ = 0;
    qint16 fillZero_ = 0;
    qint16 zeroMode_ = 0;
    qint16 shift_ = 0;
    qint16 keta_ = 0;
    qint16 degitSize_ = 0;
    qint16 degitStyle_ = 0;
    QVariant value_;
    platform::OsVersionInfo os_;
    qint32 charExtra_ = 0;
    bool boldFont_ = false;
    quint32 backColor_ = kDefaultBackColor;

    // Everything the last drawing depended on, so that a resize or a new
    // pixel ratio repaints exactly the same picture.
    struct Drawing {
        QString text;
        quint32 unlit = 0, lit = 0;
        qint16 keta = 0, degitSize = 0, degitStyle = 0;
        qint32 charExtra = 0;
        bool bold = false;
    };
    QImage surface_;
    Drawing drawing_;
    bool drawn_ = false;
};
