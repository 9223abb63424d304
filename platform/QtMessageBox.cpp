#include "platform/QtMessageBox.h"

#include <QMessageBox>

namespace platform {

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
