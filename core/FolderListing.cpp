#include "core/FolderListing.h"

#include "core/MediaKinds.h"
#include "core/NaturalOrder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

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

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// The kinds' masks are "*.ext" suffixes: most names of a big folder are settled from their raw bytes,
// without decoding them. A name whose tail is not plain ASCII, and any other mask, go through the
// mask matcher as before, so the outcome is the same.
class SuffixFilter
{
public:
    explicit SuffixFilter(const QString &maskString)
    {
        const QStringList masks = MediaKinds::splitMasks(maskString);
        m_usable = !masks.isEmpty();
        for (const QString &mask : masks) {
            const QString rest = mask.mid(1);
            const bool plainSuffix = mask.startsWith(QLatin1Char('*')) && !rest.isEmpty() &&
                                     !rest.contains(QLatin1Char('*')) && !rest.contains(QLatin1Char('?')) &&
                                     !rest.contains(QLatin1Char('['));
            bool ascii = true;
            for (const QChar c : rest)
                ascii = ascii && c.unicode() < 0x80;
            if (!plainSuffix || !ascii) {
                m_usable = false;
                return;
            }
            QByteArray lowered = rest.toLatin1();
            std::transform(lowered.begin(), lowered.end(), lowered.begin(), lowerAscii);
            m_suffixes.append(lowered);
        }
    }

    enum Verdict { Match, NoMatch, Undecided };

    Verdict judge(const char *name, size_t length) const
    {
        if (!m_usable)
            return Undecided;
        for (const QByteArray &suffix : m_suffixes) {
            const size_t n = size_t(suffix.size());
            if (length < n)
                continue;
            const char *tail = name + length - n;
            if (!isAscii(tail, n))
                return Undecided;
            bool same = true;
            for (size_t i = 0; i < n && same; ++i)
                same = lowerAscii(tail[i]) == suffix[qsizetype(i)];
            if (same)
                return Match;
        }
        return NoMatch;
    }

private:
    QList<QByteArray> m_suffixes;
    bool m_usable = false;
};

} // namespace

FolderListing listFolder(const QString &folder, const QString &maskString)
{
    FolderListing result;
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    const MediaKinds::MaskMatcher matcher(maskString);
    const SuffixFilter filter(maskString);
    const int fd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // hidden, "." and ".."
        const size_t length = std::strlen(entry->d_name);
        const SuffixFilter::Verdict verdict = filter.judge(entry->d_name, length);
        if (verdict == SuffixFilter::NoMatch)
            continue;
        const QString name = QFile::decodeName(QByteArray::fromRawData(entry->d_name, qsizetype(length)));
        if (verdict == SuffixFilter::Undecided && !matcher.matches(name))
            continue;
        if (!isRegularEntry(fd, entry))
            continue;
        // Plain ASCII always spells back; anything else must survive the round trip to be opened again.
        if (!isAscii(entry->d_name, length) &&
            QFile::encodeName(name) != QByteArrayView(entry->d_name, qsizetype(length))) {
            ++result.unreadableNames;
            continue;
        }
        result.names.append(name);
    }
    closedir(dir);
    std::sort(result.names.begin(), result.names.end(), naturalLess);
    return result;
}
