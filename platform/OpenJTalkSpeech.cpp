#include "platform/OpenJTalkSpeech.h"

#include "platform/ScratchFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace platform {

// ---- where the synthesiser lives ------------------------------------------

OpenJTalkFiles OpenJTalkFiles::installed() {
    OpenJTalkFiles f;
    f.program = QStandardPaths::findExecutable(QStringLiteral("open_jtalk"));
    for (const char* dir : {"/var/lib/mecab/dic/open-jtalk/naist-jdic", "/usr/share/mecab/dic/open-jtalk/naist-jdic",
                            "/usr/local/share/open_jtalk/dic"}) {
        if (QFileInfo::exists(QString::fromLatin1(dir) + QStringLiteral("/sys.dic"))) {
            f.dictionary = QString::fromLatin1(dir);
            break;
        }
    }
    // The nitech voice where Debian puts it; otherwise the first voice found.
    const QString nitech = QStringLiteral("/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice");
    if (QFileInfo(nitech).isFile()) {
        f.voice = nitech;
    } else {
        QDirIterator it(QStringLiteral("/usr/share/hts-voice"), {QStringLiteral("*.htsvoice")}, QDir::Files,
                        QDirIterator::Subdirectories);
        if (it.hasNext())
            f.voice = it.next();
    }
    return f;
}

bool OpenJTalkFiles::complete() const {
    const QFileInfo p(program);
    return p.isFile() && p.isExecutable() && QFileInfo::exists(dictionary + QStringLiteral("/sys.dic")) &&
           QFileInfo(voice).isFile();
}

// ---- splitting -------------------------------------------------------------

QStringList OpenJTalkSpeech::splitForSynthesis(const QString& text, int maxChars) {
    maxChars = qMax(maxChars, 8);
    static const QString sentenceEnds = QStringLiteral("。．！？!?\n\r");
    QStringList sentences;
    QString current;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') {
            sentences << current;
            current.clear();
            continue;
        }
        current += c;
        if (sentenceEnds.contains(c)) {
            sentences << current;
            current.clear();
        }
    }
    sentences << current;

    QStringList pieces;
    for (QString s : sentences) {
        s = s.trimmed();
        while (s.size() > maxChars) {
            // Cut after the last pause mark or space within the limit.
            qsizetype cut = -1;
            for (qsizetype i = maxChars - 1; i > maxChars / 3; --i) {
                const QChar c = s.at(i);
                if (c == u'、' || c == u'，' || c == u',' || c.isSpace()) {
                    cut = i + 1;
                    break;
                }
            }
            if (cut < 0) {
                cut = maxChars;
                // Never split a surrogate pair.
                if (s.at(cut - 1).isHighSurrogate())
                    --cut;
            }
            const QString head = s.left(cut).trimmed();
            if (!head.isEmpty())
                pieces << head;
            s = s.mid(cut).trimmed();
        }
        if (!s.isEmpty())
            pieces << s;
    }
    return pieces;
}

// ---- the engine ------------------------------------------------------------

OpenJTalkSpeech::OpenJTalkSpeech(const OpenJTalkFiles& files) : files_(files) {
    static int engines = 0;
    serial_ = ++engines;
}

OpenJTalkSpeech::~OpenJTalkSpeech() {
    Stop();
}

bool OpenJTalkSpeech::makePlayer() {
    if (player_)
        return true;
    MediaBackend* backend = mediaBackend();
    if (!backend)
        return false;
    SpeechPlayer::Events events;
    events.started = [this] {
        if (!started_ && !playing_.isEmpty()) {
            started_ = true;
            emit speechStarted();
        }
    };
    events.ended = [this](bool failed) {
        if (playing_.isEmpty())
            return;
        if (failed)
            failed_ = true;
        pieceEnded();
    };
    events.position = [this](qint64 ms) { emit playbackPosition(ms); };
    player_ = backend->createSpeechPlayer(this, std::move(events));
    player_->setVolume(voice_.volume / 100.0f);
    return true;
}

QObject* OpenJTalkSpeech::playerObject() const {
    return player_ ? player_->mediaObject() : nullptr;
}

QString OpenJTalkSpeech::wavFolder() {
    if (folder_.isEmpty())
        folder_ = scratch::forThisProcess();
    if (folder_.isEmpty()) {
        if (!fallbackDir_)
            fallbackDir_ = std::make_unique<QTemporaryDir>();
        if (fallbackDir_->isValid())
            folder_ = fallbackDir_->path();
    }
    return folder_;
}

void OpenJTalkSpeech::setVoiceSettings(const VoiceSettings& v) {
    voice_ = v.clamped();
    if (player_)
        player_->setVolume(voice_.volume / 100.0f);
}

QStringList OpenJTalkSpeech::synthesisArguments(const QString& wavPath) const {
    return {QStringLiteral("-x"),  files_.dictionary,
            QStringLiteral("-m"),  files_.voice,
            QStringLiteral("-r"),  QString::number(voice_.speed, 'f', 2),
            QStringLiteral("-fm"), QString::number(voice_.pitch),
            QStringLiteral("-ow"), wavPath};
}

