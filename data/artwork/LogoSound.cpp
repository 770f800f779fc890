// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Wave.h"

namespace
{

// A bell: a few partials, the higher ones dying sooner, one slightly out of tune for shimmer.
void addBell(Wave::Signal &signal, double at, double frequency, double amplitude)
{
    Wave::addPartial(signal, at, frequency, amplitude, 0.55);
    Wave::addPartial(signal, at, frequency * 2.0, amplitude * 0.30, 0.25);
    Wave::addPartial(signal, at, frequency * 3.01, amplitude * 0.12, 0.14);
    Wave::addPartial(signal, at, frequency * 4.2, amplitude * 0.05, 0.07);
}

// The chime of the splash and About windows: a rising C major arpeggio over a soft low C.
QByteArray logoSound()
{
    Wave::Signal signal = Wave::silence(1.9);
    const double notes[] = {783.99, 1046.50, 1318.51, 1567.98}; // G5 C6 E6 G6
    for (int i = 0; i < 4; ++i)
        addBell(signal, 0.02 + i * 0.11, notes[i], 0.8 - i * 0.1);
    Wave::addPartial(signal, 0.0, 261.63, 0.18, 0.7, 0.06);
    Wave::addPartial(signal, 0.0, 523.25, 0.14, 0.8, 0.08);
    Wave::addEcho(signal, 0.073, 0.22);
    Wave::addEcho(signal, 0.109, 0.15);
    Wave::finish(signal, 0.72, 0.02);
    return Wave::pcm16(signal);
}

} // namespace

TESSALOOM_ARTWORK("logo.wav", logoSound);
