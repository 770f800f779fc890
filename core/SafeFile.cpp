// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes all of data to fd; false with errno set when any write falls short.
bool writeAll(int fd, const QByteArray &data)
{
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

constexpr time_t kStaleSeconds = 60; // a writer takes well under a second between creating and linking

constexpr int kTemporaryRandomLength = 12;
const char kTemporaryLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

QByteArray temporaryName(const QByteArray &folder)
{
    QByteArray name = folder + '/' + SafeFile::TemporaryMark;
    for (int i = 0; i < kTemporaryRandomLength; ++i)
        name += kTemporaryLetters[QRandomGenerator::global()->bounded(int(sizeof kTemporaryLetters - 1))];
    return name;
}

// True for exactly the names temporaryName makes.
bool isTemporaryName(const char *name)
{
    const size_t markLength = std::strlen(SafeFile::TemporaryMark);
    if (std::strncmp(name, SafeFile::TemporaryMark, markLength) != 0 ||
        std::strlen(name) != markLength + kTemporaryRandomLength)
        return false;
    for (const char *c = name + markLength; *c; ++c)
        if (!std::strchr(kTemporaryLetters, *c))
            return false;
    return true;
}

// Creates a fresh named temporary file in folder (where unnamed files are refused), set in *temp.
int createTemporaryFile(const QByteArray &folder, QByteArray *temp)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(folder);
        const int fd = ::open(name.constData(), O_CREAT | O_EXCL | O_RDWR | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            *temp = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// Links the unnamed file behind self under a fresh temporary name in folder, set in *temp.
bool linkUnderTemporaryName(const QByteArray &self, const QByteArray &folder, QByteArray *temp)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = temporaryName(folder);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            *temp = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// True when nothing holds the lock a writer keeps on its temporary file while it lives: the process
// that made it is gone. Anything that cannot be proven (another file at the name meanwhile, a file
// system without locks) counts as held.
bool noWriterHolds(int folderFd, const char *name, const struct stat &seen)
{
    const int fd = ::openat(folderFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    const bool free = ::fstat(fd, &st) == 0 && st.st_dev == seen.st_dev && st.st_ino == seen.st_ino &&
                      ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

namespace SafeFile
{

bool isRegularFileNoFollow(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString writeAtomically(const QString &path, const QByteArray &data, Replace mode, Durability durability)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat st;
    const bool exists = ::lstat(target.constData(), &st) == 0;
    if (exists && (mode == Replace::Never || !S_ISREG(st.st_mode)))
        return errnoText(EEXIST);

    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    // An unnamed file leaves nothing behind when the process is killed before it is linked in.
    int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    QByteArray temp;
    if (!unnamed) {
        fd = createTemporaryFile(folder, &temp);
        if (fd < 0)
            return errnoText(errno);
        ::fchmod(fd, newFileMode());
    }
    // Held until the file has its final name: while it is held, the sweep knows its writer lives. The
    // lock stays with a duplicate, so that closing the file still reports late write errors before it
    // takes its name.
    ::flock(fd, LOCK_EX);
    const int lockFd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (exists && mode == Replace::RegularFileOnly)
        ::fchmod(fd, st.st_mode & 07777);
    int error = 0;
    if (!writeAll(fd, data) || (durability == Durability::Synced && ::fsync(fd) != 0))
        error = errno;
    if (!error && unnamed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        if (mode == Replace::Never) {
            // Fails with EEXIST when the name appeared meanwhile: nothing is replaced.
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, target.constData(), AT_SYMLINK_FOLLOW) != 0)
                error = errno;
        } else if (!linkUnderTemporaryName(self, folder, &temp)) {
            error = errno;
        }
    }
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && !temp.isEmpty()) {
        int rc = 0;
        if (mode == Replace::Never) {
            rc = ::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
            if (rc != 0 && errno == EINVAL) { // file systems without the flag
                rc = ::link(temp.constData(), target.constData());
                if (rc == 0)
                    ::unlink(temp.constData());
            }
        } else {
            rc = ::rename(temp.constData(), target.constData());
        }
        if (rc != 0)
            error = errno;
    }
    if (error && !temp.isEmpty())
        ::unlink(temp.constData());
    if (lockFd >= 0)
        ::close(lockFd);
    return error ? errnoText(error) : QString();
}

int removeStaleTemporaries(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    const int fd = ::dirfd(dir);
    const time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        struct stat st;
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            now - st.st_mtime < kStaleSeconds || !noWriterHolds(fd, entry->d_name, st))
            continue;
        if (::unlinkat(fd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

unsigned newFileMode()
{
    // Read from the process status: setting and restoring umask would race with other threads.
    static const unsigned mode = [] {
        unsigned mask = 022;
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.startsWith("Umask:")) {
                    bool ok = false;
                    const unsigned value = line.mid(6).trimmed().toUInt(&ok, 8);
                    if (ok)
                        mask = value;
                }
            }
        }
        return 0666u & ~mask;
    }();
    return mode;
}

QString copyNoReplace(const QString &from, const QString &to)
{
    struct stat st;
    if (::lstat(QFile::encodeName(to).constData(), &st) == 0)
        return errnoText(EEXIST);
    // QFile::copy publishes a finished temporary file with linkat(): it never replaces a name
    // that exists or appears meanwhile, and leaves no partial file behind.
    QFile source(from);
    if (!source.copy(to))
        return source.errorString();
    return QString();
}

} // namespace SafeFile
