#pragma once
// The program's precision timer as a port: the steady clock in the program, a virtual clock in
// tests so that device waits and simulated acquisitions run without real time passing.

#include <atomic>
#include <cstdint>

namespace vorna {

class Clock {
public:
    virtual ~Clock() = default;
    // Microseconds on a monotonic scale; only differences mean anything.
    virtual int64_t NowMicros() const = 0;
    // Returns no earlier than `micros` later (device settle times, protocol delays).
    virtual void SleepMicros(int64_t micros) = 0;
    // Milliseconds on the same scale, wrapping at 2^32 like a tick counter.
    uint32_t TickCountMs() const { return static_cast<uint32_t>(NowMicros() / 1000); }
    void SleepMillis(int64_t millis) { SleepMicros(millis * 1000); }
};

// Real time: std::chrono::steady_clock and std::this_thread::sleep_for.
class SteadyClock : public Clock {
public:
    int64_t NowMicros() const override;
    void SleepMicros(int64_t micros) override;
};

// Time that moves only when told: a sleep advances it by the slept amount, tests advance it by
// hand. Safe to read and advance from several threads.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(int64_t startMicros = 0) : m_now(startMicros) {}
    int64_t NowMicros() const override { return m_now.load(std::memory_order_acquire); }
    void SleepMicros(int64_t micros) override { Advance(micros); }
    void Advance(int64_t micros) {
        if (micros > 0)
            m_now.fetch_add(micros, std::memory_order_acq_rel);
    }

private:
    std::atomic<int64_t> m_now;
};

} // namespace vorna
