// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

#include <optional>

// The mark our encoder leaves in every thumbnail it writes: a JPEG comment segment saying that the
// file is ours and what it was made from. A copy of one of our thumbnails under another name carries
// the mark too, so a file is ours only when the mark names the very picture its own name says
// (madeFor). The clean-up deletes an "sm_" JPEG without a picture beside it only when it is ours in
// that sense, and a later run can tell a thumbnail that is still up to date.
struct ThumbnailMarker {
    qint64 sourceBytes = 0;   // the picture's size in bytes when it was read
    qint64 sourceMtimeNs = 0; // its modification time, nanoseconds since the epoch
    QSize target;             // the thumbnail's width and height
    qint64 sourceCtimeNs = 0; // its change time, the same way
    quint64 sourceInode = 0;  // its inode number
    QByteArray sourceName;    // its file name, as the bytes on the disk
    // Made with the picture's colour profile turned into sRGB ("colour=srgb"). Markers without the word
    // (thumbnails that kept the stored numbers): the freshness rule remakes those whose picture has a
    // profile.
    bool colourManaged = true;

    bool operator==(const ThumbnailMarker &) const = default;

    // True when the mark names the picture that the thumbnail named thumbnailName ("sm_" and the
    // picture's name) was made from.
    bool madeFor(const QString &thumbnailName) const;

    // The comment's bytes: "Tessaloom thumbnail" and the fields, plain ASCII (the name percent-encoded);
    // the colour word last.
    QByteArray commentText() const;
    // Reads a comment back; nothing unless it is exactly one of ours.
    static std::optional<ThumbnailMarker> fromComment(QByteArrayView comment);
};

// Looks for our mark in the header segments of a JPEG in memory (stops at the first scan).
std::optional<ThumbnailMarker> findThumbnailMarker(QByteArrayView jpeg);

// The same for a file: reads only the segment headers before the first scan and the comments, never a
// link, a device or a FIFO. Nothing when the file is not a JPEG or carries no mark of ours.
std::optional<ThumbnailMarker> readThumbnailMarker(const QString &path);

// True when the file at path is a thumbnail of ours: its mark is made for its own name.
bool isOwnThumbnail(const QString &path);
