#pragma once
// A speech engine that records what it is asked to say.
#include "platform/Speech.h"

#include <QStringList>

namespace platform {

class FakeSpeechEngine : public SpeechEngine {
public:
    explicit FakeSpeechEngine(QStringList* log) : log_(log) {}
    ~FakeSpeechEngine() override { *log_ << QStringLiteral("release"); }
    void Speak(const QString& text) override {
        *log_ << QStringLiteral("speak:") + text;
        speaking_ = reportSpeaking;
        failNextSpeak_ = reportFailure;
    }
    void Stop() override {
        *log_ << QStringLiteral("stop");
        speaking_ = false;
        failNextSpeak_ = false;
    }
    bool IsSpeaking() const override { return speaking_; }
    qint32 Status() const override { return failNextSpeak_ ? -1 : (speaking_ ? 1 : 0); }
    void ShowVoiceSettings(QWidget*) override { *log_ << QStringLiteral("voiceSettings"); }

    bool reportSpeaking = false;
    bool reportFailure = false; // Status() answers -1 after each Speak

private:
    QStringList* log_;
    bool speaking_ = false;
    bool failNextSpeak_ = false;
};

class FakeSpeechFactory : public SpeechFactory {
public:
    QStringList log;       // create, speak:<text>, stop, voiceSettings, release
    bool available = true; // false: create() answers nullptr
    FakeSpeechEngine* last = nullptr;

    std::unique_ptr<SpeechEngine> create() override {
        log << QStringLiteral("create");
        if (!available)
            return nullptr;
        auto engine = std::make_unique<FakeSpeechEngine>(&log);
        last = engine.get();
        return engine;
    }
};

} // namespace platform
