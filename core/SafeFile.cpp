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
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

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

// Links the unnamed file behind self under a fresh hidden name in folder, set in *temp.
bool linkUnderTemporaryName(const QByteArray &self, const QByteArray &folder, QByteArray *temp)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = folder + '/' + SafeFile::TemporaryPrefix;
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            *temp = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace

namespace SafeFile {

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
        temp = folder + '/' + TemporaryPrefix + "XXXXXX";
        fd = ::mkstemp(temp.data());
        if (fd < 0)
            return errnoText(errno);
        ::fchmod(fd, newFileMode());
    }
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
    if (error) {
        if (!temp.isEmpty())
            ::unlink(temp.constData());
        return errnoText(error);
    }
    return QString();
}

int removeStaleTemporaries(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    const int fd = ::dirfd(dir);
    const size_t prefixLength = std::strlen(TemporaryPrefix);
    const time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, TemporaryPrefix, prefixLength) != 0 ||
            std::strlen(entry->d_name) != prefixLength + 6)
            continue;
        struct stat st;
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            now - st.st_mtime < kStaleSeconds)
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
