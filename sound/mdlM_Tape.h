#pragma once
// The announcement "tape": the rows of a route's broadcast data file
// (<route>tp.csv), the position reached, and the speech engine that speaks
// them. The control panel's frame grpM_Tape with its buttons cmdTapeSet,
// cmdTapeBack, cmdTapeNext and cmdTapeStop shows whether speech can be used.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

class QGroupBox;
class SoundSettings;

namespace platform {
class SpeechEngine;
}

namespace mdlM_Tape {

struct TapeRow {
    QString Text;
    qint16 StepFlag = 0;  // 1: the fare board steps with this row
    qint16 SoundFlag = 0; // 1, 2, 3: slot 4, 5, 6 plays before the text
    bool operator==(const TapeRow&) const = default;
};

// Wiring, done once by the windows at start-up: the frame whose caption and
// enabling follow the engine and the loaded file (its buttons are found by
// objectName), and where the sound slots and their options are read.
void SetPanel(QGroupBox* grpM_Tape);
void SetSoundSettings(const SoundSettings* settings);

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
// The row's flags; 0 for a position outside 1..TapeRowCount.
qint16 GetStepFlag(qint32 pos);
qint16 GetSoundFlag(qint32 pos);
// "■", "調整" and the release at shut-down.
void StopSpeech();
void ShowVoiceSettings();
void ReleaseSpeech();

bool SpeechAvailable();
qint32 TapeRowCount();
// Row n of the table is element n - 1.
QList<TapeRow> TapeRows();
// The engine, nullptr when none was created or it was released.
platform::SpeechEngine* Engine();

// ---- reading broadcast data, free of widgets --------------------------------

// The file name for a route number text: "007" -> "7tp.csv", "" -> "0tp.csv".
QString TapeFileName(const QString& number);
// The file in folder (empty: the current directory) whose name equals
// TapeFileName(number) ignoring letter case; an exact match wins. Empty when
// there is none.
QString FindTapeFile(const QString& folder, const QString& number);
// The lines of a file: ended by CR LF or LF, a last line without an end
// counted too, each decoded from Shift-JIS.
QStringList SplitTapeLines(const QByteArray& bytes);
// One line as a row: the text (optionally in double quotes, which allow
// commas; "" inside quotes is one quote), then the step and sound flags.
// Missing or blank flags and flags that are not whole decimal numbers read
// as 0; a number outside the signed 16-bit range answers nullopt.
std::optional<TapeRow> ReadTapeLine(const QString& line);
// The rows of a whole file; nullopt when it has no lines or a flag is out of
// range.
std::optional<QList<TapeRow>> ReadTape(const QByteArray& bytes);

} // namespace mdlM_Tape
