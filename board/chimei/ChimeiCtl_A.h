#pragma once
// The stop-name dot-matrix display.
#include <QWidget>

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

    Q_INVOKABLE void SetChimei(const QString& strText);
    QString text() const { return text_; }

    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 c) { backColor_ = c; }
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 c) { foreColor_ = c; }
    qint16 Speed() const { return speed_; }
    void setSpeed(qint16 v) { speed_ = v; }
    qint32 ScrollStartWait() const { return scrollStartWait_; }
    void setScrollStartWait(qint32 v) { scrollStartWait_ = v; }
    qint16 Mode() const { return mode_; }
    void setMode(qint16 v) { mode_ = v; }
    qint16 Appearance() const { return appearance_; }
    void setAppearance(qint16 v) { appearance_ = v; }
    qint16 FontMode() const { return fontMode_; }
    void setFontMode(qint16 v) { fontMode_ = v; }
    bool FontBold() const { return fontBold_; }
    void setFontBold(bool v) { fontBold_ = v; }

private:
    QString text_;
    quint32 backColor_ = 0x808080;
    quint32 foreColor_ = 0x00FFFF;
    qint16 speed_ = 0;
    qint32 scrollStartWait_ = 0;
    qint16 mode_ = 0;
    qint16 appearance_ = 0;
    qint16 fontMode_ = -1;
    bool fontBold_ = false;
};
