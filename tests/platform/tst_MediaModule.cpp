// The sound module: K27 starts without any multimedia library, the module
// file plays on its own, and the stand-in that answers before the module is
// loaded answers as the real player does.
#include "platform/MediaBackend.h"
#include "platform/QtMciPlayer.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace mci = platform::mci;

class tst_MediaModule : public QObject {
    Q_OBJECT

    // Built beside the test folder.
    static QString built(const QString& name) {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../") + name;
    }

private slots:
    void theStandInAnswersLikeAnEmptyPlayer() {
        platform::QtMciPlayer real;
        platform::LazyMultimedia lazy;
        for (const char* command : {"", "  ", "close K27S1", "close all", "CLOSE All", "close", "stop K27S2", "stop",
                                    "play K27S3", "play K27S3 from 0 wait", "play \"a b\"", "frob K27S1"}) {
            const QString c = QString::fromLatin1(command);
            QCOMPARE(lazy.mciSendString(c), real.mciSendString(c));
        }
        QVERIFY2(!lazy.backendInUse(), "Closing and stopping handed a command to the sound back end.");
        // An open goes to the back end, and so does everything after it.
        const QString tone = testsupport::sourcePath(QStringLiteral("tests/data/sound/tone.wav"));
        QCOMPARE(lazy.mciSendString(QStringLiteral("open \"%1\" type waveaudio alias L1 wait").arg(tone)), mci::kOk);
        QVERIFY(lazy.backendInUse());
        QCOMPARE(lazy.mciSendString(QStringLiteral("close L1")), mci::kOk);
        QCOMPARE(lazy.mciSendString(QStringLiteral("close L1")), mci::kInvalidDeviceName);
    }

    void theModulePlaysOnItsOwn() {
        if (!QFileInfo(built(QStringLiteral("libk27media.so"))).isFile())
            QSKIP("libk27media.so is not built.");
        // Found where K27 looks, though this test has the back end built in.
        platform::MediaBackend* backend = platform::loadMediaModule();
        QVERIFY(backend);
        QVERIFY2(backend != k27_media_backend(), "The module handed out this program's own back end.");
        QVERIFY(platform::mediaBackendAvailable());

        const QString tone = testsupport::sourcePath(QStringLiteral("tests/data/sound/tone.wav"));
        platform::Multimedia& mm = backend->multimedia();
        QCOMPARE(mm.mciSendString(QStringLiteral("open \"%1\" type waveaudio alias M1 wait").arg(tone)), mci::kOk);
        QCOMPARE(mm.mciSendString(QStringLiteral("play M1 from 0 wait")), mci::kOk);
        QCOMPARE(mm.mciSendString(QStringLiteral("close M1")), mci::kOk);

        // A speech player reports the start and the end of each piece once.
        QObject owner;
        int started = 0, ended = 0, failed = 0;
        platform::SpeechPlayer::Events events;
        events.started = [&started] { ++started; };
        events.ended = [&ended, &failed](bool f) { ++(f ? failed : ended); };
        auto player = backend->createSpeechPlayer(&owner, events);
        player->prepare();
        QVERIFY(player->mediaObject());
        QCOMPARE(player->mediaObject()->parent(), &owner);
        player->play(tone);
        QTRY_COMPARE_WITH_TIMEOUT(ended, 1, 10000);
        QCOMPARE(started, 1);
        QCOMPARE(failed, 0);
        // Stopped while it plays: nothing more is reported.
        player->play(tone);
        QTRY_COMPARE_WITH_TIMEOUT(started, 2, 10000);
        player->stop();
        QTest::qWait(300);
        QCOMPARE(ended, 1);
        QCOMPARE(failed, 0);
    }

    void k27StartsWithoutMultimedia() {
        const QString k27 = built(QStringLiteral("K27"));
        if (!QFileInfo(k27).isExecutable())
            QSKIP("K27 is not built.");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("K27_REPORT_FIRST_PAINT"), QStringLiteral("1"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(k27, {});
        QVERIFY(p.waitForStarted());
        QVERIFY2(p.waitForReadyRead(30000), "K27 reported no first paint.");
        QVERIFY(p.readAll().startsWith("first-paint "));
        QTest::qWait(500); // anything set off by the first paint
        QFile maps(QStringLiteral("/proc/%1/maps").arg(p.processId()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        p.kill();
        p.waitForFinished();
        for (const char* library : {"libQt6Multimedia", "libgstreamer", "libpulse", "libk27media"})
            QVERIFY2(!mapped.contains(library), library);
    }
};

QTEST_MAIN(tst_MediaModule)
#include "tst_MediaModule.moc"
