#include "core/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

} // namespace

namespace SafeFile {

bool isRegularFileNoFollow(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QString writeAtomically(const QString &path, const QByteArray &data, Replace mode)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat st;
    const bool exists = ::lstat(target.constData(), &st) == 0;
    if (exists && (mode == Replace::Never || !S_ISREG(st.st_mode)))
        return errnoText(EEXIST);

    QByteArray temp = QFile::encodeName(QFileInfo(path).absolutePath()) + "/.tessaloom-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return errnoText(errno);
    if (exists)
        ::fchmod(fd, st.st_mode & 07777);
    else
        ::fchmod(fd, 0644);
    int error = 0;
    if (!writeAll(fd, data) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error) {
        int rc = 0;
        if (mode == Replace::Never) {
            // Fails with EEXIST when the name appeared meanwhile: nothing is replaced.
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
        ::unlink(temp.constData());
        return errnoText(error);
    }
    return QString();
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
