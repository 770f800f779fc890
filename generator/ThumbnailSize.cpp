// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailSize.h"

#include <algorithm>
#include <cmath>

namespace
{

int atLeastOne(qint64 value)
{
    return int(std::clamp<qint64>(value, 1, 65535));
}

int proportional(int given, int mine, int other)
{
    return other > 0 ? atLeastOne(std::llround(double(given) * mine / other)) : 1;
}

} // namespace

QSize thumbnailSize(QSize displayed, const ThumbnailRequest &r)
{
    const int w = displayed.width();
    const int h = displayed.height();
    if (r.widthEdit > 0 && r.heightEdit > 0)
        return {atLeastOne(r.widthEdit), atLeastOne(r.heightEdit)};
    if (r.widthEdit > 0)
        return {atLeastOne(r.widthEdit), proportional(r.widthEdit, h, w)};
    if (r.heightEdit > 0)
        return {proportional(r.heightEdit, w, h), atLeastOne(r.heightEdit)};
    const int divisor = r.percentDivisor > 0 ? r.percentDivisor : 2; // the run's own fallback: 50 %
    return {atLeastOne(w / divisor), atLeastOne(h / divisor)};
}
