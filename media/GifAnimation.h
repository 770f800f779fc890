// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/GifSource.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <vector>

struct GifFileType;

// A GIF animation decoded one frame at a time, as it is shown: each step decompresses the next frame
// and composes it on a canvas (frame order, local and global colour tables, transparency, interlacing
// and the three disposal methods). The canvas is the logical screen scaled down, proportions kept,
// to fit within the limit given (what a window can show), so a huge screen of small frames costs no
// more than that limit, whatever the screen declares. Pixels are picked, not blended, when scaled.
class GifAnimation final
{
public:
    GifAnimation();
    ~GifAnimation();
    GifAnimation(const GifAnimation &) = delete;
    GifAnimation &operator=(const GifAnimation &) = delete;

    // Reads the screen and prepares the canvas; nothing is on it until the first advance().
    bool open(const QByteArray &data, const QSize &canvasLimit, QString *error);

    // Composes the next frame, back to the first after the last; false on damaged data (the canvas
    // may then hold part of that frame). A set cancel flag ends a frame's decoding early, as a failure.
    bool advance(QString *error, const std::atomic_bool *cancel = nullptr);

    // True once the last frame is on the canvas and the file's loop count is spent: advance() then
    // leaves the canvas as it is.
    bool isFinished() const { return m_finished; }

    QSize screenSize() const { return m_screen; }
    QSize canvasSize() const { return m_canvas.size(); }
    const QImage &canvas() const { return m_canvas; } // ARGB32, premultiplied
    int frameIndex() const { return m_frame; }        // of the frame on the canvas, from 0
    int frameCount() const { return m_frameCount; }   // known once a whole pass is done; 0 before
    int delayMs() const { return m_delayMs; }         // how long the frame on the canvas is held
    qint64 heldBytes() const;                         // the memory this object keeps for the pixels

    // The hold of a frame: a delay of 0 or 10 ms is shown for 100 ms, as browsers do, so a file
    // of zero delays cannot keep a processor core busy.
    static int holdMs(int hundredths);

private:
    struct Control {
        int disposal = 0;
        int delay = 0; // hundredths of a second
        int transparent = -1;
    };

    bool rewind(QString *error);
    bool readExtension(Control *control, QString *error);
    void clearCanvas();
    bool drawImage(const Control &control, QString *error, const std::atomic_bool *cancel);
    void disposePrevious();
    QRect canvasRectOf(const QRect &screenRect) const; // the canvas pixels showing those of the screen

    QByteArray m_data;
    GifSource m_source;
    GifFileType *m_gif = nullptr;
    QSize m_screen;
    QImage m_canvas;
    QImage m_saved;   // the canvas under the last frame, when it is to be restored
    QRect m_lastRect; // the last frame's rectangle on the canvas
    int m_lastDisposal = 0;
    std::vector<int> m_screenRowOf;    // for each canvas row, the screen row it shows
    std::vector<int> m_screenColumnOf; // for each canvas column, the screen column it shows
    std::vector<int> m_canvasRowOf;    // for each screen row, the canvas row showing it, or -1
    std::vector<unsigned char> m_line;
    int m_frame = -1;
    int m_frameCount = 0;
    int m_delayMs = 0;
    int m_loops = -1; // from the NETSCAPE2.0 block: 0 for ever; -1 without one (a single pass)
    int m_passes = 0; // passes completed
    bool m_finished = false;
};
