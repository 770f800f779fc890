// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QString>
#include <QStringList>

class PageOptions;
class RunFeedback;

// What one build is made of (the options are passed apart: the build may lower ColumnEdit).
struct PageBuildInput {
    QString folder;                                  // the page folder; files are opened by JoinFolderFile
    QStringList names;                               // the working list, at least one name
    MediaKind kind = mkGifJpg;
    QString soundPictureName = QStringLiteral("None");
};

struct PageBuildResult {
    bool ok = true;
    int failedIndex = -1; // working-list position of the cell whose picture could not be measured
    QString failedName;
    QString error;        // why, naming the file
};

// Builds the page into WebSourceMemo (emptied first), line by line. On failure the lines built so far
// stay in the buffer.
PageBuildResult BuildWebSource(const PageBuildInput &input, PageOptions &options, QStringList &WebSourceMemo,
                               RunFeedback &feedback);

// The page file's bytes: every line followed by CR LF.
QByteArray pageBytes(const QStringList &WebSourceMemo);

QString FileSizeText(qint64 bytes);
// The same figure with other unit texts (the viewer's " Bytes", " KB", " MB").
struct SizeUnits {
    QString bytes;
    QString kilo;
    QString mega;
};
QString FileSizeText(qint64 bytes, const SizeUnits &units);
// A size quotient of the percentage mode: general format, at most 15 significant digits, "." always.
QString PercentSizeText(double value);
QString MoviePictureName(const QString &movieName);
QString BackgroundName(const QString &backgroundfile);
