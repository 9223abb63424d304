#include "app/mdlIniIo.h"

#include "board/Form1.h"
#include "board/chimei/ChimeiCtl_A.h"
#include "board/degit/M_Degit.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/MessageBox.h"
#include "platform/Platform.h"

namespace mdlIniIo {

namespace {

void showMessage(QWidget* owner, const QString& text) {
    platform::messageBox().MsgBox(owner, text, platform::MsgButtons::Ok, platform::MsgIcon::None, messageTitle());
}

void paintDigit(M_Degit& digit, const DegitRec& colours) {
    digit.setBackColor(colours.DegitBackColor);
    digit.setBaseForeColor(colours.DegitBaseColor);
    digit.setDegitForeColor(colours.DegitLitColor);
}

} // namespace

QString messageTitle() {
    return frmCtl::exeBaseName();
}

SettingsRecord collectSettings(const Form1& board, const frmOption& options, const frmCtl& panel) {
    SettingsRecord record;
    for (int i = 1; i <= 50; ++i) {
        const M_Degit& digit = *board.Degit[size_t(i)];
        DegitModeRec& mode = record.DegitModes[size_t(i - 1)];
        mode.ZeroMode = digit.ZeroMode();
        mode.Shift = digit.Shift();
        mode.FillZero = digit.FillZero();
    }
    options.GetOptionInfo(record.Options);
    panel.GetCtrlDataInfo(record.CtlPanel);
    board.GetFormInfo(record.BoardPos);
    record.CustColors = options.CustColors;
    record.DegitCount = kDegitCount;
    return record;
}

void applySettings(Form1& board, frmOption& options, frmCtl& panel, const SettingsRecord& record) {
    const DegitRec& colours = record.Options.Degit;
    for (int i = 1; i <= 50; ++i) {
        M_Degit& digit = *board.Degit[size_t(i)];
        const DegitModeRec& mode = record.DegitModes[size_t(i - 1)];
        digit.setZeroMode(mode.ZeroMode);
        digit.setShift(mode.Shift);
        digit.setFillZero(mode.FillZero);
        paintDigit(digit, colours);
        // No fare is shown until the first reset.
        digit.setValue(QStringLiteral(" "));
    }
    for (M_Degit* clock : board.TimeDegit)
        paintDigit(*clock, colours);
    board.ChimeiCtl->setBackColor(record.Options.Chimei.ChimeiBackColor);
    board.ChimeiCtl->setForeColor(record.Options.Chimei.ChimeiForeColor);
    options.CustColors = record.CustColors;

    options.SetOptionInfo(record.Options);
    panel.SetCtrlDataInfo(record.CtlPanel);
    board.SetFormInfo(record.BoardPos);
    options.SetProp();
}

bool SaveIni(Form1& board, frmOption& options, frmCtl& panel) {
    return SaveIni(board, options, panel, settingsFilePath());
}

bool SaveIni(Form1& board, frmOption& options, frmCtl& panel, const QString& path) {
    try {
        writeSettingsFile(path, encodeSettings(collectSettings(board, options, panel)));
        return true;
    } catch (const core::RuntimeError& e) {
        showMessage(&panel, saveErrorText(e));
        return false;
    }
}

bool LoadIni(Form1& board, frmOption& options, frmCtl& panel) {
    return LoadIni(board, options, panel, settingsLoadPath());
}

bool LoadIni(Form1& board, frmOption& options, frmCtl& panel, const QString& path) {
    try {
        QByteArray bytes;
        try {
            bytes = readSettingsFile(path);
        } catch (const core::RuntimeError& e) {
            // No file yet (the first start): the windows keep their defaults.
            if (e.number() == core::errors::kFileNotFound || e.number() == core::errors::kBadFileName)
                return false;
            throw;
        }
        applySettings(board, options, panel, decodeSettings(bytes).record);
        return true;
    } catch (const core::RuntimeError& e) {
        showMessage(&panel, loadErrorText(e));
        return false;
    }
}

} // namespace mdlIniIo
