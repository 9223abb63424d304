#include "platform/doubles/FakeVXB4Res.h"

#include "core/ShiftJis.h"

#include <QComboBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace platform {

qint32 FakeVXB4Res::Call_dlg100(QWidget*, qint16 keta, qint16& zeroMode, qint16& shift, qint16& fillZero) {
    calls << QStringLiteral("Call_dlg100(%1, %2, %3, %4)").arg(keta).arg(zeroMode).arg(shift).arg(fillZero);
    if (duringDlg100)
        duringDlg100();
    if (dlg100ZeroMode)
        zeroMode = *dlg100ZeroMode;
    if (dlg100Shift)
        shift = *dlg100Shift;
    if (dlg100FillZero)
        fillZero = *dlg100FillZero;
    return dlg100Result;
}

void FakeVXB4Res::Call_dlg110(QWidget*, qint32 mode, const QString& text) {
    calls << QStringLiteral("Call_dlg110(%1, %2)").arg(mode).arg(text);
    if (duringDlg110)
        duringDlg110();
}

qint32 FakeVXB4Res::Call_dlg111(QWidget*, DateRecord& date) {
    calls << QStringLiteral("Call_dlg111(%1/%2/%3)").arg(date.wYear).arg(date.wMonth).arg(date.wDay);
    if (dlg111Result)
        date = dlg111Date;
    return dlg111Result;
}

QString FakeVXB4Res::Vx3FileDlg(QWidget*, qint32 flag, const QString& filter, const QString& initial,
                                const QString& title) {
    QString shown = filter;
    shown.replace(QChar(0), QLatin1Char('|'));
    calls << QStringLiteral("Vx3FileDlg(%1, %2, %3, %4)").arg(flag).arg(shown, initial, title);
    return fileDlgAnswer;
}

QString FakeVXB4Res::Vx3FolderDlg(QWidget*, const QString& prompt) {
    calls << QStringLiteral("Vx3FolderDlg(%1)").arg(prompt);
    return folderDlgAnswer;
}

qint32 FakeVXB4Res::Vx3ChooseColor(QWidget*, quint32& color, CustomColors& custom) {
    calls << QStringLiteral("Vx3ChooseColor(%1)").arg(color);
    if (chooseColorCustom)
        custom = *chooseColorCustom;
    if (chooseColorResult)
        color = chooseColorAnswer;
    return chooseColorResult;
}

QString FakeVXB4Res::GetOsInfo() {
    calls << QStringLiteral("GetOsInfo()");
    return osInfo;
}

OsVersionInfo FakeVXB4Res::GetVersionEx() {
    return osVersion;
}

int FakeVXB4Res::LenB_ASCII(const QString& text) {
    return core::lenB(text);
}

QString FakeVXB4Res::MidB_ASCII(const QString& text, int start, int count) {
    return core::midB(text, start, count);
}

qint32 FakeVXB4Res::VX4_GetPlgInfo(const QString& plugin, PlgInfo& info) {
    calls << QStringLiteral("VX4_GetPlgInfo(%1)").arg(plugin);
    if (pluginEngine)
        return pluginEngine->VX4_GetPlgInfo(plugin, info);
    if (plgInfoResult)
        info = plgInfo;
    return plgInfoResult;
}

void FakeVXB4Res::VX4_SetPlgComment(const QString& plugin, QWidget* textBox) {
    calls << QStringLiteral("VX4_SetPlgComment(%1)").arg(plugin);
    if (pluginEngine)
        return pluginEngine->VX4_SetPlgComment(plugin, textBox);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(textBox))
        plain->setPlainText(plgComment);
    else if (auto* rich = qobject_cast<QTextEdit*>(textBox))
        rich->setPlainText(plgComment);
}

void FakeVXB4Res::VX4_SetCorpAddList(const QString& plugin, QWidget* comboBox) {
    calls << QStringLiteral("VX4_SetCorpAddList(%1)").arg(plugin);
    if (pluginEngine)
        return pluginEngine->VX4_SetCorpAddList(plugin, comboBox);
    if (auto* combo = qobject_cast<QComboBox*>(comboBox))
        combo->addItems(plgCompanies);
}

void FakeVXB4Res::VX4_DrawSeiriken(const QString& plugin, QPainter& dc, const QString& chimei, const QString& date,
                                   const QString& time, qint32 keitou, qint16 seiriNum, qint16 row, qint16 corp) {
    calls << QStringLiteral("VX4_DrawSeiriken(%1, %2, %3, %4, %5, %6, %7, %8)")
                 .arg(plugin, chimei, date, time)
                 .arg(keitou)
                 .arg(seiriNum)
                 .arg(row)
                 .arg(corp);
    if (pluginEngine)
        return pluginEngine->VX4_DrawSeiriken(plugin, dc, chimei, date, time, keitou, seiriNum, row, corp);
    dc.drawText(QPoint(4, 16), chimei);
}

int FakeVXB4Res::count(const QString& name) const {
    int n = 0;
    for (const QString& c : calls)
        n += c.startsWith(name) ? 1 : 0;
    return n;
}

} // namespace platform
