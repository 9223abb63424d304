#include "tests/support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMediaPlayer>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace testsupport {

QColor pixel(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return {};
    return QColor::fromRgb(image.pixel(x, y));
}

QString sourcePath(const QString& relative) {
    const QByteArray root = qgetenv("K27_SOURCE_DIR");
    return QDir(QString::fromLocal8Bit(root)).filePath(relative);
}

namespace {
template <class T> void append(QByteArray& out, T value) {
    const T le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}
} // namespace

bool writeToneWav(const QString& path, int ms, int hz) {
    constexpr int kRate = 22050;
    const int samples = qMax(0, ms) * kRate / 1000;
    // 10 ms fades, so the tone starts and ends without a click.
    const int fade = kRate / 100;
    QByteArray pcm;
    pcm.reserve(samples * 2);
    for (int i = 0; i < samples; ++i) {
        const double envelope = std::min({1.0, double(i) / fade, double(samples - 1 - i) / fade});
        const double s = 0.5 * envelope * std::sin(2 * std::numbers::pi * hz * i / kRate);
        append(pcm, qint16(std::lround(s * 32767)));
    }
    QByteArray wav("RIFF");
    append(wav, quint32(36 + pcm.size()));
    wav += "WAVEfmt ";
    append(wav, quint32(16));
    append(wav, quint16(1)); // PCM
    append(wav, quint16(1)); // mono
    append(wav, quint32(kRate));
    append(wav, quint32(kRate * 2));
    append(wav, quint16(2));
    append(wav, quint16(16));
    wav += "data";
    append(wav, quint32(pcm.size()));
    wav += pcm;
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size();
}

void endProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

bool seenUnderWay(const QPointer<QMediaPlayer>& player, const std::function<void()>& restart) {
    // A burst of load can make several starts in a row race to the end; the
    // sound is started again for up to 20 s, a little apart.
    const QDeadlineTimer deadline(20000);
    while (player && !deadline.hasExpired()) {
        if (player->position() > 0 && player->playbackState() == QMediaPlayer::PlayingState)
            return true;
        if (player->mediaStatus() == QMediaPlayer::EndOfMedia) {
            qInfo("The sound ended before it was seen playing; it starts again.");
            QTest::qWait(200);
            if (player)
                restart();
            continue;
        }
        QTest::qWait(20);
    }
    return false;
}

bool PrivateSoundServer::installed() {
    return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty();
}

QString PrivateSoundServer::start() {
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (pulseaudio.isEmpty())
        return QStringLiteral("pulseaudio is not installed (scripts/install-deps.sh).");
    if (!runtime_.isValid())
        return QStringLiteral("no temporary folder for the sound server.");
    const QString socket = runtime_.filePath(QStringLiteral("native"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* variable :
         {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        env.insert(QString::fromLatin1(variable), runtime_.path());
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start(pulseaudio,
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                   QStringLiteral("--use-pid-file=no"), QStringLiteral("--load=module-null-sink sink_name=nullsink"),
                   QStringLiteral("--load=module-native-protocol-unix socket=") + socket});
    if (!server_.waitForStarted(10000))
        return QStringLiteral("pulseaudio did not start: ") + server_.errorString();
    const QDeadlineTimer deadline(10000);
    while (!QFile::exists(socket) && running() && !deadline.hasExpired())
        QThread::msleep(20);
    if (!QFile::exists(socket)) {
        stop();
        return QStringLiteral("pulseaudio did not open its socket.");
    }
    const QByteArray address = "unix:" + QFile::encodeName(socket);
    if (qEnvironmentVariableIsSet("PULSE_SERVER"))
        previousAddress_ = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", address);
    env.insert(QStringLiteral("PULSE_SERVER"), QString::fromLocal8Bit(address));
    clientEnv_ = env;
    return {};
}

void PrivateSoundServer::stop() {
    if (!clientEnv_.isEmpty()) {
        if (previousAddress_)
            qputenv("PULSE_SERVER", *previousAddress_);
        else
            qunsetenv("PULSE_SERVER");
        previousAddress_.reset();
        clientEnv_ = {};
    }
    endProcess(server_);
}

} // namespace testsupport
