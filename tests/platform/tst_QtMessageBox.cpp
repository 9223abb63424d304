// The real message box: answered with its buttons and its close button,
// and wide enough for its title.
#include "platform/QtMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

// Runs action on the message box once it is up, then returns its answer.
MsgResult answer(MsgButtons buttons, const QString& prompt, const QString& title,
                 std::function<void(QMessageBox*)> action) {
    QTimer::singleShot(0, [action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        action(box);
    });
    platform::QtMessageBox boxes;
    return boxes.MsgBox(nullptr, prompt, buttons, MsgIcon::Question, title);
}

void click(QMessageBox* box, QMessageBox::StandardButton which) {
    QAbstractButton* button = box->button(which);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestQtMessageBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachButtonGivesItsAnswer_data() {
        QTest::addColumn<MsgButtons>("buttons");
        QTest::addColumn<int>("pressed"); // a QMessageBox::StandardButton, or 0 to close the box
        QTest::addColumn<MsgResult>("expected");
        QTest::newRow("Yes") << MsgButtons::YesNo << int(QMessageBox::Yes) << MsgResult::Yes;
        QTest::newRow("No") << MsgButtons::YesNo << int(QMessageBox::No) << MsgResult::No;
        QTest::newRow("Yes/No closed is No") << MsgButtons::YesNo << 0 << MsgResult::No;
        QTest::newRow("Cancel of three") << MsgButtons::YesNoCancel << int(QMessageBox::Cancel) << MsgResult::Cancel;
        QTest::newRow("three closed is Cancel") << MsgButtons::YesNoCancel << 0 << MsgResult::Cancel;
        QTest::newRow("Retry") << MsgButtons::RetryCancel << int(QMessageBox::Retry) << MsgResult::Retry;
        QTest::newRow("OK/Cancel closed is Cancel") << MsgButtons::OkCancel << 0 << MsgResult::Cancel;
        QTest::newRow("OK closed is OK") << MsgButtons::Ok << 0 << MsgResult::Ok;
    }

    void eachButtonGivesItsAnswer() {
        QFETCH(MsgButtons, buttons);
        QFETCH(int, pressed);
        QFETCH(MsgResult, expected);
        const MsgResult result =
            answer(buttons, QStringLiteral("続けますか？"), QStringLiteral("確認"), [pressed](QMessageBox* box) {
                if (pressed)
                    click(box, QMessageBox::StandardButton(pressed));
                else
                    box->close();
            });
        QCOMPARE(result, expected);
    }

    // A short question under a longer title: the box is wide enough for the
    // title in a title bar's larger bold face beside the bar's buttons.
    void aLongTitleIsNotCut() {
        const QString title = QStringLiteral("コルネの終了確認");
        int boxWidth = 0;
        QFont titleFace = QApplication::font();
        titleFace.setBold(true);
        titleFace.setPointSizeF(titleFace.pointSizeF() * 1.25);
        const MsgResult result =
            answer(MsgButtons::YesNo, QStringLiteral("終了？"), title, [&boxWidth](QMessageBox* box) {
                boxWidth = box->width();
                click(box, QMessageBox::No);
            });
        QCOMPARE(result, MsgResult::No);
        QVERIFY2(boxWidth >= QFontMetrics(titleFace).horizontalAdvance(title) + 100,
                 qPrintable(QStringLiteral("box %1 px wide").arg(boxWidth)));
    }
};

QTEST_MAIN(TestQtMessageBox)
#include "tst_QtMessageBox.moc"
