// SPDX-License-Identifier: GPL-2.0-or-later
#include "console/ConsoleProgress.h"

namespace
{

constexpr qint64 kRedrawMs = 200;

QString durationText(qint64 ms)
{
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    if (seconds < 3600)
        return QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1 h %2 min")
        .arg(seconds / 3600)
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString progressLineText(int done, int total, qint64 elapsedMs)
{
    const int percent = total > 0 ? int(qint64(done) * 100 / total) : 100;
    QString text = QStringLiteral("%1 of %2 pictures (%3%)").arg(done).arg(total).arg(percent);
    if (done > 0 && done < total)
        text += QStringLiteral(", about %1 left").arg(durationText(elapsedMs * (total - done) / done));
    return text;
}

void ConsoleProgress::start()
{
    finish();
    m_clock.start();
    m_lastDrawMs = 0;
    m_total = 0;
    m_done = 0;
}

void ConsoleProgress::step()
{
    ++m_done;
    const qint64 now = m_clock.elapsed();
    if (m_shownWidth == 0 || now - m_lastDrawMs >= kRedrawMs || m_done >= m_total) {
        m_lastDrawMs = now;
        draw();
    }
}

void ConsoleProgress::finish()
{
    if (m_shownWidth == 0)
        return;
    std::fputc('\n', m_terminal);
    std::fflush(m_terminal);
    m_shownWidth = 0;
}

void ConsoleProgress::clear()
{
    if (m_shownWidth == 0)
        return;
    std::fprintf(m_terminal, "\r%*s\r", int(m_shownWidth), "");
    std::fflush(m_terminal);
}

void ConsoleProgress::redraw()
{
    if (m_shownWidth > 0)
        draw();
}

void ConsoleProgress::draw()
{
    const QString text = progressLineText(m_done, m_total, m_clock.elapsed());
    if (text.size() < m_shownWidth)
        clear(); // what a longer line drawn before leaves
    const QByteArray line = '\r' + text.toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), m_terminal);
    std::fflush(m_terminal);
    m_shownWidth = text.size();
}
