// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/PictureMeasure.h"

#include "media/ExifOrientation.h"
#include "media/JpegHeaderReader.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxJpegHeaderBytes = 16 * 1024 * 1024;
constexpr qsizetype kGifHeaderBytes = 13; // signature, version, logical screen descriptor

PictureSize failure(const QString &name, const QString &why)
{
    PictureSize size;
    size.error = QStringLiteral("%1: %2").arg(name, why);
    return size;
}

PictureSize checkedSize(const QString &name, qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return failure(name, QStringLiteral("invalid size %1x%2").arg(width).arg(height));
    PictureSize size;
    size.ok = true;
    size.width = int(width);
    size.height = int(height);
    return size;
}

// What the first bytes say a file is, for a clear message when a .jpg is something else.
QString contentKind(QByteArrayView head)
{
    if (head.startsWith("\x89PNG"))
        return QStringLiteral("PNG data");
    if (head.startsWith("GIF8"))
        return QStringLiteral("GIF data");
    if (head.startsWith("BM"))
        return QStringLiteral("BMP data");
    return QString();
}

QString notJpeg(QByteArrayView head)
{
    const QString kind = contentKind(head);
    return kind.isEmpty() ? QStringLiteral("not a JPEG file") : QStringLiteral("not a JPEG file (%1)").arg(kind);
}

bool looksLikeJpeg(QByteArrayView head) { return head.size() >= 3 && head.startsWith("\xFF\xD8\xFF"); }

PictureSize fromJpegHeader(const QString &name, bool read, const JpegHeaderInfo &info)
{
    if (!read)
        return failure(name, QStringLiteral("damaged JPEG header: %1").arg(QString::fromLocal8Bit(info.error)));
    if (orientationSwapsSides(info.orientation))
        return checkedSize(name, info.height, info.width);
    return checkedSize(name, info.width, info.height);
}

PictureSize gifFromHeader(QByteArrayView head, const QString &name)
{
    if (head.isEmpty())
        return failure(name, QStringLiteral("empty file"));
    if (!head.startsWith("GIF87a") && !head.startsWith("GIF89a")) {
        if (head.size() < 6 && QByteArrayView("GIF89a").startsWith(head))
            return failure(name, QStringLiteral("GIF header cut short"));
        return failure(name, QStringLiteral("not a GIF file"));
    }
    if (head.size() < kGifHeaderBytes)
        return failure(name, QStringLiteral("GIF header cut short"));
    const auto byte = [&](int i) { return qint64(static_cast<unsigned char>(head[i])); };
    return checkedSize(name, byte(6) | (byte(7) << 8), byte(8) | (byte(9) << 8));
}

// A file opened for reading only when it is a regular file: devices, FIFOs and folders are refused
// before a single byte is read, and opening never blocks.
class RegularFile
{
public:
    explicit RegularFile(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        struct stat st;
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            m_error = QStringLiteral("not a regular file");
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        // O_NONBLOCK stays: it changes nothing for a regular file.
    }
    ~RegularFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(RegularFile)

    int fd() const { return m_fd; }
    QString error() const { return m_error; }

    // Reads up to size bytes from the current position; the count read, 0 at the end or on failure.
    qsizetype read(char *into, qsizetype size) const
    {
        qsizetype total = 0;
        while (total < size) {
            const ssize_t got = ::read(m_fd, into + total, size_t(size - total));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            total += got;
        }
        return total;
    }

private:
    int m_fd = -1;
    QString m_error;
};

} // namespace

PictureSize measureJpegData(QByteArrayView data, const QString &name)
{
    if (data.isEmpty())
        return failure(name, QStringLiteral("empty file"));
    if (!looksLikeJpeg(data))
        return failure(name, notJpeg(data));
    JpegHeaderInfo info;
    const bool read = readJpegHeader(-1, reinterpret_cast<const std::uint8_t *>(data.data()), size_t(data.size()),
                                     size_t(data.size()), info);
    return fromJpegHeader(name, read, info);
}

PictureSize measureGifData(QByteArrayView data, const QString &name)
{
    return gifFromHeader(data.first(qMin(data.size(), kGifHeaderBytes)), name);
}

PictureSize measureJpeg(const QString &path)
{
    const RegularFile file(path);
    if (file.fd() < 0)
        return failure(path, file.error());
    // Most headers fit in the first few KiB; the reader goes on from the file when they do not.
    char first[4096];
    const qsizetype got = file.read(first, sizeof first);
    const QByteArrayView head(first, got);
    if (head.isEmpty())
        return failure(path, QStringLiteral("empty file"));
    if (!looksLikeJpeg(head))
        return failure(path, notJpeg(head));
    JpegHeaderInfo info;
    const bool read = readJpegHeader(file.fd(), reinterpret_cast<const std::uint8_t *>(first), size_t(got),
                                     kMaxJpegHeaderBytes, info);
    return fromJpegHeader(path, read, info);
}

PictureSize measureGif(const QString &path)
{
    const RegularFile file(path);
    if (file.fd() < 0)
        return failure(path, file.error());
    char head[kGifHeaderBytes];
    return gifFromHeader(QByteArrayView(head, file.read(head, kGifHeaderBytes)), path);
}
