// The sound channels, checked through the command strings they send.
#include "platform/QtMciPlayer.h"
#include "sound/mdlSndAPI.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QTest>

class tst_mdlSndAPI : public testsupport::DoublesFixture {
    Q_OBJECT

    QTemporaryDir dir_;
    // The real channels play here, in real time (see realChannelsPlayOneSoundEach).
    testsupport::PrivateSoundServer sound_;

    QString makeFile(const QString& name) {
        const QString path = dir_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }
    static QString alias(const char* key) { return mdlSndAPI::deviceAlias(QLatin1String(key)); }

private slots:
    void initTestCase() {
        const QString why = sound_.startIfInstalled();
        QVERIFY2(why.isEmpty(), qPrintable(why));
    }

    void aliasIsExecutableBaseNameAndKey() {
        // This test runs as the executable sound_tst_mdlSndAPI.
        QCOMPARE(mdlSndAPI::deviceAlias("S1"), QStringLiteral("sound_tst_mdlSndAPIS1"));
        QCOMPARE(mdlSndAPI::deviceAlias("S4"), QStringLiteral("sound_tst_mdlSndAPIS4"));
    }

    void deviceTypeFollowsTheLastThreeCharacters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type"); // empty: the channel is only closed
        QTest::newRow("wav") << "a.wav"
                             << "waveaudio";
        QTest::newRow("WAV") << "b.WAV"
                             << "waveaudio";
        QTest::newRow("Wav") << "c.Wav"
                             << "waveaudio";
        QTest::newRow("mp3") << "d.Mp3"
                             << "mpegvideo";
        QTest::newRow("mid") << "e.MID"
                             << "sequencer";
        QTest::newRow("no dot") << "fwav"
                                << "waveaudio";
        QTest::newRow(".wave") << "g.wave"
                               << "";
        QTest::newRow(".midi") << "h.midi"
                               << "";
        QTest::newRow(".ogg") << "i.ogg"
                              << "";
    }
    void deviceTypeFollowsTheLastThreeCharacters() {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const QString path = makeFile(name);
        mdlSndAPI::PlaySoundFile(path, "S2", false, 0);
        QStringList expected{"close " + alias("S2")};
        if (!type.isEmpty())
            expected << QStringLiteral("open \"%1\" type %2 alias %3 wait").arg(path, type, alias("S2"))
                     << "stop " + alias("S2") << "play " + alias("S2") + " from 0";
        QCOMPARE(d_->multimedia.commands, expected);
    }

    void pathWithSpacesIsQuoted() {
        const QString path = makeFile("my sounds/次 の 停留所.wav");
        mdlSndAPI::PlaySoundFile(path, "S3", false, 0);
        QCOMPARE(d_->multimedia.commands.value(1),
                 "open \"" + path + "\" type waveaudio alias " + alias("S3") + " wait");
    }

    void waitingAndNotWaiting() {
        const QString path = makeFile("step.mp3");
        mdlSndAPI::PlaySoundFile(path, "S2", true, 250);
        QCOMPARE(
            d_->multimedia.commands,
            (QStringList{"close " + alias("S2"), "open \"" + path + "\" type mpegvideo alias " + alias("S2") + " wait",
                         "play " + alias("S2") + " from 0 wait"}));
        QCOMPARE(d_->clock.sleeps, QList<int>{250});

        d_->multimedia.commands.clear();
        d_->clock.sleeps.clear();
        mdlSndAPI::PlaySoundFile(path, "S1", false, 0);
        QCOMPARE(
            d_->multimedia.commands,
            (QStringList{"close " + alias("S1"), "open \"" + path + "\" type mpegvideo alias " + alias("S1") + " wait",
                         "stop " + alias("S1"), "play " + alias("S1") + " from 0"}));
        QCOMPARE(d_->clock.sleeps, QList<int>{0});
    }

    void nothingIsSentWithoutAFile() {
        mdlSndAPI::PlaySoundFile(QString(), "S2", false, 0);
        mdlSndAPI::PlaySoundFile(dir_.filePath("missing.wav"), "S2", true, 0);
        mdlSndAPI::PlaySoundFile(dir_.path(), "S2", false, 0); // a folder is no file
        QVERIFY(d_->multimedia.commands.isEmpty());
        QVERIFY(d_->clock.sleeps.isEmpty());
    }

    void failedOpenIsSkippedSilently() {
        d_->multimedia.answer = [](const QString& c) { return c.startsWith("open") ? 296 : 0; };
        const QString path = makeFile("broken.wav");
        mdlSndAPI::PlaySoundFile(path, "S3", true, 100);
        QCOMPARE(d_->multimedia.commands.size(), 2); // close and the failed open only
        QVERIFY(d_->clock.sleeps.isEmpty());
        QVERIFY(d_->messages.shown.isEmpty());
    }

    void closeAllSoundsClosesTheFourChannelsInOrder() {
        mdlSndAPI::CloseAllSounds();
        QCOMPARE(d_->multimedia.commands, (QStringList{"close " + alias("S1"), "close " + alias("S2"),
                                                       "close " + alias("S3"), "close " + alias("S4")}));
    }

    // The same rules on the real back end: one sound per channel, a new sound
    // cuts the old one, a missing file leaves the running sound alone.
    void realChannelsPlayOneSoundEach() {
        platform::QtMciPlayer real;
        platform::ScopedInstall<platform::Multimedia> slot(real);
        auto sound = [](const char* name) {
            return testsupport::sourcePath(QStringLiteral("tests/data/sound/") + QLatin1String(name));
        };
        // S1 plays a sound that outlasts the test.
        const QString background = dir_.filePath(QStringLiteral("background.wav"));
        QVERIFY(testsupport::writeToneWav(background, 10000));
        mdlSndAPI::PlaySoundFile(background, "S1", false, 0);
        mdlSndAPI::PlaySoundFile(sound("long.mp3"), "S2", false, 0);
        QPointer<QMediaPlayer> s1 = real.player(alias("S1"));
        QPointer<QMediaPlayer> first = real.player(alias("S2"));
        QVERIFY(s1 && first);
        QVERIFY(testsupport::seenUnderWay(first, [&real] { real.mciSendString("play " + alias("S2") + " from 0"); }));

        mdlSndAPI::PlaySoundFile(QString(), "S2", false, 0);
        mdlSndAPI::PlaySoundFile(dir_.filePath("missing.wav"), "S2", false, 0);
        QVERIFY(first);
        QCOMPARE(first->playbackState(), QMediaPlayer::PlayingState);

        QElapsedTimer t;
        t.start();
        mdlSndAPI::PlaySoundFile(sound("tone.wav"), "S2", true, 0);
        const qint64 took = t.elapsed();
        QVERIFY2(first.isNull(), "The first sound on S2 was not cut.");
        QVERIFY2(took >= 320 && took < 6000, qPrintable(QString::number(took)));
        QCOMPARE(real.player(alias("S2"))->mediaStatus(), QMediaPlayer::EndOfMedia);
        QVERIFY(s1);

        // A file the device cannot open leaves the channel closed and quiet.
        const QString junk = makeFile("junk.wav");
        mdlSndAPI::PlaySoundFile(junk, "S2", false, 0);
        QCOMPARE(real.player(alias("S2")), nullptr);

        mdlSndAPI::CloseAllSounds();
        QVERIFY(real.aliases().isEmpty());
        QVERIFY(s1.isNull());
    }
};

QTEST_MAIN(tst_mdlSndAPI)
#include "tst_mdlSndAPI.moc"
