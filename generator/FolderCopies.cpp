// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/FolderCopies.h"

#include "core/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Only a regular file is copied: a link to a device or a FIFO would never end.
QString checkSource(const QString &source)
{
    if (source.isEmpty() || !QFileInfo(source).isFile())
        return QStringLiteral("%1: not a regular file").arg(source);
    return QString();
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat sa;
    struct stat sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

} // namespace

namespace FolderCopies
{

QString unquoted(const QString &pathOption)
{
    const QLatin1Char quote('"');
    if (pathOption.size() >= 2 && pathOption.startsWith(quote) && pathOption.endsWith(quote))
        return pathOption.mid(1, pathOption.size() - 2);
    return pathOption;
}

QString fileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString folderPart(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString copyIn(const QString &source, const QString &target)
{
    const QString refused = checkSource(source);
    if (!refused.isEmpty())
        return refused;
    return SafeFile::copyNoReplace(source, target);
}

QString copyInReplacing(const QString &source, const QString &target)
{
    const QString refused = checkSource(source);
    if (!refused.isEmpty())
        return refused;
    const QByteArray targetName = QFile::encodeName(target);
    struct stat st;
    if (::lstat(targetName.constData(), &st) != 0)
        return SafeFile::copyNoReplace(source, target);
    if (!S_ISREG(st.st_mode))
        return errnoText(EEXIST); // a link, folder, device or FIFO of that name stays as it is
    if (sameFile(source, target))
        return QString();
    // Written whole beside the target and then moved into place: the old file stays until then.
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return SafeFile::writeAtomically(target, bytes, SafeFile::Replace::RegularFileOnly);
}

} // namespace FolderCopies
