// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/OtherPages.h"

#include "generator/HtmlEscape.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

constexpr qint64 kMaxPageBytes = 64 << 20; // a page larger than this is no page of ours

} // namespace

QSet<QString> thumbnailsOtherPagesShow(const QString &folder, const QString &replacedPage,
                                       const QStringList &thumbnails)
{
    QSet<QString> shown;
    if (thumbnails.isEmpty())
        return shown;
    const QFileInfoList pages =
        QDir(folder).entryInfoList({QStringLiteral("*.htm"), QStringLiteral("*.html")},
                                   QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::CaseSensitive);
    for (const QFileInfo &page : pages) {
        if (page.fileName() == replacedPage || page.size() > kMaxPageBytes)
            continue;
        QFile file(page.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue; // a page that cannot be read keeps nothing: none of ours is unreadable
        const QByteArray text = file.readAll();
        for (const QString &name : thumbnails) {
            // The builder writes names as plain ASCII, so the bytes compare directly.
            const QByteArray written = '"' + HtmlEscape::url(name).toLatin1() + '"';
            if (!shown.contains(name) && text.contains(written))
                shown.insert(name);
        }
    }
    return shown;
}
