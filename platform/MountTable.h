// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The system's mount table as /proc/self/mountinfo gives it, used to tell whether a folder lies on
// an optical disc (where the run refuses to write) and on what it is mounted.
class MountTable
{
public:
    struct Mount {
        QString mountPoint; // octal escapes decoded
        QString fileSystem; // "ext4", "iso9660", "udf", ...
        QString source;
        QStringList options; // per-mount options ("ro", "nosuid", ...)
    };

    // Parses mountinfo text; lines that are not well formed are skipped.
    static MountTable fromText(const QByteArray &mountinfo);
    // Reads and parses a mountinfo file; an unreadable file gives an empty table.
    static MountTable fromFile(const QString &path = QStringLiteral("/proc/self/mountinfo"));

    const QList<Mount> &mounts() const { return m_mounts; }

    // The mount that holds path: the longest mount point that is a whole-component prefix of it (the
    // later one when a point is mounted over); nullptr when none does. A path that exists is taken
    // with its links resolved.
    const Mount *mountOf(const QString &path) const;

    // The mount point when folder lies on an iso9660 or udf file system, otherwise empty.
    QString opticalMountPoint(const QString &folder) const;

    static bool isOpticalFileSystem(const QString &fileSystem);
    // "\040" and the like back to their bytes.
    static QByteArray decodeEscapes(const QByteArray &field);

private:
    QList<Mount> m_mounts;
};

// The current mount table's answer for folder: its optical mount point, or empty.
QString opticalMountPointOf(const QString &folder);
