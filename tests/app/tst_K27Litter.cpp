// A K27 killed outright (SIGKILL, a power cut of a kind) in the middle of an
// announcement leaves its speech WAVs behind; the next start of the program
// clears them away, and a normal end leaves no temporary file at all.
//
// The announcing copy is this executable run again as a child: it runs the
// program's own start-up and event loop over the real platform and presses
// the buttons a driver would (route 12 of the demo data, reset, "送り").
// The fresh start is the built K27 program itself.
#include "app/K27App.h"
#include "control/frmCtl.h"
#include "options/frmOption.h"
#include "platform/OpenJTalkSpeech.h"
#include "platform/Platform.h"
#include "platform/ScratchFolder.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>

#ifndef K27_EXECUTABLE
#error "the build passes the path of the K27 program"
#endif

namespace {

const char kRoleVariable[] = "K27_LITTER_CHILD"; // holds the data folder

template <class Window> Window* topLevel() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w))
            return window;
    return nullptr;
}

// The child: K27 over the real platform; once started it sets route 12 from
// the data folder, presses "送り" and, when the first piece of speech is on
// disk, prints its scratch folder and goes on until it is killed.
int runAnnouncingK27(QApplication& app, const QString& data) {
    platform::install(static_cast<platform::VXB4Res*>(nullptr));
    platform::install(static_cast<platform::Multimedia*>(nullptr));
    platform::install(static_cast<platform::SpeechFactory*>(nullptr));
    platform::install(static_cast<platform::Clock*>(nullptr));
    platform::install(static_cast<platform::Shell*>(nullptr));
    platform::install(static_cast<platform::Clipboard*>(nullptr));
    platform::install(static_cast<platform::MessageBox*>(nullptr));
    platform::install(static_cast<platform::WindowMover*>(nullptr));

    int step = 0;
    bool busy = false; // the reset's lamp test runs a loop of its own
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        frmCtl* panel = topLevel<frmCtl>();
        frmOption* options = topLevel<frmOption>();
        if (busy || !panel || !options || !panel->started())
            return;
        busy = true;
        if (step == 0) {
            options->Text2[0]->setText(data);
            options->Text2[1]->setText(data);
            for (int key : {10, 1, 2, 11, 1})
                panel->CommandButton1[size_t(key)]->click();
            panel->Command1[1]->click();
            step = 1;
        } else if (step == 1 && panel->cmdTapeNext->isEnabled()) {
            panel->cmdTapeNext->click();
            step = 2;
        } else if (step == 2) {
            const QString folder = platform::scratch::forThisProcess();
            if (!QDir(folder).entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty()) {
                std::printf("%s\n", qPrintable(folder));
                std::fflush(stdout);
                step = 3;
            }
        }
        busy = false;
    });
    poll.start(20);
    return K27App::run(app);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class tst_K27Litter : public QObject {
    Q_OBJECT

private slots:
    void aKilledAnnouncementLeavesNothingAfterTheNextStart() {
        if (!platform::OpenJTalkFiles::installed().complete())
            QSKIP("open_jtalk, its dictionary or its voice is not installed (scripts/install-deps.sh).");
        QTemporaryDir runtime, data, program;
        for (const char* name : {"12.hy3", "12tp.csv"})
            QVERIFY(QFile::copy(testsupport::sourcePath(QStringLiteral("data/demo/") + QLatin1String(name)),
                                data.filePath(QLatin1String(name))));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime.filePath(QStringLiteral("config")));
        const QString scratch = runtime.filePath(QStringLiteral("k27"));

        // The announcing copy, killed once its first WAV is written.
        QProcess announcing;
        QProcessEnvironment childEnv = env;
        childEnv.insert(QString::fromLatin1(kRoleVariable), data.path());
        announcing.setProcessEnvironment(childEnv);
        announcing.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        announcing.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(announcing.waitForStarted(10000));
        const bool spoke = announcing.waitForReadyRead(60000);
        const QString folder = QString::fromLocal8Bit(announcing.readLine()).trimmed();
        ::kill(pid_t(announcing.processId()), SIGKILL);
        announcing.waitForFinished(10000);
        QVERIFY2(spoke, "The announcing copy never wrote its first WAV.");
        QVERIFY2(folder.startsWith(scratch + QLatin1Char('/')), qPrintable(folder));
        QVERIFY2(!QDir(folder).entryList({QStringLiteral("*.wav")}, QDir::Files).isEmpty(),
                 "A killed process cannot clean up: its WAV must still be there.");

        // A fresh start of the program sweeps it away while it starts.
        QVERIFY(QFile::copy(QStringLiteral(K27_EXECUTABLE), program.filePath(QStringLiteral("K27"))));
        QProcess k27;
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        k27.setProcessEnvironment(env);
        k27.setWorkingDirectory(program.path());
        k27.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        k27.start(program.filePath(QStringLiteral("K27")), {});
        QVERIFY(k27.waitForStarted(10000));
        QElapsedTimer clock;
        clock.start();
        while (QFileInfo::exists(folder) && clock.elapsed() < 60000 && k27.state() == QProcess::Running)
            QTest::qWait(50);
        const bool swept = !QFileInfo::exists(folder);
        const QStringList leftWhileRunning = entries(scratch);
        // Ended the orderly way (a termination signal saves and exits).
        QTest::qWait(500);
        ::kill(pid_t(k27.processId()), SIGTERM);
        QVERIFY(k27.waitForFinished(60000));
        QVERIFY2(swept, "The next start left the killed copy's folder in place.");
        QVERIFY2(leftWhileRunning.isEmpty(), qPrintable(leftWhileRunning.join(u' ')));
        QCOMPARE(k27.exitCode(), 0);
        QCOMPARE(entries(scratch), QStringList());
        QCOMPARE(QDir(program.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("K27"), QStringLiteral("K27.in4")}));
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString data = qEnvironmentVariable(kRoleVariable);
    if (!data.isEmpty())
        return runAnnouncingK27(app, data);
    tst_K27Litter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_K27Litter.moc"
