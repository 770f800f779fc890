// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Wave.h"

#include <algorithm>
#include <cmath>

namespace
{

// A held tone with a reedy timbre (odd harmonics, as a soft square wave) and short ramps.
void addBuzz(Wave::Signal &signal, double at, double seconds, double frequency)
{
    const double pi = 3.14159265358979323846;
    const size_t start = size_t(std::lround(at * Wave::Rate));
    const size_t length = size_t(std::lround(seconds * Wave::Rate));
    for (size_t i = 0; i < length && start + i < signal.size(); ++i) {
        const double t = double(i) / Wave::Rate;
        const double ramp = std::min({1.0, t / 0.006, (seconds - t) / 0.025});
        double v = 0;
        for (int harmonic = 1; harmonic <= 9; harmonic += 2)
            v += std::sin(2 * pi * frequency * harmonic * t) / harmonic;
        const double growl = 1 - 0.25 * (0.5 + 0.5 * std::sin(2 * pi * 28 * t)); // a low rattle
        signal[start + i] += ramp * growl * v;
    }
}

// Something went wrong: two short tones falling a fifth.
QByteArray errorSound()
{
    Wave::Signal signal = Wave::silence(0.52);
    addBuzz(signal, 0.0, 0.17, 466.16);  // B flat 4
    addBuzz(signal, 0.21, 0.26, 311.13); // E flat 4
    Wave::addEcho(signal, 0.041, 0.12);
    Wave::finish(signal, 0.6);
    return Wave::pcm16(signal);
}

} // namespace

TESSALOOM_ARTWORK("error.wav", errorSound);
