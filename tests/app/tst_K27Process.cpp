// The program itself, run as a process: a termination signal ends it the
// orderly way, with the settings saved beside it, whenever it comes after
// the program has started to listen for it (during start-up included). An
// installed program's first start opens on the installed demo.
#include "app/SettingsFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
    // The program in its own folder of an install tree (<prefix>/bin).
    Program(const QString& folder, const QString& home) : folder_(folder), home_(home) {}

    // Starts the program, waits until it listens for termination signals,
    // sends one and waits for the end. False with a reason in why.
    bool runAndSignal(int number, QString& why) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        // Settings only beside the program, none from the user's folder.
        const QString home = home_.isEmpty() ? folder_ : home_;
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(home);
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
        const bool finished = process.waitForFinished(60000);
        errors_ = QString::fromUtf8(process.readAllStandardError());
        if (!finished) {
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
    // What the last run wrote on standard error.
    QString errors() const { return errors_; }

private:
    QString folder_;
    QString home_;
    QString errors_;
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
        QVERIFY2(!k27.errors().contains(QLatin1String("first start")), qPrintable(k27.errors()));
    }

    // Installed as `cmake --install` lays it out, with the demo under
    // share/k27/demo: the first start writes the demo's settings before it
    // loads them, so the windows come up on the demo, and what the exit
    // saves is that demo, every path pointing into the installed folder.
    // The second start keeps the file it finds.
    void installedFirstStartOpensOnTheDemo() {
        const QString source = qEnvironmentVariable("K27_SOURCE_DIR");
        if (source.isEmpty())
            QSKIP("K27_SOURCE_DIR is not set");
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("usr/bin"));
        const QString demo = dir.filePath(QStringLiteral("usr/share/k27/demo"));
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(QFileInfo(demo).path()));
        QVERIFY(QFile::copy(QStringLiteral(K27_EXECUTABLE), bin + QStringLiteral("/K27")));
        QVERIFY(QFile::link(source + QStringLiteral("/data/demo"), demo));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("home"))));
        Program k27(bin, dir.filePath(QStringLiteral("home")));
        QString why;

        QVERIFY2(k27.runAndSignal(SIGTERM, why), qPrintable(why));
        QVERIFY2(
            k27.errors().contains(
                QStringLiteral("first start: the demo's settings from %1 written to %2").arg(demo, k27.settingsFile())),
            qPrintable(k27.errors()));
        const mdlIniIo::DecodedSettings saved = mdlIniIo::decodeSettings(fileBytes(k27.settingsFile()));
        QVERIFY(saved.complete);
        const OptionRecords& o = saved.record.Options;
        QCOMPARE(o.Folder.FareDataDir, demo);
        QCOMPARE(o.Panel.On1PanelFile, demo + QStringLiteral("/panels/panel-on1.bmp"));
        QCOMPARE(o.Sound.TapeSound3, demo + QStringLiteral("/sounds/tape3.mid"));
        QCOMPARE(o.Preview.PluginFile, demo + QStringLiteral("/plugins/full.4SP"));
        // Applied, not only written: the panel's preview pane, closed by
        // default, was open when the exit saved the windows.
        QCOMPARE(saved.record.CtlPanel.PreviewOpen, qint16(1));

        // Later starts take the settings as the last exit saved them.
        QFile changed(k27.settingsFile());
        SettingsRecord mine = saved.record;
        mine.CtlPanel.ScrollSpeed = 700;
        QVERIFY(changed.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(changed.write(mdlIniIo::encodeSettings(mine)) > 0);
        changed.close();
        QVERIFY2(k27.runAndSignal(SIGTERM, why), qPrintable(why));
        QVERIFY2(!k27.errors().contains(QLatin1String("first start")), qPrintable(k27.errors()));
        QCOMPARE(mdlIniIo::decodeSettings(fileBytes(k27.settingsFile())).record.CtlPanel.ScrollSpeed, 700);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("home/config/K27/K27.in4"))));
    }
};

QTEST_GUILESS_MAIN(tst_K27Process)
#include "tst_K27Process.moc"
