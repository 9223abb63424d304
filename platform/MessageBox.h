#pragma once
// Message boxes with the classic button sets and icons.
#include <QString>

class QWidget;

namespace platform {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MsgResult MsgBox(QWidget* owner, const QString& prompt, MsgButtons buttons, MsgIcon icon,
                             const QString& title) = 0;
};

} // namespace platform
