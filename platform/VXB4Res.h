#pragma once
// The helper library: the dialogs, the system query, the byte-wise Shift-JIS
// string operations and the numbered-ticket plug-in calls the program relies
// on. Callers reach it through platform::helper(); the real implementation is
// QtVXB4Res, tests install a FakeVXB4Res.
#include <QString>
#include <QtGlobal>

#include <array>

class QWidget;
class QPainter;

namespace platform {

// Date record handed to Call_dlg111: eight 16-bit fields, passed zeroed.
struct DateRecord {
    qint16 wYear = 0;
    qint16 wMonth = 0;
    qint16 wDayOfWeek = 0;
    qint16 wDay = 0;
    qint16 wHour = 0;
    qint16 wMinute = 0;
    qint16 wSecond = 0;
    qint16 wMilliseconds = 0;
};

// Plug-in information record filled by VX4_GetPlgInfo: 14 signed 32-bit
// fields (56 bytes), zeroed before the call.
struct PlgInfo {
    qint32 InfoHead = 0;
    qint32 PrevWidth = 0;
    qint32 PrevHeight = 0;
    qint32 CanDate = 0;
    qint32 CanTime = 0;
    qint32 CanKeitou = 0;
    qint32 CanChimei = 0;
    qint32 CanBarcode = 0;
    qint32 BarcodeCount = 0;
    qint32 KeitouMax = 0;
    qint32 BarcodeMode = 0;
    qint32 StopFrom = 0;
    qint32 StopTo = 0;
    qint32 CorpCount = 0;
};
static_assert(sizeof(PlgInfo) == 56);

// The 17 custom colours the colour dialog reads and updates.
using CustomColors = std::array<quint32, 17>;

// Operating-system version record, read once by every M_Degit at creation.
struct OsVersionInfo {
    qint32 platformId = 0; // 1: the older consumer family, 2: the NT family
    qint32 majorVersion = 0;
};

class VXB4Res {
public:
    virtual ~VXB4Res() = default;

    // Digit settings dialog: zero mode, shift and fill-zero in/out.
    // Returns 1 when accepted, 0 when cancelled.
    virtual qint32 Call_dlg100(QWidget* window, qint16 keta, qint16& zeroMode, qint16& shift, qint16& fillZero) = 0;
    // Modal text dialog (the version dialog); mode is always 1.
    virtual void Call_dlg110(QWidget* window, qint32 mode, const QString& text) = 0;
    // Date dialog; non-zero when a date was chosen (year, month, day filled).
    virtual qint32 Call_dlg111(QWidget* window, DateRecord& date) = 0;
    // File dialog. The filter is "label NUL pattern NUL ... NUL NUL".
    // Returns the chosen path, empty when cancelled.
    virtual QString Vx3FileDlg(QWidget* window, qint32 flag, const QString& filter, const QString& initial,
                               const QString& title) = 0;
    // Folder dialog; the chosen folder, empty when cancelled.
    virtual QString Vx3FolderDlg(QWidget* window, const QString& prompt) = 0;
    // Colour dialog; non-zero when a colour was chosen (written to color).
    virtual qint32 Vx3ChooseColor(QWidget* window, quint32& color, CustomColors& custom) = 0;

    // Name of the running system.
    virtual QString GetOsInfo() = 0;
    // The version record behind the digit control's font rule.
    virtual OsVersionInfo GetVersionEx() = 0;

    // Length of the text in Shift-JIS bytes.
    virtual int LenB_ASCII(const QString& text) = 0;
    // count bytes from the 1-based byte position start, as text.
    virtual QString MidB_ASCII(const QString& text, int start, int count) = 0;

    // Numbered-ticket plug-ins.
    virtual qint32 VX4_GetPlgInfo(const QString& plugin, PlgInfo& info) = 0;
    virtual void VX4_SetPlgComment(const QString& plugin, QWidget* textBox) = 0;
    virtual void VX4_SetCorpAddList(const QString& plugin, QWidget* comboBox) = 0;
    virtual void VX4_DrawSeiriken(const QString& plugin, QPainter& dc, const QString& chimei, const QString& date,
                                  const QString& time, qint32 keitou, qint16 seiriNum, qint16 row, qint16 corp) = 0;
};

} // namespace platform
