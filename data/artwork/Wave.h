// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// Synthesised sounds: a mono signal in floating point, written as a 16-bit PCM WAV file.
namespace Wave
{

inline constexpr int Rate = 44100;

using Signal = std::vector<double>;

Signal silence(double seconds);

// Adds a decaying sine partial starting at `at` seconds: amplitude * e^(-t/decay), with a short
// attack so it starts without a click.
void addPartial(Signal &signal, double at, double frequency, double amplitude, double decay,
                double attack = 0.004);

// Adds noise shaped by a one-pole filter (cutoff in Hz; highPass keeps what lies above it),
// decaying like addPartial. The noise is the same on every run.
void addNoiseBurst(Signal &signal, double at, double amplitude, double decay, double cutoff, bool highPass,
                   uint32_t seed);

// Feeds the signal back into itself after `delay` seconds, a small room around it.
void addEcho(Signal &signal, double delay, double gain);

// Scales the signal to the peak, fading the first and last milliseconds so it starts and ends at 0.
void finish(Signal &signal, double peak, double fadeSeconds = 0.004);

// The RIFF/WAVE file: PCM, 16 bits, mono, Rate.
QByteArray pcm16(const Signal &signal);

} // namespace Wave
