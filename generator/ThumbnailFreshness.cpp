// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailFreshness.h"

#include "generator/ThumbnailMarker.h"
#include "media/ExifOrientation.h"
#include "media/PictureFile.h"
#include "media/SrgbTransform.h"

#include <QByteArray>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr qsizetype kFirstRead = 64 * 1024;       // a camera's header, EXIF preview included
constexpr qsizetype kMaxHeader = 4 * 1024 * 1024; // a longer header is not worth reading: made again

qint64 mtimeNs(const struct stat &st)
{
    return qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

// A frame header: SOF0 to SOF15 less DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

enum class Walk { Done, NeedMore, Bad };

// Walks the segments of header up to the first scan, taking the frame size on the way.
Walk walkToScan(const QByteArray &header, QSize *stored)
{
    const auto *d = reinterpret_cast<const unsigned char *>(header.constData());
    const qsizetype size = header.size();
    if (size < 2 || d[0] != 0xFF || d[1] != 0xD8)
        return Walk::Bad;
    qsizetype at = 2;
    for (;;) {
        if (at + 4 > size)
            return Walk::NeedMore;
        if (d[at] != 0xFF)
            return Walk::Bad;
        const int marker = d[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA)
            return stored->isValid() ? Walk::Done : Walk::Bad;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            return Walk::Bad; // segments without a length do not belong before the first scan
        const int length = d[at + 2] << 8 | d[at + 3];
        if (length < 2)
            return Walk::Bad;
        if (isFrameHeader(marker)) {
            if (at + 9 > size)
                return Walk::NeedMore;
            *stored = QSize(d[at + 7] << 8 | d[at + 8], d[at + 5] << 8 | d[at + 6]);
        }
        at += 2 + length;
    }
}

bool endsLikeJpeg(int fd, off_t size)
{
    unsigned char end[2];
    return size >= 4 && ::pread(fd, end, 2, size - 2) == 2 && end[0] == 0xFF && end[1] == 0xD9;
}

// The thumbnail as a file of ours: regular, complete, marked as made for its own name. Its stamp goes
// to st.
std::optional<ThumbnailMarker> readOwnThumbnail(const QString &path, struct stat &st)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<ThumbnailMarker> marker;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && endsLikeJpeg(fd, st.st_size))
        marker = readThumbnailMarker(path);
    ::close(fd);
    if (marker && !marker->madeFor(path.section(QLatin1Char('/'), -1)))
        return std::nullopt;
    return marker;
}

// The picture is the very file the thumbnail was made from, unchanged since: the same size and
// modification time, and the same inode and change time, which no copying or unpacking tool sets
// back (as version control tools compare their index).
bool stampMatches(const ThumbnailMarker &marker, const struct stat &picture)
{
    const PictureStamp now = pictureStampOf(picture, marker.sourceName);
    return marker.sourceBytes == now.bytes && marker.sourceMtimeNs == now.mtimeNs &&
           marker.sourceCtimeNs == now.ctimeNs && marker.sourceInode == now.inode;
}

} // namespace

std::optional<JpegFrameFacts> readJpegFrameFacts(int fd)
{
    QByteArray header;
    for (qsizetype want = kFirstRead; want <= kMaxHeader; want *= 4) {
        const qsizetype had = header.size();
        header.resize(want);
        qsizetype got = had;
        while (got < want) {
            const ssize_t n = ::pread(fd, header.data() + got, size_t(want - got), off_t(got));
            if (n <= 0)
                break;
            got += n;
        }
        header.truncate(got);
        QSize stored;
        const Walk walk = walkToScan(header, &stored);
        if (walk == Walk::Done) {
            const auto *data = reinterpret_cast<const std::uint8_t *>(header.constData());
            const bool profiled = pictureColour(data, size_t(header.size())).transform != nullptr;
            return JpegFrameFacts{stored, jpegFileOrientation(data, size_t(header.size())), profiled};
        }
        if (walk == Walk::Bad || got < want) // bad, or the file ended before its first scan
            return std::nullopt;
    }
    return std::nullopt;
}

bool thumbnailIsUpToDate(const QString &picturePath, const QString &thumbnailPath,
                         const ThumbnailRequest &request)
{
    struct stat thumbnail;
    const auto marker = readOwnThumbnail(thumbnailPath, thumbnail);
    if (!marker)
        return false;
    const int fd = ::open(QFile::encodeName(picturePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat picture;
    bool upToDate = ::fstat(fd, &picture) == 0 && S_ISREG(picture.st_mode) &&
                    mtimeNs(thumbnail) > mtimeNs(picture) && stampMatches(*marker, picture);
    if (upToDate) {
        // Both sizes given and a thumbnail made in sRGB: the picture's own size and colours do not count,
        // and its header need not be read.
        QSize target = thumbnailSize({1, 1}, request);
        const bool bothSizes = request.widthEdit > 0 && request.heightEdit > 0;
        if (!bothSizes || !marker->colourManaged) {
            const auto facts = readJpegFrameFacts(fd);
            upToDate = facts.has_value() && (marker->colourManaged || !facts->colourProfiled);
            if (facts && !bothSizes) {
                const bool swap = orientationSwapsSides(facts->orientation);
                target = thumbnailSize(swap ? facts->stored.transposed() : facts->stored, request);
            }
        }
        upToDate = upToDate && marker->target == target;
    }
    ::close(fd);
    return upToDate;
}
