// SPDX-License-Identifier: GPL-2.0-or-later
#include "WndToneWav.h"

#include <QtEndian>

#include <cmath>

QByteArray wndToneWav(double seconds, double frequency, int rate)
{
    const int frames = int(std::lround(seconds * rate));
    QByteArray out;
    auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("RIFF", 4);
    put32(36 + frames * 2);
    out.append("WAVEfmt ", 8);
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    out.append("data", 4);
    put32(frames * 2);
    for (int i = 0; i < frames; ++i)
        put16(quint16(qint16(std::lround(12000 * std::sin(2 * M_PI * frequency * i / rate)))));
    return out;
}
