// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/PictureFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PictureStamp pictureStampOf(const struct stat &st, const QByteArray &name)
{
    const auto ns = [](const timespec &t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return {qint64(st.st_size), ns(st.st_mtim), ns(st.st_ctim), quint64(st.st_ino), name};
}

QByteArray readPictureFile(const QString &path, qint64 maxBytes, QString *error, PictureStamp *stamp)
{
    auto failed = [error](const QString &why) {
        if (error)
            *error = why;
        return QByteArray();
    };
    // Non-blocking so a FIFO named like a picture cannot hang the run.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st;
    QByteArray data;
    QString why;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = QStringLiteral("not a regular file");
    } else if (st.st_size > maxBytes) {
        why = QStringLiteral("file too large");
    } else {
        if (stamp)
            *stamp = pictureStampOf(st, QFile::encodeName(path.section(QLatin1Char('/'), -1)));
        data.resize(qsizetype(st.st_size));
        qsizetype got = 0;
        while (got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break; // the file shrank meanwhile: keep what was there
            got += n;
        }
        data.truncate(got);
        if (data.isEmpty())
            why = QStringLiteral("empty file");
    }
    ::close(fd);
    return why.isEmpty() ? data : failed(why);
}
