#include "platform/QtMessageBox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace platform {

namespace {

// What a title bar needs beside its title: the window's icon and its
// buttons (close, maximise, minimise) with their margins.
constexpr int kTitleBarExtras = 150;

// Qt makes a message box as wide as its text and buttons, and allows the
// title 50 pixels beside it in the normal face. A window manager draws the
// title larger, often bold, beside its own buttons, and cuts a title that
// does not fit ("コルネ…了確認" over a one-line question). The box is made
// at least as wide as its whole title in such a face.
void makeRoomForTitle(QMessageBox& box, const QString& title) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid || title.isEmpty())
        return;
    QFont face = box.font();
    face.setBold(true);
    if (face.pixelSize() > 0)
        face.setPixelSize(face.pixelSize() * 5 / 4);
    else
        face.setPointSizeF(face.pointSizeF() * 1.25);
    const int width = QFontMetrics(face).horizontalAdvance(title) + kTitleBarExtras;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

} // namespace

MsgResult QtMessageBox::MsgBox(QWidget* owner, const QString& prompt, MsgButtons buttons, MsgIcon icon,
                               const QString& title) {
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (icon) {
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MsgButtons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
    }
    makeRoomForTitle(box, title);
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Retry: return MsgResult::Retry;
    default:
        return buttons == MsgButtons::Ok ? MsgResult::Ok
                                         : (buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel);
    }
}

} // namespace platform
