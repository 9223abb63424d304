#pragma once
// The real implementations of the platform interfaces, each made on first
// use (after QApplication exists). platform::helper() and the other
// accessors fall back to these when nothing is installed; a test that means
// to use one installs it explicitly:
//   platform::ScopedInstall<platform::Clock> realTime{platform::realClock()};
#include "platform/DesktopShell.h"
#include "platform/Multimedia.h"
#include "platform/QtMessageBox.h"
#include "platform/QtVXB4Res.h"
#include "platform/RealClock.h"
#include "platform/Speech.h"
#include "platform/SystemClipboard.h"

namespace platform {

VXB4Res& realHelper();
Multimedia& realMultimedia();
SpeechFactory& realSpeechFactory();
Clock& realClock();
Shell& realShell();
Clipboard& realClipboard();
MessageBox& realMessageBox();

} // namespace platform
