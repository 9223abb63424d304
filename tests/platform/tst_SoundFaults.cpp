// Sound and speech on a machine where they cannot work: no sound device or
// server, no GStreamer plug-ins at all, or none that decodes one format.
// Sound failures are skipped silently, so what counts is that every sound
// command answers (an error code where the file cannot play), a waited
// sound never holds the program much past its length, speech ends with the
// failure status, no WAV is left behind, and nothing crashes.
//
// Each case runs this executable again as a child with the environment the
// case needs: GStreamer and the audio libraries read it once, at start.
#include "platform/Multimedia.h"
#include "platform/OpenJTalkSpeech.h"
#include "platform/QtMciPlayer.h"
#include "platform/ScratchFolder.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace mci = platform::mci;

namespace {

const char kRoleVariable[] = "K27_SOUND_FAULT_CHILD";

QString sound(const char* name) {
    return testsupport::sourcePath(QStringLiteral("tests/data/sound/%1").arg(QLatin1String(name)));
}

// The child: opens and plays each test sound through the command-string
// player, then speaks through Open JTalk, and prints one line per step:
//   wav open=0 play=0 ms=412
//   speech status=-1 ms=230 wavs=0
int runChild() {
    platform::QtMciPlayer player;
    // Short, so that a load that never finishes shows as a time, not a hang.
    player.openTimeoutMs = 8000;
    player.playMarginMs = 5000;
    const struct {
        const char* name;
        const char* file;
        const char* type;
    } files[] = {{"wav", "tone.wav", "waveaudio"}, {"mp3", "tone.mp3", "mpegvideo"}, {"mid", "tune.mid", "sequencer"}};
    for (const auto& f : files) {
        const QString alias = QStringLiteral("K27%1").arg(QLatin1String(f.name));
        const qint32 open = player.mciSendString(
            QStringLiteral("open \"%1\" type %2 alias %3 wait").arg(sound(f.file), QLatin1String(f.type), alias));
        qint32 play = -1;
        QElapsedTimer clock;
        clock.start();
        if (open == mci::kOk)
            play = player.mciSendString(QStringLiteral("play %1 from 0 wait").arg(alias));
        const qint64 ms = clock.elapsed();
        player.mciSendString(QStringLiteral("close %1").arg(alias));
        std::printf("%s open=%d play=%d ms=%lld\n", f.name, open, play, static_cast<long long>(ms));
        std::fflush(stdout);
    }

    const platform::OpenJTalkFiles jtalk = platform::OpenJTalkFiles::installed();
    if (jtalk.complete()) {
        platform::OpenJTalkSpeech engine(jtalk);
        QElapsedTimer clock;
        clock.start();
        engine.Speak(QStringLiteral("次です。"));
        while (engine.IsSpeaking() && clock.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
        const QStringList wavs =
            QDir(platform::scratch::forThisProcess()).entryList({QStringLiteral("*.wav")}, QDir::Files);
        std::printf("speech status=%d ms=%lld wavs=%lld\n", engine.Status(), static_cast<long long>(clock.elapsed()),
                    static_cast<long long>(wavs.size()));
    }
    std::fflush(stdout);
    return 0;
}

// What the child printed: one entry per step, the step's name first.
using Report = QHash<QString, QHash<QString, qint64>>;

Report parse(const QByteArray& out) {
    Report r;
    for (const QByteArray& line : out.split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() < 2)
            continue;
        QHash<QString, qint64> values;
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QList<QByteArray> kv = words[i].split('=');
            if (kv.size() == 2)
                values.insert(QString::fromLatin1(kv[0]), kv[1].toLongLong());
        }
        r.insert(QString::fromLatin1(words[0]), values);
    }
    return r;
}

} // namespace

class tst_SoundFaults : public QObject {
    Q_OBJECT

    QTemporaryDir work_;
    bool speech_ = false;

