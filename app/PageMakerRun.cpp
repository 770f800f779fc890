#include "app/PageMakerRun.h"

#include "app/ConsoleFeedback.h"
#include "app/PageMakerArgs.h"
#include "core/FolderListing.h"
#include "core/PageOptions.h"
#include "core/SafeFile.h"
#include "generator/PageBuilder.h"

#include <QDir>
#include <QSet>
#include <QFileInfo>

#ifdef TESSALOOM_PAGE_MAKES_THUMBNAILS
#include "generator/ThumbnailMaker.h"
#endif

namespace {

QString withoutQuotes(const QString &path)
{
    QString plain = path;
    return plain.remove(QLatin1Char('"'));
}

// The thumbnails a former run left beside the JPG pictures are not pictures of the page. They leave
// the list; nothing is deleted here.
void dropOwnThumbnails(QStringList &names)
{
    QSet<QString> thumbnails;
    for (const QString &name : names)
        if (name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
            thumbnails.insert(QStringLiteral("sm_") + name.left(qMax<qsizetype>(0, name.size() - 4)) +
                          QStringLiteral(".jpg"));
    names.removeIf([&](const QString &name) { return thumbnails.contains(name); });
}

// Copies a picture the page shows into the page folder; an existing file there is kept.
void copyIntoFolder(const QString &source, const QString &target)
{
    if (QFileInfo(source).absoluteFilePath() != QFileInfo(target).absoluteFilePath())
        SafeFile::copyNoReplace(source, target); // a refused copy is passed over, as in the windows
}

class PageMaker
{
public:
    PageMaker(const PageMakerArgs &args, QTextStream &out, QTextStream &err)
        : m_args(args), m_err(err), m_feedback(out, err)
    {
    }

    int run()
    {
        if (!openFolder())
            return RunFailed;
        // As at start-up: kind 1 is chosen first, then the kind asked for, then the options in order.
        m_options.mediaKindChanged(mkGifJpg);
        if (m_args.kind != mkGifJpg)
            m_options.mediaKindChanged(m_args.kind);
        for (const auto &edit : m_args.edits)
            edit(m_options);

        const FolderListing listing = listFolder(m_folder, QString::fromLatin1(MediaKinds::info(m_args.kind)->masks));
        if (!listing.error.isEmpty())
            return fail(QStringLiteral("Cannot read the folder %1: %2").arg(m_folder, listing.error));
        if (listing.unreadableNames > 0)
            m_err << QStringLiteral("%1 file(s) with a name that cannot be read were skipped.")
                         .arg(listing.unreadableNames)
                  << Qt::endl;
        QStringList names = listing.names;
        if (names.isEmpty())
            return fail(QStringLiteral("There are no files to use..."));
        if (!m_options.prepareRun(m_args.kind))
            return fail(QString::fromLatin1(PageOptions::RefusedSoundPictureText));
        if (!m_options.Backgroundfile().isEmpty())
            names.removeOne(BackgroundName(m_options.Backgroundfile()));
        if (m_options.Thumbnailer())
            dropOwnThumbnails(names);
        if (names.isEmpty())
            return fail(QStringLiteral("There are no files to use"));

        m_options.finishRunPreparation(m_args.kind);
        const QString soundPicture = settleSoundPicture();
        QStringList memo;
        const PageBuildResult built = BuildWebSource({m_folder, names, m_args.kind, soundPicture}, m_options, memo,
                                                     m_feedback);
        if (!built.ok)
            return fail(QStringLiteral("Error loading file (%1)\n%2").arg(built.failedName.toUpper(), built.error));
        return writePage(memo, names);
    }

private:
    bool openFolder()
    {
        const QFileInfo info(m_args.folder);
        if (!info.isDir()) {
            fail(QStringLiteral("%1 is not a folder.").arg(m_args.folder));
            return false;
        }
        m_folder = QDir::cleanPath(info.absoluteFilePath());
        return true;
    }

    QString settleSoundPicture()
    {
        if (m_options.SoundLinkCode() != PageOptions::SoundAsPicture)
            return QStringLiteral("None");
        const QString source = withoutQuotes(m_options.SoundPick());
        const QString name = QFileInfo(source).fileName();
        copyIntoFolder(source, JoinFolderFile(m_folder, name));
        return name;
    }

    int writePage(const QStringList &memo, const QStringList &names)
    {
        bool readable = false;
        const QString page = m_options.pageFileName(m_folder, &readable);
        if (!readable)
            return fail(QStringLiteral("The page counter \"%1\" is not a whole number.").arg(m_options.NameIncrement()));
        m_options.stepCounter();
        const QFileInfo existing(page);
        if ((existing.exists() || existing.isSymLink()) && !m_args.overwrite)
            return fail(QStringLiteral("%1 already exists; nothing was written (--overwrite replaces it).").arg(page));
        const QString error = SafeFile::writeAtomically(
            page, pageBytes(memo), m_args.overwrite ? SafeFile::Replace::RegularFileOnly : SafeFile::Replace::Never);
        if (!error.isEmpty())
            return fail(QStringLiteral("%1 could not be written: %2").arg(page, error));

        if (!m_options.isUseBackgroundColor() && !m_options.Backgroundfile().isEmpty())
            copyIntoFolder(withoutQuotes(m_options.Backgroundfile()),
                           JoinFolderFile(m_folder, BackgroundName(m_options.Backgroundfile())));
        if (m_options.Thumbnailer())
            makeThumbnails(names);
        m_feedback.showMessage(page + QStringLiteral(" was created."));
        return PageCreated;
    }

    // Thumbnails come from the thumbnail maker; this program calls it once that is linked in
    // (TESSALOOM_PAGE_MAKES_THUMBNAILS).
    void makeThumbnails([[maybe_unused]] const QStringList &names)
    {
#ifdef TESSALOOM_PAGE_MAKES_THUMBNAILS
        MakeThumbnails(m_folder, names, m_options, m_feedback);
#else
        m_err << QStringLiteral("Thumbnails were not made: this build of tessaloom-page has no thumbnail maker.")
              << Qt::endl;
#endif
    }

    int fail(const QString &text)
    {
        m_feedback.showErrorBox(text);
        return RunFailed;
    }

    const PageMakerArgs &m_args;
    QTextStream &m_err;
    ConsoleFeedback m_feedback;
    PageOptions m_options;
    QString m_folder;
};

} // namespace

int runPageMaker(const PageMakerArgs &args, QTextStream &out, QTextStream &err)
{
    return PageMaker(args, out, err).run();
}
