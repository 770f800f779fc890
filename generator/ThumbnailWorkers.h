// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "generator/HeapRetention.h"
#include "generator/ThumbnailRender.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A few threads that render thumbnails into memory. They never touch the folder's files except to read
// the picture: writing, messages and progress stay with the caller, in list order.
class ThumbnailWorkers final
{
public:
    class Job
    {
    public:
        // True once the result is there; waits at most timeoutMs.
        bool waitFor(int timeoutMs);
        RenderedThumbnail result() const; // only after waitFor returned true

    private:
        friend class ThumbnailWorkers;
        QString m_path;
        QString m_keptThumbnail; // when not empty: made only unless this file is up to date
        ThumbnailRequest m_request;
        mutable std::mutex m_mutex;
        std::condition_variable m_ready;
        bool m_done = false;
        RenderedThumbnail m_result;
    };

    explicit ThumbnailWorkers(int threads = usableCores());
    ~ThumbnailWorkers(); // drops jobs not started, waits for the running ones
    ThumbnailWorkers(const ThumbnailWorkers &) = delete;
    ThumbnailWorkers &operator=(const ThumbnailWorkers &) = delete;

    // keptThumbnail, when given, is the thumbnail an earlier run left: when it is still up to date (see
    // thumbnailIsUpToDate) the job's result says so instead of holding a new one.
    std::shared_ptr<Job> submit(const QString &path, const ThumbnailRequest &request,
                                const QString &keptThumbnail = {});
    // Takes a job that is no longer wanted out of the queue, unless a worker has started it.
    void abandon(const std::shared_ptr<Job> &job);
    int threadCount() const { return int(m_threads.size()); }

    // The cores this process may run on (taskset counts).
    static int usableCores();

private:
    void work();

    HeapRetention m_heap; // first in, last out: spans every picture the threads handle
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<Job>> m_queue;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};
