// The control panel's announcement frame grpM_Tape: four buttons whose work
// is done by the announcement module.
#include "control/frmCtl.h"

#include "board/Form1.h"
#include "core/Twips.h"
#include "options/frmOption.h"
#include "sound/mdlM_Tape.h"

#include <QGroupBox>
#include <QPushButton>

void frmCtl::buildTapeFrame() {
    grpM_Tape = new QGroupBox(QStringLiteral("音合使用不可"), this);
    grpM_Tape->setObjectName(QStringLiteral("grpM_Tape"));
    grpM_Tape->setGeometry(core::twipsRect(120, 840, 3480, 735));
    grpM_Tape->setEnabled(false);

    struct ButtonDef {
        QPushButton* frmCtl::*member;
        const char* name;
        const char* caption;
        void (frmCtl::*click)();
    };
    const ButtonDef buttons[] = {
        {&frmCtl::cmdTapeSet, "cmdTapeSet", "調整", &frmCtl::cmdTapeSet_Click},
        {&frmCtl::cmdTapeBack, "cmdTapeBack", "戻し", &frmCtl::cmdTapeBack_Click},
        {&frmCtl::cmdTapeNext, "cmdTapeNext", "送り", &frmCtl::cmdTapeNext_Click},
        {&frmCtl::cmdTapeStop, "cmdTapeStop", "■", &frmCtl::cmdTapeStop_Click},
    };
    int left = 120;
    for (const ButtonDef& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), grpM_Tape);
        button->setObjectName(QLatin1String(b.name));
        button->setGeometry(core::twipsRect(left, 270, 780, 375));
        button->setEnabled(false);
        connect(button, &QPushButton::clicked, this, b.click);
        this->*b.member = button;
        left += 840;
    }
    mdlM_Tape::setFrameListener([this](const mdlM_Tape::FrameState& s) { showTapeFrame(s); });
}

void frmCtl::showTapeFrame(const mdlM_Tape::FrameState& state) {
    grpM_Tape->setTitle(state.speechAvailable ? QStringLiteral("音合使用可") : QStringLiteral("音合使用不可"));
    grpM_Tape->setEnabled(state.frameEnabled);
    for (QPushButton* b : {cmdTapeSet, cmdTapeBack, cmdTapeNext, cmdTapeStop})
        b->setEnabled(state.buttonsEnabled);
}

// The four buttons work on the announcement alone: a row's step flag
// (GetStepFlag) is read with the row, but moving them steps no fares.
void frmCtl::cmdTapeNext_Click() {
    mdlM_Tape::AnnounceNext();
}
void frmCtl::cmdTapeBack_Click() {
    mdlM_Tape::AnnounceBack();
}
void frmCtl::cmdTapeStop_Click() {
    mdlM_Tape::StopSpeech();
}
void frmCtl::cmdTapeSet_Click() {
    mdlM_Tape::ShowVoiceSettings(this);
}
