// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailMaker.h"

#include "core/MediaKinds.h"
#include "core/PageOptions.h"
#include "core/SafeFile.h"
#include "generator/OtherPages.h"
#include "generator/RunFeedback.h"
#include "generator/ThumbnailMarker.h"
#include "generator/ThumbnailWorkers.h"
#include "media/PictureMeasure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <deque>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const QString kPrefix = QStringLiteral("sm_");
const QString kSuffix = QStringLiteral(".jpg");
constexpr int kWaitSliceMs = 10;

// A name that may become a thumbnail during the run is read only when its turn comes.
bool mayBeWrittenThisRun(const QString &name)
{
    return name.startsWith(kPrefix);
}

bool holdsJpegData(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    unsigned char magic[3] = {};
    const bool jpeg = ::read(fd, magic, 3) == 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF;
    ::close(fd);
    return jpeg;
}

// A file the folder's listing would show as a picture (a link to one counts).
bool isPicture(const QString &folder, const QString &name)
{
    return !name.isEmpty() && QFileInfo(JoinFolderFile(folder, name)).isFile();
}

// ".jpg", ".jpG", ... ".JPG".
QStringList caseVariants(const QString &ending)
{
    QStringList variants{QString()};
    for (const QChar c : ending) {
        QStringList longer;
        for (const QString &v : variants) {
            longer << v + c.toLower();
            if (c.toUpper() != c.toLower())
                longer << v + c.toUpper();
        }
        variants = longer;
    }
    return variants;
}

// Writes a rendered thumbnail beside its picture; returns why it was not written, or nothing.
QString writeThumbnail(const QString &folder, const QString &name, const RenderedThumbnail &thumbnail)
{
    if (!thumbnail.ok())
        return thumbnail.error.isEmpty() ? QStringLiteral("not decoded") : thumbnail.error;
    if (thumbnail.upToDate)
        return QString();
    const QString target = ThumbnailName(folder, name);
    const QString targetName = target.mid(target.lastIndexOf(QLatin1Char('/')) + 1);
    struct stat st;
    const bool taken = ::lstat(QFile::encodeName(target).constData(), &st) == 0;
    // Only what the clean-up would delete is replaced; anything else at the name is the person's. An
    // empty file holds nothing to lose: it is what a thumbnail left by a crash may look like.
    const bool emptyFile = taken && S_ISREG(st.st_mode) && st.st_size == 0;
    if (taken && !emptyFile && !isThumbnailFile(folder, targetName))
        return QStringLiteral("%1 is not a thumbnail of ours and is kept").arg(targetName);
    // Thumbnails can always be made again: they are not flushed to the disk one by one.
    return SafeFile::writeAtomically(target, thumbnail.jpeg,
                                     taken ? SafeFile::Replace::RegularFileAsNew : SafeFile::Replace::Never,
                                     SafeFile::Durability::Regenerable);
}

struct Pending {
    int position;
    QString name;
    ThumbnailRequest request;
    std::shared_ptr<ThumbnailWorkers::Job> job;
};

// Keeps the workers busy with the next JPG names of the list, without running ahead of what they need.
class Lookahead
{
public:
    // keepUpToDate: a thumbnail an earlier run left that is still up to date is not made again.
    Lookahead(const QString &folder, const QStringList &list, ThumbnailWorkers &workers, bool keepUpToDate)
        : m_folder(folder), m_list(list), m_workers(workers), m_depth(workers.threadCount() + 1),
          m_keepUpToDate(keepUpToDate)
    {
    }

    // The job of name at position i, from the ones queued ahead when still valid, else queued now.
    std::shared_ptr<ThumbnailWorkers::Job> take(int i, const QString &name, const ThumbnailRequest &request)
    {
        while (!m_pending.empty() && m_pending.front().position < i) {
            m_workers.abandon(m_pending.front().job);
            m_pending.pop_front();
        }
        std::shared_ptr<ThumbnailWorkers::Job> job;
        if (!m_pending.empty() && m_pending.front().position == i) {
            const Pending &p = m_pending.front();
            if (p.name == name && p.request == request) {
                job = p.job;
                m_pending.pop_front();
            } else { // the list or the options changed meanwhile: what was read ahead is stale
                for (const Pending &stale : m_pending)
                    m_workers.abandon(stale.job);
                m_pending.clear();
                m_next = i + 1;
            }
        }
        if (!job)
            job = submit(name, request);
        m_next = std::max(m_next, i + 1);
        fill(request);
        return job;
    }

private:
    void fill(const ThumbnailRequest &request)
    {
        while (int(m_pending.size()) < m_depth && m_next < m_list.size()) {
            const int j = m_next++;
            const QString name = m_list.at(j);
            if (!wantsThumbnail(name) || mayBeWrittenThisRun(name))
                continue;
            m_pending.push_back({j, name, request, submit(name, request)});
        }
    }

    std::shared_ptr<ThumbnailWorkers::Job> submit(const QString &name, const ThumbnailRequest &request)
    {
        return m_workers.submit(JoinFolderFile(m_folder, name), request,
                                m_keepUpToDate ? ThumbnailName(m_folder, name) : QString());
    }

    QString m_folder;
    const QStringList &m_list;
    ThumbnailWorkers &m_workers;
    int m_depth;
    bool m_keepUpToDate;
    int m_next = 0;
    std::deque<Pending> m_pending;
};

} // namespace

