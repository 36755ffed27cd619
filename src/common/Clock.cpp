#include "common/Clock.h"

#include <chrono>
#include <thread>

namespace vorna {

int64_t SteadyClock::NowMicros() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::SleepMicros(int64_t micros) {
    if (micros > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

} // namespace vorna
