// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// "12 of 340 pictures (3%), about 1 min 05 s left": the time left is what the pictures done so far
// took, spread over the rest; none before the first picture and none at the end.
QString progressLineText(int done, int total, qint64 elapsedMs);

// The one-line progress display of a console run on a terminal: redrawn in place with a carriage
// return, at most a few times a second and always at the last step, ended by one newline.
class ConsoleProgress
{
public:
    explicit ConsoleProgress(std::FILE *terminal) : m_terminal(terminal) {}

    void start(); // a fresh count at 0, nothing drawn yet
    void setTotal(int total) { m_total = total; }
    void step();
    void finish(); // ends the line drawn, if any

    // Another line is about to be written to the terminal: the display steps aside, then comes back.
    void clear();
    void redraw();

private:
    void draw();

    std::FILE *m_terminal;
    QElapsedTimer m_clock;
    qint64 m_lastDrawMs = 0;
    int m_total = 0;
    int m_done = 0;
    qsizetype m_shownWidth = 0; // characters on the terminal's line now; 0: nothing drawn
};
