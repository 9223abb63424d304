#pragma once
// Sound output lives in a module of its own, libk27media.so (Qt Multimedia,
// GStreamer, PulseAudio and their codecs), loaded when the first sound or
// announcement needs it. Loading those libraries with the program would cost
// every start about a tenth of its time and several megabytes for a program
// that may never sound. The interfaces here are plain C++ and Qt Core, so
// that the module needs nothing from the program and the program nothing
// from Qt Multimedia.
//
// Programs that link the k27media library (tests, benchmarks) have the back
// end built in and load no module.
#include "platform/Multimedia.h"

#include <QString>

#include <functional>
#include <memory>

class QObject;

namespace platform {

// Plays the speech engine's WAV pieces, one at a time.
class SpeechPlayer {
public:
    struct Events {
        std::function<void()> started;          // the piece has begun to sound
        std::function<void(bool failed)> ended; // played to its end, or failed
        std::function<void(qint64 ms)> position;
    };
    virtual ~SpeechPlayer() = default;
    // Sets up the player the next piece will play on, so that its set-up (the
    // first one starts the media back end) overlaps the synthesis.
    virtual void prepare() = 0;
    // Starts the file; a piece still playing is cut. Each piece gets a player
    // of its own: with Qt 6.4's GStreamer back end a new source on a player
    // that has just reached its end can end at once, unheard.
    virtual void play(const QString& wavPath) = 0;
    // Stops and forgets the piece; no event of it follows.
    virtual void stop() = 0;
    // 0 to 1, for this and later pieces.
    virtual void setVolume(float volume) = 0;
    // The media player of the piece playing or last played, or nullptr (for
    // tests and measurements).
    virtual QObject* mediaObject() const = 0;
};

class MediaBackend {
public:
    virtual ~MediaBackend() = default;
    // The command-string player for sound files.
    virtual Multimedia& multimedia() = 0;
    // A speech player whose media objects are children of owner.
    virtual std::unique_ptr<SpeechPlayer> createSpeechPlayer(QObject* owner, SpeechPlayer::Events events) = 0;
};

// The back end: the built-in one, or the module's, loaded on the first call.
// nullptr when the module cannot be found or loaded (said once on stderr).
MediaBackend* mediaBackend();

// Whether mediaBackend() can give a back end, judged without loading the
// module: built in, or the module file is in place.
bool mediaBackendAvailable();

// Where the module is looked for, in order: beside the executable, the
// installed library folder, the build folder.
QStringList mediaModuleCandidates();

// Loads the module from the first candidate that holds one and returns its
// back end; nullptr, with a message on stderr, when none loads.
// mediaBackend() calls it once where no back end is built in.
MediaBackend* loadMediaModule();

// Answers the commands as the command-string player does while nothing is
// open, and hands the back end every command once a file is to be opened:
// closing and stopping at start-up and exit load nothing.
class LazyMultimedia : public Multimedia {
public:
    qint32 mciSendString(const QString& command) override;
    // Whether a command has reached the back end.
    bool backendInUse() const { return inUse_; }

private:
    bool inUse_ = false;
};

} // namespace platform

// The module's entry point, also present in programs that link k27media.
extern "C" platform::MediaBackend* k27_media_backend();
