#include "appcore/CTimeQueue.h"

#include <algorithm>

namespace vorna {

static_assert(sizeof(intptr_t) >= 8, "0x406 packs two ints into its first word");

intptr_t CTimeQueue::PackParameters(int first, int second) {
    const uint64_t packed =
        (static_cast<uint64_t>(static_cast<uint32_t>(second)) << 32) | static_cast<uint32_t>(first);
    return static_cast<intptr_t>(packed);
}

void CTimeQueue::Deliver(intptr_t wparam, intptr_t lparam) {
    auto* target = reinterpret_cast<TimedRequestTarget*>(lparam);
    if (!target)
        return;
    const auto packed = static_cast<uint64_t>(wparam);
    target->OnTimedRequest(static_cast<int>(static_cast<uint32_t>(packed)),
                           static_cast<int>(static_cast<uint32_t>(packed >> 32)));
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
            m_sink.Post(MainMessage::TimedRequest, PackParameters(r.first, r.second),
                        reinterpret_cast<intptr_t>(r.target));
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
}

} // namespace vorna
