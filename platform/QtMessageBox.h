#pragma once
#include "platform/MessageBox.h"

namespace platform {

class QtMessageBox : public MessageBox {
public:
    MsgResult MsgBox(QWidget* owner, const QString& prompt, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override;
};

} // namespace platform
