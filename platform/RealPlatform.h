#pragma once
// The real implementations of the platform interfaces.
#include "platform/DesktopShell.h"
#include "platform/Multimedia.h"
#include "platform/QtMessageBox.h"
#include "platform/QtVXB4Res.h"
#include "platform/RealClock.h"
#include "platform/Speech.h"
#include "platform/SystemClipboard.h"

namespace platform {

// The sound and speech back ends, made on first use.
Multimedia& realMultimedia();
SpeechFactory& realSpeechFactory();

} // namespace platform
