#include "generator/ConsoleUi.h"

#include "core/MessageText.h"
#include "core/PageOptions.h"

ConsoleUi::ConsoleUi(const PageOptions &options, bool overwrite, std::FILE *out, std::FILE *err)
    : m_options(options), m_overwrite(overwrite), m_out(out), m_err(err)
{
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
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_err);
    std::fflush(m_err);
}

bool ConsoleUi::confirmOverwrite(const QString &text, const std::function<QString()> &write)
{
    if (!m_overwrite) {
        printLine(m_out, text + QStringLiteral(" No."));
        return false;
    }
    printLine(m_out, text + QStringLiteral(" Yes."));
    const QString error = write();
    if (error.isEmpty())
        return true;
    printLine(m_err, error);
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

void ConsoleUi::reportProblem(const QString &text)
{
    printLine(m_err, text);
}

void ConsoleUi::showErrorBox(const QString &text)
{
    printLine(m_err, text);
}

void ConsoleUi::printLine(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = escapeControls(text).toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
