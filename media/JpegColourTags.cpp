// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/JpegColourTags.h"

#include "media/TiffReader.h"

#include <cstring>
#include <optional>
#include <vector>

namespace
{

constexpr int kApp1 = 0xE1;
constexpr int kApp2 = 0xE2;
constexpr std::size_t kIccHeader = 14; // "ICC_PROFILE\0", chunk number, chunk count

constexpr std::uint32_t kExifIfdTag = 0x8769;
constexpr std::uint32_t kColorSpaceTag = 0xA001;
constexpr std::uint32_t kInteropIfdTag = 0xA005;
constexpr std::uint32_t kInteropIndexTag = 0x0001;
constexpr std::uint32_t kUncalibrated = 0xFFFF;

bool isFrameHeader(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The offset of the 12-byte entry of tag in the directory at ifd, if it is there and whole.
std::optional<std::size_t> findEntry(const TiffReader &tiff, std::size_t ifd, std::uint32_t tag)
{
    if (!tiff.has(ifd, 2))
        return std::nullopt;
    const std::size_t entries = tiff.u16(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        if (!tiff.has(entry, 12))
            return std::nullopt;
        if (tiff.u16(entry) == tag)
            return entry;
    }
    return std::nullopt;
}

// Joins the chunks: each numbered 1 to count once, all with the same count.
class IccChunks
{
public:
    void add(const std::uint8_t *body, std::size_t size)
    {
        static const char kId[12] = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
        if (size < kIccHeader || std::memcmp(body, kId, sizeof kId) != 0)
            return;
        const int number = body[12];
        const int count = body[13];
        if (m_count == 0 && count > 0)
            m_chunks.resize(std::size_t(count));
        if (count == 0 || (m_count != 0 && count != m_count)) {
            fail(QStringLiteral("its ICC profile chunks disagree on their count"));
            return;
        }
        m_count = count;
        if (number < 1 || number > count || !m_chunks[std::size_t(number - 1)].isNull()) {
            fail(QStringLiteral("its ICC profile has a chunk numbered %1 of %2 twice or out of range")
                     .arg(number)
                     .arg(count));
            return;
        }
        m_chunks[std::size_t(number - 1)] =
            QByteArray(reinterpret_cast<const char *>(body + kIccHeader), qsizetype(size - kIccHeader));
        m_seen = true;
    }

    void finish(JpegColourTags &tags) const
    {
        if (!m_problem.isEmpty()) {
            tags.iccProblem = m_problem;
            return;
        }
        if (!m_seen)
            return;
        QByteArray joined;
        for (std::size_t i = 0; i < m_chunks.size(); ++i) {
            if (m_chunks[i].isNull()) {
                tags.iccProblem =
                    QStringLiteral("its ICC profile misses chunk %1 of %2").arg(i + 1).arg(m_count);
                return;
            }
            joined += m_chunks[i];
        }
        tags.iccProfile = joined;
    }

private:
    void fail(const QString &why)
    {
        if (m_problem.isEmpty())
            m_problem = why;
    }

    std::vector<QByteArray> m_chunks;
    int m_count = 0;
    bool m_seen = false;
    QString m_problem;
};

} // namespace

bool exifSaysAdobeRgb(const std::uint8_t *app1, std::size_t size)
{
    static const char kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (size < 6 + 8 || std::memcmp(app1, kExifId, 6) != 0)
        return false;
    TiffReader tiff{app1 + 6, size - 6, false};
    if (tiff.data[0] == 'M' && tiff.data[1] == 'M')
        tiff.bigEndian = true;
    else if (!(tiff.data[0] == 'I' && tiff.data[1] == 'I'))
        return false;
    if (tiff.u16(2) != 42)
        return false;
    const auto exifPointer = findEntry(tiff, tiff.u32(4), kExifIfdTag);
    if (!exifPointer)
        return false;
    const std::size_t exifIfd = tiff.u32(*exifPointer + 8);
    const auto colorSpace = findEntry(tiff, exifIfd, kColorSpaceTag);
    if (!colorSpace || tiff.u16(*colorSpace + 8) != kUncalibrated)
        return false;
    const auto interopPointer = findEntry(tiff, exifIfd, kInteropIfdTag);
    if (!interopPointer)
        return false;
    const auto index = findEntry(tiff, tiff.u32(*interopPointer + 8), kInteropIndexTag);
    // "R03" and its terminating zero fit in the entry's own four value bytes.
    return index && tiff.u32(*index + 4) <= 4 && std::memcmp(tiff.data + *index + 8, "R03", 3) == 0;
}

JpegColourTags readJpegColourTags(const std::uint8_t *data, std::size_t size)
{
    JpegColourTags tags;
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return tags;
    IccChunks chunks;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF)
            break;
        const int marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // the first scan, or the end
            break;
        const std::size_t length = std::size_t(data[at + 2]) << 8 | data[at + 3];
        if (length < 2 || at + 2 + length > size)
            break;
        const std::uint8_t *body = data + at + 4;
        if (marker == kApp2)
            chunks.add(body, length - 2);
        else if (marker == kApp1 && !tags.exifAdobeRgb)
            tags.exifAdobeRgb = exifSaysAdobeRgb(body, length - 2);
        else if (isFrameHeader(marker) && length >= 8)
            tags.components = body[5];
        at += 2 + length;
    }
    chunks.finish(tags);
    return tags;
}