QString ThumbnailName(const QString &folder, const QString &name)
{
    // Exactly the name the page refers to: letter case counts on our file systems and web servers.
    return JoinFolderFile(folder, kPrefix + name);
}

bool wantsThumbnail(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).toUpper() == QLatin1String(".JPG");
}

ThumbnailRequest thumbnailRequest(const PageOptions &options)
{
    return {options.WidthEdit(), options.HeightEdit(), PageOptions::percentDivisor(options.PercentIndex())};
}

ThumbnailOutcome MakeThumbnails(const QString &folder, const QStringList &FileListBox,
                                const PageOptions &options, RunFeedback &feedback,
                                const std::function<bool()> &folderStillThere)
{
    ThumbnailOutcome outcome;
    feedback.progressSetMaximum(int(FileListBox.size()));
    feedback.progressShow();
    ThumbnailWorkers workers;
    // With the clean-up not asked for, the old thumbnails stay: the up-to-date ones stand as they are.
    Lookahead lookahead(folder, FileListBox, workers, !options.DeleteThumbnail());
    for (int i = 0; i < FileListBox.size(); ++i) {
        const QString name = FileListBox.at(i);
        if (wantsThumbnail(name)) {
            const auto job = lookahead.take(i, name, thumbnailRequest(options));
            while (!job->waitFor(kWaitSliceMs))
                feedback.letEventsRun();
            if (folderStillThere && !folderStillThere()) {
                outcome.folderVanished = true;
                return outcome;
            }
            const RenderedThumbnail &made = job->result();
            const QString why = writeThumbnail(folder, name, made);
            if (!why.isEmpty()) {
                ++outcome.failed;
                feedback.reportProblem(QStringLiteral("Error Creating Thumbnail from %1: %2").arg(name, why));
            } else if (!made.colourIgnored.isEmpty()) {
                feedback.reportProblem(QCoreApplication::translate("ThumbnailMaker",
                                                                   "The thumbnail of %1 keeps the colours as "
                                                                   "stored: %2.")
                                           .arg(name, made.colourIgnored));
            }
        }
        feedback.progressStep();
        feedback.letEventsRun();
    }
    return outcome;
}

bool isThumbnailFile(const QString &folder, const QString &name)
{
    if (!name.startsWith(kPrefix) || !name.endsWith(kSuffix, Qt::CaseInsensitive))
        return false;
    const QString path = JoinFolderFile(folder, name);
    if (!SafeFile::isRegularFileNoFollow(path) || !holdsJpegData(path))
        return false;
    // A mark of ours settles it: made for this very name, or copied from one of ours by a person.
    if (const auto marker = readThumbnailMarker(path))
        return marker->madeFor(name);
    const QString rest = name.mid(kPrefix.size());
    if (isPicture(folder, rest))
        return true;
    if (rest.endsWith(kSuffix)) { // named the older way: ".jpg" whatever the picture's spelling
        const QString stem = rest.left(rest.size() - kSuffix.size());
        for (const QString &ending : caseVariants(kSuffix))
            if (isPicture(folder, stem + ending))
                return true;
    }
    return false;
}

QStringList thumbnailFilesIn(const QString &folder)
{
    // Thumbnails keep their picture's extension (sm_A.JPG), and older runs wrote sm_A.jpg: both count.
    const QStringList candidates = QDir(folder).entryList(
        {kPrefix + QLatin1Char('*')},
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks | QDir::CaseSensitive, QDir::Name);
    QStringList thumbnails;
    for (const QString &name : candidates)
        if (isThumbnailFile(folder, name))
            thumbnails << name;
    return thumbnails;
}

void deleteThumbnailFiles(const QString &folder, const QString &replacedPage)
{
    const QStringList thumbnails = thumbnailFilesIn(folder);
    const QSet<QString> kept =
        replacedPage.isNull() ? QSet<QString>() : thumbnailsOtherPagesShow(folder, replacedPage, thumbnails);
    for (const QString &name : thumbnails)
        if (!kept.contains(name))
            QFile::remove(JoinFolderFile(folder, name)); // one that cannot go is skipped without a message
}

void takeThumbnailNamesOut(QStringList &FileListBox)
{
    for (int i = 0; i < FileListBox.size();) {
        if (FileListBox.at(i).startsWith(kPrefix))
            FileListBox.removeAt(i);
        else
            ++i;
    }
}

void takeOwnThumbnailNamesOut(const QString &folder, QStringList &FileListBox)
{
    QSet<QString> thumbnailNames; // of the JPG names of the list
    for (const QString &name : std::as_const(FileListBox))
        if (wantsThumbnail(name))
            thumbnailNames.insert(kPrefix + name);
    FileListBox.removeIf([&](const QString &name) {
        if (!name.startsWith(kPrefix))
            return false;
        const QString path = JoinFolderFile(folder, name);
        if (isOwnThumbnail(path))
            return true;
        // At a picture's thumbnail name, what a crash may leave (empty, or not a whole picture) would
        // stop the page: the maker replaces it, or reports and keeps what is not ours.
        return thumbnailNames.contains(name) && (QFileInfo(path).size() == 0 || !measureJpeg(path).ok);
    });
}

void CleanUpThumbnails(const QString &folder, QStringList &FileListBox)
{
    deleteThumbnailFiles(folder);
    takeThumbnailNamesOut(FileListBox);
}
