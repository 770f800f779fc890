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
    const int fd = dirfd(dir);
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue; // hidden, "." and ".."
        const QByteArray raw(entry->d_name);
        const QString name = QFile::decodeName(raw);
        if (!matcher.matches(name) || !isRegularEntry(fd, entry))
            continue;
        if (QFile::encodeName(name) != raw) {
            ++result.unreadableNames;
            continue;
        }
        result.names.append(name);
    }
    closedir(dir);
    std::sort(result.names.begin(), result.names.end(), naturalLess);
    return result;
}
