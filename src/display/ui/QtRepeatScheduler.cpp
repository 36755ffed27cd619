#include "display/ui/QtRepeatScheduler.h"

#include <QTimer>

namespace vorna {

void QtRepeatScheduler::ScheduleRepeat(long long microseconds, std::function<void()> action) {
    QTimer::singleShot(static_cast<int>(microseconds / 1000), this, std::move(action));
}

} // namespace vorna
