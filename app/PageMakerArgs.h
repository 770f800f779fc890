#pragma once

#include "core/MediaKinds.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class PageOptions;

// The command line of tessaloom-page: a folder, a media kind and page options. Each option becomes an
// edit of PageOptions through the same operations the Options window uses, applied in the order given.
struct PageMakerArgs {
    QString folder;
    MediaKind kind = mkNone;
    QList<std::function<void(PageOptions &)>> edits;
    bool overwrite = false;
    bool missingPosters = false; // --posters missing: make the movies' absent pictures first
    bool help = false;
    bool version = false;
    QString error; // a usage error; the rest is then incomplete
};

PageMakerArgs parsePageMakerArgs(const QStringList &arguments); // without the program name
QString pageMakerHelp();

// "1" to "8", or a kind's name: gifjpg (or gif+jpg), gif, jpg, wav, mid, mp3, avi, mpg. mkNone if neither.
MediaKind parseMediaKind(const QString &text);

// The path as a file chooser gives it back: absolute, in double quotes when it holds a blank.
QString chooserPath(const QString &path);
