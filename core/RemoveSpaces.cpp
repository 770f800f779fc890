// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/RemoveSpaces.h"

#include "core/MediaKinds.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("RemoveSpaces", text);
}

// Why a rename cannot even be tried; empty when it can.
QString refusal(const QString &folder, const QString &oldName, const QString &newName)
{
    if (oldName.contains(QLatin1Char('/')))
        return tr("the name holds a folder separator");
    if (newName.isEmpty() || newName == QLatin1String(".") || newName == QLatin1String(".."))
        return tr("the name without spaces is not allowed");
    const QFileInfo target(JoinFolderFile(folder, newName));
    if (target.exists() || target.isSymLink())
        return tr("a file of that name exists already");
    return {};
}

} // namespace

QString WithoutSpaces(const QString &name)
{
    QString out = name;
    out.remove(QLatin1Char(' '));
    return out;
}

RemoveSpacesResult RemoveSpacesFromFileNames(const QString &folder, const QStringList &FileListBox)
{
    RemoveSpacesResult result;
    const qsizetype count = FileListBox.size(); // taken once, as the list may be rebuilt meanwhile
    for (qsizetype i = 0; i < count; ++i) {
        const QString &oldName = FileListBox.at(i);
        const QString newName = WithoutSpaces(oldName);
        if (newName == oldName)
            continue;
        QString reason = refusal(folder, oldName, newName);
        if (reason.isEmpty()) {
            QFile file(JoinFolderFile(folder, oldName));
            // QFile::rename never replaces an existing file (it refuses, atomically where the
            // system allows), so a name taken in the meantime is still safe.
            if (file.rename(JoinFolderFile(folder, newName))) {
                ++result.renamed;
                continue;
            }
            reason = file.errorString();
        }
        result.failures.append({oldName, newName, reason});
    }
    return result;
}

QStringList RemoveSpacesMessage(const QString &folder, const RemoveSpacesResult &result)
{
    if (result.failures.isEmpty())
        return {tr("All spaces have been removed from all filenames in the ") + QLatin1Char('"') + folder +
                QLatin1Char('"') + tr(" directory")};
    QStringList lines{tr("These files in the \"%1\" directory keep their spaces:").arg(folder)};
    for (const RenameFailure &failure : result.failures)
        lines << QStringLiteral("\"%1\" -> \"%2\": %3").arg(failure.oldName, failure.newName, failure.reason);
    if (result.renamed > 0)
        lines << QCoreApplication::translate(
            "RemoveSpaces", "The spaces of %n other filename(s) have been removed.", nullptr, result.renamed);
    return lines;
}
