#include "platform/RealPlatform.h"

#include "platform/MediaBackend.h"
#include "platform/OpenJTalkSpeech.h"

namespace platform {

Multimedia& realMultimedia() {
    static LazyMultimedia real;
    return real;
}

SpeechFactory& realSpeechFactory() {
    static OpenJTalkSpeechFactory real;
    return real;
}

} // namespace platform
