// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/FolderHandle.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FolderHandle::FolderHandle(const QString &path) : m_path(path)
{
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        m_error = QString::fromLocal8Bit(std::strerror(errno));
}

FolderHandle::~FolderHandle()
{
    if (m_fd >= 0)
        ::close(m_fd); // the lock goes with the handle
}

QString FolderHandle::handlePath() const
{
    return QStringLiteral("/proc/self/fd/%1").arg(m_fd);
}

QString FolderHandle::entry(const QString &name) const
{
    return handlePath() + QLatin1Char('/') + name;
}

bool FolderHandle::stillThere() const
{
    struct stat held;
    struct stat named;
    if (m_fd < 0 || ::fstat(m_fd, &held) != 0 || held.st_nlink == 0)
        return false;
    return ::stat(QFile::encodeName(m_path).constData(), &named) == 0 && named.st_dev == held.st_dev &&
           named.st_ino == held.st_ino;
}

bool FolderHandle::tryLock()
{
    // flock locks belong to the open handle: a second handle on the folder, in this process or
    // another, is refused until this one closes (a killed run releases it too).
    return m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}
