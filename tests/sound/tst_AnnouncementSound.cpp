// End to end, as the driver hears it: "送り" plays the row's sound and then
// speaks the row, through the real sound and speech back ends. The output
// goes to a private PulseAudio server with a null sink whose monitor is
// recorded, so the test proves that sound really came out, and in which
// order.
#include "board/Form1.h"
#include "control/frmCtl.h"
#include "core/ShiftJis.h"
#include "options/frmOption.h"
#include "platform/OpenJTalkSpeech.h"
#include "platform/RealPlatform.h"
#include "sound/SoundSettings.h"
#include "sound/mdlM_Tape.h"
#include "sound/mdlSndAPI.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QGroupBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <optional>

namespace {
constexpr int kRate = 16000;       // recording: mono 16-bit at 16 kHz
constexpr int kFrame = kRate / 50; // 20 ms frames

struct Slots : SoundSettings {
    QString tone;
    QString soundFile(int slot) const override { return slot == 4 ? tone : QString(); }
    bool tapeAlways() const override { return false; }
    bool tapeSync() const override { return true; }
};

struct Frame {
    double rms;
    double crossingsPerSecond;
};
constexpr double kLoud = 200; // RMS of a frame that carries sound

// The real sound channels, speech engine and clock, for the length of the
// test case: this test is about what really comes out.
struct RealSound {
    platform::ScopedInstall<platform::Multimedia> multimedia{platform::realMultimedia()};
    platform::ScopedInstall<platform::SpeechFactory> speech{platform::realSpeechFactory()};
    platform::ScopedInstall<platform::Clock> clock{platform::realClock()};
};
} // namespace

class tst_AnnouncementSound : public QObject {
    Q_OBJECT

    testsupport::PrivateSoundServer server_;
    QProcess recorder_;
    QByteArray recorded_;
    std::optional<RealSound> real_;

    QList<Frame> frames(const QByteArray& pcm) const {
        QList<Frame> out;
        const qsizetype samples = pcm.size() / 2;
        for (qsizetype at = 0; at + kFrame <= samples; at += kFrame) {
            double sum = 0;
            int crossings = 0;
            qint16 prev = 0;
            for (int i = 0; i < kFrame; ++i) {
                const qint16 s = qFromLittleEndian<qint16>(pcm.constData() + 2 * (at + i));
                sum += double(s) * s;
                if (i > 0 && ((prev < 0) != (s < 0)))
                    ++crossings;
                prev = s;
            }
            out << Frame{std::sqrt(sum / kFrame), crossings * 50.0};
        }
        return out;
    }

    // Quiet for at least ms at the end of what was recorded.
    bool endsQuiet(int ms) const {
        const QList<Frame> f = frames(recorded_);
        int quiet = 0;
        while (quiet < f.size() && f[f.size() - 1 - quiet].rms <= kLoud)
            ++quiet;
        return quiet * 20 >= ms;
    }

private slots:
    void initTestCase() {
        if (!testsupport::PrivateSoundServer::installed() || QStandardPaths::findExecutable("parec").isEmpty())
            QSKIP("pulseaudio or parec is not installed (scripts/install-deps.sh).");
        if (!platform::OpenJTalkFiles::installed().complete())
            QSKIP("open_jtalk, its dictionary or its voice is not installed (scripts/install-deps.sh).");
        // Every player of this process plays into the private server, whose
        // null sink the recorder listens to.
        const QString why = server_.start();
        QVERIFY2(why.isEmpty(), qPrintable(why));
        real_.emplace();
        recorder_.setProcessEnvironment(server_.clientEnvironment());
        connect(&recorder_, &QProcess::readyReadStandardOutput, this,
                [this] { recorded_ += recorder_.readAllStandardOutput(); });
    }

    void cleanup() {
        mdlM_Tape::reset();
        mdlSndAPI::CloseAllSounds();
    }

    void cleanupTestCase() {
        testsupport::endProcess(recorder_);
        real_.reset();
        server_.stop();
    }

    void nextPlaysTheSoundThenSpeaks() {
        QTemporaryDir data;
        {
            QFile f(data.filePath("3tp.csv"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(core::sjis::encode(u"次は、市役所前です。,0,1\r\n"));
        }
        Slots sounds;
        sounds.tone = testsupport::sourcePath("tests/data/sound/tone.wav");
        frmCtl panel;
        mdlM_Tape::setSoundSettings(&sounds);
        mdlM_Tape::InitSpeech();
        QCOMPARE(panel.grpM_Tape->title(), QStringLiteral("音合使用可"));
        mdlM_Tape::LoadTape(data.path() + '/', "3");
        QVERIFY(panel.cmdTapeNext->isEnabled());
        auto* engine = dynamic_cast<platform::OpenJTalkSpeech*>(mdlM_Tape::engine());
        QVERIFY(engine);

        // The first stream a process opens on a PulseAudio server loses its
        // first few hundred milliseconds while the connection settles; one
        // sound before the recording keeps that out of the measurement.
        mdlSndAPI::PlaySoundFile(testsupport::sourcePath("tests/data/sound/tone.mp3"), "S4", true, 0);

        recorder_.start(QStandardPaths::findExecutable("parec"),
                        {"--device=nullsink.monitor", "--format=s16le", "--rate=16000", "--channels=1", "--raw",
                         "--latency-msec=20"});
        QVERIFY(recorder_.waitForStarted());
        // Some silence first: the recording is under way.
        QTRY_VERIFY_WITH_TIMEOUT(recorded_.size() >= 5 * kFrame * 2 && endsQuiet(100), 10000);

        QTest::mouseClick(panel.cmdTapeNext, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!engine->IsSpeaking(), 20000);
        // The last of the speech has come through the server.
        QTRY_VERIFY_WITH_TIMEOUT(endsQuiet(200), 5000);
        recorder_.terminate();
        QVERIFY(recorder_.waitForFinished(5000));
        recorded_ += recorder_.readAllStandardOutput();
        const QList<Frame> f = frames(recorded_);

        // Loud frames: the tone (0.4 s at 660 Hz: about 1320 zero crossings a second),
        // then, after a pause, speech of more than a second.
        QList<int> loud;
        for (int i = 0; i < f.size(); ++i)
            if (f[i].rms > kLoud)
                loud << i;
        QVERIFY2(loud.size() > 40, qPrintable(QStringLiteral("only %1 loud frames").arg(loud.size())));
        int toneEnd = loud.first();
        while (toneEnd + 1 < f.size() && f[toneEnd + 1].rms > kLoud)
            ++toneEnd;
        const int toneFrames = toneEnd - loud.first() + 1;
        const double toneMs = toneFrames * 20.0;
        const double crossings = f[loud.first() + toneFrames / 2].crossingsPerSecond;
        qInfo("tone %.0f ms at %.0f crossings/s; %lld loud frames in all", toneMs, crossings, loud.size());
        QVERIFY2(toneMs >= 300 && toneMs <= 600, qPrintable(QString::number(toneMs)));
        QVERIFY2(std::abs(crossings - 1320) < 200, qPrintable(QString::number(crossings)));
        int speechFrames = 0;
        for (int i : loud)
            if (i > toneEnd + 3)
                ++speechFrames;
        QVERIFY2(speechFrames * 20 > 1000, qPrintable(QStringLiteral("%1 ms of speech").arg(speechFrames * 20)));
    }
};

QTEST_MAIN(tst_AnnouncementSound)
#include "tst_AnnouncementSound.moc"
