// The control panel's announcement frame grpM_Tape: four buttons whose work
// is done by the announcement module.
#include "control/frmCtl.h"

#include "core/Twips.h"
#include "sound/mdlM_Tape.h"

#include <QGroupBox>
#include <QPushButton>

void frmCtl::buildTapeFrame() {
    grpM_Tape = new QGroupBox(QStringLiteral("音合使用不可"), this);
    grpM_Tape->setObjectName(QStringLiteral("grpM_Tape"));
    grpM_Tape->setGeometry(core::twipsRect(3360, 3240, 1920, 1140));
    grpM_Tape->setEnabled(false);

    // Two rows: the announcement steps on top, stop and voice settings below.
    struct ButtonDef {
        QPushButton* frmCtl::*member;
        const char* name;
        const char* caption;
        void (frmCtl::*click)();
        int left, top;
    };
    const ButtonDef buttons[] = {
        {&frmCtl::cmdTapeSet, "cmdTapeSet", "調整", &frmCtl::cmdTapeSet_Click, 990, 720},
        {&frmCtl::cmdTapeBack, "cmdTapeBack", "戻し", &frmCtl::cmdTapeBack_Click, 90, 300},
        {&frmCtl::cmdTapeNext, "cmdTapeNext", "送り", &frmCtl::cmdTapeNext_Click, 990, 300},
        {&frmCtl::cmdTapeStop, "cmdTapeStop", "■", &frmCtl::cmdTapeStop_Click, 90, 720},
    };
    for (const ButtonDef& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), grpM_Tape);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(core::twipsRect(b.left, b.top, 840, 360));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, b.click);
        this->*b.member = button;
    }
    mdlM_Tape::setFrameListener([this](const mdlM_Tape::FrameState& s) { showTapeFrame(s); });
}

void frmCtl::showTapeFrame(const mdlM_Tape::FrameState& state) {
    grpM_Tape->setTitle(state.speechAvailable ? QStringLiteral("音合使用可") : QStringLiteral("音合使用不可"));
    grpM_Tape->setEnabled(state.frameEnabled);
    for (QPushButton* b : {cmdTapeSet, cmdTapeBack, cmdTapeNext, cmdTapeStop})
        b->setEnabled(state.buttonsEnabled);
}

// After an announcement step the fare board follows the row's step flag,
// with the stepping command itself (its bounds and sound included), whether
// or not the stepping buttons are enabled.
void frmCtl::cmdTapeNext_Click() {
    mdlM_Tape::AnnounceNext();
    if (mdlM_Tape::GetStepFlag(mdlM_Tape::GetTapePos()) == 1)
        Command2_Click(1);
}
void frmCtl::cmdTapeBack_Click() {
    mdlM_Tape::AnnounceBack();
    if (mdlM_Tape::GetStepFlag(mdlM_Tape::GetTapePos()) == 1)
        Command2_Click(0);
}
void frmCtl::cmdTapeStop_Click() {
    mdlM_Tape::StopSpeech();
}
void frmCtl::cmdTapeSet_Click() {
    mdlM_Tape::ShowVoiceSettings(this);
}
