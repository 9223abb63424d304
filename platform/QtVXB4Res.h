#pragma once
#include "platform/TicketPlugin.h"
#include "platform/VXB4Res.h"

namespace platform {

// The helper library written for this program: Qt dialogs of our own, the
// Shift-JIS byte operations and the numbered-ticket plug-in engine. Plug-ins
// are declarative files (platform/TicketPlugin.h): nothing in them is ever
// loaded or run as code.
class QtVXB4Res : public VXB4Res {
public:
    QtVXB4Res();

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

private:
    // Parsed plug-ins by path, checked once for bar codes that fit.
    ticket::TicketPluginCache plugins_;
};

// Turns a "label NUL pattern NUL ... NUL NUL" filter into Qt's
// "label (pattern);;label (pattern)" form.
QString qtFileFilter(const QString& nulSeparated);

} // namespace platform
