// The per-process scratch folders: a killed process's folder is swept away by
// the next start, a running process's folder never is, and a normal exit
// leaves nothing behind. Real processes are used: this test executable,
// started again in one of its child roles below.
#include "platform/OpenJTalkSpeech.h"
#include "platform/ScratchFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

const char kRoleVariable[] = "K27_SCRATCH_CHILD";

// A child role: prints its scratch folder (or the speech engine's) on one
// line, then waits to be killed ("hold", "speak") or returns ("exit").
int runChild(const QByteArray& role) {
    QString folder;
    if (role == "speak") {
        auto engine = platform::OpenJTalkSpeechFactory().create();
        if (!engine)
            return 3;
        engine->Speak(QStringLiteral("次は、市役所前です。"));
        folder = platform::scratch::forThisProcess();
        // Until the first piece is synthesised; killed while it plays.
        for (int i = 0;
             i < 1000 && engine->IsSpeaking() && !QFileInfo::exists(folder + QStringLiteral("/speech1-1.wav")); ++i) {
            QCoreApplication::processEvents(); // feeds the synthesiser its text
            QThread::msleep(10);
        }
    } else {
        folder = platform::scratch::forThisProcess();
        if (!folder.isEmpty()) {
            QFile piece(folder + QStringLiteral("/piece.wav"));
            if (!piece.open(QIODevice::WriteOnly) || piece.write("RIFF") != 4)
                return 4;
        }
    }
    std::printf("%s\n", qPrintable(folder));
    std::fflush(stdout);
    if (role == "exit")
        return 0;
    for (;;)
        QThread::sleep(60);
}

} // namespace

class tst_ScratchFolder : public QObject {
    Q_OBJECT

    QTemporaryDir runtime_;
    QString parent_; // runtime_/k27

