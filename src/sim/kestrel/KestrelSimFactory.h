#pragma once
// Choosing the simulated analyzer from the VORNA_SIMULATE setting: "kestrel", "kestrela" and
// "kestrela-usb" put that model behind every serial port the program opens. Other names belong to
// other device families and are ignored here.

#include <memory>
#include <optional>

#include "common/Clock.h"
#include "sim/SimulateSetting.h"
#include "sim/kestrel/KestrelSimOptions.h"
#include "sim/kestrel/KestrelSimulator.h"

namespace vorna {

// The first Kestrel name of the setting, if any.
std::optional<KestrelSimModel> KestrelSimModelFrom(const SimulateSetting& setting);

// A simulator of the chosen model paced by `clock`, or nullptr when the setting names none; the
// program then opens real ports. `options` supplies everything but the model and the faults,
// which come from the setting.
std::unique_ptr<KestrelSimulator> MakeKestrelSimulator(const SimulateSetting& setting, Clock& clock,
                                                       KestrelSimOptions options = {});

} // namespace vorna
