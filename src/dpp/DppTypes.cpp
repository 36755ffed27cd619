#include "dpp/DppTypes.h"

#include "common/NumberText.h"

namespace vorna {

std::string DppDeviceTypeName(int deviceType) {
    switch (deviceType) {
    case 1:
        return "Heron";
    case 2:
        return "Plover";
    case 3:
        return "HERONEMUL";
    case 4:
        return "Osprey";
    default:
        return {};
    }
}

std::string DppVersionText(uint8_t versionByte) {
    return Format("%d.%02d", versionByte >> 4, versionByte & 0x0F);
}

double DppVersionValue(uint8_t versionByte) {
    // Through the text, so 0x4E gives exactly the double that "4.14" reads as.
    return ScanDouble(DppVersionText(versionByte)).value_or(0.0);
}

} // namespace vorna
