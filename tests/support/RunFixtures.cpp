// SPDX-License-Identifier: GPL-2.0-or-later
#include "RunFixtures.h"

#include "core/FolderListing.h"
#include "core/MediaKinds.h"
#include "core/PageOptions.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool RunScriptUi::calledInOrder(const QStringList &calls) const
{
    qsizetype at = 0;
    for (const QString &call : calls) {
        at = log.indexOf(call, at);
        if (at < 0)
            return false;
        ++at;
    }
    return true;
}

int RunScriptUi::count(const QString &call) const
{
    return int(log.count(call));
}

NameDialogAnswer RunScriptUi::askPageName()
{
    log << QStringLiteral("askPageName");
    if (nameDialog)
        return nameDialog();
    NameDialogAnswer answer;
    answer.counter = m_options.NameIncrement();
    answer.name = m_options.WebNameEdit();
    answer.title = m_options.TitleEdit();
    return answer;
}

void RunScriptUi::showWarningBox(const QString &text)
{
    log << QStringLiteral("showWarningBox");
    warnings << text;
}

bool RunScriptUi::confirmOverwrite(const QString &text, const std::function<QString()> &write)
{
    log << QStringLiteral("confirmOverwrite");
    overwriteTexts << text;
    if (overwriteAnswer == OverwriteAnswer::Cancel)
        return false;
    const QString error = write();
    if (error.isEmpty())
        return true;
    // The dialog stays open showing the error; the user then cancels.
    log << QStringLiteral("overwriteFailed");
    overwriteErrors << error;
    return false;
}

void RunScriptUi::selectFirstFileListRow()
{
    log << QStringLiteral("selectFirstFileListRow");
    if (onSelectFirstRow)
        onSelectFirstRow();
}

void RunScriptUi::progressCreate()
{
    log << QStringLiteral("progressCreate");
    m_progressShown = false;
}

void RunScriptUi::progressClose()
{
    log << QStringLiteral("progressClose");
    m_progressShown = false;
}

void RunScriptUi::progressSetMaximum(int maximum)
{
    log << QStringLiteral("progressSetMaximum:%1").arg(maximum);
}

void RunScriptUi::progressShow()
{
    log << QStringLiteral("progressShow");
    m_progressShown = true;
}

void RunScriptUi::letEventsRun()
{
    log << QStringLiteral("letEventsRun");
    if (onLetEventsRun)
        onLetEventsRun();
}

void RunScriptUi::showMessage(const QString &text)
{
    log << QStringLiteral("showMessage:") + text;
    messages << text;
}

void RunScriptUi::showErrorBox(const QString &text)
{
    log << QStringLiteral("showErrorBox:") + text;
    errorBoxes << text;
}

void RunScriptUi::playSound(const QString &fileName)
{
    log << QStringLiteral("playSound:") + fileName;
    sounds << fileName;
}

bool runWriteJpeg(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
    return image.save(path, "JPEG", 90);
}

bool runWriteGif(const QString &path)
{
    static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                                        0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00, 0xff, 0x21, 0xf9, 0x04,
                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01,
                                        0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
    return runWriteBytes(path, QByteArray(reinterpret_cast<const char *>(gif), sizeof gif));
}

bool runWriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
           file.flush();
}

QByteArray runReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList runFolderNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

bool RunTmpfs::runningAsRoot()
{
    return ::geteuid() == 0;
}

RunTmpfs::RunTmpfs(const QString &folder, const QString &options) : m_folder(folder)
{
    QProcess mount;
    mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                          options, QStringLiteral("tmpfs"), folder});
    m_mounted =
        mount.waitForFinished(20000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
    if (!m_mounted)
        m_error = QString::fromLocal8Bit(mount.readAllStandardError()) + mount.errorString();
}

RunTmpfs::~RunTmpfs()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
}

bool RunTmpfs::remountReadOnly()
{
    return QProcess::execute(QStringLiteral("mount"),
                             {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_folder}) == 0;
}

bool RunTmpfs::fill(const QString &fileName)
{
    const int fd = ::open(QFile::encodeName(JoinFolderFile(m_folder, fileName)).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return errno == ENOSPC;
    const QByteArray chunk(4096, 'x');
    bool full = false;
    for (int i = 0; i < 1 << 20; ++i) {
        if (::write(fd, chunk.constData(), size_t(chunk.size())) != chunk.size()) {
            full = true;
            break;
        }
    }
    // Bytes too few for a page: the last pieces of free space go too.
    for (int i = 0; full && i < 4096; ++i)
        if (::write(fd, "x", 1) != 1)
            break;
    ::close(fd);
    return full;
}
