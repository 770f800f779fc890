// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// Flags and fields of the main window that connect the windows.
struct MainState {
    bool MWindowCheckBox = false;   // the viewer is requested
    bool ViewerOpen = false;        // the viewer is open
    bool GrabberCheckBox = false;   // the grabber is requested
    bool PickListOpen = false;      // the pick list window is shown
    bool GenerationRunning = false; // a page generation run is under way
    bool FirstRun = true;           // the main window has not been shown yet
    bool Quitting = false;          // the quit command has run
    QString MyFile;                 // the page last created or previewed
    QString StoredHelpSystem;       // the help setting as read at start-up
};
