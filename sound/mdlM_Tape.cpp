#include "sound/mdlM_Tape.h"

#include "platform/Platform.h"
#include "platform/Speech.h"
#include "platform/VXB4Res.h"
#include "sound/SoundSettings.h"
#include "sound/mdlSndAPI.h"

#include <memory>

namespace mdlM_Tape {

namespace {

struct State {
    QList<TapeRow> rows; // TapeRows(1..n) at 0..n-1
    qint32 pos = 0;      // TapePos
    bool speechAvailable = false;
    std::unique_ptr<platform::SpeechEngine> engine;
    FrameState frame;
    FrameListener listener;
    const SoundSettings* settings = nullptr;
};

State& state() {
    static State s;
    return s;
}

bool speechBlockedBySystem() {
    return platform::helper().GetOsInfo() == QStringLiteral("Windows Vista");
}

void publishFrame() {
    State& s = state();
    s.frame.speechAvailable = s.speechAvailable;
    if (s.listener)
        s.listener(s.frame);
}

void showUnavailable() {
    State& s = state();
    s.speechAvailable = false;
    s.frame.frameEnabled = false;
    publishFrame();
}

void loadFailed() {
    State& s = state();
    // Nothing of a failed file stays reachable: the frame may be enabled again
    // by the blank command, so the buttons go off and the table is emptied.
    s.rows.clear();
    s.pos = 0;
    s.frame.frameEnabled = false;
    s.frame.buttonsEnabled = false;
    publishFrame();
}

void playSlot(int slot, const QString& key) {
    const SoundSettings* settings = state().settings;
    if (!settings)
        return;
    mdlSndAPI::PlaySoundFile(settings->soundFile(slot), key, settings->tapeSync(), 0);
}

int slotForSoundFlag(qint16 flag) {
    return flag >= 1 && flag <= 3 ? 3 + flag : -1;
}

} // namespace

void setFrameListener(FrameListener listener) {
    state().listener = std::move(listener);
    publishFrame();
}
void setSoundSettings(const SoundSettings* settings) {
    state().settings = settings;
}

FrameState frameState() {
    return state().frame;
}

void reset() {
    state() = State{};
}

void InitSpeech() {
    State& s = state();
    s.engine.reset();
    if (speechBlockedBySystem()) {
        showUnavailable();
        return;
    }
    s.engine = platform::speechFactory().create();
    if (!s.engine) {
        showUnavailable();
        return;
    }
    s.speechAvailable = true;
    s.frame.frameEnabled = true;
    publishFrame();
}

void LoadTape(const QString& folder, const QString& number) {
    if (speechBlockedBySystem())
        return;
    State& s = state();
    const QString path = findTapeFile(folder, number);
    if (path.isEmpty())
        return loadFailed();
    auto rows = readTapeFile(path);
    if (!rows)
        return loadFailed();
    s.rows = std::move(*rows);
    s.pos = 0;
    if (s.speechAvailable) {
        s.frame.frameEnabled = true;
        s.frame.buttonsEnabled = true;
        publishFrame();
    }
}

void AnnounceNext() {
    State& s = state();
    ++s.pos;
    if (s.pos > s.rows.size()) {
        s.pos = qint32(s.rows.size());
        return;
    }
    int slot = -1;
    if (s.settings && s.settings->tapeAlways())
        slot = 3;
    else
        slot = slotForSoundFlag(GetSoundFlag(s.pos));
    if (slot >= 0)
        playSlot(slot, QStringLiteral("S3"));
    SpeakRow(s.pos);
}

void AnnounceBack() {
    State& s = state();
    --s.pos;
    if (s.pos < 1) {
        s.pos = 1;
        return;
    }
    const int slot = slotForSoundFlag(GetSoundFlag(s.pos));
    if (slot >= 0)
        playSlot(slot, QStringLiteral("S2"));
    SpeakRow(s.pos);
}

void SpeakRow(qint32 pos) {
    State& s = state();
    if (!s.engine || pos < 1 || pos > s.rows.size())
        return;
    s.engine->Stop();
    s.engine->Speak(s.rows.at(pos - 1).Text);
    if (s.engine->Status() == -1)
        s.engine->Stop();
}

qint32 GetTapePos() {
    return state().pos;
}

qint16 GetStepFlag(qint32 pos) {
    const State& s = state();
    return pos >= 1 && pos <= s.rows.size() ? s.rows.at(pos - 1).StepFlag : qint16(0);
}

qint16 GetSoundFlag(qint32 pos) {
    const State& s = state();
    return pos >= 1 && pos <= s.rows.size() ? s.rows.at(pos - 1).SoundFlag : qint16(0);
}

void StopSpeech() {
    if (state().engine)
        state().engine->Stop();
}

void ShowVoiceSettings(QWidget* owner) {
    State& s = state();
    if (s.engine)
        s.engine->ShowVoiceSettings(owner);
}

void ReleaseSpeech() {
    state().engine.reset();
}

bool SpeechAvailable() {
    return state().speechAvailable;
}
qint32 tapeRowCount() {
    return qint32(state().rows.size());
}
QList<TapeRow> TapeRows() {
    return state().rows;
}
platform::SpeechEngine* engine() {
    return state().engine.get();
}

} // namespace mdlM_Tape
