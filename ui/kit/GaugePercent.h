// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The share of a progress bar that is done, as the bar writes it: a whole percentage, truncated
// (3 of 7 files is 42%), between 0 and 100.
namespace GaugePercent
{

int percent(int value, int minimum, int maximum);
QString text(int value, int minimum, int maximum); // "42%"

} // namespace GaugePercent
