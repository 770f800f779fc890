// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QFont>
#include <QSize>
#include <QStringList>

// How a box of fixed size shows a text: wrapped at word boundaries (a word wider than the box, such
// as a long folder path, is broken where it must be), and cut after the last line that fits wholly.
namespace WrappedText
{

struct Fit {
    QStringList lines; // what the box shows, top to bottom
    bool cut = false;  // some of the text did not fit; the last line then ends in an ellipsis
};

Fit fit(const QString &text, const QFont &font, const QSize &box);

} // namespace WrappedText
