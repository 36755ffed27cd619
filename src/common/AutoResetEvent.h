#pragma once
// An event that wakes one waiter and resets itself, with a timed wait: how the workers sleep
// until they are signalled or their interval has passed.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vorna {

class AutoResetEvent {
public:
    void Set() {
        {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_signalled = true;
        }
        m_cv.notify_one();
    }
    void Reset() {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_signalled = false;
    }
    // Waits until set or until `timeoutMs` has passed (0 waits without limit); true when set.
    // The event is reset either way.
    bool Wait(int timeoutMs = 0) {
        std::unique_lock<std::mutex> lock(m_mutex);
        bool set = true;
        if (timeoutMs <= 0)
            m_cv.wait(lock, [this] { return m_signalled; });
        else
            set = m_cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [this] { return m_signalled; });
        m_signalled = false;
        return set;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled = false;
};

} // namespace vorna
