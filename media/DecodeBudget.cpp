// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/DecodeBudget.h"

#include <algorithm>

DecodeBudget &DecodeBudget::shared()
{
    static DecodeBudget budget(1LL << 30);
    return budget;
}

qint64 DecodeBudget::acquire(qint64 bytes)
{
    const qint64 wanted = std::clamp<qint64>(bytes, 0, m_total);
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [&] { return m_used + wanted <= m_total; });
    m_used += wanted;
    m_peak = std::max(m_peak, m_used);
    return wanted;
}

void DecodeBudget::release(qint64 reserved)
{
    {
        std::lock_guard lock(m_mutex);
        m_used -= reserved;
    }
    m_room.notify_all();
}

qint64 DecodeBudget::inUse() const
{
    std::lock_guard lock(m_mutex);
    return m_used;
}

qint64 DecodeBudget::peak() const
{
    std::lock_guard lock(m_mutex);
    return m_peak;
}
