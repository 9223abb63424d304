// Where the settings file lives, and replacing it so that a failed save
// never costs the previous settings.
#include "app/SettingsFile.h"
#include "tests/support/PrivateMount.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace mdlIniIo;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Runs the save in a child process with its own limits; the exit status is
// the error number (0 for success, 255 for anything unexpected).
template <class Prepare> int saveInChild(const QString& path, const QByteArray& bytes, Prepare prepare) {
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 0;
        try {
            prepare();
            writeSettingsFile(path, bytes);
        } catch (const core::RuntimeError& e) {
            status = e.number() & 0xFF;
        } catch (...) {
            status = 255;
        }
        _exit(status);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// The files in a folder, to see that no temporary file stays behind.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Exit statuses of the full-disk child beyond the error numbers.
constexpr int kOldFileChanged = 251;
constexpr int kLitterLeft = 252;
constexpr int kNotFull = 253;

} // namespace

class tst_SettingsStorage : public QObject {
    Q_OBJECT

    QByteArray oldFile_;
    QByteArray newFile_;

private Q_SLOTS:
    void initTestCase() {
        oldFile_ = QByteArray(700, 'o');
        SettingsRecord r;
        r.Options.Folder.FareDataDir = QStringLiteral("/データ/運賃");
        newFile_ = encodeSettings(r);
    }

    void successfulSaveReplacesTheWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("K27.in4"));
        writeBytes(path, oldFile_); // longer than the new file: nothing of it may stay
        writeSettingsFile(path, newFile_);
        QCOMPARE(fileBytes(path), newFile_);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("K27.in4")});
    }

    void saveCreatesAMissingConfigurationFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("config/K27/K27.in4"));
        writeSettingsFile(path, newFile_);
        QCOMPARE(fileBytes(path), newFile_);
    }

    void readOnlyFolderKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/K27.in4");
        writeBytes(path, oldFile_);
        // The file itself may be written by anyone: only the folder refuses.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        // Permissions do not bind the super-user: save as an ordinary user.
        const int number = saveInChild(path, newFile_, [] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                _exit(254);
        });
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        QCOMPARE(number, core::errors::kPermissionDenied);
        QCOMPARE(fileBytes(path), oldFile_);
        QCOMPARE(entries(folder), QStringList{QStringLiteral("K27.in4")});
    }

    void saveCutShortByAFileSizeLimitKeepsTheOldFile_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("nothing fits") << 0;
        QTest::newRow("half the file") << 300;
        QTest::newRow("one byte short") << int(newFile_.size() - 1);
    }

    void saveCutShortByAFileSizeLimitKeepsTheOldFile() {
        QFETCH(int, limit);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("K27.in4"));
        writeBytes(path, oldFile_);
        const int number = saveInChild(path, newFile_, [limit] {
            ::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the process
            const rlimit rl{rlim_t(limit), rlim_t(limit)};
            if (::setrlimit(RLIMIT_FSIZE, &rl) != 0)
                _exit(253);
        });
        QCOMPARE(number, core::errors::kDiskFull);
        QCOMPARE(fileBytes(path), oldFile_);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("K27.in4")});
    }

    // A disk that fills up: no block left for the new file, or no inode
    // left for the temporary file the save writes first. The old file stays
    // as it was and the error says the disk is full.
    void fullDiskKeepsTheOldFile_data() {
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<bool>("fillBlocks");
        QTest::newRow("no space") << QByteArray("size=16k,nr_inodes=64,mode=0755") << true;
        QTest::newRow("no inode") << QByteArray("size=1m,nr_inodes=2,mode=0755") << false;
    }

    void fullDiskKeepsTheOldFile() {
        QFETCH(QByteArray, options);
        QFETCH(bool, fillBlocks);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("K27.in4"));
        const QByteArray old = oldFile_;
        const QByteArray fresh = newFile_;
        // The tiny file system exists in the child's own mount namespace
        // only, so the child checks what is left on it.
        const pid_t pid = fork();
        if (pid == 0) {
            if (!testsupport::mountPrivateTmpfs(dir.path(), options.constData()))
                _exit(testsupport::kNoPrivateMount);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(old) != old.size() || !f.flush())
                _exit(kNotFull);
            f.close();
            if (fillBlocks)
                testsupport::fillUp(dir.path());
            int status = 0;
            try {
                writeSettingsFile(path, fresh);
            } catch (const core::RuntimeError& e) {
                status = e.number() & 0xFF;
            }
            if (status == 0)
                _exit(kNotFull);
            if (fileBytes(path) != old)
                _exit(kOldFileChanged);
            QStringList left = entries(dir.path());
            left.removeAll(QStringLiteral("filler"));
            if (left != QStringList{QStringLiteral("K27.in4")})
                _exit(kLitterLeft);
            _exit(status);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        QVERIFY(WIFEXITED(status));
        if (WEXITSTATUS(status) == testsupport::kNoPrivateMount)
            QSKIP("No private mount namespace can be made here.");
        QVERIFY2(WEXITSTATUS(status) != kOldFileChanged, "The failed save changed the old file.");
        QVERIFY2(WEXITSTATUS(status) != kLitterLeft, "The failed save left a temporary file behind.");
        QVERIFY2(WEXITSTATUS(status) != kNotFull, "The save did not fail on the full disk.");
        QCOMPARE(WEXITSTATUS(status), core::errors::kDiskFull);
    }

    // Two running copies saving at the same moment: every read in between
    // and the file at the end are one copy's file, whole, never a mix or a
    // cut, and no temporary file stays behind.
    void racingSavesLeaveOneWholeFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("K27.in4"));
        SettingsRecord other;
        other.Options.Sound.KeitouSound = QString(300, QChar(u'音'));
        other.CtlPanel.ScrollSpeed = 1999;
        const QByteArray mine = newFile_;
        const QByteArray theirs = encodeSettings(other);
        QVERIFY(mine.size() != theirs.size());
        writeBytes(path, mine);

        auto saver = [&path](const QByteArray& bytes) {
            const pid_t pid = fork();
            if (pid == 0) {
                try {
                    for (int i = 0; i < 300; ++i)
                        writeSettingsFile(path, bytes);
                } catch (...) {
                    _exit(1);
                }
                _exit(0);
            }
            return pid;
        };
        const pid_t first = saver(mine);
        const pid_t second = saver(theirs);
        int reads = 0;
        int status = 0;
        while (waitpid(second, &status, WNOHANG) == 0) {
            const QByteArray seen = fileBytes(path);
            QVERIFY2(seen == mine || seen == theirs, "A read saw a file that neither copy wrote.");
            ++reads;
        }
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        waitpid(first, &status, 0);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        QVERIFY(reads > 0);
        const QByteArray last = fileBytes(path);
        QVERIFY(last == mine || last == theirs);
        QVERIFY(decodeSettings(last).complete);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("K27.in4")});
    }

    void unusableNames() {
        QTemporaryDir dir;
        auto numberFor = [](auto&& call) {
            try {
                call();
            } catch (const core::RuntimeError& e) {
                return e.number();
            }
            return 0;
        };
        QCOMPARE(numberFor([&] { writeSettingsFile(QString(), newFile_); }), core::errors::kBadFileName);
        QCOMPARE(numberFor([&] { writeSettingsFile(dir.path(), newFile_); }), core::errors::kPathFileAccess);
        QCOMPARE(numberFor([&] { readSettingsFile(QString()); }), core::errors::kBadFileName);
        QCOMPARE(numberFor([&] { readSettingsFile(dir.filePath(QStringLiteral("none.in4"))); }),
                 core::errors::kFileNotFound);
        QCOMPARE(numberFor([&] { readSettingsFile(dir.path()); }), core::errors::kPathFileAccess);
        // A folder in the way of the configuration folder.
        writeBytes(dir.filePath(QStringLiteral("K27")), "file");
        QCOMPARE(numberFor([&] { writeSettingsFile(dir.filePath(QStringLiteral("K27/K27.in4")), newFile_); }),
                 core::errors::kPathNotFound);
    }

    void readTakesNoMoreThanTheLargestFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("K27.in4"));
        writeBytes(path, QByteArray(kMaxFileSize + 10, '\0'));
        QCOMPARE(readSettingsFile(path).size(), kMaxFileSize);
        writeBytes(path, newFile_);
        QCOMPARE(readSettingsFile(path), newFile_);
    }

    void fileBesideTheProgramOrInTheConfigurationFolder() {
        const SettingsPlace portable{QStringLiteral("/home/u/k27/K27"), true, QStringLiteral("/home/u/.config/K27")};
        QCOMPARE(settingsFilePath(portable), QStringLiteral("/home/u/k27/K27.in4"));
        const SettingsPlace installed{QStringLiteral("/usr/bin/K27"), false, QStringLiteral("/home/u/.config/K27")};
        QCOMPARE(settingsFilePath(installed), QStringLiteral("/home/u/.config/K27/K27.in4"));
        // Named after the program's base name.
        const SettingsPlace renamed{QStringLiteral("/opt/k27/K27-test.bin"), true, QString()};
        QCOMPARE(settingsFilePath(renamed), QStringLiteral("/opt/k27/K27-test.in4"));
    }

    void loadingReadsWhatSavingWrote() {
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("bin/K27"));
        const QString beside = dir.filePath(QStringLiteral("bin/K27.in4"));
        const QString config = dir.filePath(QStringLiteral("config/K27/K27.in4"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("bin"))));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("config/K27"))));
        const SettingsPlace writable{program, true, dir.filePath(QStringLiteral("config/K27"))};
        SettingsPlace readOnly = writable;
        readOnly.executableFolderWritable = false;

        // No file anywhere: loading looks where saving will write.
        QCOMPARE(settingsLoadPath(writable), beside);
        QCOMPARE(settingsLoadPath(readOnly), config);

        // Only beside the program: an installed program's shipped settings
        // are read until the user has saved their own.
        writeBytes(beside, "b");
        QCOMPARE(settingsLoadPath(writable), beside);
        QCOMPARE(settingsLoadPath(readOnly), beside);

        // Both: the one saving writes wins, so a saved change is never
        // hidden by the other file at the next start.
        writeBytes(config, "c");
        QCOMPARE(settingsLoadPath(writable), beside);
        QCOMPARE(settingsLoadPath(readOnly), config);

        // Only in the configuration folder: carried over to a program
        // folder that has become writable.
        QVERIFY(QFile::remove(beside));
        QCOMPARE(settingsLoadPath(writable), config);
    }

    void placeOfThisProcess() {
        QStandardPaths::setTestModeEnabled(true);
        const SettingsPlace place = currentSettingsPlace();
        QCOMPARE(place.executablePath, QCoreApplication::applicationFilePath());
        QVERIFY(place.configFolder.endsWith(QStringLiteral("/K27")));
        QVERIFY(place.executableFolderWritable); // the build folder
        QCOMPARE(settingsFilePath(),
                 QCoreApplication::applicationDirPath() + QStringLiteral("/core_tst_SettingsStorage.in4"));
    }
};

QTEST_GUILESS_MAIN(tst_SettingsStorage)
#include "tst_SettingsStorage.moc"
