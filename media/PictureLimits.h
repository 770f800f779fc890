// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QtGlobal>

// The largest picture any decoder of ours is asked to decode, as declared width x height: beyond it a
// file is a decompression bomb or a mistake. Measuring from a header has no such limit.
constexpr qint64 MaxPicturePixels = 100'000'000;
