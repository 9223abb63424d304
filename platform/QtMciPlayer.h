#pragma once
// The multimedia command strings played through Qt Multimedia: one
// QMediaPlayer with its own audio output per alias. Understands the commands
// the sound module sends:
//   open "<path>" type waveaudio|mpegvideo|sequencer alias <name> [wait]
//   play <name> [from <ms>] [wait]
//   stop <name>
//   close <name> | close all
// An open loads the file before it returns, so a file that cannot be decoded
// (missing decoder, broken file, not a sound at all) fails the open. A
// "play ... wait" returns when the sound has ended, running a local event loop
// that keeps windows painting and leaves the operator's input queued.
#include "platform/Multimedia.h"

#include <QHash>
#include <QPointer>
#include <QStringList>

class QMediaPlayer;

namespace platform {

class QtMciPlayer : public Multimedia {
public:
    QtMciPlayer();
    ~QtMciPlayer() override;
    QtMciPlayer(const QtMciPlayer&) = delete;
    QtMciPlayer& operator=(const QtMciPlayer&) = delete;

    qint32 mciSendString(const QString& command) override;

    // The longest an open waits for the file to load: generous, so that a
    // slow machine still plays a MIDI file (whose synthesiser must start
    // before the file counts as loaded) rather than skip it.
    int openTimeoutMs = 30000;
    // A waiting play gives up after the sound's length plus this margin (or
    // this long when the length is unknown), so a back end that never reports
    // the end cannot freeze the program.
    int playMarginMs = 15000;

    // Splits a command into words; a word in double quotes may hold spaces.
    static QStringList tokenize(const QString& command);

    // The aliases open now (for tests and measurements).
    QStringList aliases() const;
    // The player behind an alias, nullptr when none.
    QMediaPlayer* player(const QString& alias) const;

private:
    qint32 open(const QStringList& words);
    qint32 play(const QStringList& words);
    qint32 stop(const QStringList& words);
    qint32 close(const QStringList& words);
    void closeAlias(const QString& key);

    // Keys are aliases in lower case: aliases are not case-sensitive.
    QHash<QString, QPointer<QMediaPlayer>> players_;
};

} // namespace platform
