// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailWorkers.h"

#include "generator/ThumbnailFreshness.h"

#include <algorithm>
#include <chrono>

#include <sched.h>

bool ThumbnailWorkers::Job::waitFor(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_ready.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_done; });
}

RenderedThumbnail ThumbnailWorkers::Job::result() const
{
    std::lock_guard lock(m_mutex);
    return m_result;
}

int ThumbnailWorkers::usableCores()
{
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return CPU_COUNT(&set);
    return std::max(1u, std::thread::hardware_concurrency());
}

ThumbnailWorkers::ThumbnailWorkers(int threads)
{
    for (int i = 0; i < std::max(1, threads); ++i)
        m_threads.emplace_back([this] { work(); });
}

ThumbnailWorkers::~ThumbnailWorkers()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

std::shared_ptr<ThumbnailWorkers::Job>
ThumbnailWorkers::submit(const QString &path, const ThumbnailRequest &request, const QString &keptThumbnail)
{
    auto job = std::make_shared<Job>();
    job->m_path = path;
    job->m_keptThumbnail = keptThumbnail;
    job->m_request = request;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(job);
    }
    m_wake.notify_one();
    return job;
}

void ThumbnailWorkers::abandon(const std::shared_ptr<Job> &job)
{
    std::lock_guard lock(m_mutex);
    m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), job), m_queue.end());
}

void ThumbnailWorkers::work()
{
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping)
                return;
            job = m_queue.front();
            m_queue.pop_front();
        }
        RenderedThumbnail result;
        try {
            if (!job->m_keptThumbnail.isEmpty() &&
                thumbnailIsUpToDate(job->m_path, job->m_keptThumbnail, job->m_request))
                result.upToDate = true;
            else
                result = renderThumbnailFile(job->m_path, job->m_request);
        } catch (const std::exception &e) {
            result = {};
            result.error = QString::fromUtf8(e.what());
        }
        {
            std::lock_guard lock(job->m_mutex);
            job->m_result = std::move(result);
            job->m_done = true;
        }
        job->m_ready.notify_all();
    }
}
