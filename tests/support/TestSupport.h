#pragma once
// Shared by the tests: the platform doubles, and small helpers to read
// pictures and make sounds.
//
// How a test gets its platform
// ----------------------------
// Every test executable that links k27testsupport starts in strict mode
// (platform/doubles/StrictPlatform.h, installed before main()): each
// platform interface -- the helper library's dialogs and plug-in calls,
// multimedia, speech, clock, shell, clipboard, message box -- fails the
// running test function with "a test reached the real <Interface>::<call>
// without a double" and answers as a cancelling user, instead of opening a
// dialog, playing sound or waiting. The helper library's LenB_ASCII,
// MidB_ASCII, GetOsInfo and GetVersionEx stay real.
//
//  * All doubles for one test function:   PlatformDoubles doubles;
//    Where every function of a class needs them, derive the test class from
//    testsupport::DoublesFixture: each test function gets fresh doubles in
//    d_, dropped in cleanup() even when a check fails. A class with more to
//    do declares its own init()/cleanup() and calls the fixture's.
//  * One double:     platform::ScopedInstall<platform::Clock> slot{myClock};
//  * A real implementation, on purpose (platform/RealPlatform.h has one
//    accessor per interface):
//        platform::ScopedInstall<platform::Multimedia> sound{platform::realMultimedia()};
//    Each install lasts for its scope and puts back what was there before,
//    so strict mode returns afterwards.
//  * Module state goes back in cleanup(), not at the end of a test body:
//    mdlM_Tape::reset() (engine, table, listener, sound settings), and
//    mdlSndAPI::CloseAllSounds() where real channels were opened.
//  * A test that needs an optional system tool (open_jtalk and its voice,
//    pulseaudio, parec, ...) skips with QSKIP and the reason where it is
//    missing, instead of failing.
#include "platform/Platform.h"
#include "platform/doubles/FakeSpeech.h"
#include "platform/doubles/FakeVXB4Res.h"
#include "platform/doubles/RecordingClipboard.h"
#include "platform/doubles/RecordingMultimedia.h"
#include "platform/doubles/RecordingShell.h"
#include "platform/doubles/RecordingWindowMover.h"
#include "platform/doubles/ScriptedMessageBox.h"
#include "platform/doubles/VirtualClock.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <optional>

class QMediaPlayer;
class QWidget;

struct PlatformDoubles {
    platform::FakeVXB4Res helper;
    platform::RecordingMultimedia multimedia;
    platform::FakeSpeechFactory speech;
    platform::VirtualClock clock;
    platform::RecordingShell shell;
    platform::RecordingClipboard clipboard;
    platform::ScriptedMessageBox messages;
    platform::RecordingWindowMover windowMover;

private:
    platform::ScopedInstall<platform::VXB4Res> helperSlot{helper};
    platform::ScopedInstall<platform::Multimedia> multimediaSlot{multimedia};
    platform::ScopedInstall<platform::SpeechFactory> speechSlot{speech};
    platform::ScopedInstall<platform::Clock> clockSlot{clock};
    platform::ScopedInstall<platform::Shell> shellSlot{shell};
    platform::ScopedInstall<platform::Clipboard> clipboardSlot{clipboard};
    platform::ScopedInstall<platform::MessageBox> messagesSlot{messages};
    platform::ScopedInstall<platform::WindowMover> windowMoverSlot{windowMover};
};

namespace testsupport {

// A base for test classes whose every test function uses the doubles. Qt
// Test finds init() and cleanup() here and runs them around each function.
class DoublesFixture : public QObject {
    Q_OBJECT

protected:
    std::optional<PlatformDoubles> d_;

protected Q_SLOTS:
    void init() { d_.emplace(); }
    void cleanup() { d_.reset(); }
};

// The colour of a pixel of an image whose device pixel ratio may be above 1,
// addressed in device pixels.
QColor pixel(const QImage& image, int x, int y);

// A path inside the source tree (K27_SOURCE_DIR is set by CTest).
QString sourcePath(const QString& relative);

// Writes a sine tone of ms milliseconds as a 16-bit mono PCM WAV at 22.05
// kHz, for sounds whose length a test chooses. False when it cannot write.
bool writeToneWav(const QString& path, int ms, int hz = 660);

// Asks a child process to end, kills it when it does not within 3 s, and
// waits for it.
void endProcess(QProcess& process);

// Finds a child by objectName or fails the test.
template <class T> T* child(QObject* parent, const QString& name);

// Waits until player is seen playing past its start. Now and then, on a
// starved machine, GStreamer races a sound to its end before the test sees
// it play; restart() then starts it again, for up to 20 s. False when it
// never was seen under way (or the player went).
bool seenUnderWay(const QPointer<QMediaPlayer>& player, const std::function<void()>& restart);

// A PulseAudio server of the test's own, with one null sink ("nullsink",
// recorded from "nullsink.monitor"). Sound played into it runs in real time
// on any machine, one without a sound device too, where GStreamer would
// otherwise fall back to a sink that may race through a file when the
// machine is busy. Its socket, state and runtime files live in a fresh
// folder, so tests running at the same time (or a user's desktop server)
// neither see it nor disturb it.
//
// start() points this process's players at it (PULSE_SERVER): call it in
// initTestCase, before the first player or audio device list is made.
// stop() puts the variable back.
class PrivateSoundServer {
public:
    PrivateSoundServer() = default;
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;
    ~PrivateSoundServer() { stop(); }

    // Whether pulseaudio is installed, so that start() can work.
    static bool installed();
    // Empty once the server listens; otherwise why it does not (pulseaudio
    // not installed, did not start), and the process keeps its own output.
    QString start();
    // As start(), but empty also where pulseaudio is not installed: the
    // process then plays on the machine's own output.
    QString startIfInstalled() { return installed() ? start() : QString(); }
    void stop();
    bool running() const { return server_.state() == QProcess::Running; }
    // The environment for a client run as a child process (parec, ...).
    QProcessEnvironment clientEnvironment() const { return clientEnv_; }

private:
    QTemporaryDir runtime_;
    QProcess server_;
    QProcessEnvironment clientEnv_;
    std::optional<QByteArray> previousAddress_; // PULSE_SERVER before start()
};

} // namespace testsupport

template <class T> T* testsupport::child(QObject* parent, const QString& name) {
    return parent->findChild<T*>(name);
}
