#include "dpp/DppTestUnit.h"

#include "common/NumberText.h"
#include "common/IniFile.h"
#include "common/UserPrompt.h"
#include "dpp/DppTypes.h"
#include "dpp/DppUsbLink.h"

namespace vorna {
namespace {

constexpr size_t kIniValueLimit = 255;
constexpr size_t kLabelLimit = 40;

std::string Limited(std::string text, size_t limit) {
    if (text.size() > limit)
        text.resize(limit);
    return text;
}

} // namespace

DppTestUnitName ReadTestUnitName(const std::string& iniPath) {
    auto ini = IniFile::Load(iniPath);
    if (!ini)
        return {};
    DppTestUnitName unit{
        Limited(ini->GetString("QuorixTestUnit", "TestDeviceType"), kIniValueLimit),
        Limited(ini->GetString("QuorixTestUnit", "TestDeviceSerialNumber"), kIniValueLimit)};
    if (unit.type.empty() || unit.serial.empty())
        return {};
    return unit;
}

bool FindTestUnit(DppUsbLink& link, const DppTestUnitName& unit, int deviceCount,
                  DppProfile& profile, UserPrompt& prompt) {
    for (int i = 1; i <= deviceCount; ++i) {
        link.Close();
        link.SelectAndOpen(i);
        link.Identify();
        const bool found = link.deviceType() > 0 &&
                           DppDeviceTypeName(link.deviceType()) == unit.type &&
                           Format("%ld", static_cast<long>(link.serialNumber())) == unit.serial;
        if (found)
            profile.SetDeviceType(link.deviceType());
        link.Close();
        if (found)
            return true;
    }
    link.setDeviceIndex(1);
    prompt.message("Cannot find test unit " + unit.type + " " + unit.serial + ".",
                   PromptStyle::Error);
    return false;
}

std::string DppSelectLabel(uint32_t serialNumber, int deviceType) {
    static const char* const kFamilies[] = {" [Heron]", " [Plover]", " [HERONEMUL]",
                                            " [PLOVEREMUL]"};
    const char* family =
        deviceType >= 1 && deviceType <= 4 ? kFamilies[deviceType - 1] : kFamilies[0];
    return Limited(Format("Serial Number %ld", static_cast<long>(serialNumber)) + family,
                   kLabelLimit);
}

DppSelectLabels CollectSelectLabels(DppUsbLink& link, int deviceCount) {
    DppSelectLabels labels;
    for (int i = 1; i <= deviceCount && i <= static_cast<int>(labels.size()); ++i) {
        link.Close();
        link.SelectAndOpen(i);
        link.Identify();
        if (link.deviceType() > 0)
            labels[static_cast<size_t>(i - 1)] =
                DppSelectLabel(link.serialNumber(), link.deviceType());
        link.Close();
    }
    return labels;
}

} // namespace vorna
