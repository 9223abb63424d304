// The program itself, run as a process: a termination signal ends it the
// orderly way, with the settings saved beside it, whenever it comes after
// the program has started to listen for it (during start-up included).
#include "app/SettingsFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#ifndef K27_EXECUTABLE
#error "the build passes the path of the K27 program"
#endif

namespace {

// True once the process catches the signal: /proc/<pid>/status lists the
// caught signals as a hexadecimal mask.
bool catches(qint64 pid, int number) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (number - 1)) & 1;
    return false;
}

class Program {
public:
    explicit Program(const QString& folder) : folder_(folder) {}

    // Starts the program, waits until it listens for termination signals,
    // sends one and waits for the end. False with a reason in why.
    bool runAndSignal(int number, QString& why) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Settings only beside the program, none from the user's folder.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder_ + QStringLiteral("/config"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder_);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(folder_ + QStringLiteral("/K27"), {});
        if (!process.waitForStarted(10000)) {
            why = QStringLiteral("did not start");
            return false;
        }
        QElapsedTimer clock;
        clock.start();
        while (!catches(process.processId(), number) && clock.elapsed() < 30000)
            QTest::qSleep(5);
        ::kill(pid_t(process.processId()), number);
        if (!process.waitForFinished(60000)) {
            process.kill();
            why = QStringLiteral("did not end after the signal");
            return false;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            why = QStringLiteral("ended with status %1, code %2").arg(process.exitStatus()).arg(process.exitCode());
            return false;
        }
        return true;
    }

    QString settingsFile() const { return folder_ + QStringLiteral("/K27.in4"); }

private:
    QString folder_;
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_K27Process : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void signalEndsWithTheSettingsSaved() {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(QStringLiteral(K27_EXECUTABLE), dir.filePath(QStringLiteral("K27"))));
        Program k27(dir.path());
        QString why;

        // The first start: no file, so the windows stand in their corners
        // of the offscreen screen (800 x 800) and that is what is saved.
        // The offscreen platform frames the panel with 2 pixels all round.
        QVERIFY2(k27.runAndSignal(SIGTERM, why), qPrintable(why));
        const mdlIniIo::DecodedSettings first = mdlIniIo::decodeSettings(fileBytes(k27.settingsFile()));
        QVERIFY(first.complete);
        QCOMPARE(first.record.BoardPos, (BoardPosRec{0, 0}));
        QCOMPARE(first.record.CtlPanel.CtlLeft, (800 - 4) * 15 - 5400);
        QCOMPARE(first.record.CtlPanel.CtlTop, (800 - 4) * 15 - 5010);
        QCOMPARE(first.record.CtlPanel.ScrollSpeed, 1);

        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("K27"), QStringLiteral("K27.in4")}));
    }
};

QTEST_GUILESS_MAIN(tst_K27Process)
#include "tst_K27Process.moc"
