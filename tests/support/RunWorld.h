// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MainState.h"
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "generator/FolderRows.h"
#include "generator/GenerationRun.h"
#include "support/RunFixtures.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

// One main window's worth of state over a real page folder, with the run wired to a scripted UI.
struct RunWorld {
    QTemporaryDir root;
    QString folder;
    std::unique_ptr<FolderRows> rows;
    PageOptions options;
    MainState state;
    std::unique_ptr<MediaListing> listing;
    RunScriptUi ui{options};
    RunPickList pickList;
    QString opticalMount;                     // what the injected mount table says of the folder...
    GenerationRun::OpticalCheck opticalCheck; // ...unless a real table answers
    std::unique_ptr<GenerationRun> run;

    explicit RunWorld(const QString &subfolder = QStringLiteral("pics"))
    {
        folder = root.filePath(subfolder);
        QDir().mkpath(folder);
        rows = std::make_unique<FolderRows>(folder);
        listing = std::make_unique<MediaListing>(*rows, options, state);
        listing->setPickList(&pickList);
        listing->setCurrentFolder(folder);
        ui.onSelectFirstRow = [this] {
            rows->reread();
            if (rows->rowCount() > 0)
                rows->select(0);
            listing->FileListBoxSHChange();
        };
        run = std::make_unique<GenerationRun>(
            *listing, options, state, ui, &pickList,
            [this](const QString &f) { return opticalCheck ? opticalCheck(f) : opticalMount; });
    }
    QString path(const QString &name) const { return JoinFolderFile(folder, name); }
    // The folder as the file list shows it for a kind, as the user sees it before pressing create.
    void show(MediaKind kind)
    {
        rows->reread();
        listing->chooseKind(kind);
    }
    QStringList pages() const { return QDir(folder).entryList({QStringLiteral("*.htm")}, QDir::Files); }
    QString pageText(const QString &name = QStringLiteral("MediaPage.htm")) const
    {
        return QString::fromLocal8Bit(runReadBytes(path(name)));
    }
};
