#pragma once
// Japanese speech through Open JTalk. Each announcement is split at sentence
// ends; every piece is synthesised by its own open_jtalk process into a
// temporary WAV, and the pieces play one after another on the engine's
// speech player (platform/MediaBackend.h) while the next is synthesised.
// Nothing here blocks the windows.
//
// Creating the engine is cheap: its player, and with it the sound module and
// the media back end, is made by the first announcement while the
// synthesiser works on the first piece; the WAVs go to the process's scratch
// folder (platform/ScratchFolder.h), made by the first announcement too.
#include "platform/MediaBackend.h"
#include "platform/Speech.h"
#include "platform/VoiceSettingsDialog.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class QProcess;
class QTemporaryDir;

namespace platform {

// Where the synthesiser, its dictionary and its voice are.
struct OpenJTalkFiles {
    QString program;    // the open_jtalk executable
    QString dictionary; // folder of the compiled NAIST dictionary
    QString voice;      // an .htsvoice file

    // The installed places (Debian's packages); empty fields where not found.
    static OpenJTalkFiles installed();
    bool complete() const;
};

class OpenJTalkSpeech : public QObject, public SpeechEngine {
    Q_OBJECT

public:
    // Use create() in OpenJTalkSpeechFactory; files must be complete.
    explicit OpenJTalkSpeech(const OpenJTalkFiles& files);
    ~OpenJTalkSpeech() override;

    void Speak(const QString& text) override;
    void Stop() override;
    bool IsSpeaking() const override;
    qint32 Status() const override;
    void ShowVoiceSettings(QWidget* owner) override;

    VoiceSettings voiceSettings() const { return voice_; }
    void setVoiceSettings(const VoiceSettings& v);

    // Whether the first announcement has made the speech player yet.
    bool hasPlayer() const { return player_ != nullptr; }
    // The media player of the piece sounding or about to sound, nullptr when
    // none (for tests and measurements).
    QObject* playerObject() const;

    // The open_jtalk arguments for one piece written to wavPath.
    QStringList synthesisArguments(const QString& wavPath) const;

    // Splits text into pieces the synthesiser handles safely: after each
    // sentence end (。！？!? and line breaks); a piece still longer than
    // maxChars is cut after its last 、or space before the limit, or hard at
    // the limit. Pieces are trimmed; empty ones are dropped.
    static QStringList splitForSynthesis(const QString& text, int maxChars = 100);

signals:
    // The first piece of an announcement has started to sound.
    void speechStarted();
    // The last piece of an announcement has finished (not sent on Stop).
    void speechFinished();
    // Where in its piece the sound is, as the player reports it (for
    // measurements).
    void playbackPosition(qint64 ms);

private:
    // Makes the speech player; false when there is no sound back end.
    bool makePlayer();
    // The folder the WAVs go to, made on first use; empty when none can be.
    QString wavFolder();
    void startNextSynthesis();
    void synthesisDone(int exitCode, bool crashed);
    void playNextIfIdle();
    void pieceEnded();

    OpenJTalkFiles files_;
    VoiceSettings voice_;
    QString folder_;
    std::unique_ptr<QTemporaryDir> fallbackDir_; // where no scratch folder can be made
    int serial_;                                 // tells this engine's WAVs from others'
    QPointer<QProcess> synth_;
    std::unique_ptr<SpeechPlayer> player_;
    QStringList pending_; // pieces not yet synthesised
    QStringList ready_;   // synthesised WAVs waiting to play
    QString playing_;     // the WAV on the player, empty when idle
    QString synthFile_;   // the WAV being synthesised
    int pieceCount_ = 0;
    bool started_ = false;
    bool failed_ = false;
};

class OpenJTalkSpeechFactory : public SpeechFactory {
public:
    // Looks in the installed places.
    OpenJTalkSpeechFactory();
    explicit OpenJTalkSpeechFactory(const OpenJTalkFiles& files);
    // nullptr when the program, the dictionary, the voice or the sound module
    // is missing, or no Qt application is running. Also clears away the scratch folders that
    // ended processes left behind.
    std::unique_ptr<SpeechEngine> create() override;

private:
    OpenJTalkFiles files_;
    bool lookUp_;
};

} // namespace platform
