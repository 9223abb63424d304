#pragma once
// The announcement "tape": the rows of a route's broadcast data file
// (<route>tp.csv), the position reached, and the speech engine that speaks
// them. The control panel's frame grpM_Tape with its buttons cmdTapeSet,
// cmdTapeBack, cmdTapeNext and cmdTapeStop shows whether speech can be used.
#include "sound/TapeFile.h"

#include <QList>
#include <QString>
#include <QtGlobal>

#include <functional>

class QWidget;
class SoundSettings;

namespace platform {
class SpeechEngine;
}

namespace mdlM_Tape {

// What the control panel's announcement frame shows. The module reports
// every change to the listener the panel registers; the panel sets its own
// frame and buttons from it.
struct FrameState {
    bool speechAvailable = false; // caption "音合使用可" / "音合使用不可"
    bool frameEnabled = false;
    bool buttonsEnabled = false;
    bool operator==(const FrameState&) const = default;
};
using FrameListener = std::function<void(const FrameState&)>;

// Wiring, done once at start-up: who hears about the frame (told the
// current state at once), and where the sound slots and their options are
// read.
void setFrameListener(FrameListener listener);
void setSoundSettings(const SoundSettings* settings);
FrameState frameState();

// Back to the state before start-up: no engine, no table, position 0, no
// listener, no sound settings. Test fixtures call it between tests.
void reset();

// Creates the speech engine and shows in the frame whether speech is usable.
void InitSpeech();
// Loads folder + number + "tp.csv" (the name matched without regard to
// letter case; leading zeros of the number dropped). Any failure disables the
// frame without a message.
void LoadTape(const QString& folder, const QString& number);
// "送り" and "戻し": move one row, play the row's sound, speak it.
void AnnounceNext();
void AnnounceBack();
// Stops any speech and speaks row pos.
void SpeakRow(qint32 pos);
qint32 GetTapePos();
// The row's flags; 0 for a position outside 1..tapeRowCount().
qint16 GetStepFlag(qint32 pos);
qint16 GetSoundFlag(qint32 pos);
// "■", "調整" and the release at shut-down.
void StopSpeech();
void ShowVoiceSettings(QWidget* owner);
void ReleaseSpeech();

bool SpeechAvailable();
qint32 tapeRowCount();
// Row n of the table is element n - 1.
QList<TapeRow> TapeRows();
// The engine, nullptr when none was created or it was released.
platform::SpeechEngine* engine();

} // namespace mdlM_Tape
