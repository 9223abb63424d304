#pragma once
// The speech component: created once at start-up, released at exit. create()
// answers nullptr when no engine can be made here (no voice, no dictionary).
#include <QString>
#include <QtGlobal>

#include <memory>

class QWidget;

namespace platform {

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    // Starts speaking; returns at once. A running announcement is cut.
    virtual void Speak(const QString& text) = 0;
    // Stops the running announcement, if any.
    virtual void Stop() = 0;
    // True while an announcement is being synthesised or played.
    virtual bool IsSpeaking() const = 0;
    // 1 while speaking, 0 when idle, -1 when the last Speak could not be
    // carried out (the caller then issues Stop once more to clean up).
    virtual qint32 Status() const { return IsSpeaking() ? 1 : 0; }
    // The voice-settings dialog; its settings apply to the next announcement.
    virtual void ShowVoiceSettings(QWidget* owner) = 0;
};

class SpeechFactory {
public:
    virtual ~SpeechFactory() = default;
    virtual std::unique_ptr<SpeechEngine> create() = 0;
};

} // namespace platform
