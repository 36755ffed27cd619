#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "appcore/CTimeQueue.h"

using namespace vorna;

namespace {

struct FakeTimers : WindowTimers {
    std::map<int, int> running;
    bool refuse = false;
    int StartTimer(int id, int period) override {
        if (refuse)
            return 0;
        running[id] = period;
        return id;
    }
    void StopTimer(int id) override { running.erase(id); }
};

struct Posted {
    MainMessage message;
    TimedRequestEvent event;
};

struct FakeSink : MainWindowSink {
    using MainWindowSink::Post;
    std::vector<Posted> posted;
    void Post(MainEvent e) override {
        posted.push_back(
            {static_cast<MainMessage>(MessageNumber(e)), std::get<TimedRequestEvent>(e)});
    }
};

struct Button : TimedRequestTarget {
    std::vector<std::pair<int, int>> got;
    void OnTimedRequest(int a, int b) override { got.emplace_back(a, b); }
};

} // namespace

TEST(CTimeQueue, TimerRunsWhileRequestsWaitAndDeliversOnlyDueOnes) {
    VirtualClock clock(1000);
    FakeTimers timers;
    FakeSink sink;
    CTimeQueue queue(clock, timers, sink);
    Button button;

    EXPECT_EQ(queue.Add(&button, 1000 + 200000, 7, -3), 1030);
    EXPECT_EQ(timers.running.at(1030), 200);
    queue.Add(&button, 1000 + 400000, 8, 0);

    clock.Advance(200000);
    queue.Process();
    ASSERT_EQ(sink.posted.size(), 1u);
    EXPECT_EQ(sink.posted[0].message, MainMessage::TimedRequest);
    EXPECT_TRUE(timers.running.count(1030)) << "one request still waits";

    queue.Deliver(sink.posted[0].event);
    ASSERT_EQ(button.got.size(), 1u);
    EXPECT_EQ(button.got[0], std::make_pair(7, -3));

    clock.Advance(200000);
    queue.Process();
    EXPECT_EQ(sink.posted.size(), 2u);
    EXPECT_FALSE(timers.running.count(1030)) << "empty queue stops timer 1030";
    EXPECT_EQ(queue.TimerId(), 0);
}

TEST(CTimeQueue, RequestIsDroppedWhenNoTimerCanStartAndForgottenTargetsGetNothing) {
    VirtualClock clock;
    FakeTimers timers;
    FakeSink sink;
    CTimeQueue queue(clock, timers, sink);
    Button a, b;
    timers.refuse = true;
    EXPECT_EQ(queue.Add(&a, 0, 1, 1), 0);
    EXPECT_EQ(queue.Pending(), 0);
    timers.refuse = false;
    queue.Add(&a, 0, 1, 1);
    queue.Add(&b, 0, 2, 2);
    queue.Forget(&a);
    queue.Process();
    ASSERT_EQ(sink.posted.size(), 1u);
    EXPECT_EQ(sink.posted[0].event.target, &b);

    // Posted but not yet delivered when its button went away: never reaches it.
    queue.Add(&a, 0, 3, 3);
    queue.Process();
    ASSERT_EQ(sink.posted.size(), 2u);
    queue.Forget(&a);
    queue.Deliver(sink.posted[1].event);
    queue.Deliver(sink.posted[0].event);
    EXPECT_TRUE(a.got.empty());
    EXPECT_EQ(b.got.size(), 1u);
}
