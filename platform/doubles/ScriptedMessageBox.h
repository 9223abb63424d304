#pragma once
// Records every message box and answers from a queue (Ok/Yes by default).
#include "platform/MessageBox.h"

#include <QList>

namespace platform {

class ScriptedMessageBox : public MessageBox {
public:
    struct Shown {
        QString prompt;
        MsgButtons buttons;
        MsgIcon icon;
        QString title;
    };
    QList<Shown> shown;
    QList<MsgResult> answers;

    MsgResult MsgBox(QWidget*, const QString& prompt, MsgButtons buttons, MsgIcon icon, const QString& title) override {
        shown << Shown{prompt, buttons, icon, title};
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
    }
};

} // namespace platform
