// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// A run's hold on the folder it entered: an open handle, so that files are read and written in that
// very folder even when its path comes to lead elsewhere, and a lock that keeps two runs (of this
// program or of the command-line maker) out of one folder at a time.
class FolderHandle final
{
public:
    explicit FolderHandle(const QString &path);
    ~FolderHandle(); // releases the lock
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    QString error() const { return m_error; } // why it could not be opened
    QString path() const { return m_path; }   // as it was entered

    // A path to name in the folder entered, whatever has become of the folder's own path.
    QString entry(const QString &name) const;
    QString handlePath() const; // the folder itself, the same way

    // False once the folder was deleted, or its path leads to another folder (moved or replaced).
    bool stillThere() const;

    // Takes the folder's lock; false at once when another run holds it.
    bool tryLock();

private:
    QString m_path;
    QString m_error;
    int m_fd = -1;
};