void OpenJTalkSpeech::Speak(const QString& text) {
    Stop();
    failed_ = false;
    started_ = false;
    if (wavFolder().isEmpty()) {
        failed_ = true;
        return;
    }
    pending_ = splitForSynthesis(text);
    startNextSynthesis();
    // The first announcement sets up the player while its first piece is
    // being synthesised, which takes longer.
    if (IsSpeaking() && makePlayer())
        player_->prepare();
}

void OpenJTalkSpeech::startNextSynthesis() {
    if (synth_ || pending_.isEmpty())
        return;
    const QString piece = pending_.takeFirst();
    synthFile_ = folder_ + QStringLiteral("/speech%1-%2.wav").arg(serial_).arg(++pieceCount_);
    auto* process = new QProcess(this);
    synth_ = process;
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [this, process](int code, QProcess::ExitStatus st) {
        if (process != synth_)
            return;
        synthesisDone(code, st == QProcess::CrashExit);
    });
    process->start(files_.program, synthesisArguments(synthFile_));
    if (!process->waitForStarted(5000)) {
        // The synthesiser cannot run: the announcement cannot be spoken.
        synth_ = nullptr;
        process->deleteLater();
        pending_.clear();
        failed_ = true;
        return;
    }
    // open_jtalk reads one line of UTF-8 text from its standard input.
    process->write(piece.toUtf8() + '\n');
    process->closeWriteChannel();
}

void OpenJTalkSpeech::synthesisDone(int exitCode, bool crashed) {
    QProcess* process = synth_;
    synth_ = nullptr;
    if (process)
        process->deleteLater();
    const QFileInfo wav(synthFile_);
    if (!crashed && exitCode == 0 && wav.isFile() && wav.size() > 44)
        ready_ << synthFile_;
    else {
        // A piece the synthesiser could not make is left out; the rest is spoken.
        failed_ = true;
        QFile::remove(synthFile_);
    }
    synthFile_.clear();
    playNextIfIdle();
    startNextSynthesis();
    if (!IsSpeaking())
        emit speechFinished();
}

void OpenJTalkSpeech::playNextIfIdle() {
    if (!playing_.isEmpty() || ready_.isEmpty())
        return;
    if (!makePlayer()) {
        // Nothing can sound: the announcement fails as a whole.
        failed_ = true;
        pending_.clear();
        for (const QString& f : std::as_const(ready_))
            QFile::remove(f);
        ready_.clear();
        return;
    }
    playing_ = ready_.takeFirst();
    player_->play(playing_);
}

void OpenJTalkSpeech::pieceEnded() {
    const QString done = playing_;
    playing_.clear();
    QFile::remove(done);
    playNextIfIdle();
    if (!IsSpeaking())
        emit speechFinished();
}

void OpenJTalkSpeech::Stop() {
    pending_.clear();
    if (QProcess* process = synth_) {
        synth_ = nullptr;
        process->disconnect(this);
        process->kill();
        process->waitForFinished(1000);
        delete process;
    }
    if (!synthFile_.isEmpty()) {
        QFile::remove(synthFile_);
        synthFile_.clear();
    }
    const QString wasPlaying = playing_;
    playing_.clear();
    if (player_)
        player_->stop();
    if (!wasPlaying.isEmpty())
        QFile::remove(wasPlaying);
    for (const QString& f : std::as_const(ready_))
        QFile::remove(f);
    ready_.clear();
}

bool OpenJTalkSpeech::IsSpeaking() const {
    return synth_ || !pending_.isEmpty() || !ready_.isEmpty() || !playing_.isEmpty();
}

qint32 OpenJTalkSpeech::Status() const {
    if (IsSpeaking())
        return 1;
    return failed_ ? -1 : 0;
}

void OpenJTalkSpeech::ShowVoiceSettings(QWidget* owner) {
    VoiceSettingsDialog dialog(voice_, owner);
    if (dialog.exec() == QDialog::Accepted)
        setVoiceSettings(dialog.settings());
}

// ---- the factory -----------------------------------------------------------

OpenJTalkSpeechFactory::OpenJTalkSpeechFactory() : lookUp_(true) {}
OpenJTalkSpeechFactory::OpenJTalkSpeechFactory(const OpenJTalkFiles& files) : files_(files), lookUp_(false) {}

std::unique_ptr<SpeechEngine> OpenJTalkSpeechFactory::create() {
    if (!QCoreApplication::instance())
        return nullptr;
    // A cheap look at one folder: what crashed or killed runs left behind
    // goes before this run makes its own.
    scratch::removeStale();
    const OpenJTalkFiles files = lookUp_ ? OpenJTalkFiles::installed() : files_;
    if (!files.complete() || !mediaBackendAvailable())
        return nullptr;
    return std::make_unique<OpenJTalkSpeech>(files);
}

} // namespace platform
