#pragma once
// Zoom-button repeats on a single-shot Qt timer, for places without the program's timed request
// queue (tests, tools). Repeats die with the scheduler.

#include <QObject>

#include "display/PlotListener.h"

namespace vorna {

class QtRepeatScheduler : public QObject, public RepeatScheduler {
public:
    explicit QtRepeatScheduler(QObject* parent = nullptr) : QObject(parent) {}
    void ScheduleRepeat(long long microseconds, std::function<void()> action) override;
};

} // namespace vorna
