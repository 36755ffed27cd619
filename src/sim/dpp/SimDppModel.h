#pragma once
// The DPP families the simulator models, with the identity each answers in its status.

#include <cstdint>
#include <string>

namespace vorna {

enum class SimDppModel { Heron, Plover, HeronEmulation, Osprey };

struct SimDppIdentity {
    uint8_t firmwareByte;
    uint8_t fpgaByte;
    bool ploverClass; // status byte 23 bit 7
    int deviceType;   // what the program should identify
    const char* name;
};

SimDppIdentity IdentityOf(SimDppModel model);

} // namespace vorna
