// Sound and speech figures:
//  - from "送り" to the first sound of a typical announcement, spoken by the
//    real Open JTalk engine, against the bare synthesis of its first sentence
//    by open_jtalk (the floor: nothing can sound before it is made);
//  - the memory the four sound channels hold once each has played, against
//    one channel;
//  - from "送り" to the first sound of a MIDI pre-announcement sound, and the
//    open of a MIDI file on its own, against the open of a WAV file.
#include "bench/BenchMain.h"
#include "bench/Summary.h"
#include "core/ShiftJis.h"
#include "platform/Multimedia.h"
#include "platform/OpenJTalkSpeech.h"
#include "platform/Platform.h"
#include "platform/QtMciPlayer.h"
#include "sound/SoundSettings.h"
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

#include <algorithm>

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
        // The back end reports the position every 100 ms: the first sample
        // played at the report's time less the position it reports.
        QObject::connect(engine, &platform::OpenJTalkSpeech::playbackPosition, &loop, [&](qint64 pos) {
            if (pos > 0 && !sounding) {
                sounding = true;
                soundAt = std::max(playAt, t.nsecsElapsed() - pos * 1'000'000);
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

// The open of a sound file on a channel that has just been closed, as every
// PlaySoundFile does it; a WAV file is the baseline.
void openOnChannel(benchmark::State& state, const char* file, const char* type) {
    platform::Multimedia& mm = platform::multimedia();
    const QString path = sourceDir() + QStringLiteral("/tests/data/sound/") + QLatin1String(file);
    const QString open = QStringLiteral("open \"%1\" type %2 alias benchopen wait").arg(path, QLatin1String(type));
    double total = 0, worst = 0;
    for (auto _ : state) {
        mm.mciSendString(QStringLiteral("close benchopen"));
        QElapsedTimer t;
        t.start();
        if (mm.mciSendString(open) != 0) {
            state.SkipWithError("The file did not open");
            break;
        }
        const double ms = t.nsecsElapsed() / 1e6;
        total += ms;
        worst = qMax(worst, ms);
    }
    mm.mciSendString(QStringLiteral("close benchopen"));
    state.counters["open_ms"] = total / double(state.iterations());
    state.counters["worst_open_ms"] = worst;
}
void BM_OpenWav(benchmark::State& state) {
    openOnChannel(state, "tone.wav", "waveaudio");
}
void BM_OpenMidi(benchmark::State& state) {
    openOnChannel(state, "tune.mid", "sequencer");
}

struct PreAnnouncementMidi : SoundSettings {
    QString soundFile(int slot) const override {
        return slot == 3 ? sourceDir() + QStringLiteral("/tests/data/sound/tune.mid") : QString();
    }
    bool tapeAlways() const override { return true; }
    bool tapeSync() const override { return false; }
};

// "送り" with a MIDI file as the pre-announcement sound (no speech engine, so
// the sound is all there is): the time until the sound's first sample plays.
void BM_TapeNextToMidiSound(benchmark::State& state) {
    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("12tp.csv")));
        f.open(QIODevice::WriteOnly);
        for (int i = 0; i < 20; ++i)
            f.write(core::sjis::encode(kAnnouncement + QStringLiteral(",0,0\r\n")));
    }
    PreAnnouncementMidi settings;
    mdlM_Tape::setSoundSettings(&settings);
    mdlM_Tape::LoadTape(dir.path() + QLatin1Char('/'), QStringLiteral("12"));
    auto* mci = dynamic_cast<platform::QtMciPlayer*>(&platform::multimedia());
    const QString alias = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral("S3");
    double total = 0, worst = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        mdlM_Tape::AnnounceNext(); // "送り": opens and starts the sound
        QMediaPlayer* player = mci ? mci->player(alias) : nullptr;
        if (!player) {
            state.SkipWithError("The MIDI sound did not open");
            break;
        }
        // The back end reports the position every 100 ms: the first sample
        // played at the report's time less the position it reports.
        double firstSample = -1;
        QEventLoop loop;
        QObject::connect(player, &QMediaPlayer::positionChanged, &loop, [&](qint64 pos) {
            if (pos > 0 && firstSample < 0) {
                firstSample = t.nsecsElapsed() / 1e6 - double(pos);
                loop.quit();
            }
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        if (firstSample < 0) {
            state.SkipWithError("The MIDI sound never played");
            break;
        }
        state.SetIterationTime(firstSample / 1000);
        total += firstSample;
        worst = qMax(worst, firstSample);
    }
    mdlSndAPI::CloseAllSounds();
    mdlM_Tape::setSoundSettings(nullptr);
    state.counters["to_first_sample_ms"] = total / double(state.iterations());
    state.counters["worst_ms"] = worst;
}

// Prints the time from "送り" to the first sound of speech beside the bare
// synthesis of its first sentence after the table.
class SpeechReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred)
                continue;
            if (r.benchmark_name().rfind("BM_TapeNextToFirstSound", 0) == 0)
                toSound_ = r.GetAdjustedRealTime();
            if (r.benchmark_name().rfind("BM_SynthesisOfFirstSentence", 0) == 0)
                synthesis_ = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (toSound_ <= 0 || synthesis_ <= 0)
            return;
        std::printf("送り to the first sound of speech: %.0f ms; open_jtalk making the first sentence alone: %.0f ms\n",
                    toSound_, synthesis_);
        benchsummary::row("送り to the first sound of speech, ms", toSound_,
                          "open_jtalk synthesising the sentence alone", synthesis_);
    }

private:
    double toSound_ = 0, synthesis_ = 0;
};

} // namespace

BENCHMARK(BM_ChannelMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OpenWav)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_OpenMidi)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TapeNextToMidiSound)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_SynthesisOfFirstSentence)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TapeNextToFirstSound)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

int main(int argc, char** argv) {
    return benchmain::run<SpeechReporter>(argc, argv);
}
