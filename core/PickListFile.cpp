// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PickListFile.h"

#include "core/PickList.h"
#include "core/SafeFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QLatin1Char Separator('/');
const QByteArray LineEnd("\r\n");

QString tr(const char *text) { return QCoreApplication::translate("PickListFile", text); }

bool holdsLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// Splits on CR LF, a lone LF and a lone CR alike.
QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

bool hasLongLine(const QByteArray &bytes)
{
    qsizetype run = 0;
    for (const char c : bytes) {
        run = (c == '\r' || c == '\n') ? 0 : run + 1;
        if (run > PickListFile::MaxLineBytes)
            return true;
    }
    return false;
}

// The bytes as text, or why they are not a text file.
QString decodeText(QByteArray bytes, const QString &fileName, QString *text)
{
    if (bytes.contains('\0'))
        return tr("%1 is not a pick list: it is not a text file.").arg(fileName);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *text = decoder.decode(bytes);
    if (decoder.hasError())
        return tr("%1 is not a pick list: it is not UTF-8 text.").arg(fileName);
    return {};
}

} // namespace

namespace PickListFile {

QString folderLine(const QString &folder)
{
    return folder.endsWith(Separator) ? folder : folder + Separator;
}

QString folderOfLine(const QString &line)
{
    QString folder = line;
    while (folder.size() > 1 && folder.endsWith(Separator))
        folder.chop(1);
    return folder;
}

QString nameProblem(const QString &name)
{
    if (PickList::isBlankLine(name))
        return tr("The name \"%1\" is blank.").arg(name);
    if (holdsLineBreak(name))
        return tr("The name \"%1\" holds a line break.").arg(name);
    if (name.contains(QChar(0)))
        return tr("The name \"%1\" holds a NUL character.").arg(name);
    if (!name.isValidUtf16())
        return tr("The name \"%1\" is not valid text.").arg(name);
    if (name.contains(Separator))
        return tr("The name \"%1\" holds a folder separator.").arg(name);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return tr("The name \"%1\" is not a file name.").arg(name);
    return {};
}

Encoded encode(const QString &folder, const QStringList &names)
{
    Encoded result;
    if (folder.isEmpty() || !folder.startsWith(Separator))
        return {tr("There is no current folder to save the pick list for."), {}};
    if (holdsLineBreak(folder) || folder.contains(QChar(0)))
        return {tr("The folder \"%1\" holds a line break and cannot be written to a pick list.").arg(folder), {}};
    if (names.size() > MaxNames)
        return {tr("The pick list holds more than %1 names and cannot be saved.").arg(MaxNames), {}};
    QByteArray bytes = folderLine(folder).toUtf8();
    if (bytes.size() > MaxLineBytes)
        return {tr("The folder \"%1\" is too long for a pick list.").arg(folder), {}};
    bytes += LineEnd;
    for (const QString &name : names) {
        const QString problem = nameProblem(name);
        if (!problem.isEmpty())
            return {problem + QLatin1Char(' ') + tr("It cannot be saved in a pick list."), {}};
        const QByteArray line = name.toUtf8();
        if (line.size() > MaxLineBytes)
            return {tr("The name \"%1\" is too long for a pick list.").arg(name), {}};
        bytes += line + LineEnd;
    }
    bytes += LineEnd;
    if (bytes.size() > MaxFileBytes)
        return {tr("The pick list is larger than 1 MiB and cannot be saved."), {}};
    result.bytes = bytes;
    return result;
}

Loaded parse(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() > MaxFileBytes)
        return {tr("%1 is not a pick list: it is larger than 1 MiB.").arg(fileName), {}};
    QString text;
    if (const QString problem = decodeText(bytes, fileName, &text); !problem.isEmpty())
        return {problem, {}};
    if (hasLongLine(bytes))
        return {tr("%1 is not a pick list: a line is longer than %2 bytes.").arg(fileName, QString::number(MaxLineBytes)), {}};
    QStringList lines = splitLines(text);
    if (lines.isEmpty() || lines.first().isEmpty())
        return {tr("%1 is not a pick list: it has no folder line.").arg(fileName), {}};
    Content content;
    content.folderLine = lines.takeFirst();
    content.folder = folderOfLine(content.folderLine);
    if (!content.folder.startsWith(Separator))
        return {tr("%1 is not a pick list: \"%2\" is not a full folder path.").arg(fileName, content.folderLine), {}};
    content.names = PickList::namesOf(lines);
    if (content.names.isEmpty())
        return {tr("%1 holds no file names.").arg(fileName), {}};
    if (content.names.size() > MaxNames)
        return {tr("%1 holds more than %2 names.").arg(fileName, QString::number(MaxNames)), {}};
    for (const QString &name : std::as_const(content.names)) {
        if (const QString problem = nameProblem(name); !problem.isEmpty())
            return {tr("%1 was not loaded. %2 Only bare file names in the list's folder are allowed.")
                        .arg(fileName, problem),
                    {}};
    }
    return {{}, content};
}

Loaded load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {tr("%1 is not a pick list file.").arg(path), {}};
    if (info.size() > MaxFileBytes)
        return {tr("%1 is not a pick list: it is larger than 1 MiB.").arg(path), {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {tr("Could not read %1: %2").arg(path, file.errorString()), {}};
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {tr("Could not read %1: %2").arg(path, file.errorString()), {}};
    Loaded loaded = parse(bytes, path);
    if (loaded.ok() && !QFileInfo(loaded.content.folder).isDir())
        return {tr("%1 does not exist").arg(loaded.content.folderLine), {}};
    return loaded;
}

QString write(const QString &path, const QByteArray &text)
{
    const QString reason = SafeFile::writeAtomically(path, text, SafeFile::Replace::RegularFileOnly);
    if (!reason.isEmpty())
        return tr("Could not save %1: %2").arg(path, reason);
    return {};
}

QString save(const QString &path, const QString &folder, const QStringList &names)
{
    const Encoded encoded = encode(folder, names);
    return encoded.ok() ? write(path, encoded.bytes) : encoded.error;
}

} // namespace PickListFile
