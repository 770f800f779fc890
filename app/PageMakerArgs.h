// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class PageOptions;

// One page option as given on the command line, applied to PageOptions through the operation the
// Options window uses for it.
struct PageEdit {
    QString flag;  // "--height"
    QString value; // as given
    std::function<void(PageOptions &)> apply;
    // Whole numbers: where the model keeps the value and what was asked, to tell a clamped value.
    int (PageOptions::*stored)() const = nullptr;
    int wanted = 0;
    bool sizeField = false; // HeightEdit, WidthEdit, PictureBorderEdit: disabled with sounds as text
};

// The command line of tessaloom-page: a folder, a media kind and page options, applied in the order given.
struct PageMakerArgs {
    QString folder;
    MediaKind kind = mkNone;
    QList<PageEdit> edits;
    bool overwrite = false;
    bool missingPosters = false; // --posters missing: make the movies' absent pictures first
    bool quiet = false;          // no progress display
    bool help = false;
    bool version = false;
    QString error;     // a usage error; the rest is then incomplete
    QStringList notes; // values that were clamped into their range, one line each
};

PageMakerArgs parsePageMakerArgs(const QStringList &arguments); // without the program name
QString pageMakerHelp();

// Applies the edits in order, each as the Options window would take it at that point: a size field the
// window shows disabled refuses its flag. Returns the first refusal (the later edits are not applied),
// or an empty text; notes, when given, receive a line for each value the model clamped.
QString applyPageEdits(const QList<PageEdit> &edits, PageOptions &options, QStringList *notes = nullptr);

// "1" to "8", or a kind's name: gifjpg (or gif+jpg), gif, jpg, wav, mid, mp3, avi, mpg. mkNone if neither.
MediaKind parseMediaKind(const QString &text);

// The path as a file chooser gives it back: absolute, in double quotes when it holds a blank.
QString chooserPath(const QString &path);
