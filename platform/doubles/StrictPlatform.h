#pragma once
// Strict stand-ins for every platform interface. Test executables start with
// them installed (tests/support/StrictMode.cpp), so a test that reaches a
// device, a dialog or the wall clock without installing a double fails at
// once, naming the call, instead of opening a real dialog, playing sound or
// waiting. Each call fails the running test function and then answers as a
// user who cancels would, so the code under test carries on without blocking.
//
// The helper library's pure operations (LenB_ASCII, MidB_ASCII, GetOsInfo,
// GetVersionEx) stay real: they only compute or read a fixed fact, and every
// window calls them while it is built.
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/Multimedia.h"
#include "platform/QtVXB4Res.h"
#include "platform/Shell.h"
#include "platform/Speech.h"

#include <QStringList>

namespace platform {

// Reports "a test reached the real <call> without a double" as a failure of
// the running test function (a fatal error outside any test function).
void strictViolation(const char* call);

// Every violation of this process, in order, as the call's name.
QStringList& strictViolations();

class StrictVXB4Res : public QtVXB4Res {
public:
    qint32 Call_dlg100(QWidget* window, qint16 keta, qint16& zeroMode, qint16& shift, qint16& fillZero) override;
    void Call_dlg110(QWidget* window, qint32 mode, const QString& text) override;
    qint32 Call_dlg111(QWidget* window, DateRecord& date) override;
    QString Vx3FileDlg(QWidget* window, qint32 flag, const QString& filter, const QString& initial,
                       const QString& title) override;
    QString Vx3FolderDlg(QWidget* window, const QString& prompt) override;
    qint32 Vx3ChooseColor(QWidget* window, quint32& color, CustomColors& custom) override;
    qint32 VX4_GetPlgInfo(const QString& plugin, PlgInfo& info) override;
    void VX4_SetPlgComment(const QString& plugin, QWidget* textBox) override;
    void VX4_SetCorpAddList(const QString& plugin, QWidget* comboBox) override;
    void VX4_DrawSeiriken(const QString& plugin, QPainter& dc, const QString& chimei, const QString& date,
                          const QString& time, qint32 keitou, qint16 seiriNum, qint16 row, qint16 corp) override;
};

class StrictMultimedia : public Multimedia {
public:
    qint32 mciSendString(const QString& command) override;
};

class StrictSpeechFactory : public SpeechFactory {
public:
    std::unique_ptr<SpeechEngine> create() override;
};

class StrictClock : public Clock {
public:
    void Sleep(int ms) override;
    QDateTime now() const override;
    qint64 elapsedMs() const override;
};

class StrictShell : public Shell {
public:
    bool openFolder(QWidget* owner, const QString& path) override;
};

class StrictClipboard : public Clipboard {
public:
    void clear() override;
    void setImage(const QImage& image) override;
};

class StrictMessageBox : public MessageBox {
public:
    MsgResult MsgBox(QWidget* owner, const QString& prompt, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override;
};

// Installs one of each for the rest of the process. Called once, before
// main(), by every test executable that links k27testsupport.
void installStrictPlatform();

} // namespace platform
