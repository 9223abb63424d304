#include "platform/DigitSettingsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {

QStringList DigitSettingsDialog::zeroModeTexts() {
    return {
        QStringLiteral("0と空欄は何も表示しない"),
        QStringLiteral("0と空欄は「0」と表示する"),
        QStringLiteral("-1は「0」と表示し、0は何も表示しない"),
        QStringLiteral("-1と0と空欄はすべて「0」と表示する"),
    };
}

DigitSettingsDialog::DigitSettingsDialog(QWidget* parent, qint16 keta, qint16 zeroMode, qint16 shift, qint16 fillZero)
    : QDialog(parent), originalZeroMode_(zeroMode) {
    setObjectName(QStringLiteral("dlg100"));
    setWindowTitle(QStringLiteral("デジタル部品の設定"));
    setModal(true);

    const int digits = std::clamp<int>(keta, 1, 15);

    zeroMode_ = new QComboBox(this);
    zeroMode_->setObjectName(QStringLiteral("cmbZeroMode"));
    zeroMode_->addItems(zeroModeTexts());
    // A mode outside 0..3 (a negative one means "no substitution") shows no
    // entry and is handed back unchanged unless the user picks one.
    zeroMode_->setCurrentIndex(zeroMode >= 0 && zeroMode <= 3 ? zeroMode : -1);

    shift_ = new QSpinBox(this);
    shift_->setObjectName(QStringLiteral("spnShift"));
    shift_->setRange(0, digits - 1);
    shift_->setValue(std::clamp<int>(shift, 0, digits - 1));
    shift_->setSuffix(QStringLiteral(" 桁"));

    fillZero_ = new QSpinBox(this);
    fillZero_->setObjectName(QStringLiteral("spnFillZero"));
    fillZero_->setRange(0, digits);
    fillZero_->setValue(std::clamp<int>(fillZero, 0, digits));
    fillZero_->setSuffix(QStringLiteral(" 桁"));
    fillZero_->setSpecialValueText(QStringLiteral("しない"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("ゼロの表示："), zeroMode_);
    form->addRow(QStringLiteral("右端から空ける桁数："), shift_);
    form->addRow(QStringLiteral("ゼロで埋める桁数："), fillZero_);

    auto* note = new QLabel(
        QStringLiteral("この部品の桁数：%1 桁\n設定は運賃表示の50個すべての部品に適用されます。").arg(digits), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

qint16 DigitSettingsDialog::zeroMode() const {
    const int i = zeroMode_->currentIndex();
    return i < 0 ? originalZeroMode_ : qint16(i);
}
qint16 DigitSettingsDialog::shift() const {
    return qint16(shift_->value());
}
qint16 DigitSettingsDialog::fillZero() const {
    return qint16(fillZero_->value());
}

} // namespace platform
