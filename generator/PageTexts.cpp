// SPDX-License-Identifier: GPL-2.0-or-later
// The small naming and number rules of the page: its bytes, size captions, the movie picture's name
// and the background picture's name.
#include "generator/PageBuilder.h"

#include "generator/FolderCopies.h"

QByteArray pageBytes(const QStringList &WebSourceMemo)
{
    QByteArray bytes;
    for (const QString &line : WebSourceMemo) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QString FileSizeText(qint64 bytes, const SizeUnits &units)
{
    if (bytes <= 1024)
        return QString::number(bytes) + units.bytes;
    const qint64 kilo = bytes / 1024;
    qint64 whole = kilo;
    qint64 rest = bytes % 1024;
    QString unit = units.kilo;
    if (kilo >= 1024) {
        whole = bytes / 1048576;
        rest = bytes % 1048576;
        unit = units.mega;
    }
    // The leading digits of the remaining bytes, not a decimal fraction.
    return QString::number(whole) + QLatin1Char('.') + QString::number(rest).left(2) + unit;
}

QString FileSizeText(qint64 bytes)
{
    return FileSizeText(bytes, {QStringLiteral(" bytes"), QStringLiteral(" kb"), QStringLiteral(" mb")});
}

QString PercentSizeText(double value)
{
    return QString::number(value, 'g', 15);
}

QString MoviePictureName(const QString &movieName)
{
    return movieName.left(qMax<qsizetype>(0, movieName.size() - 3)) + QStringLiteral("jpg");
}

QString BackgroundName(const QString &backgroundfile)
{
    // The same reading as the run's copies and its take-out from the list, so all three agree.
    const QString path = FolderCopies::unquoted(backgroundfile);
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.mid(slash + 1);
}
