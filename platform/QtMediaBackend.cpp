// The sound back end built into libk27media.so (and into programs that link
// k27media): the command-string player and the speech player on Qt
// Multimedia.
#include "platform/GstPlayback.h"
#include "platform/MediaBackend.h"
#include "platform/QtMciPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace platform {

namespace {

class QtSpeechPlayer : public SpeechPlayer {
public:
    QtSpeechPlayer(QObject* owner, Events events) : owner_(owner), events_(std::move(events)) {}
    ~QtSpeechPlayer() override {
        stop();
        delete next_.data();
    }

    void prepare() override {
        if (!next_ && gst::playerElementsPresent())
            next_ = makePlayer();
    }

    void play(const QString& wavPath) override {
        retire();
        prepare();
        if (!next_) {
            if (!owner_)
                return;
            // No player can be made here: the piece fails, reported once
            // the caller has finished starting it.
            QTimer::singleShot(0, owner_.data(), [ended = events_.ended] {
                if (ended)
                    ended(true);
            });
            return;
        }
        QMediaPlayer* player = next_;
        next_ = nullptr;
        player_ = player;
        // Each player reports once: its start, then its end or failure.
        auto ended = std::make_shared<bool>(false);
        auto finish = [this, player, ended](bool failed) {
            if (*ended || player != player_)
                return;
            *ended = true;
            if (events_.ended)
                events_.ended(failed);
        };
        QObject::connect(player, &QMediaPlayer::mediaStatusChanged, player, [finish](QMediaPlayer::MediaStatus s) {
            if (s == QMediaPlayer::EndOfMedia || s == QMediaPlayer::InvalidMedia)
                finish(false);
        });
        QObject::connect(player, &QMediaPlayer::errorOccurred, player, [finish] { finish(true); });
        QObject::connect(player, &QMediaPlayer::playbackStateChanged, player,
                         [this, player](QMediaPlayer::PlaybackState s) {
                             if (s == QMediaPlayer::PlayingState && player == player_ && events_.started)
                                 events_.started();
                         });
        QObject::connect(player, &QMediaPlayer::positionChanged, player, [this, player](qint64 ms) {
            if (player == player_ && events_.position)
                events_.position(ms);
        });
        player->setSource(QUrl::fromLocalFile(wavPath));
        player->play();
    }

    void stop() override { retire(); }

    void setVolume(float volume) override {
        volume_ = volume;
        for (QMediaPlayer* p : {player_.data(), next_.data()})
            if (p && p->audioOutput())
                p->audioOutput()->setVolume(volume);
    }

    QObject* mediaObject() const override { return player_ ? player_.data() : next_.data(); }

private:
    QMediaPlayer* makePlayer() const {
        auto* player = new QMediaPlayer(owner_);
        auto* output = new QAudioOutput(player);
        output->setVolume(volume_);
        player->setAudioOutput(output);
        return player;
    }

    // The piece's player is stopped, silenced and let go; it goes once its
    // own signal handling is over, as it may be reporting its end right now.
    void retire() {
        if (QMediaPlayer* old = player_) {
            player_ = nullptr;
            old->disconnect();
            old->stop();
            old->setSource(QUrl());
            old->deleteLater();
        }
    }

    QPointer<QObject> owner_;
    Events events_;
    QPointer<QMediaPlayer> player_; // the piece's
    QPointer<QMediaPlayer> next_;   // made ahead, never given a source
    float volume_ = 1.0f;
};

class QtMediaBackend : public MediaBackend {
public:
    Multimedia& multimedia() override { return mci_; }
    std::unique_ptr<SpeechPlayer> createSpeechPlayer(QObject* owner, SpeechPlayer::Events events) override {
        return std::make_unique<QtSpeechPlayer>(owner, std::move(events));
    }

private:
    QtMciPlayer mci_;
};

} // namespace

} // namespace platform

extern "C" Q_DECL_EXPORT platform::MediaBackend* k27_media_backend() {
    static platform::QtMediaBackend backend;
    return &backend;
}
