// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/GenerationRun.h"

#include "core/FolderHandle.h"
#include "core/FolderListing.h"
#include "core/MainState.h"
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "core/SafeFile.h"
#include "generator/FolderCopies.h"
#include "generator/GenerationUi.h"
#include "generator/PageBuilder.h"
#include "generator/PosterMaking.h"
#include "generator/ThumbnailMaker.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace FolderCopies;

namespace
{

const QString kErrorSound = QStringLiteral("error.wav");
constexpr useconds_t kLockPollMicroseconds = 100'000;

// Anything at the name counts, a dangling link too: it is never written over unasked.
bool nameIsTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Cuts every character from the blank down off both ends, as the pick list's text is read.
QString trimControls(const QString &text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text.at(start).unicode() <= ' ')
        ++start;
    while (end > start && text.at(end - 1).unicode() <= ' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

GenerationRun::GenerationRun(MediaListing &listing, PageOptions &options, MainState &state, GenerationUi &ui,
                             PickListPort *pickList, OpticalCheck opticalMountPoint, QObject *parent)
    : QObject(parent), m_listing(listing), m_options(options), m_state(state), m_ui(ui), m_pickList(pickList),
      m_opticalMountPoint(std::move(opticalMountPoint))
{
}

GenerationRun::~GenerationRun() = default;

void GenerationRun::WebButtonClick()
{
    // A press while the builder or the thumbnail maker lets window events run starts nothing.
    if (m_running)
        return;
    m_running = true;
    Q_EMIT runStarted();
    m_failedThumbnails = 0;
    m_foundFolderBusy = false;
    const bool written = runSteps();
    m_handle.reset(); // releases the folder's lock
    // Cleared at every end, stops and failures included: an idle window must neither show the
    // pick list's count nor keep its working list against the file list's changes.
    m_state.GenerationRunning = false;
    m_running = false;
    Q_EMIT runFinished(written);
}

bool GenerationRun::runSteps()
{
    m_state.GenerationRunning = true;
    if (!takeFiles() || !askName() || !prepareOptions())
        return false;
    m_ui.selectFirstFileListRow();
    if (!enterFolder() || refusedOpticalDisc() || !lockFolder())
        return false;
    // Hidden files a killed earlier run may have left; ours by name, and old enough to be no one's now.
    SafeFile::removeStaleTemporaries(m_handle->handlePath());
    if (m_beforePage)
        m_beforePage();
    tellSkippedNames();
    takeBackgroundOutOfList();
    // The old thumbnails leave the list now; their files go only once the new page is written.
    m_deleteOldThumbnails = m_options.Thumbnailer() && m_options.DeleteThumbnail();
    if (m_deleteOldThumbnails)
        takeThumbnailNamesOut(m_listing.FileListBox());
    else if (m_options.Thumbnailer())
        takeOwnThumbnailNamesOut(m_folder, m_listing.FileListBox());
    // From here on every way out passes the end step. The builder and the thumbnail maker work on
    // the list as it is now, so change events while they let window events run cannot alter it.
    const QStringList names = m_listing.FileListBox(); // a copy: the listing's own list may change
    offerMoviePictures(names);
    const bool written = makePage(names);
    closeViewerIfOpen();
    return written;
}

// A movie page shows each movie's picture beside it: without one a cell shows a broken picture, so the
// person may have them made now, as `tessaloom-page --posters missing` does.
void GenerationRun::offerMoviePictures(const QStringList &names)
{
    if (!MediaKinds::isMovieKind(m_kind))
        return;
    const QStringList movies = PosterMaking::moviesWithoutPicture(m_folder, names);
    if (movies.isEmpty() || !m_ui.askMakeMoviePictures(int(movies.size())))
        return;
    const int made = m_ui.makeMoviePictures(movies);
    m_ui.showMessage(tr("Pictures were made for %1 of %2 movies.").arg(made).arg(movies.size()));
}

bool GenerationRun::takeFiles()
{
    if (m_options.UsePickList())
        return takePickList();
    if (!m_listing.FileListBox().isEmpty())
        return true;
    m_ui.showStop(tr("There are no files to use..."));
    return false;
}

bool GenerationRun::prepareOptions()
{
    m_kind = m_listing.CurrentKind();
    if (m_options.prepareRun(m_kind))
        return true;
    m_ui.showWarningBox(tr(PageOptions::RefusedSoundPictureText));
    return false;
}

bool GenerationRun::refusedOpticalDisc()
{
    const QString mountPoint = m_opticalMountPoint ? m_opticalMountPoint(m_folder) : QString();
    if (mountPoint.isEmpty())
        return false;
    m_ui.showStop(tr("Can not write to CD ROM (%1)").arg(mountPoint));
    return true;
}

bool GenerationRun::makePage(const QStringList &names)
{
    if (names.isEmpty()) {
        m_ui.showStop(tr("There are no files to use"));
        return false;
    }
    if (m_state.ViewerOpen) {
        m_ui.hideViewer();
    } else {
        // The builder may measure pictures in the viewer's displays.
        m_state.ViewerOpen = true;
        m_ui.createHiddenViewer();
    }
    m_ui.progressCreate();
    settleSoundPicture();
    const QString background = unquoted(m_options.Backgroundfile());
    m_replaceBackground = !m_options.isUseBackgroundColor() && !background.isEmpty() &&
                          folderPart(background).compare(m_folder, Qt::CaseInsensitive) != 0;
    return buildPage(names) && writePage(names);
}

bool GenerationRun::takePickList()
{
    const QStringList lines = m_pickList ? m_pickList->lines() : QStringList();
    if (lines.isEmpty()) {
        m_ui.showStop(tr("There are no files in the Pick List..."));
        return false;
    }
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    text = trimControls(text);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    m_listing.FileListBox() = text.isEmpty() ? QStringList() : text.split(lineBreak);
    return true;
}

bool GenerationRun::askName()
{
    if (!m_options.Shownamebox())
        return true;
    const NameDialogAnswer answer = m_ui.askPageName();
    if (answer.cancelled)
        return false;
    m_options.setNamingFromDialog(answer.counter, answer.name, answer.title);
    return true;
}

bool GenerationRun::enterFolder()
{
    // The page folder is taken once: a folder chosen while the run lets window events run must not
    // receive a page, copies or thumbnails made from another folder's files.
    m_folder = m_listing.CurrentFolder();
    const QString &folder = m_folder;
    if (folder.isEmpty()) {
        m_ui.showErrorBox(tr("No folder of the file system is selected."));
        return false;
    }
    if (::chdir(QFile::encodeName(folder).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        m_ui.showErrorBox(tr("Can not open the folder %1 (%2)").arg(folder, reason));
        return false;
    }
    m_handle = std::make_unique<FolderHandle>(folder);
    if (!m_handle->isOpen()) {
        m_ui.showErrorBox(tr("Can not open the folder %1 (%2)").arg(folder, m_handle->error()));
        return false;
    }
    return true;
}

bool GenerationRun::lockFolder()
{
    if (m_handle->tryLock())
        return true;
    m_foundFolderBusy = true;
    if (!m_ui.waitsForBusyFolder()) {
        m_ui.showErrorBox(tr("Another run is making a page in the folder %1.").arg(m_folder));
        return false;
    }
    m_ui.showMessage(
        tr("Another run is making a page in the folder %1: this one waits for it to end.").arg(m_folder));
    while (!m_handle->tryLock()) {
        m_ui.letEventsRun();
        ::usleep(kLockPollMicroseconds);
    }
    return true;
}

void GenerationRun::tellSkippedNames()
{
    if (m_toldSkippedNames.contains(m_folder))
        return;
    const MediaKindInfo *kind = MediaKinds::info(m_kind);
    const int skipped =
        kind ? listFolder(m_handle->handlePath(), QString::fromLatin1(kind->masks)).unreadableNames : 0;
    if (skipped == 0)
        return;
    m_toldSkippedNames.insert(m_folder);
    m_ui.reportProblem(
        skipped == 1 ? tr("1 file of the folder %1 was skipped: its name is not valid UTF-8.").arg(m_folder)
                     : tr("%1 files of the folder %2 were skipped: their names are not valid UTF-8.")
                           .arg(skipped)
                           .arg(m_folder));
}

QString GenerationRun::inFolder(const QString &name) const
{
    return m_handle->entry(name);
}

bool GenerationRun::folderVanished()
{
    if (m_handle->stillThere())
        return false;
    fail(tr("The folder %1 was moved or deleted during the run; the run stopped.").arg(m_folder));
    return true;
}

void GenerationRun::takeBackgroundOutOfList()
{
    if (m_options.Backgroundfile().isEmpty())
        return;
    const QString name = fileNamePart(unquoted(m_options.Backgroundfile()));
    QStringList &files = m_listing.FileListBox();
    const qsizetype at = files.indexOf(name); // letter case respected
    if (at >= 0)
        files.removeAt(at);
}

void GenerationRun::settleSoundPicture()
{
    m_options.finishRunPreparation(m_kind);
    if (m_options.SoundLinkCode() != PageOptions::SoundAsPicture) {
        m_soundPictureName = QStringLiteral("None");
        return;
    }
    const QString source = unquoted(m_options.SoundPick());
    m_soundPictureName = fileNamePart(source);
    if (!m_soundPictureName.isEmpty()) // a refused copy (the name is taken) is passed over
        copyIn(source, inFolder(m_soundPictureName));
}

bool GenerationRun::buildPage(const QStringList &names)
{
    m_options.lowerColumnEdit(int(names.size())); // stays lowered even when the build fails
    PageBuildInput input;
    input.folder = m_folder;
    input.names = names;
    input.kind = m_kind;
    input.soundPictureName = m_soundPictureName;
    const PageBuildResult result = BuildWebSource(input, m_options, m_webSource, m_ui);
    if (!result.ok) {
        const QString name = result.failedIndex >= 0 && result.failedIndex < names.size()
                                 ? names.at(result.failedIndex)
                                 : result.failedName;
        m_ui.playSound(kErrorSound);
        m_ui.showErrorBox(tr("Error loading file (%1)").arg(name.toUpper()));
    }
    if (m_ui.progressIsShown())
        m_ui.progressClose();
    return result.ok;
}

bool GenerationRun::writePage(const QStringList &names)
{
    const QString page = formPageFile();
    if (page.isEmpty())
        return false;
    // Written under a name of its own cells, the page would replace one of the files it links to,
    // whatever the answer to replacing it.
    if (names.contains(fileNamePart(page))) {
        fail(tr("Can not write the page %1: %2 is a file of the page.").arg(page, fileNamePart(page)));
        return false;
    }
    const QByteArray bytes = pageBytes(m_webSource);
    if (folderVanished())
        return false;
    return nameIsTaken(inFolder(fileNamePart(page))) ? overwritePage(page, bytes, names)
                                                     : writeNewPage(page, bytes, names);
}

QString GenerationRun::formPageFile()
{
    const QString &folder = m_folder;
    bool readable = false;
    const QString page = m_options.pageFileName(folder, &readable);
    if (!readable) {
        fail(tr("Can not name the page %1: the counter \"%2\" is not a whole number.")
                 .arg(JoinFolderFile(folder, m_options.WebNameEdit()), m_options.NameIncrement()));
        return QString();
    }
    m_state.MyFile = page;
    m_options.stepCounter(); // the counter advances now, whatever follows
    const QString name = fileNamePart(page);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        m_options.WebNameEdit().contains(QLatin1Char('/'))) {
        // The page belongs in the page folder: a name that leads elsewhere is not written.
        fail(tr("Can not write the page %1: %2 is not a file name.").arg(page, m_options.WebNameEdit()));
        return QString();
    }
    return page;
}

bool GenerationRun::overwritePage(const QString &page, const QByteArray &bytes, const QStringList &names)
{
    bool written = false;
    const auto write = [&]() -> QString {
        const QString error = SafeFile::writeAtomically(inFolder(fileNamePart(page)), bytes,
                                                        SafeFile::Replace::RegularFileOnly);
        if (!error.isEmpty())
            return tr("Can not write the page %1 (%2)").arg(page, error);
        written = true;
        Q_EMIT pageWritten(page);
        return QString();
    };
    const bool confirmed = m_ui.confirmOverwrite(tr("%1 already exists... Overwrite?").arg(page), write);
    copyBackground(); // whatever the answer was
    if (!confirmed || !written)
        return false;
    return finishPage(page, names);
}

bool GenerationRun::writeNewPage(const QString &page, const QByteArray &bytes, const QStringList &names)
{
    // Never replaces: a file that appeared since the look is not written over unasked.
    const QString error =
        SafeFile::writeAtomically(inFolder(fileNamePart(page)), bytes, SafeFile::Replace::Never);
    if (!error.isEmpty()) {
        fail(tr("Can not write the page %1 (%2)").arg(page, error));
        return false;
    }
    Q_EMIT pageWritten(page);
    const bool finished = finishPage(page, names);
    copyBackground();
    return finished;
}

void GenerationRun::copyBackground()
{
    if (m_options.isUseBackgroundColor() || m_options.Backgroundfile().isEmpty())
        return;
    const QString name = BackgroundName(m_options.Backgroundfile());
    if (name.isEmpty())
        return;
    const QString source = unquoted(m_options.Backgroundfile());
    const QString target = inFolder(name);
    // A refused copy is passed over. The older picture of that name is replaced only by a finished
    // copy, so a run that ends early never leaves the folder without it.
    if (m_replaceBackground)
        copyInReplacing(source, target);
    else
        copyIn(source, target);
}

bool GenerationRun::finishPage(const QString &page, const QStringList &names)
{
    if (m_deleteOldThumbnails)
        deleteThumbnailFiles(m_handle->handlePath(), QFileInfo(page).fileName());
    if (m_options.Thumbnailer()) {
        m_ui.progressCreate();
        const ThumbnailOutcome outcome = MakeThumbnails(m_handle->handlePath(), names, m_options, m_ui,
                                                        [this] { return m_handle->stillThere(); });
        m_ui.progressClose();
        m_failedThumbnails = outcome.failed;
        if (outcome.folderVanished) {
            folderVanished();
            return false;
        }
    }
    if (m_options.Previewit())
        m_ui.preview();
    m_ui.showMessage(tr("%1 was created.").arg(page));
    return true;
}

void GenerationRun::fail(const QString &text)
{
    m_ui.playSound(kErrorSound);
    m_ui.showErrorBox(text);
}

void GenerationRun::closeViewerIfOpen()
{
    if (!m_state.ViewerOpen)
        return;
    m_ui.closeViewer();
    // The viewer's closing clears both, whichever window implements it.
    m_state.ViewerOpen = false;
    m_state.MWindowCheckBox = false;
}
