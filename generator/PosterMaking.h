#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

// The pictures a movie page shows, one beside each movie (Clip.avi gives Clip.jpg): which movies have
// none yet, and making one from the frame at a tenth of the movie. Shared by the Create button and
// `tessaloom-page --posters missing`.
namespace PosterMaking
{

// The frame at one tenth of the movie, or a null image with reason set.
using FrameSource = std::function<QImage(const QString &moviePath, QString *reason)>;

// The full paths of the movies among names (bare names in folder) whose picture is missing: neither a
// file nor a link stands at its name.
QStringList moviesWithoutPicture(const QString &folder, const QStringList &names);

struct Made {
    QString path;  // the picture's full path
    QString error; // empty when made; otherwise names the movie or the picture and the reason
    bool ok() const { return error.isEmpty(); }
};

// Makes the picture of one movie from its frame, never replacing anything at the picture's name.
Made makePicture(const QString &moviePath, const FrameSource &frames);

} // namespace PosterMaking
