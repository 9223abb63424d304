#include "options/OptionWidgets.h"

#include "platform/ColorRef.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {}

void ColorButton::setBackColor(quint32 c) {
    backColor_ = c;
    update();
}

QSize ColorButton::sizeHint() const {
    return {56, 22};
}

void ColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter p(this);
    const QRect swatch = rect().adjusted(4, 4, -4, -4);
    p.fillRect(swatch, platform::toQColor(backColor_));
    p.setPen(QColor(64, 64, 64));
    p.drawRect(swatch.adjusted(0, 0, -1, -1));
}

WrappingRadioButton::WrappingRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrappingRadioButton::textLeft() const {
    return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
           style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this) + 2;
}

int WrappingRadioButton::heightForWidth(int width) const {
    const QRect r =
        fontMetrics().boundingRect(QRect(0, 0, qMax(40, width - textLeft()), 10000), Qt::TextWordWrap, text());
    return r.height() + 4;
}

QSize WrappingRadioButton::sizeHint() const {
    return {400, heightForWidth(400)};
}

QSize WrappingRadioButton::minimumSizeHint() const {
    return {200, fontMetrics().height() + 4};
}

bool WrappingRadioButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void WrappingRadioButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, this);
    opt.rect = QRect(0, 2 + (fontMetrics().height() - indicator) / 2,
                     style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this), indicator);
    style()->drawPrimitive(QStyle::PE_IndicatorRadioButton, &opt, &p, this);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(QRect(textLeft(), 2, width() - textLeft(), height() - 2),
               Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text());
}

namespace {
// Room between the button's edge and its caption.
constexpr int kPageButtonPadding = 8;
} // namespace

PageButton::PageButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

QStringList PageButton::wrap(const QString& caption, const QFont& font, int width) {
    QStringList out;
    static const QRegularExpression blanks(QStringLiteral("\\x{3000}+"));
    for (const QString& piece : caption.split(blanks, Qt::SkipEmptyParts)) {
        const QString segment = piece.trimmed();
        if (segment.isEmpty())
            continue;
        QTextLayout layout(segment, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            out << segment.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    }
    return out;
}

int PageButton::textWidth() const {
    return qMax(1, width() - 2 * kPageButtonPadding);
}

QStringList PageButton::lines() const {
    return wrap(text(), font(), textWidth());
}

QSize PageButton::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    const int textW = fm.horizontalAdvance(QString(7, QChar(0x56FD))); // seven full-width characters
    const int count = qMax<int>(1, int(wrap(text(), font(), textW).size()));
    return {textW + 2 * kPageButtonPadding, qMax(40, count * fm.lineSpacing() + 2 * kPageButtonPadding)};
}

QSize PageButton::minimumSizeHint() const {
    return sizeHint();
}

void PageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &opt, &p, this);
    const QStringList shown = lines();
    const QFontMetrics fm = fontMetrics();
    const int block = int(shown.size()) * fm.lineSpacing();
    int y = (height() - block) / 2;
    // A pressed or selected button shifts its caption like a plain one.
    const bool down = isDown() || isChecked();
    const int shiftX = down ? style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, this) : 0;
    const int shiftY = down ? style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, this) : 0;
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    for (const QString& line : shown) {
        p.drawText(QRect(shiftX, y + shiftY, width(), fm.lineSpacing()), Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += fm.lineSpacing();
    }
}

CrossButton::CrossButton(QWidget* parent) : QPushButton(QStringLiteral("r"), parent) {
    QFont f = font();
    f.setFamily(QStringLiteral("Marlett"));
    setFont(f);
}

void CrossButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &opt, &p, this);
    const int s = qMin(width(), height()) / 4;
    const QPoint c = rect().center();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText), 2));
    p.drawLine(c + QPoint(-s, -s), c + QPoint(s, s));
    p.drawLine(c + QPoint(-s, s), c + QPoint(s, -s));
}

namespace optionwidgets {

namespace {
bool isBlank(QChar c) {
    return c == QChar(0x3000) || c == QLatin1Char(' ');
}
} // namespace

int captionLeft(const QAbstractButton* button) {
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    const QStyle* s = button->style();
    return s->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth, nullptr, button) +
           s->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr,
                          button);
}

void placeInGap(QWidget* owner, const QString& caption, int textX, int n, QWidget* field) {
    int start = -1, end = -1, run = -1;
    for (int i = 0; i < caption.size(); ++i) {
        if (isBlank(caption[i]) && (i == 0 || !isBlank(caption[i - 1]))) {
            if (++run == n) {
                start = i;
                end = i;
                while (end < caption.size() && isBlank(caption[end]))
                    ++end;
                break;
            }
        }
    }
    if (start < 0)
        return;
    const QFontMetrics fm = owner->fontMetrics();
    const int left = textX + fm.horizontalAdvance(caption.left(start));
    const int right = textX + fm.horizontalAdvance(caption.left(end));
    const int height = fm.height() + 6;
    field->setParent(owner);
    const int width = qMax(40, right - left - 4);
    // The owner draws its caption centred in its height; at the field's
    // height the field sits on the caption's line.
    owner->setFixedHeight(height);
    field->setGeometry(left + 2, 0, width, height);
    field->show();
}

} // namespace optionwidgets
