#include "platform/QtMciPlayer.h"

#include "platform/GstPlayback.h"
#include "platform/MidiSynth.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

namespace platform {

QtMciPlayer::QtMciPlayer() = default;

QtMciPlayer::~QtMciPlayer() {
    // Players still open belong to the application object; when it is gone
    // they have gone with it and the guarded pointers are null.
    for (auto& p : players_)
        delete p.data();
}

QStringList QtMciPlayer::tokenize(const QString& command) {
    QStringList words;
    QString word;
    bool inQuotes = false, haveWord = false;
    for (const QChar c : command) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            haveWord = true; // "" is an empty word, not nothing
        } else if (c.isSpace() && !inQuotes) {
            if (haveWord)
                words << word;
            word.clear();
            haveWord = false;
        } else {
            word += c;
            haveWord = true;
        }
    }
    if (haveWord)
        words << word;
    return words;
}

qint32 QtMciPlayer::mciSendString(const QString& command) {
    const QStringList words = tokenize(command);
    if (words.isEmpty())
        return mci::kUnrecognizedCommand;
    const QString verb = words.first().toLower();
    if (verb == u"open")
        return open(words);
    if (verb == u"play")
        return play(words);
    if (verb == u"stop")
        return stop(words);
    if (verb == u"close")
        return close(words);
    return mci::kUnrecognizedCommand;
}

QStringList QtMciPlayer::aliases() const {
    QStringList out;
    for (auto it = players_.cbegin(); it != players_.cend(); ++it)
        if (it.value())
            out << it.key();
    out.sort();
    return out;
}

QMediaPlayer* QtMciPlayer::player(const QString& alias) const {
    return players_.value(alias.toLower()).data();
}

namespace {
bool loadFinished(QMediaPlayer::MediaStatus s) {
    return s == QMediaPlayer::LoadedMedia || s == QMediaPlayer::BufferedMedia || s == QMediaPlayer::InvalidMedia ||
           s == QMediaPlayer::EndOfMedia;
}
} // namespace

qint32 QtMciPlayer::open(const QStringList& words) {
    if (words.size() < 2)
        return mci::kMissingParameter;
    const QString path = words.at(1);
    QString type, alias;
    for (qsizetype i = 2; i < words.size(); ++i) {
        const QString w = words.at(i).toLower();
        if ((w == u"type" || w == u"alias") && i + 1 < words.size()) {
            (w == u"type" ? type : alias) = words.at(++i);
        } else if (w != u"wait" && w != u"shareable") {
            return mci::kUnrecognizedCommand;
        }
    }
    if (alias.isEmpty())
        alias = path;
    type = type.toLower();
    if (!type.isEmpty() && type != u"waveaudio" && type != u"mpegvideo" && type != u"sequencer")
        return mci::kInvalidDeviceName;
    const QString key = alias.toLower();
    if (players_.value(key))
        return mci::kDuplicateAlias;
    if (!QCoreApplication::instance())
        return mci::kNoApplication;
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || !file.isReadable())
        return mci::kFileNotFound;

    // A MIDI file plays with our SoundFont, loaded once for the whole run.
    static const QStringList midiSuffixes = {QStringLiteral("mid"), QStringLiteral("midi"), QStringLiteral("rmi"),
                                             QStringLiteral("kar")};
    if (type == u"sequencer" || midiSuffixes.contains(file.suffix().toLower()))
        midi::prepare();

    // Without GStreamer's decoding bins making the player would crash.
    if (!gst::playerElementsPresent())
        return mci::kInvalidFile;
    auto* player = new QMediaPlayer(QCoreApplication::instance());
    player->setAudioOutput(new QAudioOutput(player));

    // Load before answering, so that an undecodable file fails here.
    QEventLoop loop;
    QObject::connect(player, &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus s) {
        if (loadFinished(s))
            loop.quit();
    });
    QObject::connect(player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(openTimeoutMs, &loop, &QEventLoop::quit);
    player->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    if (!loadFinished(player->mediaStatus()) && player->error() == QMediaPlayer::NoError)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    const auto status = player->mediaStatus();
    const bool loaded = player->error() == QMediaPlayer::NoError &&
                        (status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferedMedia);
    if (!loaded) {
        const bool unreadable = player->error() == QMediaPlayer::ResourceError;
        delete player;
        return unreadable ? mci::kFileNotFound : mci::kInvalidFile;
    }
    players_.insert(key, player);
    return mci::kOk;
}

qint32 QtMciPlayer::play(const QStringList& words) {
    if (words.size() < 2)
        return mci::kMissingParameter;
    QMediaPlayer* player = this->player(words.at(1));
    if (!player)
        return mci::kInvalidDeviceName;
    qint64 from = -1;
    bool wait = false;
    for (qsizetype i = 2; i < words.size(); ++i) {
        const QString w = words.at(i).toLower();
        if (w == u"from" && i + 1 < words.size()) {
            bool ok = false;
            from = words.at(++i).toLongLong(&ok);
            if (!ok || from < 0)
                return mci::kMissingParameter;
        } else if (w == u"wait") {
            wait = true;
        } else {
            return mci::kUnrecognizedCommand;
        }
    }
    if (from >= 0)
        player->setPosition(from);
    player->play();
    if (!wait)
        return mci::kOk;

    // Wait for the end in a local loop: windows still paint, the operator's
    // clicks and keys wait in the queue until the sound is over.
    QPointer<QMediaPlayer> guard(player);
    QEventLoop loop;
    QObject::connect(player, &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia)
            loop.quit();
    });
    QObject::connect(player, &QMediaPlayer::playbackStateChanged, &loop, [&loop](QMediaPlayer::PlaybackState s) {
        if (s != QMediaPlayer::PlayingState)
            loop.quit();
    });
    QObject::connect(player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(player, &QObject::destroyed, &loop, &QEventLoop::quit);
    const qint64 length = qMax<qint64>(0, player->duration() - qMax<qint64>(0, from));
    QTimer::singleShot(int(qMin<qint64>(length + playMarginMs, 3600000)), &loop, &QEventLoop::quit);
    if (player->playbackState() == QMediaPlayer::PlayingState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return mci::kOk;
}

qint32 QtMciPlayer::stop(const QStringList& words) {
    if (words.size() < 2)
        return mci::kMissingParameter;
    QMediaPlayer* player = this->player(words.at(1));
    if (!player)
        return mci::kInvalidDeviceName;
    player->stop();
    return mci::kOk;
}

qint32 QtMciPlayer::close(const QStringList& words) {
    if (words.size() < 2)
        return mci::kMissingParameter;
    const QString key = words.at(1).toLower();
    if (key == u"all") {
        const QStringList keys = players_.keys();
        for (const QString& k : keys)
            closeAlias(k);
        return mci::kOk;
    }
    if (!players_.value(key)) {
        players_.remove(key);
        return mci::kInvalidDeviceName;
    }
    closeAlias(key);
    return mci::kOk;
}

void QtMciPlayer::closeAlias(const QString& key) {
    QPointer<QMediaPlayer> player = players_.take(key);
    if (!player)
        return;
    player->stop();
    delete player.data();
}

} // namespace platform
