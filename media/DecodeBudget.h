// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

// Memory that decoders running at once may use between them. A decoder reserves what its picture needs
// before it starts and waits for room rather than failing; a need larger than the whole budget is
// capped to the budget (the decoder's own memory limit then applies), so it waits until it runs alone.
class DecodeBudget final
{
public:
    explicit DecodeBudget(qint64 totalBytes) : m_total(totalBytes) {}

    // The one budget that every thumbnail decoder of the process shares.
    static DecodeBudget &shared();

    // Waits until bytes (capped to the total) fit, reserves them and returns the amount reserved.
    qint64 acquire(qint64 bytes);
    void release(qint64 reserved);

    qint64 total() const { return m_total; }
    qint64 inUse() const;
    qint64 peak() const; // the most ever reserved at once

private:
    const qint64 m_total;
    mutable std::mutex m_mutex;
    std::condition_variable m_room;
    qint64 m_used = 0;
    qint64 m_peak = 0;
};
