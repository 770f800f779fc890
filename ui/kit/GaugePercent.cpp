// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/GaugePercent.h"

#include <algorithm>

namespace GaugePercent
{

int percent(int value, int minimum, int maximum)
{
    if (maximum <= minimum)
        return 0; // nothing to do: nothing done
    const qint64 done = std::clamp<qint64>(qint64(value) - minimum, 0, qint64(maximum) - minimum);
    return int(done * 100 / (qint64(maximum) - minimum));
}

QString text(int value, int minimum, int maximum)
{
    return QString::number(percent(value, minimum, maximum)) + u'%';
}

} // namespace GaugePercent
