#pragma once
// Timed requests of the user-interface thread: each request is delivered once its due time on
// the precision clock has passed, checked by main-window timer 1030 every 200 ms. It drives the
// auto-repeat of the navigation pane's zoom buttons.

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "common/Clock.h"
#include "common/MainWindowSink.h"

namespace vorna {

// Who receives a due request (a repeat button).
class TimedRequestTarget {
public:
    virtual ~TimedRequestTarget() = default;
    virtual void OnTimedRequest(int firstParameter, int secondParameter) = 0;
};

// The main window's numbered timers.
class WindowTimers {
public:
    virtual ~WindowTimers() = default;
    // The timer id, or 0 when no timer could be started.
    virtual int StartTimer(int id, int periodMs) = 0;
    virtual void StopTimer(int id) = 0;
};

struct CTimeRequest {
    TimedRequestTarget* target = nullptr;
    double due = 0; // microseconds on the precision clock
    int first = 0;
    int second = 0;
};

class CTimeQueue {
public:
    static constexpr int kTimerId = 1030;
    static constexpr int kPeriodMs = 200;

    CTimeQueue(const Clock& clock, WindowTimers& timers, MainWindowSink& sink)
        : m_clock(clock), m_timers(timers), m_sink(sink) {}

    // Returns the timer id; 0 when no timer runs, and then the request is dropped.
    int Add(TimedRequestTarget* target, double due, int first, int second);
    // Timer 1030: posts every due request (0x406 with the first parameter and the target) and
    // stops the timer once the queue is empty.
    void Process();
    // A target about to go away: its pending requests are dropped.
    void Forget(const TimedRequestTarget* target);

    int TimerId() const { return m_timerId; }
    int Pending() const { return static_cast<int>(m_requests.size()); }
    const Clock& GetClock() const { return m_clock; }

    // The main window hands a posted 0x406 back on its own thread; requests of a target that
    // was forgotten meanwhile are dropped.
    void Deliver(const TimedRequestEvent& event);

private:
    const Clock& m_clock;
    WindowTimers& m_timers;
    MainWindowSink& m_sink;
    std::vector<std::unique_ptr<CTimeRequest>> m_requests;
    std::map<TimedRequestTarget*, int> m_inFlight; // posted, not yet delivered
    int m_timerId = 0;
};

} // namespace vorna
