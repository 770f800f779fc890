// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the Wayland tests share: the program's skinned windows, one of each, and where a window stands
// in a shot of the compositor's output.
#include "support/WestonSession.h"

#include "core/PageOptions.h"
#include "ui/AVIGrabber.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/OndrelSplash.h"
#include "ui/Picklist.h"
#include "ui/Scanner.h"
#include "ui/Settings.h"
#include "ui/guager.h"
#include "ui/prompt2.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>

struct SkinnedWindow {
    const char *name;
    std::function<QWidget *()> make;
};

inline QList<SkinnedWindow> skinnedWindows(PageOptions &options)
{
    return {
        {"main window", [&options] { return new TMainForm(options); }},
        {"options", [&options] { return new TSettingsForm(options); }},
        {"name dialog", [] { return new TNameitForm; }},
        {"pick list", [] { return new TPickListForm; }},
        {"grabber", [] { return new TAVIForm; }},
        {"progress", [] { return new TGuageForm(nullptr); }},
        {"message", [] { return new TPrompt2Form; }},
        {"overwrite dialog", [] { return new TNameOver; }},
        {"list overwrite dialog", [] { return new TNameOver2; }},
        {"start splash",
         [] {
             auto *splash = new TOndrelSplashForm(nullptr);
             splash->Timer1()->stop();
             return splash;
         }},
    };
}

// Where the window stands in the shot: the bounding box of everything that is not desktop.
inline QRect shownArea(const QImage &shot)
{
    QRect area;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != WestonSession::Desktop)
                area |= QRect(x, y, 1, 1);
    return area;
}

// The bounding box of the skin's pixels that are not its key colour.
inline QRect outlineArea(const QImage &skin, QRgb key)
{
    QRect area;
    for (int y = 0; y < skin.height(); ++y)
        for (int x = 0; x < skin.width(); ++x)
            if (skin.pixel(x, y) != key)
                area |= QRect(x, y, 1, 1);
    return area;
}
