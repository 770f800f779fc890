#pragma once

#include <QString>
#include <QStringList>

class PageOptions;
class RunFeedback;
struct ThumbnailRequest;

// sm_ + the picture's whole name, in the folder: the name the page refers to.
QString ThumbnailName(const QString &folder, const QString &name);

// True for the names that get a thumbnail: the extension, put in upper case, is ".JPG".
bool wantsThumbnail(const QString &name);

// The size options as they stand now.
ThumbnailRequest thumbnailRequest(const PageOptions &options);

// Makes the thumbnails of the JPG names of the working list, in list order, reading the size options
// for each picture. The list is read by position and its length read again at every step.
// A picture that fails is reported through feedback.showMessage and the maker goes on.
// Pictures are decoded ahead on worker threads; files, progress and messages follow the list order on
// the caller's thread, which keeps letting window events run while it waits.
void MakeThumbnails(const QString &folder, const QStringList &FileListBox, const PageOptions &options,
                    RunFeedback &feedback);

// Deletes the folder's thumbnails and takes the "sm_" names out of the working list. Only regular files
// named as the maker names them ("sm_" ... ".jpg" in any letter case) holding JPEG data count as thumbnails:
// links, folders and a person's own SM_ or sm_ files of other kinds stay.
void CleanUpThumbnails(const QString &folder, QStringList &FileListBox);
// The clean-up's two halves: the run takes the names out first and deletes the files only once its new
// page is written, so a run that stops earlier leaves the old page's thumbnails in place.
void deleteThumbnailFiles(const QString &folder);
void takeThumbnailNamesOut(QStringList &FileListBox);

// The thumbnails the clean-up would delete, in name order.
QStringList thumbnailFilesIn(const QString &folder);
