// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The eight media kinds a page can be made of, and the small naming rules every layer shares.
enum MediaKind : int {
    mkNone = 0, // before the first kind is chosen
    mkGifJpg = 1,
    mkGif = 2,
    mkJpg = 3,
    mkWav = 4,
    mkMid = 5,
    mkMp3 = 6,
    mkAvi = 7,
    mkMpg = 8,
};

struct MediaKindInfo {
    MediaKind code;
    const char *button;  // objectName of the kind's button on the main window
    const char *handler; // name of its click handler
    const char *masks;   // mask string given to the file list
    const char *caption; // list caption of the count label
    const char *hint;
};

namespace MediaKinds {

// The row of the kind table for codes 1 to 8; nullptr for anything else.
const MediaKindInfo *info(int code);

inline bool isPictureKind(int code) { return code >= 1 && code < 4; }
inline bool isSoundKind(int code) { return code > 3 && code < 7; }
inline bool isMovieKind(int code) { return code == mkAvi || code == mkMpg; }

// "*.gif;*.jpg" -> {"*.gif", "*.jpg"}; empty parts dropped.
QStringList splitMasks(const QString &maskString);

// True when the name matches at least one mask of the string, letter case ignored.
// An empty mask string matches every name, as an unfiltered file list shows every file.
bool matchesMasks(const QString &name, const QString &maskString);

// A mask string compiled once, for matching many names.
class MaskMatcher
{
public:
    explicit MaskMatcher(const QString &maskString);
    bool matches(const QString &name) const;

private:
    QStringList m_suffixes; // "*.ext" masks, the common case, as ".ext"
    QList<QRegularExpression> m_patterns;
    bool m_matchAll = false;
};

} // namespace MediaKinds

// Folder, then a separator only when the folder is not a root, then the bare name.
QString JoinFolderFile(const QString &folder, const QString &name);

// The count label's text up to its first ":", then ": ", then the count.
QString CountCaption(const QString &labelText, qsizetype count);
