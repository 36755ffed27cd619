#include "sim/dpp/SimDppModel.h"

namespace vorna {

SimDppIdentity IdentityOf(SimDppModel model) {
    // Firmware and FPGA versions of current units: both above 4.00, FPGA new enough for the
    // scope pipe, Osprey firmware new enough to report its bias polarity.
    switch (model) {
    case SimDppModel::Heron:
        return {0x4E, 0x41, false, 1, "Heron"};
    case SimDppModel::Plover:
        return {0x4F, 0x42, true, 2, "Plover"};
    case SimDppModel::HeronEmulation:
        return {0x52, 0x43, false, 3, "HERONEMUL"};
    case SimDppModel::Osprey:
        return {0x55, 0x44, true, 4, "Osprey"};
    }
    return {0, 0, false, 0, ""};
}

} // namespace vorna
