#include "platform/RealPlatform.h"

namespace platform {

namespace {
// Until a sound back end is linked in, every open fails with the platform's
// "device not available" code, so callers skip sounds as they do for any
// file that cannot be opened.
class UnavailableMultimedia : public Multimedia {
public:
    qint32 mciSendString(const QString&) override { return 263; }
};

class UnavailableSpeech : public SpeechFactory {
public:
    std::unique_ptr<SpeechEngine> create() override { return nullptr; }
};
} // namespace

Multimedia& realMultimedia() {
    static UnavailableMultimedia real;
    return real;
}

SpeechFactory& realSpeechFactory() {
    static UnavailableSpeech real;
    return real;
}

} // namespace platform
