// Sound and speech figures:
//  - from "送り" to the first sound of a typical announcement, spoken by the
//    real Open JTalk engine, against the bare synthesis of its first sentence
//    by open_jtalk (the floor: nothing can sound before it is made);
//  - the memory the four sound channels hold once each has played, against
//    one channel.
#include "core/ShiftJis.h"
#include "platform/OpenJTalkSpeech.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

const QString kAnnouncement = QStringLiteral("次は、市役所前です。運賃は230円です。");

QString sourceDir() {
    // The benchmark runs from the build folder; the sounds are in the source tree.
    const QByteArray env = qgetenv("K27_SOURCE_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    QDir here = QFileInfo(QStringLiteral(__FILE__)).dir();
    here.cdUp();
    return here.path();
}

long rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

void BM_SynthesisOfFirstSentence(benchmark::State& state) {
    const auto files = platform::OpenJTalkFiles::installed();
    if (!files.complete()) {
        state.SkipWithError("Open JTalk is not installed");
        return;
    }
    QTemporaryDir dir;
    platform::OpenJTalkSpeech engine(files);
    const QString first = platform::OpenJTalkSpeech::splitForSynthesis(kAnnouncement).value(0);
    for (auto _ : state) {
        QProcess p;
        p.start(files.program, engine.synthesisArguments(dir.filePath("b.wav")));
        p.waitForStarted();
        p.write(first.toUtf8() + '\n');
        p.closeWriteChannel();
        p.waitForFinished(20000);
    }
}

void BM_TapeNextToFirstSound(benchmark::State& state) {
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("12tp.csv")));
        f.open(QIODevice::WriteOnly);
        f.write(core::sjis::encode(kAnnouncement + QStringLiteral(",0,0\r\n")));
    }
    mdlM_Tape::InitSpeech();
    auto* engine = dynamic_cast<platform::OpenJTalkSpeech*>(mdlM_Tape::engine());
    if (!engine) {
        state.SkipWithError("Open JTalk is not installed");
        return;
    }
    double toPlay = 0, toSample = 0;
    for (auto _ : state) {
        mdlM_Tape::LoadTape(dir.path() + QLatin1Char('/'), QStringLiteral("12"));
        bool playing = false, sounding = false;
        QElapsedTimer t;
        qint64 playAt = 0, soundAt = 0;
        // Wait in an event loop, not a busy loop: the synthesiser needs the CPU.
        QEventLoop loop;
        QObject::connect(engine, &platform::OpenJTalkSpeech::speechStarted, &loop, [&] {
            playing = true;
            playAt = t.nsecsElapsed();
        });
        QObject::connect(engine->player(), &QMediaPlayer::positionChanged, &loop, [&](qint64 pos) {
            if (pos > 0 && !sounding) {
                sounding = true;
                soundAt = t.nsecsElapsed();
                loop.quit();
            }
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        t.start();
        mdlM_Tape::AnnounceNext(); // "送り"
        if (!sounding)
            loop.exec();
        mdlM_Tape::StopSpeech();
        state.SetIterationTime(soundAt / 1e9);
        toPlay += playAt / 1e6;
        toSample += soundAt / 1e6;
        if (!playing || !sounding) {
            state.SkipWithError("The announcement never started to sound");
            break;
        }
    }
    state.counters["to_play_ms"] = toPlay / state.iterations();
    state.counters["to_first_sample_ms"] = toSample / state.iterations();
    mdlM_Tape::ReleaseSpeech();
}

void playOn(const char* file, const char* key) {
    mdlSndAPI::PlaySoundFile(sourceDir() + QStringLiteral("/tests/data/sound/") + QLatin1String(file),
                             QLatin1String(key), true, 0);
}

// Run first, before anything has started GStreamer, so that its start-up
// cost shows on its own.
void BM_ChannelMemory(benchmark::State& state) {
    for (auto _ : state) {
        const long before = rssKb();
        playOn("tone.wav", "S1");
        const long s1 = rssKb();
        playOn("tone.mp3", "S2");
        const long s2 = rssKb();
        playOn("tone.wav", "S4");
        const long s4 = rssKb();
        playOn("tune.mid", "S3");
        const long s3 = rssKb();
        mdlSndAPI::CloseAllSounds();
        QCoreApplication::processEvents();
        const long closed = rssKb();
        state.counters["rss_before_kB"] = double(before);
        state.counters["S1_wav_first_kB"] = double(s1 - before);
        state.counters["S2_mp3_kB"] = double(s2 - s1);
        state.counters["S4_wav_kB"] = double(s4 - s2);
        state.counters["S3_midi_kB"] = double(s3 - s4);
        state.counters["four_channels_kB"] = double(s3 - before);
        state.counters["after_close_kB"] = double(closed - before);
    }
}

} // namespace

BENCHMARK(BM_ChannelMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SynthesisOfFirstSentence)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TapeNextToFirstSound)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
