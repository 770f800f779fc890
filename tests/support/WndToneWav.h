// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>

// A 16-bit mono PCM WAV file holding a sine tone, for tests that play sounds.
QByteArray wndToneWav(double seconds, double frequency = 440.0, int rate = 22050);
