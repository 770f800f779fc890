// SPDX-License-Identifier: GPL-2.0-or-later
#include "Wave.h"

#include "LittleEndian.h"

#include <algorithm>
#include <cmath>

namespace Wave
{

namespace
{

constexpr double Pi = 3.14159265358979323846;

double envelope(double t, double attack, double decay)
{
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-t / decay);
}

} // namespace

Signal silence(double seconds)
{
    return Signal(size_t(std::lround(seconds * Rate)), 0.0);
}

void addPartial(Signal &signal, double at, double frequency, double amplitude, double decay, double attack)
{
    const size_t start = size_t(std::lround(at * Rate));
    for (size_t i = start; i < signal.size(); ++i) {
        const double t = double(i - start) / Rate;
        signal[i] += amplitude * envelope(t, attack, decay) * std::sin(2 * Pi * frequency * t);
    }
}

void addNoiseBurst(Signal &signal, double at, double amplitude, double decay, double cutoff, bool highPass,
                   uint32_t seed)
{
    const size_t start = size_t(std::lround(at * Rate));
    const double a = 1 - std::exp(-2 * Pi * cutoff / Rate);
    double low = 0;
    uint32_t state = seed | 1;
    for (size_t i = start; i < signal.size(); ++i) {
        const double t = double(i - start) / Rate;
        if (t > decay * 12)
            break;
        state ^= state << 13; // xorshift32: the same noise on every run
        state ^= state >> 17;
        state ^= state << 5;
        const double white = double(state) / 2147483648.0 - 1.0;
        low += a * (white - low);
        const double shaped = highPass ? white - low : low;
        signal[i] += amplitude * envelope(t, 0.0005, decay) * shaped;
    }
}

void addEcho(Signal &signal, double delay, double gain)
{
    const size_t lag = size_t(std::lround(delay * Rate));
    for (size_t i = lag; i < signal.size(); ++i)
        signal[i] += gain * signal[i - lag];
}

void finish(Signal &signal, double peak, double fadeSeconds)
{
    double loudest = 0;
    for (double v : signal)
        loudest = std::max(loudest, std::abs(v));
    const double scale = loudest > 0 ? peak / loudest : 0;
    const size_t fade = std::min(signal.size() / 2, size_t(std::lround(fadeSeconds * Rate)));
    for (size_t i = 0; i < signal.size(); ++i) {
        double gain = scale;
        if (i < fade)
            gain *= double(i) / fade;
        if (signal.size() - 1 - i < fade)
            gain *= double(signal.size() - 1 - i) / fade;
        signal[i] *= gain;
    }
}

QByteArray pcm16(const Signal &signal)
{
    const uint32_t dataBytes = uint32_t(signal.size() * 2);
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    appendLE32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    appendLE32(out, 16);       // format chunk size
    appendLE16(out, 1);        // PCM
    appendLE16(out, 1);        // mono
    appendLE32(out, Rate);     // samples a second
    appendLE32(out, Rate * 2); // bytes a second
    appendLE16(out, 2);        // bytes a frame
    appendLE16(out, 16);       // bits a sample
    out.append("data", 4);
    appendLE32(out, dataBytes);
    for (double v : signal) {
        const long sample = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        appendLE16(out, uint16_t(int16_t(sample)));
    }
    return out;
}

} // namespace Wave
