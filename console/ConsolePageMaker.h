// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"
#include "console/ConsoleUi.h"
#include "generator/GenerationRun.h"

#include <cstdio>
#include <functional>

class PageOptions;

// Makes the page of one folder on a console by the very run of the create button: the folder's
// files of the kind, the options as they are (no name dialog, no preview), messages to out,
// errors to err, an existing page replaced only when overwrite is set. True when a page was written.
// editOptions, when given, shapes the options right after the kind is chosen, as a person would in
// the Options window.
// report, when given, receives how the run went; settings name the program in errors and ask for the
// progress line. beforePage, when given, is done under the run's hold on the folder, before the page
// is built (see GenerationRun::setBeforePage).
struct ConsoleRunReport {
    bool written = false;
    int failedThumbnails = 0;
    bool folderBusy = false; // another run held the folder: nothing was done
};
bool makePageOnConsole(const QString &folder, MediaKind kind, PageOptions &options, bool overwrite,
                       const GenerationRun::OpticalCheck &opticalMountPoint, std::FILE *out = stdout,
                       std::FILE *err = stderr, const std::function<void(PageOptions &)> &editOptions = {},
                       ConsoleRunReport *report = nullptr, const ConsoleSettings &settings = {},
                       const std::function<void()> &beforePage = {});