    // Starts this executable in a child role and returns its folder.
    QString startChild(QProcess& child, const QByteArray& role) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kRoleVariable), QString::fromLatin1(role));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForStarted(5000) || !child.waitForReadyRead(30000))
            return {};
        return QString::fromLocal8Bit(child.readLine()).trimmed();
    }

    static void kill9(QProcess& child) {
        ::kill(pid_t(child.processId()), SIGKILL);
        child.waitForFinished(5000);
    }

    static QStringList folders(const QString& parent) {
        return QDir(parent).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase() {
        QVERIFY(runtime_.isValid());
        // Every child and this process use a runtime folder of the test's own.
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime_.path()));
        parent_ = runtime_.path() + QStringLiteral("/k27");
        QCOMPARE(platform::scratch::base(), parent_);
    }

    void aKilledProcessLeavesNothingAfterTheNextSweep() {
        QProcess child;
        const QString folder = startChild(child, "hold");
        QVERIFY2(folder.startsWith(parent_ + QLatin1Char('/')), qPrintable(folder));
        QVERIFY(QFileInfo(folder).fileName().startsWith(QString::number(child.processId()) + QLatin1Char('-')));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/piece.wav")));
        // The parent folder is closed to other users.
        QCOMPARE(QFileInfo(parent_).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther |
                                                     QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup),
                 QFile::Permissions());

        // While it runs, no sweep touches its folder.
        QCOMPARE(platform::scratch::removeStale(parent_), 0);
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/piece.wav")));

        kill9(child);
        QVERIFY2(QFileInfo::exists(folder), "A killed process cannot clean up after itself.");
        QCOMPARE(platform::scratch::removeStale(parent_), 1);
        QVERIFY(!QFileInfo::exists(folder));
    }

    void aNormalExitLeavesNothing() {
        QProcess child;
        const QString folder = startChild(child, "exit");
        QVERIFY(!folder.isEmpty());
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(folder));
    }

    void ownAndLiveFoldersStay() {
        // This process's own folder, and another live process's.
        const QString own = platform::scratch::forThisProcess();
        QVERIFY(!own.isEmpty());
        QCOMPARE(platform::scratch::forThisProcess(), own);
        QProcess child;
        const QString other = startChild(child, "hold");
        QVERIFY(!other.isEmpty());
        QVERIFY(other != own);

        // Leftovers: a folder whose lock file is gone, a half-made one from
        // long ago, and a half-made one being set up right now.
        const QString noLock = parent_ + QStringLiteral("/999999-aaaaaa");
        const QString oldHalf = parent_ + QStringLiteral("/.new-999999-bbbbbb");
        const QString newHalf = parent_ + QStringLiteral("/.new-999999-cccccc");
        for (const QString& f : {noLock, oldHalf, newHalf})
            QVERIFY(QDir().mkpath(f));
        const timespec hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(oldHalf).constData(), hourAgo, 0), 0);

        QCOMPARE(platform::scratch::removeStale(parent_), 2);
        QCOMPARE(folders(parent_).size(), 3);
        QVERIFY(QFileInfo::exists(own));
        QVERIFY(QFileInfo::exists(other + QStringLiteral("/piece.wav")));
        QVERIFY(QFileInfo::exists(newHalf));

        kill9(child);
        QCOMPARE(platform::scratch::removeStale(parent_), 1);
        QVERIFY(QFileInfo::exists(own));
        QDir(newHalf).removeRecursively();
    }

    void aParentOpenToOthersIsNotUsed() {
        QTemporaryDir shared;
        QVERIFY(QDir().mkpath(shared.path() + QStringLiteral("/k27")));
        QVERIFY(::chmod(QFile::encodeName(shared.path() + QStringLiteral("/k27")).constData(), 0777) == 0);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kRoleVariable), QStringLiteral("exit"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), shared.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.readAll().trimmed(), QByteArray());
        QVERIFY(folders(shared.path() + QStringLiteral("/k27")).isEmpty());
    }

    void anAnnouncementLeavesNoWav() {
        const platform::OpenJTalkFiles files = platform::OpenJTalkFiles::installed();
        if (!files.complete())
            QSKIP("Open JTalk is not installed.");
        platform::OpenJTalkSpeech engine(files);
        QVERIFY2(!engine.hasPlayer(), "The engine made its player before anything was said.");
        const QString folder = platform::scratch::forThisProcess();
        auto wavs = [&folder] { return QDir(folder).entryList({QStringLiteral("*.wav")}, QDir::Files); };
        QSignalSpy finished(&engine, &platform::OpenJTalkSpeech::speechFinished);
        engine.Speak(QStringLiteral("次は、市役所前です。運賃は230円です。"));
        QVERIFY(engine.hasPlayer());
        QTRY_VERIFY_WITH_TIMEOUT(!wavs().isEmpty(), 10000);
        QVERIFY(finished.wait(20000));
        QCOMPARE(wavs(), QStringList());

        // Cut short while synthesising and while playing.
        engine.Speak(QStringLiteral("次は、市役所前です。運賃は230円です。"));
        engine.Stop();
        QCOMPARE(wavs(), QStringList());
        engine.Speak(QStringLiteral("次は、市役所前です。運賃は230円です。"));
        QTRY_VERIFY_WITH_TIMEOUT(!wavs().isEmpty(), 10000);
        engine.Stop();
        QCOMPARE(wavs(), QStringList());
    }

    void aKilledAnnouncementIsClearedByTheNextEngine() {
        const platform::OpenJTalkFiles files = platform::OpenJTalkFiles::installed();
        if (!files.complete())
            QSKIP("Open JTalk is not installed.");
        QProcess child;
        const QString folder = startChild(child, "speak");
        QVERIFY2(!folder.isEmpty(), "The speaking child reported no folder.");
        kill9(child);
        QVERIFY(QFileInfo::exists(folder));
        // What start-up does: create the speech engine.
        QVERIFY(platform::OpenJTalkSpeechFactory(files).create());
        QVERIFY(!QFileInfo::exists(folder));
    }
};

int main(int argc, char* argv[]) {
    const QByteArray role = qgetenv(kRoleVariable);
    QApplication app(argc, argv);
    if (!role.isEmpty())
        return runChild(role);
    tst_ScratchFolder test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ScratchFolder.moc"
