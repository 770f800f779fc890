// SPDX-License-Identifier: GPL-2.0-or-later
#include "console/ConsolePageMaker.h"

#include "core/MainState.h"
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "generator/FolderRows.h"

#include <QDir>

bool makePageOnConsole(const QString &folder, MediaKind kind, PageOptions &options, bool overwrite,
                       const GenerationRun::OpticalCheck &opticalMountPoint, std::FILE *out, std::FILE *err,
                       const std::function<void(PageOptions &)> &editOptions, ConsoleRunReport *report,
                       const ConsoleSettings &settings, const std::function<void()> &beforePage)
{
    // As the folder tree spells a folder: absolute, no trailing "/" except for the root.
    const QString pageFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    FolderRows rows(pageFolder);
    MainState state;
    MediaListing listing(rows, options, state);
    listing.setCurrentFolder(pageFolder);
    listing.chooseKind(kind);
    if (editOptions)
        editOptions(options);
    options.setShownamebox(false);
    options.setPreviewit(false);

    ConsoleUi ui(options, overwrite, out, err, settings);
    ui.setSelectFirstRow([&] {
        rows.reread();
        if (rows.rowCount() > 0) {
            rows.select(0);
            listing.FileListBoxSHChange();
        }
    });
    GenerationRun run(listing, options, state, ui, nullptr, opticalMountPoint);
    run.setBeforePage(beforePage);
    bool written = false;
    QObject::connect(&run, &GenerationRun::runFinished,
                     [&written](bool pageWritten) { written = pageWritten; });
    run.WebButtonClick();
    if (report)
        *report = {written, run.failedThumbnails(), run.foundFolderBusy()};
    return written;
}
