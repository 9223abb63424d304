#include "platform/RealPlatform.h"

#include "platform/MediaBackend.h"
#include "platform/OpenJTalkSpeech.h"

namespace platform {

VXB4Res& realHelper() {
    static QtVXB4Res real;
    return real;
}

Multimedia& realMultimedia() {
    static LazyMultimedia real;
    return real;
}

SpeechFactory& realSpeechFactory() {
    static OpenJTalkSpeechFactory real;
    return real;
}

Clock& realClock() {
    static RealClock real;
    return real;
}

Shell& realShell() {
    static DesktopShell real;
    return real;
}

Clipboard& realClipboard() {
    static SystemClipboard real;
    return real;
}

MessageBox& realMessageBox() {
    static QtMessageBox real;
    return real;
}

} // namespace platform
