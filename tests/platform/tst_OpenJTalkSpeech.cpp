// The Open JTalk speech engine, run for real: synthesis, playing, stopping
// and the voice settings.
#include "control/frmCtl.h"
#include "platform/OpenJTalkSpeech.h"
#include "platform/ScratchFolder.h"
#include "sound/mdlM_Tape.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QMediaPlayer>
#include <QProcess>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <cmath>
#include <sys/stat.h>

using platform::OpenJTalkFiles;
using platform::OpenJTalkSpeech;

namespace {
const QString kAnnouncement = QStringLiteral("次は、市役所前です。運賃は230円です。");
// Two short sentences, for tests that need speech to play rather than any
// particular words; spoken at double speed, the same synthesis and playing
// take half the time.
const QString kTwoPieces = QStringLiteral("次です。どうぞ。");
const platform::VoiceSettings kFast{2.0, 0, 100};

struct Wav {
    int rate = 0;
    double seconds = 0;
    double rms = 0; // of 16-bit samples, full scale 32768
};

// Reads a PCM WAV's format chunk and the loudness of its samples.
std::optional<Wav> readWav(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray b = f.readAll();
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return std::nullopt;
    Wav w;
    int channels = 0, bits = 0;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        const quint32 size = qFromLittleEndian<quint32>(b.constData() + at + 4);
        const char* body = b.constData() + at + 8;
        if (id == "fmt " && size >= 16) {
            channels = qFromLittleEndian<quint16>(body + 2);
            w.rate = int(qFromLittleEndian<quint32>(body + 4));
            bits = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data" && bits == 16 && channels > 0 && w.rate > 0) {
            const qsizetype n = qMin<qsizetype>(size, b.size() - (at + 8)) / 2;
            double sum = 0;
            for (qsizetype i = 0; i < n; ++i) {
                const double s = qFromLittleEndian<qint16>(body + 2 * i);
                sum += s * s;
            }
            w.seconds = double(n) / channels / w.rate;
            w.rms = n ? std::sqrt(sum / n) : 0;
            return w;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}
} // namespace

class tst_OpenJTalkSpeech : public QObject {
    Q_OBJECT

    OpenJTalkFiles files_;
    testsupport::PrivateSoundServer sound_;

    // Synthesises text as the engine would, into wav (with extra arguments).
    std::optional<Wav> synthesise(const OpenJTalkSpeech& engine, const QString& text, const QString& wav,
                                  const QStringList& extra = {}) {
        QProcess p;
        p.start(files_.program, engine.synthesisArguments(wav) + extra);
        if (!p.waitForStarted())
            return std::nullopt;
        p.write(text.toUtf8() + '\n');
        p.closeWriteChannel();
        if (!p.waitForFinished(20000) || p.exitCode() != 0)
            return std::nullopt;
        return readWav(wav);
    }

    // The speech engine's WAV files in this process's scratch folder.
    static QStringList wavsLeft() {
        return QDir(platform::scratch::forThisProcess()).entryList({QStringLiteral("*.wav")}, QDir::Files);
    }

    // No synthesiser process of the engine is still running.
    static bool noSynthesisRuns(const QObject& engine) {
        for (const QProcess* p : engine.findChildren<QProcess*>())
            if (p->state() != QProcess::NotRunning)
                return false;
        return true;
    }

private slots:
    void initTestCase() {
        files_ = OpenJTalkFiles::installed();
        // Speech plays in real time, also without a sound device.
        const QString why = sound_.startIfInstalled();
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

    // Splitting and the settings dialog work without the synthesiser; the
    // rest skips where it is not installed.
    void init() {
        const QByteArray test = QTest::currentTestFunction();
        if (!files_.complete() && test != "splitsAtSentenceEnds" && test != "voiceSettingsApplyToTheNextAnnouncement")
            QSKIP("open_jtalk, the NAIST dictionary or the nitech voice is not installed (scripts/install-deps.sh).");
    }

    void splitsAtSentenceEnds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxChars");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("two sentences") << kAnnouncement << 100
                                       << QStringList{"次は、市役所前です。", "運賃は230円です。"};
        QTest::newRow("no end mark") << "駅前" << 100 << QStringList{"駅前"};
        QTest::newRow("marks and breaks")
            << " 止まります！ 次は？\r\n\r\n駅前 " << 100 << QStringList{"止まります！", "次は？", "駅前"};
        QTest::newRow("blank") << " \r\n " << 100 << QStringList{};
        QTest::newRow("long, cut after the pause mark")
            << "あいうえおかきくけこ、さしすせそたちつてと" << 12
            << QStringList{"あいうえおかきくけこ、", "さしすせそたちつてと"};
        QTest::newRow("long and unbroken, cut hard")
            << QString(25, u'あ') << 10 << QStringList{QString(10, u'あ'), QString(10, u'あ'), QString(5, u'あ')};
        QTest::newRow("surrogate pair kept whole")
            << QString(9, u'a') + QStringLiteral("𠮷𠮷") << 10 << QStringList{QString(9, u'a'), QStringLiteral("𠮷𠮷")};
    }
    void splitsAtSentenceEnds() {
        QFETCH(QString, text);
        QFETCH(int, maxChars);
        QFETCH(QStringList, pieces);
        QCOMPARE(OpenJTalkSpeech::splitForSynthesis(text, maxChars), pieces);
    }

