// Ending the program: the question on every close request of the panel and
// the orderly exit after a Yes.
#include "app/mdlIniIo.h"
#include "board/Form1.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QThread>

void frmCtl::closeEvent(QCloseEvent* event) {
    // The panel stays until the answer is Yes; after that nothing is asked
    // again (the windows close as the program ends).
    if (ending_) {
        event->accept();
        return;
    }
    event->ignore();
    if (!started_ || askingToEnd_ || !askToEnd())
        return;
    endProgram();
    event->accept();
}

bool frmCtl::askToEnd() {
    askingToEnd_ = true;
    const platform::MsgResult answer = platform::messageBox().MsgBox(this, kExitQuestion, platform::MsgButtons::YesNo,
                                                                     platform::MsgIcon::Question, kExitTitle);
    askingToEnd_ = false;
    return answer == platform::MsgResult::Yes;
}

bool frmCtl::endProgram() {
    if (ending_)
        return false;
    ending_ = true;
    if (board_) {
        board_->ChimeiCtl->SetChimei(QString());
        board_->DeleteRgn();
    }
    mdlSndAPI::CloseAllSounds();
    mdlM_Tape::ReleaseSpeech();
    if (started_ && board_ && options_)
        mdlIniIo::SaveIni(*board_, *options_, *this);
    // Every running loop ends, a modal one included, so nothing queued runs
    // after the save. With no loop running there is nothing to end.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
    return true;
}
