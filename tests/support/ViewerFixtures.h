// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// Media for the viewer's tests, written by our own code: GIFs through giflib, bitmaps byte by byte,
// icons through Qt's writer, a MIDI tune by hand and an MP3 through ffmpeg.
namespace ViewerFixtures
{

// An animated GIF with a global colour table of `colours` entries (2 to 256, a power of two) and
// `frames` frames of the whole screen, each a different colour; pixel (0, 0) of the first frame is
// transparent when transparentCorner is set.
QByteArray gif(int width, int height, int colours, int frames, bool transparentCorner = false);
// One frame of gifOf: its rectangle on the screen, its colour indices row by row (a single index fills
// the rectangle), its delay in hundredths of a second, its disposal method, its transparent index
// (-1: none) and whether it is stored interlaced.
struct GifFrame {
    QRect rect;
    QByteArray indices;
    int delay = 5;
    int disposal = 0;
    int transparent = -1;
    bool interlaced = false;
};
// A GIF89a of the given screen, global colour table (2 to 256 entries, padded to a power of two with
// black) and frames; loops as in the NETSCAPE2.0 block (0: for ever), or -1 for no such block.
QByteArray gifOf(const QSize &screen, const QList<QRgb> &colours, const QList<GifFrame> &frames,
                 int loops = 0);
// A GIF header and screen descriptor alone, claiming the given screen.
QByteArray gifScreenOnly(int width, int height);

// A bitmap of the given depth: 1, 4, 8 (palettes), 15 (16-bit 5-5-5), 16 (5-6-5 bit fields), 24 or 32.
// The picture is a horizontal ramp over the palette or the colour range.
QByteArray bmp(int width, int height, int depth);

// A Windows icon holding the picture (32-bit with alpha).
QByteArray ico(const QImage &picture);

// Metafiles of a width x height picture: a white ground, a blue rectangle over the left half and a
// red ellipse (EMF) or rectangle (WMF) in the right half; the WMF with a placeable header at 96 units
// an inch.
QByteArray emf(int width, int height);
QByteArray wmf(int width, int height);

// A format 0 MIDI file: C, E, G, C at 120 beats a minute, two seconds.
QByteArray midiTune();

// An MP3 of a tone, made by ffmpeg from a WAV; empty when ffmpeg is missing or fails.
QByteArray mp3Tone(double seconds);

} // namespace ViewerFixtures