    void synthesisGivesPlausibleJapaneseSpeech() {
        QTemporaryDir dir;
        OpenJTalkSpeech engine(files_);
        const QString trace = dir.filePath("a.trace");
        const auto w = synthesise(engine, kAnnouncement, dir.filePath("a.wav"), {"-ot", trace});
        QVERIFY2(w.has_value(), "open_jtalk wrote no readable WAV.");
        qInfo("%.2f s at %d Hz, RMS %.0f", w->seconds, w->rate, w->rms);
        QVERIFY2(w->seconds > 2.0 && w->seconds < 9.0, qPrintable(QString::number(w->seconds)));
        QVERIFY2(w->rms > 300, "The synthesised speech is silent.");

        // The kanji are read as they should be: the phonemes of
        // 市役所前 (shiyakushomae) and 230円 (nihyakusanjuuen).
        QFile f(trace);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList phonemes;
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QList<QByteArray> cols = line.split(' ');
            if (cols.size() == 3 && cols[2].contains('-') && cols[2].contains('+'))
                phonemes << QString::fromLatin1(cols[2].split('-').value(1).split('+').value(0)).toLower();
        }
        const QString said = phonemes.join(' ');
        QVERIFY2(said.contains("sh i y a k u sh o m a e"), qPrintable(said));
        QVERIFY2(said.contains("n i hy a k u s a n j u u e n"), qPrintable(said));
    }

    void speaksWithoutBlocking() {
        platform::OpenJTalkSpeechFactory factory;
        auto made = factory.create();
        auto* engine = dynamic_cast<OpenJTalkSpeech*>(made.get());
        QVERIFY(engine);
        engine->setVoiceSettings(kFast);
        QSignalSpy started(engine, &OpenJTalkSpeech::speechStarted);
        QSignalSpy finished(engine, &OpenJTalkSpeech::speechFinished);
        // How long the two pieces last, synthesised here the same way.
        QTemporaryDir dir;
        const QStringList pieces = OpenJTalkSpeech::splitForSynthesis(kTwoPieces);
        QCOMPARE(pieces.size(), 2);
        qint64 length = 0;
        for (const QString& piece : pieces) {
            const auto w = synthesise(*engine, piece, dir.filePath("piece.wav"));
            QVERIFY(w.has_value());
            length += qint64(w->seconds * 1000);
        }
        QElapsedTimer t;
        t.start();
        engine->Speak(kTwoPieces);
        QVERIFY2(t.elapsed() < 500, "Speak waited for the synthesis.");
        QVERIFY(engine->IsSpeaking());
        QCOMPARE(engine->Status(), 1);
        QVERIFY(started.wait(10000));
        const qint64 firstSound = t.elapsed();
        QVERIFY(finished.wait(20000));
        const qint64 sounded = t.elapsed() - firstSound;
        qInfo("first sound after %lld ms; %lld ms of speech sounded for %lld ms", firstSound, length, sounded);
        // Both sentences played, each to its end, as one announcement.
        QVERIFY2(sounded >= length * 9 / 10, "The speech ended sooner than it can be spoken.");
        QVERIFY(!engine->IsSpeaking());
        QCOMPARE(engine->Status(), 0);
        QCOMPARE(started.size(), 1);
    }

