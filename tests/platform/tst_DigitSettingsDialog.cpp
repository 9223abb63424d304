// The digit settings dialog behind Call_dlg100, driven as a user would.
#include "platform/DigitSettingsDialog.h"
#include "platform/QtVXB4Res.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {
// Runs action on the dialog as soon as it is shown modally.
void whenDialogOpens(std::function<void(platform::DigitSettingsDialog*)> action) {
    QTimer::singleShot(0, [action] {
        auto* dlg = qobject_cast<platform::DigitSettingsDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        action(dlg);
    });
}

void press(QDialog* dlg, QDialogButtonBox::StandardButton which) {
    auto* box = dlg->findChild<QDialogButtonBox*>();
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}
} // namespace

class TestDigitSettingsDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rangesFollowTheDigitCount() {
        platform::DigitSettingsDialog dlg(nullptr, 4, 2, 1, 3);
        auto* zero = dlg.findChild<QComboBox*>(QStringLiteral("cmbZeroMode"));
        auto* shift = dlg.findChild<QSpinBox*>(QStringLiteral("spnShift"));
        auto* fill = dlg.findChild<QSpinBox*>(QStringLiteral("spnFillZero"));
        QCOMPARE(zero->count(), 4);
        QCOMPARE(zero->currentIndex(), 2);
        QCOMPARE(shift->maximum(), 3);
        QCOMPARE(fill->maximum(), 4);
        QCOMPARE(shift->value(), 1);
        QCOMPARE(fill->value(), 3);
        // A mode outside the list goes back unchanged unless one is picked.
        platform::DigitSettingsDialog negative(nullptr, 2, -1, 0, 0);
        QCOMPARE(negative.zeroMode(), qint16(-1));
        QCOMPARE(negative.findChild<QSpinBox*>(QStringLiteral("spnShift"))->maximum(), 1);
    }

    void acceptedDialogHandsBackTheChoice() {
        platform::QtVXB4Res lib;
        qint16 zero = 0, shift = 0, fill = 0;
        whenDialogOpens([](platform::DigitSettingsDialog* dlg) {
            dlg->findChild<QComboBox*>(QStringLiteral("cmbZeroMode"))->setCurrentIndex(3);
            dlg->findChild<QSpinBox*>(QStringLiteral("spnShift"))->setValue(2);
            dlg->findChild<QSpinBox*>(QStringLiteral("spnFillZero"))->setValue(9); // capped at 4
            press(dlg, QDialogButtonBox::Ok);
        });
        QCOMPARE(lib.Call_dlg100(nullptr, 4, zero, shift, fill), 1);
        QCOMPARE(zero, qint16(3));
        QCOMPARE(shift, qint16(2));
        QCOMPARE(fill, qint16(4));
    }

    void cancelledDialogLeavesTheValues() {
        platform::QtVXB4Res lib;
        qint16 zero = 1, shift = 1, fill = 2;
        whenDialogOpens([](platform::DigitSettingsDialog* dlg) {
            dlg->findChild<QComboBox*>(QStringLiteral("cmbZeroMode"))->setCurrentIndex(0);
            press(dlg, QDialogButtonBox::Cancel);
        });
        QCOMPARE(lib.Call_dlg100(nullptr, 4, zero, shift, fill), 0);
        QCOMPARE(zero, qint16(1));
        QCOMPARE(shift, qint16(1));
        QCOMPARE(fill, qint16(2));
    }
};

QTEST_MAIN(TestDigitSettingsDialog)
#include "tst_DigitSettingsDialog.moc"