    // Runs the child with the given changes to this environment; fails the
    // test when it crashes, hangs or reports nothing.
    Report runChildWith(const QProcessEnvironment& changes) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kRoleVariable), QStringLiteral("1"));
        for (const QString& key : changes.keys())
            env.insert(key, changes.value(key));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {});
        [&] { QVERIFY(child.waitForStarted(10000)); }();
        const bool ended = child.waitForFinished(100000);
        if (!ended)
            child.kill();
        [&] {
            QVERIFY2(ended, "The child hung.");
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     qPrintable(QStringLiteral("The child crashed (status %1, code %2).")
                                    .arg(child.exitStatus())
                                    .arg(child.exitCode())));
        }();
        const QByteArray out = child.readAllStandardOutput();
        qInfo("%s", out.trimmed().constData());
        return parse(out);
    }

    // A folder of GStreamer plug-ins: links to the system's, less those
    // whose file names contain any of the words left out.
    QString pluginSet(const QString& name, const QStringList& leftOut) {
        const QString folder = work_.filePath(name);
        QDir().mkpath(folder);
        const QString system = QStringLiteral("/usr/lib/x86_64-linux-gnu/gstreamer-1.0");
        for (const QFileInfo& plugin : QDir(system).entryInfoList({QStringLiteral("libgst*.so")}, QDir::Files)) {
            bool keep = true;
            for (const QString& word : leftOut)
                keep = keep && !plugin.fileName().contains(word);
            if (keep)
                QFile::link(plugin.filePath(), folder + QLatin1Char('/') + plugin.fileName());
        }
        return folder;
    }

    // GStreamer with only the plug-ins in folder, and a registry of its own.
    QProcessEnvironment onlyPlugins(const QString& folder, const QString& registry) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("GST_PLUGIN_SYSTEM_PATH_1_0"), folder);
        env.insert(QStringLiteral("GST_PLUGIN_PATH_1_0"), folder);
        env.insert(QStringLiteral("GST_REGISTRY_1_0"), work_.filePath(registry));
        return env;
    }

    // Every step of the child said it could not play, within its time.
    void expectNothingPlays(const Report& r) {
        for (const char* step : {"wav", "mp3", "mid"}) {
            const QString s = QLatin1String(step);
            QVERIFY2(r.contains(s), step);
            QVERIFY2(r[s].value(QStringLiteral("open")) != mci::kOk, step);
            QVERIFY2(r[s].value(QStringLiteral("ms")) < 1000, step);
        }
        if (speech_) {
            QCOMPARE(r[QStringLiteral("speech")].value(QStringLiteral("status")), -1);
            QCOMPARE(r[QStringLiteral("speech")].value(QStringLiteral("wavs")), 0);
        }
    }

private slots:
    void initTestCase() {
        if (!QFileInfo(QStringLiteral("/usr/lib/x86_64-linux-gnu/gstreamer-1.0")).isDir())
            QSKIP("GStreamer's plug-in folder is not where Debian puts it.");
        speech_ = platform::OpenJTalkFiles::installed().complete();
    }

    // No PulseAudio server to reach and no ALSA device: the sounds still
    // run their course in real time, and speech still ends.
    void noSoundDevice() {
        QFile alsa(work_.filePath(QStringLiteral("empty-alsa.conf")));
        QVERIFY(alsa.open(QIODevice::WriteOnly));
        alsa.close();
        QProcessEnvironment env;
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + work_.filePath(QStringLiteral("none")));
        env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), work_.filePath(QStringLiteral("no-pulse")));
        env.insert(QStringLiteral("ALSA_CONFIG_PATH"), alsa.fileName());
        env.insert(QStringLiteral("PIPEWIRE_RUNTIME_DIR"), work_.filePath(QStringLiteral("no-pipewire")));
        const Report r = runChildWith(env);
        for (const char* step : {"wav", "mp3"}) {
            const QString s = QLatin1String(step);
            QVERIFY2(r.contains(s), step);
            // Either it plays to a sink that runs in real time (0.4 s), or
            // it cannot be opened; a waited sound never hangs.
            if (r[s].value(QStringLiteral("open")) == mci::kOk)
                QVERIFY2(r[s].value(QStringLiteral("ms")) < 5000, step);
        }
        if (speech_) {
            QVERIFY(r.contains(QStringLiteral("speech")));
            QVERIFY(r[QStringLiteral("speech")].value(QStringLiteral("ms")) < 30000);
            QCOMPARE(r[QStringLiteral("speech")].value(QStringLiteral("wavs")), 0);
        }
    }

    // GStreamer finds no plug-in at all.
    void noGStreamerPlugins() {
        const QString empty = work_.filePath(QStringLiteral("no-plugins"));
        QVERIFY(QDir().mkpath(empty));
        expectNothingPlays(runChildWith(onlyPlugins(empty, QStringLiteral("empty-registry.bin"))));
    }

    // Every plug-in but GStreamer's decoding bins (the "playback" set), which
    // a media player is built from.
    void noDecodingBins() {
        const QString folder = pluginSet(QStringLiteral("no-playback"), {QStringLiteral("libgstplayback")});
        expectNothingPlays(runChildWith(onlyPlugins(folder, QStringLiteral("no-playback-registry.bin"))));
    }

    // The MP3 decoders are missing (as without the "-ugly"/"-good" set that
    // brings them): the WAV plays, the MP3 is refused, nothing crashes.
    void noDecoderForOneFormat() {
        const QString folder = pluginSet(QStringLiteral("no-mp3"), {QStringLiteral("mpg123"), QStringLiteral("libav"),
                                                                    QStringLiteral("mad"), QStringLiteral("flump3")});
        const Report r = runChildWith(onlyPlugins(folder, QStringLiteral("no-mp3-registry.bin")));
        QCOMPARE(r[QStringLiteral("wav")].value(QStringLiteral("open")), mci::kOk);
        QCOMPARE(r[QStringLiteral("wav")].value(QStringLiteral("play")), mci::kOk);
        QVERIFY(r[QStringLiteral("mp3")].value(QStringLiteral("open")) != mci::kOk);
        QVERIFY(r.contains(QStringLiteral("mid")));
        if (speech_)
            QCOMPARE(r[QStringLiteral("speech")].value(QStringLiteral("wavs")), 0);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (!qEnvironmentVariableIsEmpty(kRoleVariable))
        return runChild();
    tst_SoundFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SoundFaults.moc"
