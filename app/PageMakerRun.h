// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QTextStream>

struct PageMakerArgs;

enum PageMakerExit {
    PageCreated = 0,
    RunFailed = 1,
    UsageError = 2,
    ThumbnailsFailed = 3, // the page is written, some of its thumbnails are not
    FolderBusy = 4,       // another run holds the folder; nothing was done
};

// The name every line of the error stream starts with.
inline constexpr char kPageMakerName[] = "tessaloom-page";

// One page run over a folder, as the Create button does it but without windows: lists the folder by
// the kind's masks, prepares the run, builds the page and writes it under the page file name rule,
// never replacing a file unless args.overwrite. Reports through out and err; a progress line on err
// when it is a terminal and args.quiet is not set.
int runPageMaker(const PageMakerArgs &args, QTextStream &out, QTextStream &err);
