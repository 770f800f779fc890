// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/CpuDeadline.h"

#include <ctime>

CpuDeadline::CpuDeadline(long long milliseconds) : m_end(threadMilliseconds() + milliseconds) {}

bool CpuDeadline::passed() const
{
    return threadMilliseconds() > m_end;
}

long long CpuDeadline::threadMilliseconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}
