#include "platform/ScratchFolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::scratch {

namespace {

const char kLockName[] = "owner.lock";
// A folder is made under this prefix, locked, then renamed to its final name,
// so that a sweep never mistakes a folder being set up for an abandoned one.
const QString kNewPrefix = QStringLiteral(".new-");
constexpr qint64 kHalfMadeAgeSecs = 60;

struct Own {
    QString path;
    int lockFd = -1;
    bool tried = false;
};

Own& own() {
    static Own o;
    return o;
}

void removeOwn() {
    Own& o = own();
    if (!o.path.isEmpty())
        QDir(o.path).removeRecursively();
    if (o.lockFd >= 0)
        ::close(o.lockFd);
    o.path.clear();
    o.lockFd = -1;
}

// The parent folder exists (made here if missing), is a real folder of ours
// and closed to others; a shared temp folder lets anyone create names there.
bool parentIsSafe(const QString& parent) {
    const QByteArray path = QFile::encodeName(parent);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// Takes the folder's lock without waiting: the descriptor, or -1 while its
// owner lives (or on failure). missing is set when there is no lock file.
int tryLock(const QString& folder, bool* missing) {
    const QByteArray lock = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(kLockName));
    const int fd = ::open(lock.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    *missing = fd < 0 && errno == ENOENT;
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

QString base() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QFileInfo info(runtime);
        if (info.isDir() && info.isWritable() && info.ownerId() == ::getuid())
            return runtime + QStringLiteral("/k27");
    }
    return QDir::tempPath() + QStringLiteral("/k27-") + QString::number(::getuid());
}

QString forThisProcess() {
    Own& o = own();
    if (o.tried)
        return o.path;
    o.tried = true;

    const QString parent = base();
    if (!parentIsSafe(parent))
        return {};
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QByteArray name = QFile::encodeName(parent + QLatin1Char('/') + kNewPrefix + pid + QStringLiteral("-XXXXXX"));
    if (!::mkdtemp(name.data()))
        return {};
    const QString made = QFile::decodeName(name);
    const QByteArray lock = QFile::encodeName(made + QLatin1Char('/') + QLatin1String(kLockName));
    const int fd = ::open(lock.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (fd >= 0)
            ::close(fd);
        QDir(made).removeRecursively();
        return {};
    }
    const QString final = parent + QLatin1Char('/') + made.mid(parent.size() + 1 + kNewPrefix.size());
    if (::rename(name.constData(), QFile::encodeName(final).constData()) != 0) {
        ::close(fd);
        QDir(made).removeRecursively();
        return {};
    }
    o.path = final;
    o.lockFd = fd;
    // Gone with the application object, or with the process where there is
    // none.
    if (QCoreApplication::instance())
        qAddPostRoutine(removeOwn);
    else
        std::atexit(removeOwn);
    return o.path;
}

int removeStale(const QString& parent) {
    const QDir dir(parent);
    if (!dir.exists())
        return 0;
    const QString mine = own().path;
    const QDateTime halfMadeBefore = QDateTime::currentDateTimeUtc().addSecs(-kHalfMadeAgeSecs);
    int removed = 0;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (path == mine)
            continue;
        const bool halfMade = entry.fileName().startsWith(kNewPrefix);
        bool missing = false;
        const int fd = tryLock(path, &missing);
        bool stale = fd >= 0;
        // Without a lock file: a half-made folder is given a minute to get
        // one; any other folder has lost its owner's mark.
        if (missing)
            stale = !halfMade || entry.lastModified().toUTC() < halfMadeBefore;
        if (stale && QDir(path).removeRecursively())
            ++removed;
        if (fd >= 0)
            ::close(fd);
    }
    return removed;
}

} // namespace platform::scratch
