#pragma once

#include <QString>
#include <QStringList>

class PageOptions;
class RunFeedback;

// sm_ + the name less its last four characters + ".jpg", in the folder.
QString ThumbnailName(const QString &folder, const QString &name);

// Makes the thumbnails of the JPG names of the working list, in list order, reading the size options
// for each picture. The list is read by position and its length read again at every step.
// A picture that fails is reported through feedback.showMessage and the maker goes on.
void MakeThumbnails(const QString &folder, const QStringList &FileListBox, const PageOptions &options,
                    RunFeedback &feedback);

// Deletes the folder's thumbnails and takes the "sm_" names out of the working list.
void CleanUpThumbnails(const QString &folder, QStringList &FileListBox);
