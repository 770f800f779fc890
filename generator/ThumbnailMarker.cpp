// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailMarker.h"

#include <QFile>
#include <QList>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QByteArray kTag = QByteArrayLiteral("Tessaloom thumbnail");
const QByteArray kColourWord = QByteArrayLiteral("colour=srgb");
constexpr int kComment = 0xFE;
constexpr int kStartOfScan = 0xDA;
constexpr int kMaxSegments = 64;       // a header holds a handful; a file with more is not ours
constexpr int kMaxCommentBytes = 1024; // ours, with a 255-byte name percent-encoded, is shorter
const QByteArray kThumbnailPrefix = QByteArrayLiteral("sm_");

// Reads bytes at an offset: from memory or from a file, so both walks share one parser.
class Source
{
public:
    virtual ~Source() = default;
    virtual bool readAt(qint64 offset, char *to, qint64 length) = 0;
};

class MemorySource final : public Source
{
public:
    explicit MemorySource(QByteArrayView data) : m_data(data) {}
    bool readAt(qint64 offset, char *to, qint64 length) override
    {
        if (offset < 0 || offset + length > m_data.size())
            return false;
        std::copy_n(m_data.data() + offset, length, to);
        return true;
    }

private:
    QByteArrayView m_data;
};

class FileSource final : public Source
{
public:
    explicit FileSource(int fd) : m_fd(fd) {}
    bool readAt(qint64 offset, char *to, qint64 length) override
    {
        return ::pread(m_fd, to, size_t(length), off_t(offset)) == ssize_t(length);
    }

private:
    int m_fd;
};

std::optional<ThumbnailMarker> walkSegments(Source &source)
{
    unsigned char head[4];
    if (!source.readAt(0, reinterpret_cast<char *>(head), 2) || head[0] != 0xFF || head[1] != 0xD8)
        return std::nullopt;
    qint64 at = 2;
    for (int i = 0; i < kMaxSegments; ++i) {
        if (!source.readAt(at, reinterpret_cast<char *>(head), 4) || head[0] != 0xFF)
            return std::nullopt;
        const int marker = head[1];
        const int length = head[2] << 8 | head[3]; // counts itself
        if (marker == kStartOfScan || length < 2)
            return std::nullopt;
        if (marker == kComment && length - 2 <= kMaxCommentBytes) {
            QByteArray comment(length - 2, Qt::Uninitialized);
            if (!source.readAt(at + 4, comment.data(), comment.size()))
                return std::nullopt;
            if (auto found = ThumbnailMarker::fromComment(comment))
                return found;
        }
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

bool ThumbnailMarker::madeFor(const QString &thumbnailName) const
{
    return !sourceName.isEmpty() && QFile::encodeName(thumbnailName) == kThumbnailPrefix + sourceName;
}

QByteArray ThumbnailMarker::commentText() const
{
    return kTag + " source-bytes=" + QByteArray::number(sourceBytes) +
           " source-mtime-ns=" + QByteArray::number(sourceMtimeNs) +
           " size=" + QByteArray::number(target.width()) + "x" + QByteArray::number(target.height()) +
           " source-ctime-ns=" + QByteArray::number(sourceCtimeNs) +
           " source-inode=" + QByteArray::number(sourceInode) +
           " source-name=" + sourceName.toPercentEncoding() +
           (colourManaged ? QByteArray(" ") + kColourWord : QByteArray());
}

std::optional<ThumbnailMarker> ThumbnailMarker::fromComment(QByteArrayView comment)
{
    const QList<QByteArray> words = comment.toByteArray().split(' ');
    if (words.size() < 8 || words.size() > 9 || words.at(0) + ' ' + words.at(1) != kTag)
        return std::nullopt;
    if (words.size() == 9 && words.at(8) != kColourWord)
        return std::nullopt;
    const auto value = [&](int i, const char *key) -> QByteArray {
        const QByteArray prefix = QByteArray(key) + '=';
        return words.at(i).startsWith(prefix) ? words.at(i).mid(prefix.size()) : QByteArray();
    };
    ThumbnailMarker marker;
    marker.colourManaged = words.size() == 9;
    bool okBytes = false, okTime = false, okWidth = false, okHeight = false;
    marker.sourceBytes = value(2, "source-bytes").toLongLong(&okBytes);
    marker.sourceMtimeNs = value(3, "source-mtime-ns").toLongLong(&okTime);
    const QList<QByteArray> size = value(4, "size").split('x');
    if (size.size() == 2)
        marker.target = QSize(size.at(0).toInt(&okWidth), size.at(1).toInt(&okHeight));
    bool okChange = false, okInode = false;
    marker.sourceCtimeNs = value(5, "source-ctime-ns").toLongLong(&okChange);
    marker.sourceInode = value(6, "source-inode").toULongLong(&okInode);
    marker.sourceName = QByteArray::fromPercentEncoding(value(7, "source-name"));
    if (!okBytes || !okTime || !okWidth || !okHeight || !okChange || !okInode ||
        !words.at(7).startsWith("source-name="))
        return std::nullopt;
    return marker;
}

std::optional<ThumbnailMarker> findThumbnailMarker(QByteArrayView jpeg)
{
    MemorySource source(jpeg);
    return walkSegments(source);
}

std::optional<ThumbnailMarker> readThumbnailMarker(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    FileSource source(fd);
    const auto marker = walkSegments(source);
    ::close(fd);
    return marker;
}

bool isOwnThumbnail(const QString &path)
{
    const auto marker = readThumbnailMarker(path);
    return marker && marker->madeFor(path.section(QLatin1Char('/'), -1));
}