    void stopEndsSynthesisAndPlaying() {
        OpenJTalkSpeech engine(files_);
        engine.setVoiceSettings(kFast);
        QSignalSpy started(&engine, &OpenJTalkSpeech::speechStarted);
        QSignalSpy finished(&engine, &OpenJTalkSpeech::speechFinished);

        // Stopped while the synthesiser runs.
        engine.Speak(kTwoPieces);
        engine.Stop();
        QVERIFY(!engine.IsSpeaking());
        QVERIFY(noSynthesisRuns(engine));

        // Stopped while the first sentence plays and the second is made.
        engine.Speak(kAnnouncement + kAnnouncement);
        QVERIFY(started.wait(10000));
        engine.Stop();
        QVERIFY(!engine.IsSpeaking());
        QCOMPARE(engine.Status(), 0);
        QVERIFY(noSynthesisRuns(engine));
        // Nothing is left that could still end: no player of the engine
        // plays, and events already queued change nothing.
        for (const QMediaPlayer* player : engine.findChildren<QMediaPlayer*>())
            QCOMPARE(player->playbackState(), QMediaPlayer::StoppedState);
        QCoreApplication::processEvents();
        QCOMPARE(finished.size(), 0);
        QVERIFY(!engine.IsSpeaking());

        // A new announcement cuts the running one.
        engine.Speak(QStringLiteral("一番目です。"));
        engine.Speak(QStringLiteral("二番目です。"));
        QVERIFY(finished.wait(15000));
        QCOMPARE(started.size(), 2);
    }

    void aFailingSynthesiserReportsMinusOne() {
        OpenJTalkFiles broken = files_;
        broken.program = QStringLiteral("/bin/false");
        OpenJTalkSpeech engine(broken);
        QSignalSpy finished(&engine, &OpenJTalkSpeech::speechFinished);
        engine.Speak(kAnnouncement);
        QTRY_VERIFY(!engine.IsSpeaking());
        QCOMPARE(engine.Status(), -1);
        engine.Stop();
        engine.Speak(QString()); // nothing to say is no failure
        QCOMPARE(engine.Status(), 0);
    }

    void noEngineWithoutItsFiles() {
        QVERIFY(platform::OpenJTalkSpeechFactory().create());
        for (int missing = 0; missing < 3; ++missing) {
            OpenJTalkFiles f = files_;
            (missing == 0 ? f.program : missing == 1 ? f.dictionary : f.voice) = QStringLiteral("/nonexistent/k27");
            QVERIFY(!platform::OpenJTalkSpeechFactory(f).create());
        }
    }

    // Without the voice or the dictionary no engine is made, and the control
    // panel says that speech cannot be used.
    void missingVoiceOrDictionaryMakesSpeechUnavailable() {
        for (const char* gone : {"voice", "dictionary"}) {
            OpenJTalkFiles f = files_;
            (qstrcmp(gone, "voice") == 0 ? f.voice : f.dictionary) = QStringLiteral("/nonexistent/k27");
            PlatformDoubles doubles; // the rest of the platform
            platform::OpenJTalkSpeechFactory factory(f);
            platform::ScopedInstall<platform::SpeechFactory> install(factory);
            frmCtl panel;
            mdlM_Tape::InitSpeech();
            QVERIFY2(!mdlM_Tape::SpeechAvailable(), gone);
            QCOMPARE(panel.grpM_Tape->title(), QStringLiteral("音合使用不可"));
            QVERIFY(!panel.grpM_Tape->isEnabled());
            QVERIFY(doubles.messages.shown.isEmpty());
            mdlM_Tape::ReleaseSpeech();
            mdlM_Tape::reset();
        }
    }

