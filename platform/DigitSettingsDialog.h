#pragma once
// The digit settings dialog: how zero and empty values show, how many
// positions stay blank at the right, how many digits are zero-filled.
#include <QDialog>

class QComboBox;
class QSpinBox;

namespace platform {

class DigitSettingsDialog : public QDialog {
    Q_OBJECT
public:
    DigitSettingsDialog(QWidget* parent, qint16 keta, qint16 zeroMode, qint16 shift, qint16 fillZero);

    qint16 zeroMode() const;
    qint16 shift() const;
    qint16 fillZero() const;

    // The four zero modes in the order of their numbers 0..3.
    static QStringList zeroModeTexts();

private:
    QComboBox* zeroMode_;
    QSpinBox* shift_;
    QSpinBox* fillZero_;
    qint16 originalZeroMode_;
};

} // namespace platform
