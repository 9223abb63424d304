#pragma once
// Shared by the tests: every platform interface replaced by its double for
// the lifetime of one PlatformDoubles, and small helpers to read pictures.
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
#include <QString>

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

// The colour of a pixel of an image whose device pixel ratio may be above 1,
// addressed in device pixels.
QColor pixel(const QImage& image, int x, int y);

// A path inside the source tree (K27_SOURCE_DIR is set by CTest).
QString sourcePath(const QString& relative);

// Finds a child by objectName or fails the test.
template <class T> T* child(QObject* parent, const QString& name);

} // namespace testsupport

template <class T> T* testsupport::child(QObject* parent, const QString& name) {
    return parent->findChild<T*>(name);
}
