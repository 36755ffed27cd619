#include "appcore/CTimeQueue.h"

#include <algorithm>

namespace vorna {

void CTimeQueue::Deliver(const TimedRequestEvent& event) {
    // A target that went away after the request was posted must not be reached.
    auto it = m_inFlight.find(event.target);
    if (it == m_inFlight.end())
        return;
    if (--it->second == 0)
        m_inFlight.erase(it);
    event.target->OnTimedRequest(event.first, event.second);
}

int CTimeQueue::Add(TimedRequestTarget* target, double due, int first, int second) {
    if (m_requests.empty() && m_timerId == 0)
        m_timerId = m_timers.StartTimer(kTimerId, kPeriodMs);
    if (m_timerId == 0)
        return 0;
    m_requests.push_back(std::make_unique<CTimeRequest>(CTimeRequest{target, due, first, second}));
    return m_timerId;
}

void CTimeQueue::Process() {
    const double now = static_cast<double>(m_clock.NowMicros());
    for (auto it = m_requests.begin(); it != m_requests.end();) {
        const CTimeRequest& r = **it;
        if (r.due <= now) {
            ++m_inFlight[r.target];
            m_sink.Post(TimedRequestEvent{r.target, r.first, r.second});
            it = m_requests.erase(it);
        } else {
            ++it;
        }
    }
    if (m_requests.empty() && m_timerId != 0) {
        m_timers.StopTimer(kTimerId);
        m_timerId = 0;
    }
}

void CTimeQueue::Forget(const TimedRequestTarget* target) {
    std::erase_if(m_requests, [target](const auto& r) { return r->target == target; });
    m_inFlight.erase(const_cast<TimedRequestTarget*>(target));
}

} // namespace vorna
