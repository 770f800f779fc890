// TEMPORARY, for the branch of the generation run only: minimal definitions of the page builder and
// the thumbnail maker so this branch links and its tests run before the real units land.
// DELETE THIS FILE when merging generator/PageBuilder.cpp and generator/ThumbnailMaker.cpp.
//
// They behave like the real ones where the run's tests look: the builder writes a small page naming
// every file in list order, lowers ColumnEdit and fails on a picture it cannot measure (or a name
// holding "corrupt"); the maker writes a JPEG per JPG name without following a planted link and
// reports a failure by the message window; the clean-up deletes the sm_ files it made.

#include "core/MediaKinds.h"
#include "core/PageOptions.h"
#include "core/SafeFile.h"
#include "generator/PageBuilder.h"
#include "generator/RunFeedback.h"
#include "generator/ThumbnailMaker.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace
{

bool percentInForce(const PageOptions &options)
{
    return options.HeightEdit() == 0 && options.WidthEdit() == 0 && options.anyPercentMarked();
}

bool isJpgName(const QString &name)
{
    return name.toUpper().endsWith(QLatin1String(".JPG"));
}

} // namespace

PageBuildResult BuildWebSource(const PageBuildInput &input, PageOptions &options, QStringList &WebSourceMemo,
                               RunFeedback &feedback)
{
    PageBuildResult result;
    WebSourceMemo.clear();
    WebSourceMemo << QStringLiteral("<HTML>") << QStringLiteral("<HEAD>")
                  << QStringLiteral("<TITLE>%1</TITLE>").arg(options.TitleEdit())
                  << QStringLiteral("</HEAD>");
    options.lowerColumnEdit(int(input.names.size()));
    WebSourceMemo << QStringLiteral("<TABLE COLUMNS=%1>").arg(options.ColumnEdit());
    const bool percent = percentInForce(options);
    if (percent) {
        feedback.progressSetMaximum(int(input.names.size()));
        feedback.progressShow();
    }
    for (int i = 0; i < input.names.size(); ++i) {
        const QString &name = input.names.at(i);
        const QString upper = name.toUpper();
        const bool measured =
            percent && (upper.endsWith(QLatin1String(".JPG")) || upper.endsWith(QLatin1String(".GIF")));
        if (name.contains(QLatin1String("corrupt"), Qt::CaseInsensitive) ||
            (measured && !QImageReader(JoinFolderFile(input.folder, name)).size().isValid())) {
            result.ok = false;
            result.failedIndex = i;
            result.failedName = name;
            result.error = QStringLiteral("%1: not a picture").arg(name);
            return result;
        }
        const QString image = input.soundPictureName != QLatin1String("None") ? input.soundPictureName
                              : (isJpgName(name) && options.Thumbnailer())    ? QStringLiteral("sm_") + name
                                                                              : name;
        WebSourceMemo << QStringLiteral("<TD><A HREF=\"%1\"><IMG SRC=\"%2\"></A></TD>").arg(name, image);
        if (measured) {
            feedback.progressStep();
            feedback.letEventsRun();
        }
    }
    WebSourceMemo << QStringLiteral("</TABLE>") << QStringLiteral("</HTML>");
    return result;
}

QByteArray pageBytes(const QStringList &WebSourceMemo)
{
    QByteArray bytes;
    for (const QString &line : WebSourceMemo)
        bytes += line.toLocal8Bit() + "\r\n";
    return bytes;
}

QString BackgroundName(const QString &backgroundfile)
{
    const qsizetype slash = backgroundfile.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    QString name = backgroundfile.mid(slash + 1);
    if (backgroundfile.contains(QLatin1Char('"')))
        name.chop(1);
    return name;
}

QString ThumbnailName(const QString &folder, const QString &name)
{
    return JoinFolderFile(folder,
                          QStringLiteral("sm_") + name.left(name.size() - 4) + QStringLiteral(".jpg"));
}

void MakeThumbnails(const QString &folder, const QStringList &FileListBox, const PageOptions &options,
                    RunFeedback &feedback)
{
    feedback.progressSetMaximum(int(FileListBox.size()));
    feedback.progressShow();
    for (int i = 0; i < FileListBox.size(); ++i) {
        const QString name = FileListBox.at(i);
        if (isJpgName(name)) {
            QImage picture(JoinFolderFile(folder, name));
            bool made = false;
            if (!picture.isNull()) {
                QSize size(options.WidthEdit(), options.HeightEdit());
                if (size.isNull() || (options.WidthEdit() == 0 && options.HeightEdit() == 0)) {
                    const int divisor = PageOptions::percentDivisor(qMax(0, options.PercentIndex()));
                    size = QSize(qMax(1, picture.width() / divisor), qMax(1, picture.height() / divisor));
                }
                QByteArray jpeg;
                QBuffer buffer(&jpeg);
                buffer.open(QIODevice::WriteOnly);
                made = picture.scaled(size.expandedTo(QSize(1, 1))).save(&buffer, "JPEG", 90) &&
                       SafeFile::writeAtomically(ThumbnailName(folder, name), jpeg,
                                                 SafeFile::Replace::RegularFileOnly)
                           .isEmpty();
            }
            if (!made)
                feedback.showMessage(QStringLiteral("Error Creating Thumbnail from ") + name);
        }
        feedback.progressStep();
        feedback.letEventsRun();
    }
}

void CleanUpThumbnails(const QString &folder, QStringList &FileListBox)
{
    QDir dir(folder);
    const QStringList found = dir.entryList(
        {QStringLiteral("sm_*.*")}, QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::CaseSensitive);
    for (const QString &name : found)
        dir.remove(name);
    for (qsizetype i = 0; i < FileListBox.size();) {
        if (FileListBox.at(i).startsWith(QLatin1String("sm_")))
            FileListBox.removeAt(i);
        else
            ++i;
    }
}