    // Files that are there but cannot be loaded (damaged, cut short): every
    // announcement fails quickly with status -1, leaves no WAV, and the
    // engine stays usable.
    void damagedVoiceOrDictionaryFailsEachAnnouncement() {
        QTemporaryDir dir;
        const QString voice = dir.filePath(QStringLiteral("damaged.htsvoice"));
        const QString dictionary = dir.filePath(QStringLiteral("dic"));
        QVERIFY(QDir().mkpath(dictionary));
        for (const QString& path : {voice, dictionary + QStringLiteral("/sys.dic")}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(3000, '\x5A'));
        }
        for (int which = 0; which < 2; ++which) {
            OpenJTalkFiles f = files_;
            (which == 0 ? f.voice : f.dictionary) = which == 0 ? voice : dictionary;
            QVERIFY(f.complete());
            OpenJTalkSpeech engine(f);
            QSignalSpy finished(&engine, &OpenJTalkSpeech::speechFinished);
            QSignalSpy started(&engine, &OpenJTalkSpeech::speechStarted);
            for (int i = 0; i < 2; ++i) {
                engine.Speak(kTwoPieces);
                QTRY_VERIFY_WITH_TIMEOUT(!engine.IsSpeaking(), 20000);
                QCOMPARE(engine.Status(), -1);
            }
            QCOMPARE(started.size(), 0);
            QCOMPARE(finished.size(), 2);
            QVERIFY(noSynthesisRuns(engine));
            QCOMPARE(wavsLeft(), QStringList());
        }
    }

    // The synthesiser dies in the middle of a sentence, with half a WAV
    // written: that piece is left out and its file removed, the rest of the
    // announcement is spoken, the status says something failed, and the
    // next announcement is whole again.
    void synthesiserDyingMidSentenceLosesOnlyItsPiece() {
        QTemporaryDir dir;
        const QString dies = dir.filePath(QStringLiteral("dies-once"));
        const QString wrapper = dir.filePath(QStringLiteral("open_jtalk"));
        {
            QFile tone(testsupport::sourcePath(QStringLiteral("tests/data/sound/tone.wav")));
            QVERIFY(tone.size() > 4000);
            QFile f(wrapper);
            QVERIFY(f.open(QIODevice::WriteOnly));
            // The first run writes half a WAV to the file after -ow and is
            // killed; later runs are the real synthesiser.
            f.write(QStringLiteral("#!/bin/sh\n"
                                   "for a; do out=$a; done\n"
                                   "if [ ! -e '%1' ]; then : > '%1'; head -c 2000 '%2' > \"$out\"; kill -9 $$; fi\n"
                                   "exec '%3' \"$@\"\n")
                        .arg(dies, tone.fileName(), files_.program)
                        .toUtf8());
        }
        QVERIFY(::chmod(QFile::encodeName(wrapper).constData(), 0755) == 0);
        OpenJTalkFiles f = files_;
        f.program = wrapper;
        OpenJTalkSpeech engine(f);
        engine.setVoiceSettings(kFast);
        QSignalSpy finished(&engine, &OpenJTalkSpeech::speechFinished);
        QSignalSpy started(&engine, &OpenJTalkSpeech::speechStarted);

        engine.Speak(kTwoPieces);
        QVERIFY(finished.wait(20000));
        QVERIFY(QFileInfo::exists(dies));
        QCOMPARE(engine.Status(), -1);
        QCOMPARE(started.size(), 1); // the second piece was spoken
        QCOMPARE(wavsLeft(), QStringList());

        engine.Speak(kTwoPieces);
        QVERIFY(finished.wait(20000));
        QCOMPARE(engine.Status(), 0);
        QCOMPARE(started.size(), 2);
        QCOMPARE(wavsLeft(), QStringList());
    }

    void voiceSettingsApplyToTheNextAnnouncement() {
        OpenJTalkSpeech engine(files_);
        QCOMPARE(engine.synthesisArguments("x.wav").mid(4), (QStringList{"-r", "1.00", "-fm", "0", "-ow", "x.wav"}));
        bool seen = false;
        auto answer = [&seen](bool accept) {
            QTimer::singleShot(0, [&seen, accept] {
                auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!dlg)
                    return;
                seen = dlg->windowTitle() == QStringLiteral("音声の調節");
                dlg->findChild<QSlider*>("sldSpeed")->setValue(15);
                dlg->findChild<QSlider*>("sldPitch")->setValue(-3);
                dlg->findChild<QSlider*>("sldVolume")->setValue(40);
                accept ? dlg->accept() : dlg->reject();
            });
        };
        answer(false);
        engine.ShowVoiceSettings(nullptr);
        QVERIFY(seen);
        QCOMPARE(engine.voiceSettings(), platform::VoiceSettings{});

        answer(true);
        engine.ShowVoiceSettings(nullptr);
        QCOMPARE(engine.voiceSettings(), (platform::VoiceSettings{1.5, -3, 40}));
        QCOMPARE(engine.synthesisArguments("x.wav").mid(4), (QStringList{"-r", "1.50", "-fm", "-3", "-ow", "x.wav"}));

        // Out-of-range settings are brought into range.
        engine.setVoiceSettings({9.0, 40, -5});
        QCOMPARE(engine.voiceSettings(), (platform::VoiceSettings{2.0, 12, 0}));
    }
};

QTEST_MAIN(tst_OpenJTalkSpeech)
#include "tst_OpenJTalkSpeech.moc"
