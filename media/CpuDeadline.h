// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// A limit on the CPU time the calling thread spends from now on. Time spent waiting for a busy
// machine does not count, so a decode is cut short for its own cost only, never for the machine's load.
class CpuDeadline final
{
public:
    explicit CpuDeadline(long long milliseconds);

    bool passed() const;

    // The CPU time the calling thread has used since it started.
    static long long threadMilliseconds();

private:
    long long m_end;
};
