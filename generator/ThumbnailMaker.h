// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class PageOptions;
class RunFeedback;
struct ThumbnailRequest;

// sm_ + the picture's whole name, in the folder: the name the page refers to.
QString ThumbnailName(const QString &folder, const QString &name);

// True for the names that get a thumbnail: the extension, put in upper case, is ".JPG".
bool wantsThumbnail(const QString &name);

// The size options as they stand now.
ThumbnailRequest thumbnailRequest(const PageOptions &options);

struct ThumbnailOutcome {
    int failed = 0;              // pictures whose thumbnail was not written
    bool folderVanished = false; // the maker stopped: the folder was deleted or moved
};

// Makes the thumbnails of the JPG names of the working list, in list order, reading the size options
// for each picture. The list is read by position and its length read again at every step.
// A picture that fails is reported through feedback.reportProblem, with the reason, and the maker goes
// on. A picture whose colour profile is damaged or unfit gets its thumbnail with the colours as stored,
// and one reportProblem naming it. A file at the thumbnail's name is replaced only when the clean-up would
// delete it (or is empty). With the options' DeleteThumbnail off, a thumbnail an earlier run left that is
// still up to date (see thumbnailIsUpToDate) is kept as it is instead of being made again; the progress steps
// all the same. Pictures are decoded ahead on worker threads; files, progress and messages follow the list
// order on the caller's thread, which keeps letting window events run while it waits. folderStillThere, when
// given, is asked before each file is written; once it says no, the maker stops.
ThumbnailOutcome MakeThumbnails(const QString &folder, const QStringList &FileListBox,
                                const PageOptions &options, RunFeedback &feedback,
                                const std::function<bool()> &folderStillThere = {});

// Deletes the folder's thumbnails (see isThumbnailFile) and takes the "sm_" names out of the working list.
void CleanUpThumbnails(const QString &folder, QStringList &FileListBox);
// The clean-up's two halves: the run takes the names out first and deletes the files only once its new
// page is written, so a run that stops earlier leaves the old page's thumbnails in place.
// Given the name of the page a run is writing, the thumbnails another page of the folder shows stay.
void deleteThumbnailFiles(const QString &folder, const QString &replacedPage = QString());
void takeThumbnailNamesOut(QStringList &FileListBox);
// When old thumbnails are kept: takes out of the working list the "sm_" names of files that carry our
// thumbnail marker made for their name. They are thumbnails, not pictures of the person's: as cells they
// would put every picture on the page twice and get thumbnails of their own (sm_sm_...), more with every
// rerun. A person's own sm_ photo, without our marker, stays a picture. So does one at the thumbnail name of
// a JPG name of the list, unless it is empty or cannot be measured as a picture (what a crash may leave):
// that one would stop the page; the maker replaces it, or reports it and keeps it when it is not ours.
void takeOwnThumbnailNamesOut(const QString &folder, QStringList &FileListBox);

// True for a file the clean-up deletes: a regular file (never a link) named "sm_" and a name ending in
// ".jpg" in any letter case, holding JPEG data, that either carries our thumbnail marker made for its
// name or, carrying none, has its picture in the folder: the rest of its name, or the rest with its
// ".jpg" ending spelled in another letter case. A person's SM_ or Sm_ files, copies of our thumbnails
// under another name (their marker names another picture), other kinds of file and orphan photos stay.
bool isThumbnailFile(const QString &folder, const QString &name);

// The thumbnails the clean-up would delete, in name order.
QStringList thumbnailFilesIn(const QString &folder);
