// The real multimedia command layer, playing real files through GStreamer
// into a private sound server, so that lengths and "wait until the end" hold
// as on a desktop also where the machine has no sound device.
#include "platform/MidiSynth.h"
#include "platform/QtMciPlayer.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::QtMciPlayer;
namespace mci = platform::mci;

class tst_QtMciPlayer : public QObject {
    Q_OBJECT

    testsupport::PrivateSoundServer sound_;

    static QString sound(const QString& name) {
        return testsupport::sourcePath(QStringLiteral("tests/data/sound/") + name);
    }
    static QString openCommand(const QString& path, const QString& type, const QString& alias) {
        return QStringLiteral("open \"%1\" type %2 alias %3 wait").arg(path, type, alias);
    }
    // Plays alias from 0 and waits; the milliseconds it took. A starved
    // machine now and then makes GStreamer race a sound to its end; a play
    // that ended that early is tried again, up to three times in all. A wait
    // that returns before the end returns early every time.
    static qint64 timedPlay(QtMciPlayer& mci, const QString& alias, int lengthMs) {
        qint64 took = 0;
        for (int attempt = 0; attempt < 3; ++attempt) {
            QElapsedTimer t;
            t.start();
            if (mci.mciSendString(QStringLiteral("play %1 from 0 wait").arg(alias)) != mci::kOk)
                return -1;
            took = t.elapsed();
            if (took >= lengthMs * 8 / 10 || mci.player(alias)->mediaStatus() != QMediaPlayer::EndOfMedia)
                break;
            qInfo("%s ended after %lld ms, before its length; it plays again.", qPrintable(alias), took);
        }
        return took;
    }

private slots:
    void initTestCase() {
        const QString why = sound_.startIfInstalled();
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

    void soundFontChoicePrefersTheSmallSet() {
        QTemporaryDir a, b;
        auto put = [](const QTemporaryDir& dir, const char* relative) {
            QDir(dir.path()).mkpath(QFileInfo(dir.filePath(QLatin1String(relative))).path());
            QFile f(dir.filePath(QLatin1String(relative)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        };
        using platform::midi::chooseSoundFont;
        QCOMPARE(chooseSoundFont({a.path(), b.path()}), QString());
        put(a, "sounds/sf2/FluidR3_GM.sf2");
        QCOMPARE(chooseSoundFont({a.path(), b.path()}), a.filePath(QStringLiteral("sounds/sf2/FluidR3_GM.sf2")));
        // The small set wins even from a later folder; a folder of the wrong
        // name or a name that is a folder does not count.
        put(b, "sounds/sf2/TimGM6mb.sf2");
        QCOMPARE(chooseSoundFont({a.path(), b.path()}), b.filePath(QStringLiteral("sounds/sf2/TimGM6mb.sf2")));
        QDir(a.path()).mkpath(QStringLiteral("sounds/sf2/TimGM6mb.sf2"));
        QCOMPARE(chooseSoundFont({a.path(), b.path()}), b.filePath(QStringLiteral("sounds/sf2/TimGM6mb.sf2")));
    }

    void midiPlaysWithTheChosenSoundFont() {
        if (platform::midi::soundFont().isEmpty())
            QSKIP("No General MIDI SoundFont is installed.");
        QtMciPlayer mci;
        const int before = platform::midi::synthsConfigured();
        for (int round = 0; round < 2; ++round) {
            QCOMPARE(mci.mciSendString(openCommand(sound("tune.mid"), "sequencer", "S3")), mci::kOk);
            QCOMPARE(mci.mciSendString(QStringLiteral("close S3")), mci::kOk);
        }
        // Each open built a synthesiser of its own, and each was given the
        // SoundFont while the one loaded first stays in memory.
        QVERIFY(platform::midi::prepare());
        QCOMPARE(platform::midi::synthsConfigured() - before, 2);
        QVERIFY(mci.openTimeoutMs >= 30000);
    }

    void tokenizeKeepsQuotedWordsWhole() {
        QCOMPARE(QtMciPlayer::tokenize(QStringLiteral("open \"/a b/c d.wav\" type waveaudio alias K27S1 wait")),
                 (QStringList{"open", "/a b/c d.wav", "type", "waveaudio", "alias", "K27S1", "wait"}));
        QCOMPARE(QtMciPlayer::tokenize(QStringLiteral("  play   K27S2  from 0 ")),
                 (QStringList{"play", "K27S2", "from", "0"}));
        QCOMPARE(QtMciPlayer::tokenize(QStringLiteral("open \"\" alias x")), (QStringList{"open", "", "alias", "x"}));
        QVERIFY(QtMciPlayer::tokenize(QStringLiteral("   ")).isEmpty());
    }

    void eachFormatPlaysToItsEnd_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("lengthMs");
        QTest::newRow("wav") << "tone.wav"
                             << "waveaudio" << 400;
        QTest::newRow("mp3") << "tone.mp3"
                             << "mpegvideo" << 400;
        QTest::newRow("midi") << "tune.mid"
                              << "sequencer" << 500;
    }
    void eachFormatPlaysToItsEnd() {
        QFETCH(QString, file);
        QFETCH(QString, type);
        QFETCH(int, lengthMs);
        QtMciPlayer mci;
        // Opening MIDI loads a SoundFont, which can take seconds on a busy
        // machine; this test is about playing.
        mci.openTimeoutMs = 20000;
        QCOMPARE(mci.mciSendString(openCommand(sound(file), type, "T1")), mci::kOk);

        // Timers keep running during a waiting play: the windows stay painted.
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(20);
        const qint64 took = timedPlay(mci, QStringLiteral("T1"), lengthMs);
        const QMediaPlayer* player = mci.player("T1");
        qInfo("%s (%d ms) played in %lld ms", qPrintable(file), lengthMs, took);
        // The sound server adds a second or two of latency; a wait that missed
        // the end would last the whole margin (15 s) past the length.
        QVERIFY2(took >= lengthMs * 8 / 10 && took <= lengthMs + 5000,
                 qPrintable(QStringLiteral("%1 of %2 ms played in %3 ms; status %4, position %5, error '%6'")
                                .arg(file)
                                .arg(lengthMs)
                                .arg(took)
                                .arg(player->mediaStatus())
                                .arg(player->position())
                                .arg(player->errorString())));
        QVERIFY2(ticks >= 5, "The event loop stood still while the sound played.");
        QCOMPARE(mci.player("T1")->mediaStatus(), QMediaPlayer::EndOfMedia);

        // Played again from 0, it lasts as long again.
        QVERIFY(timedPlay(mci, QStringLiteral("t1"), lengthMs) >= lengthMs * 8 / 10);
        QCOMPARE(mci.mciSendString(QStringLiteral("close T1")), mci::kOk);
        QVERIFY(mci.aliases().isEmpty());
    }

    void pathWithSpacesOpens() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("my sounds/音 1.wav"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::copy(sound("tone.wav"), path));
        QtMciPlayer mci;
        QCOMPARE(mci.mciSendString(openCommand(path, "waveaudio", "K27S1")), mci::kOk);
        QCOMPARE(mci.aliases(), QStringList{"k27s1"});
    }

    void filesThatCannotBeOpenedFail() {
        QTemporaryDir dir;
        auto write = [&dir](const QString& name, const QByteArray& bytes) {
            QFile f(dir.filePath(name));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            return f.fileName();
        };
        QtMciPlayer mci;
        mci.openTimeoutMs = 8000;
        QCOMPARE(mci.mciSendString(openCommand(dir.filePath("none.wav"), "waveaudio", "A")), mci::kFileNotFound);
        QCOMPARE(mci.mciSendString(openCommand(dir.path(), "waveaudio", "A")), mci::kFileNotFound);
        const QString text = write("text.wav", "This is not a sound at all.\r\n");
        QVERIFY(mci.mciSendString(openCommand(text, "waveaudio", "A")) != mci::kOk);
        const QString empty = write("empty.mp3", "");
        QVERIFY(mci.mciSendString(openCommand(empty, "mpegvideo", "A")) != mci::kOk);
        QFile real(sound("tone.wav"));
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QString cut = write("cut.wav", real.read(30)); // header cut short
        QVERIFY(mci.mciSendString(openCommand(cut, "waveaudio", "A")) != mci::kOk);
        QVERIFY(mci.aliases().isEmpty());

        // Commands on aliases that are not open, and commands it does not know.
        QCOMPARE(mci.mciSendString("play A from 0"), mci::kInvalidDeviceName);
        QCOMPARE(mci.mciSendString("stop A"), mci::kInvalidDeviceName);
        QCOMPARE(mci.mciSendString("close A"), mci::kInvalidDeviceName);
        QCOMPARE(mci.mciSendString("record A"), mci::kUnrecognizedCommand);
        QCOMPARE(mci.mciSendString(openCommand(sound("tone.wav"), "cdaudio", "A")), mci::kInvalidDeviceName);

        // An alias in use cannot be opened twice.
        QCOMPARE(mci.mciSendString(openCommand(sound("tone.wav"), "waveaudio", "A")), mci::kOk);
        QCOMPARE(mci.mciSendString(openCommand(sound("tone.mp3"), "mpegvideo", "a")), mci::kDuplicateAlias);
    }

    void closingAChannelCutsItsSoundOnly() {
        // S1 plays a sound that outlasts the test.
        QTemporaryDir dir;
        const QString background = dir.filePath(QStringLiteral("background.wav"));
        QVERIFY(testsupport::writeToneWav(background, 10000));
        QtMciPlayer mci;
        QCOMPARE(mci.mciSendString(openCommand(background, "waveaudio", "S1")), mci::kOk);
        QCOMPARE(mci.mciSendString(openCommand(sound("long.mp3"), "mpegvideo", "S2")), mci::kOk);
        QCOMPARE(mci.mciSendString("play S1 from 0"), mci::kOk);
        QCOMPARE(mci.mciSendString("play S2 from 0"), mci::kOk);
        QPointer<QMediaPlayer> first = mci.player("S2");
        QVERIFY(testsupport::seenUnderWay(first, [&mci] { mci.mciSendString("play S2 from 0"); }));

        // A new sound on S2: close, open, play to the end. The MP3 is cut at
        // once; the new WAV takes its own length (and the server's latency),
        // not the 9 s and more left of the MP3.
        QElapsedTimer t;
        t.start();
        QCOMPARE(mci.mciSendString("close S2"), mci::kOk);
        QVERIFY(first.isNull());
        QCOMPARE(mci.mciSendString(openCommand(sound("tone.wav"), "waveaudio", "S2")), mci::kOk);
        QCOMPARE(mci.player("S1")->playbackState(), QMediaPlayer::PlayingState);
        QCOMPARE(mci.mciSendString("play S2 from 0 wait"), mci::kOk);
        QVERIFY2(t.elapsed() >= 320 && t.elapsed() < 6000, qPrintable(QString::number(t.elapsed())));

        QCOMPARE(mci.mciSendString("stop S1"), mci::kOk);
        QCOMPARE(mci.player("S1")->playbackState(), QMediaPlayer::StoppedState);
        QCOMPARE(mci.mciSendString("close all"), mci::kOk);
        QVERIFY(mci.aliases().isEmpty());
    }
};

QTEST_MAIN(tst_QtMciPlayer)
#include "tst_QtMciPlayer.moc"
