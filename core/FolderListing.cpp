// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/FolderListing.h"

#include "core/MediaKinds.h"
#include "core/NaturalOrder.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace
{

bool isRegularEntry(int dirFd, const dirent *entry)
{
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

bool isAscii(const char *bytes, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    return true;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

// The kinds' masks are "*.ext" suffixes and the thumbnails' mask is "sm_*.*": most names of a big
// folder are settled from their raw bytes, without decoding them. A suffix mask is decided here; a
// mask with a plain head ("sm_") only rules out the names that lack it. A name whose tested bytes
// are not plain ASCII (letter case folds beyond ASCII), and every other name a mask may match, go
// through the mask matcher as before, so the outcome is the same.
class RawNameFilter
{
public:
    explicit RawNameFilter(const QString &maskString)
    {
        const QStringList masks = MediaKinds::splitMasks(maskString);
        m_usable = !masks.isEmpty();
        for (const QString &mask : masks) {
            const qsizetype wildcard = mask.indexOf(QRegularExpression(QStringLiteral("[*?\\[]")));
            const QString rest = mask.mid(1);
            const bool plainSuffix = wildcard == 0 && mask.startsWith(QLatin1Char('*')) && !rest.isEmpty() &&
                                     !rest.contains(QLatin1Char('*')) && !rest.contains(QLatin1Char('?')) &&
                                     !rest.contains(QLatin1Char('['));
            const QString literal = plainSuffix ? rest : mask.left(wildcard);
            bool ascii = !literal.isEmpty();
            for (const QChar c : literal)
                ascii = ascii && c.unicode() < 0x80;
            if (!ascii || (!plainSuffix && wildcard < 0)) {
                m_usable = false;
                return;
            }
            QByteArray lowered = literal.toLatin1();
            std::transform(lowered.begin(), lowered.end(), lowered.begin(), lowerAscii);
            (plainSuffix ? m_suffixes : m_heads).append(lowered);
        }
    }

    enum Verdict { Match, NoMatch, Undecided };

    Verdict judge(const char *name, size_t length) const
    {
        if (!m_usable)
            return Undecided;
        for (const QByteArray &suffix : m_suffixes) {
            switch (compare(name + length - qMin(length, size_t(suffix.size())), length, suffix)) {
            case Match:
                return Match;
            case Undecided:
                return Undecided;
            case NoMatch:
                break;
            }
        }
        for (const QByteArray &head : m_heads)
            if (compare(name, length, head) != NoMatch)
                return Undecided; // the rest of the mask is the matcher's to judge
        return NoMatch;
    }

private:
    // The lowered literal against as many bytes of the name; a name shorter than it cannot match.
    static Verdict compare(const char *bytes, size_t length, const QByteArray &literal)
    {
        const size_t n = size_t(literal.size());
        if (length < n)
            return NoMatch;
        if (!isAscii(bytes, n))
            return Undecided;
        for (size_t i = 0; i < n; ++i)
            if (lowerAscii(bytes[i]) != literal[qsizetype(i)])
                return NoMatch;
        return Match;
    }

    QList<QByteArray> m_suffixes; // "*.ext" masks, as ".ext"
    QList<QByteArray> m_heads;    // the plain head of any other mask ("sm_" of "sm_*.*")
    bool m_usable = false;
};

} // namespace

namespace
{

// Walks the folder's regular, visible files whose names the mask string selects, handing each to
// take(name, folder descriptor, raw name). Returns the error text when the folder cannot be read.
template <typename Take>
QString scanFolder(const QString &folder, const QString &maskString, int &unreadableNames, Take take)
{
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return QString::fromLocal8Bit(std::strerror(errno));
    const MediaKinds::MaskMatcher matcher(maskString);
    const RawNameFilter filter(maskString);
    const int fd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // hidden, "." and ".."
        const size_t length = std::strlen(entry->d_name);
        const RawNameFilter::Verdict verdict = filter.judge(entry->d_name, length);
        if (verdict == RawNameFilter::NoMatch)
            continue;
        const QString name = QFile::decodeName(QByteArray::fromRawData(entry->d_name, qsizetype(length)));
        if (verdict == RawNameFilter::Undecided && !matcher.matches(name))
            continue;
        if (!isRegularEntry(fd, entry))
            continue;
        // Plain ASCII always spells back; anything else must survive the round trip to be opened again.
        if (!isAscii(entry->d_name, length) &&
            QFile::encodeName(name) != QByteArrayView(entry->d_name, qsizetype(length))) {
            ++unreadableNames;
            continue;
        }
        take(name, fd, entry->d_name);
    }
    closedir(dir);
    return {};
}

} // namespace

FolderListing listFolder(const QString &folder, const QString &maskString)
{
    FolderListing result;
    result.error =
        scanFolder(folder, maskString, result.unreadableNames,
                   [&result](const QString &name, int, const char *) { result.names.append(name); });
    std::sort(result.names.begin(), result.names.end(), naturalLess);
    return result;
}

FolderEntries readFolderEntries(const QString &folder)
{
    // Which kinds select each file is settled here, once, so choosing a kind is a test of one bit.
    std::vector<std::pair<RawNameFilter, MediaKinds::MaskMatcher>> kinds;
    for (int code = mkGifJpg; code <= mkMpg; ++code) {
        const QString masks = QString::fromLatin1(MediaKinds::info(code)->masks);
        kinds.emplace_back(RawNameFilter(masks), MediaKinds::MaskMatcher(masks));
    }
    FolderEntries result;
    result.error =
        scanFolder(folder, QString(), result.unreadableNames,
                   [&result, &kinds](const QString &name, int fd, const char *rawName) {
                       struct stat st;
                       if (fstatat(fd, rawName, &st, 0) != 0)
                           return; // gone since it was listed
                       FolderEntry entry{name, qint64(st.st_size),
                                         qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
                       const size_t length = std::strlen(rawName);
                       for (size_t k = 0; k < kinds.size(); ++k) {
                           const RawNameFilter::Verdict verdict = kinds[k].first.judge(rawName, length);
                           if (verdict == RawNameFilter::Match ||
                               (verdict == RawNameFilter::Undecided && kinds[k].second.matches(name)))
                               entry.kinds |= quint16(1u << (k + 1));
                       }
                       result.entries.append(std::move(entry));
                   });
    return result;
}

quint16 kindBitOfMasks(const QString &maskString)
{
    for (int code = mkGifJpg; code <= mkMpg; ++code)
        if (maskString == QLatin1String(MediaKinds::info(code)->masks))
            return quint16(1u << code);
    return 0;
}
