#pragma once
// Small controls of the options window: the colour swatch button, an option
// button whose long caption wraps, and the clear button drawn as a cross.
#include <QPushButton>
#include <QRadioButton>

// A command button whose background colour is the setting it holds.
class ColorButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)

public:
    explicit ColorButton(QWidget* parent = nullptr);
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 c);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    quint32 backColor_ = 0;
};

// An option button whose caption is wrapped to the button's width, for the
// sentence-long choices of the sound page. text() stays the exact caption.
class WrappingRadioButton : public QRadioButton {
    Q_OBJECT

public:
    explicit WrappingRadioButton(const QString& text, QWidget* parent = nullptr);
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    int textLeft() const;
};

// A page button of the options window. Its caption is written for a narrow
// button that wraps: a run of ideographic blanks is where a line ends
// ("運賃データと　放送用データ" shows as 運賃データと / 放送用データ), and a
// line too long for the button wraps where Japanese text may break. The
// button is as wide as seven full-width characters. text() stays the exact
// caption.
class PageButton : public QPushButton {
    Q_OBJECT

public:
    explicit PageButton(const QString& caption, QWidget* parent = nullptr);
    // The lines shown at the button's current width.
    QStringList lines() const;
    // The lines a caption shows in the given width of the font.
    static QStringList wrap(const QString& caption, const QFont& font, int width);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int textWidth() const;
};

// The clear button: its caption is the letter "r" of a symbol face, which
// that face draws as a cross. The face is not installed here, so the cross
// is drawn directly.
class CrossButton : public QPushButton {
    Q_OBJECT

public:
    explicit CrossButton(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

namespace optionwidgets {

// Places field over the n-th run of blanks (ideographic or ASCII spaces,
// n counted from 0) of the caption of owner, which leaves that room for it;
// textX is where owner starts drawing its caption. field becomes a child of
// owner.
void placeInGap(QWidget* owner, const QString& caption, int textX, int n, QWidget* field);

// Where a check box or option button starts drawing its caption.
int captionLeft(const QAbstractButton* button);

} // namespace optionwidgets
