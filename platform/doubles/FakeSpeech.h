#pragma once
// A speech engine that records what it is asked to say.
#include "platform/Speech.h"

#include <QStringList>

#include <memory>

namespace platform {

// An engine may outlive the factory that made it: the announcement module
// keeps its engine until it is released, and a test that never releases it
// leaves it to the end of the process, long after the test's doubles are
// gone. Such an engine then records nothing instead of writing into the
// factory's freed log.
class FakeSpeechEngine : public SpeechEngine {
public:
    FakeSpeechEngine(QStringList* log, std::shared_ptr<const bool> factoryAlive)
        : log_(log), factoryAlive_(std::move(factoryAlive)) {}
    ~FakeSpeechEngine() override { record(QStringLiteral("release")); }
    void Speak(const QString& text) override {
        record(QStringLiteral("speak:") + text);
        speaking_ = reportSpeaking;
        failNextSpeak_ = reportFailure;
    }
    void Stop() override {
        record(QStringLiteral("stop"));
        speaking_ = false;
        failNextSpeak_ = false;
    }
    bool IsSpeaking() const override { return speaking_; }
    qint32 Status() const override { return failNextSpeak_ ? -1 : (speaking_ ? 1 : 0); }
    void ShowVoiceSettings(QWidget*) override { record(QStringLiteral("voiceSettings")); }

    bool reportSpeaking = false;
    bool reportFailure = false; // Status() answers -1 after each Speak

private:
    void record(const QString& entry) {
        if (*factoryAlive_)
            *log_ << entry;
    }

    QStringList* log_;
    std::shared_ptr<const bool> factoryAlive_;
    bool speaking_ = false;
    bool failNextSpeak_ = false;
};

class FakeSpeechFactory : public SpeechFactory {
public:
    FakeSpeechFactory() = default;
    ~FakeSpeechFactory() override { *alive_ = false; }
    FakeSpeechFactory(const FakeSpeechFactory&) = delete;
    FakeSpeechFactory& operator=(const FakeSpeechFactory&) = delete;

    QStringList log;       // create, speak:<text>, stop, voiceSettings, release
    bool available = true; // false: create() answers nullptr
    FakeSpeechEngine* last = nullptr;

    std::unique_ptr<SpeechEngine> create() override {
        log << QStringLiteral("create");
        if (!available)
            return nullptr;
        auto engine = std::make_unique<FakeSpeechEngine>(&log, alive_);
        last = engine.get();
        return engine;
    }

private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace platform
