#pragma once
// A thread that runs posted jobs one after the other, in posting order. The device commands of
// the UI run here, so the UI thread never waits on a device; going away finishes the job in
// hand (jobs watch their own stop flag) and drops the ones not begun.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vorna {

class JobThread {
public:
    JobThread() : m_thread([this] { Loop(); }) {}
    ~JobThread() {
        {
            std::lock_guard<std::mutex> g(m_mutex);
            m_quit = true;
            m_jobs.clear();
        }
        m_cv.notify_all();
        m_thread.join();
    }
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    void Post(std::function<void()> job) {
        {
            std::lock_guard<std::mutex> g(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_cv.notify_all();
    }
    // No job waiting and none running.
    bool Idle() const {
        std::lock_guard<std::mutex> g(m_mutex);
        return m_jobs.empty() && !m_running;
    }

private:
    void Loop() {
        std::unique_lock<std::mutex> l(m_mutex);
        for (;;) {
            m_cv.wait(l, [this] { return m_quit || !m_jobs.empty(); });
            if (m_quit)
                return;
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_running = true;
            l.unlock();
            job();
            l.lock();
            m_running = false;
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_jobs;
    bool m_running = false;
    bool m_quit = false;
    std::thread m_thread; // last: starts once everything above exists
};

} // namespace vorna
