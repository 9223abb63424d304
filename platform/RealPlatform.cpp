#include "platform/RealPlatform.h"

#include "platform/OpenJTalkSpeech.h"
#include "platform/QtMciPlayer.h"

namespace platform {

Multimedia& realMultimedia() {
    static QtMciPlayer real;
    return real;
}

SpeechFactory& realSpeechFactory() {
    static OpenJTalkSpeechFactory real;
    return real;
}

} // namespace platform
