#include "DppWorld.h"

#include <algorithm>

#include "dpp/DppDefaultConfiguration.h"

namespace vorna::test {

DppWorld::DppWorld()
    : controller(DppControllerPorts{link, device, profile, live, window, prompt, clock},
                 DppControllerSettings{dir.path(), "Quorix", ""}) {}

void DppWorld::WriteDefaultConfiguration(DppConfigRecord record, int deviceType) {
    DppDevice source;
    source.config = record;
    SaveDefaultConfiguration(source, dir.path(), deviceType);
}

void DppWorld::RunDataTimer(int ticks) {
    for (int i = 0; i < ticks && window.timerRunning; ++i) {
        clock.SleepMillis(window.intervalMs);
        controller.OnDataTimer();
    }
}

bool DppWorld::Has(const std::vector<std::string>& texts, const std::string& text) const {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace vorna::test
