#pragma once
// A helper library that answers from a script and records every call.
#include "platform/VXB4Res.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace platform {

class FakeVXB4Res : public VXB4Res {
public:
    // Every call, as "Name(arg, arg, ...)", in order.
    QStringList calls;

    // Call_dlg100: the result, and the values written back when accepted.
    // With no values set the in/out values are left as they came.
    qint32 dlg100Result = 1;
    std::optional<qint16> dlg100ZeroMode, dlg100Shift, dlg100FillZero;
    // Runs inside Call_dlg100 (to look at the program while the dialog is up).
    std::function<void()> duringDlg100;

    // Runs inside Call_dlg110 (the version dialog).
    std::function<void()> duringDlg110;

    qint32 dlg111Result = 0;
    DateRecord dlg111Date;
    QString fileDlgAnswer;
    QString folderDlgAnswer;
    qint32 chooseColorResult = 0;
    quint32 chooseColorAnswer = 0;
    std::optional<CustomColors> chooseColorCustom; // written back when set
    QString osInfo = QStringLiteral("Linux");
    OsVersionInfo osVersion;

    // Plug-in calls: the record handed out and whether the file is accepted.
    // With an engine set, the four plug-in calls are recorded and then
    // answered by it (the real plug-in engine among faked dialogs).
    VXB4Res* pluginEngine = nullptr;
    qint32 plgInfoResult = 0;
    PlgInfo plgInfo;
    QString plgComment;
    QStringList plgCompanies;

    qint32 Call_dlg100(QWidget* window, qint16 keta, qint16& zeroMode, qint16& shift, qint16& fillZero) override;
    void Call_dlg110(QWidget* window, qint32 mode, const QString& text) override;
    qint32 Call_dlg111(QWidget* window, DateRecord& date) override;
    QString Vx3FileDlg(QWidget* window, qint32 flag, const QString& filter, const QString& initial,
                       const QString& title) override;
    QString Vx3FolderDlg(QWidget* window, const QString& prompt) override;
    qint32 Vx3ChooseColor(QWidget* window, quint32& color, CustomColors& custom) override;
    QString GetOsInfo() override;
    OsVersionInfo GetVersionEx() override;
    int LenB_ASCII(const QString& text) override;
    QString MidB_ASCII(const QString& text, int start, int count) override;
    qint32 VX4_GetPlgInfo(const QString& plugin, PlgInfo& info) override;
    void VX4_SetPlgComment(const QString& plugin, QWidget* textBox) override;
    void VX4_SetCorpAddList(const QString& plugin, QWidget* comboBox) override;
    void VX4_DrawSeiriken(const QString& plugin, QPainter& dc, const QString& chimei, const QString& date,
                          const QString& time, qint32 keitou, qint16 seiriNum, qint16 row, qint16 corp) override;

    // The number of recorded calls whose text starts with name.
    int count(const QString& name) const;
};

} // namespace platform
