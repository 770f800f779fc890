// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// How file names and texts are written into the page so that no name can break it or smuggle markup
// into it, and the page stays plain ASCII. Ordinary names come out unchanged.
namespace HtmlEscape {

// A file name as the value of HREF, SRC or BACKGROUND: control characters, DEL, non-ASCII characters
// (as UTF-8), leading and trailing blanks and " # % < > ? \ ^ ` { | } percent-encoded; "./" in front
// of a name holding ":" so it cannot read as a URL scheme; then "&" written as "&amp;".
QString url(const QString &fileName);

// A text as an attribute value (ALT) or as visible text: & < > " as entities, control and non-ASCII
// characters as numeric references.
QString text(const QString &value);

// The page title as typed, except that control and non-ASCII characters become numeric references.
QString title(const QString &value);

} // namespace HtmlEscape
