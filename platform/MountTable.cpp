// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MountTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

bool isOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// "/media/cdrom0" holds "/media/cdrom0" and "/media/cdrom0/x", never "/media/cdrom01".
bool holds(const QString &mountPoint, const QString &path)
{
    if (mountPoint == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path.startsWith(mountPoint) &&
           (path.size() == mountPoint.size() || path.at(mountPoint.size()) == QLatin1Char('/'));
}

QString comparablePath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
}

} // namespace

QByteArray MountTable::decodeEscapes(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size() && isOctalDigit(field.at(i + 1)) &&
            isOctalDigit(field.at(i + 2)) && isOctalDigit(field.at(i + 3))) {
            const int value =
                (field.at(i + 1) - '0') * 64 + (field.at(i + 2) - '0') * 8 + (field.at(i + 3) - '0');
            out.append(char(value & 0xff));
            i += 3;
        } else {
            out.append(field.at(i));
        }
    }
    return out;
}

MountTable MountTable::fromText(const QByteArray &mountinfo)
{
    MountTable table;
    const QList<QByteArray> lines = mountinfo.split('\n');
    for (const QByteArray &line : lines) {
        // id parent major:minor root mount-point options [optional...] - fstype source super-options
        const QList<QByteArray> fields = line.simplified().split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (fields.size() < 6 || separator < 6 || separator + 1 >= fields.size())
            continue;
        Mount mount;
        mount.mountPoint = QFile::decodeName(decodeEscapes(fields.at(4)));
        mount.options = QString::fromLatin1(fields.at(5)).split(QLatin1Char(','));
        mount.fileSystem = QString::fromLatin1(decodeEscapes(fields.at(separator + 1)));
        if (separator + 2 < fields.size())
            mount.source = QFile::decodeName(decodeEscapes(fields.at(separator + 2)));
        if (!mount.mountPoint.startsWith(QLatin1Char('/')))
            continue;
        table.m_mounts.append(mount);
    }
    return table;
}

MountTable MountTable::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return MountTable();
    // /proc files report no size: read until the end.
    return fromText(file.readAll());
}

const MountTable::Mount *MountTable::mountOf(const QString &path) const
{
    if (path.isEmpty())
        return nullptr;
    const QString wanted = comparablePath(path);
    const Mount *best = nullptr;
    for (const Mount &mount : m_mounts) {
        // ">=": of two mounts at one point the later lies on top.
        if (holds(mount.mountPoint, wanted) && (!best || mount.mountPoint.size() >= best->mountPoint.size()))
            best = &mount;
    }
    return best;
}

QString MountTable::opticalMountPoint(const QString &folder) const
{
    const Mount *mount = mountOf(folder);
    return mount && isOpticalFileSystem(mount->fileSystem) ? mount->mountPoint : QString();
}

bool MountTable::isOpticalFileSystem(const QString &fileSystem)
{
    return fileSystem == QLatin1String("iso9660") || fileSystem == QLatin1String("udf");
}

QString opticalMountPointOf(const QString &folder)
{
    return MountTable::fromFile().opticalMountPoint(folder);
}
