#pragma once
// Header-only (the core tests link no test library): a file system of the
// test's own making, seen by one child process alone.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace testsupport {

// Exit status of a child that could make no private mount; the test that
// forked it skips its case.
inline constexpr int kNoPrivateMount = 250;

inline bool writeProcFile(const char* path, const QByteArray& text) {
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// In this (child) process only, mounts a fresh tmpfs with the given options
// ("size=16k,nr_inodes=64") on folder: as the super-user in a mount
// namespace of its own, otherwise in a user namespace where this user is
// root. False where neither is allowed. Call it in a forked child: the
// namespace cannot be left again.
inline bool mountPrivateTmpfs(const QString& folder, const char* options) {
    if (::geteuid() != 0) {
        const QByteArray uid = QByteArray::number(::geteuid()), gid = QByteArray::number(::getegid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !writeProcFile("/proc/self/setgroups", "deny") ||
            !writeProcFile("/proc/self/uid_map", "0 " + uid + " 1") ||
            !writeProcFile("/proc/self/gid_map", "0 " + gid + " 1"))
            return false;
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("k27-test", QFile::encodeName(folder).constData(), "tmpfs", 0, options) == 0;
}

// Fills the file system that holds folder until a write fails for room.
inline void fillUp(const QString& folder) {
    QFile filler(folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

} // namespace testsupport
