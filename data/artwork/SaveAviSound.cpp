// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Wave.h"

namespace
{

// A frame was saved: a camera shutter, a light click as it opens, a short whirr, a firmer clack as
// it closes.
QByteArray saveAviSound()
{
    Wave::Signal signal = Wave::silence(0.32);
    // Opening: a bright tick.
    Wave::addNoiseBurst(signal, 0.0, 0.9, 0.004, 2500, true, 0x5eed01);
    Wave::addPartial(signal, 0.0, 2650, 0.35, 0.008, 0.0005);
    // The blades travel.
    Wave::addNoiseBurst(signal, 0.012, 0.25, 0.03, 900, false, 0x5eed02);
    // Closing: a fuller clack with a little body under it.
    Wave::addNoiseBurst(signal, 0.105, 1.0, 0.009, 1800, true, 0x5eed03);
    Wave::addNoiseBurst(signal, 0.105, 0.6, 0.012, 700, false, 0x5eed04);
    Wave::addPartial(signal, 0.105, 1750, 0.3, 0.012, 0.0005);
    Wave::addPartial(signal, 0.105, 140, 0.35, 0.025, 0.001);
    Wave::addEcho(signal, 0.019, 0.18);
    Wave::finish(signal, 0.8, 0.002);
    return Wave::pcm16(signal);
}

} // namespace

TESSALOOM_ARTWORK("SaveAVI.wav", saveAviSound);
