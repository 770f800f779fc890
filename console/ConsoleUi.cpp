// SPDX-License-Identifier: GPL-2.0-or-later
#include "console/ConsoleUi.h"

#include "core/MessageText.h"
#include "core/PageOptions.h"

ConsoleUi::ConsoleUi(const PageOptions &options, bool overwrite, std::FILE *out, std::FILE *err,
                     const ConsoleSettings &settings)
    : m_options(options), m_overwrite(overwrite), m_out(out), m_err(err),
      m_errorPrefix(settings.programName.isEmpty() ? QString() : settings.programName + QStringLiteral(": "))
{
    if (settings.progressLine)
        m_progress = std::make_unique<ConsoleProgress>(err);
}

ConsoleUi::~ConsoleUi()
{
    if (m_progress)
        m_progress->finish();
}

NameDialogAnswer ConsoleUi::askPageName()
{
    // No dialog on a console: the page is named as the options say.
    NameDialogAnswer answer;
    answer.counter = m_options.NameIncrement();
    answer.name = m_options.WebNameEdit();
    answer.title = m_options.TitleEdit();
    return answer;
}

void ConsoleUi::showWarningBox(const QString &text)
{
    // The warnings are the program's own fixed texts, some of two lines; they name no file.
    writeLine(m_err, m_errorPrefix + text);
}

bool ConsoleUi::confirmOverwrite(const QString &text, const std::function<QString()> &write)
{
    if (!m_overwrite) {
        printError(text + QStringLiteral(" No. Give --overwrite to replace it."));
        return false;
    }
    printLine(m_out, text + QStringLiteral(" Yes."));
    const QString error = write();
    if (error.isEmpty())
        return true;
    printError(error);
    return false;
}

void ConsoleUi::selectFirstFileListRow()
{
    if (m_selectFirstRow)
        m_selectFirstRow();
}

void ConsoleUi::showMessage(const QString &text)
{
    printLine(m_out, text);
}

void ConsoleUi::showStop(const QString &text)
{
    printError(text);
}

void ConsoleUi::reportProblem(const QString &text)
{
    printError(text);
}

void ConsoleUi::showErrorBox(const QString &text)
{
    printError(text);
}

void ConsoleUi::progressCreate()
{
    m_progressShown = false;
    if (m_progress)
        m_progress->start();
}

void ConsoleUi::progressClose()
{
    m_progressShown = false;
    if (m_progress)
        m_progress->finish();
}

void ConsoleUi::progressSetMaximum(int maximum)
{
    if (m_progress)
        m_progress->setTotal(maximum);
}

void ConsoleUi::progressStep()
{
    if (m_progress)
        m_progress->step();
}

void ConsoleUi::printError(const QString &text)
{
    printLine(m_err, m_errorPrefix + text);
}

void ConsoleUi::printLine(std::FILE *stream, const QString &text)
{
    writeLine(stream, escapeControls(text));
}

void ConsoleUi::writeLine(std::FILE *stream, const QString &text)
{
    if (m_progress)
        m_progress->clear();
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
    if (m_progress)
        m_progress->redraw();
}
