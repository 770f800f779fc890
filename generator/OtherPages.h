// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Which of the given thumbnails another page of the folder shows: the page files (".htm" or
// ".html" in any letter case, regular files, not links) other than replacedPage, searched for each
// name as the page writes it into SRC. The clean-up before a new page deletes only the others, so a
// JPG page keeps its pictures when a GIF page is made in the same folder.
QSet<QString> thumbnailsOtherPagesShow(const QString &folder, const QString &replacedPage,
                                       const QStringList &thumbnails);
