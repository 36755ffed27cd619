#pragma once
// Device lookup at connect: the test unit a test station names, and the labels of the DPP
// selection dialog.

#include <cstdint>
#include <string>

#include "dpp/DppControllerPorts.h"

namespace vorna {

class DppUsbLink;
class UserPrompt;

struct DppTestUnitName {
    std::string type;
    std::string serial;
};

// "TestDeviceType" and "TestDeviceSerialNumber" of section "QuorixTestUnit" in the test-unit
// file; empty when the file is missing or either value is empty.
DppTestUnitName ReadTestUnitName(const std::string& iniPath);

// Opens each counted device in turn and looks for the named unit. Found: the device index is
// the unit's, its type goes to the profile, and the answer is true. Not found: the device
// index is 1 and the user is told. Every device is closed again either way.
bool FindTestUnit(DppUsbLink& link, const DppTestUnitName& unit, int deviceCount,
                  DppProfile& profile, UserPrompt& prompt);

// "Serial Number %ld" and the bracketed family of the selection dialog.
std::string DppSelectLabel(uint32_t serialNumber, int deviceType);

// Identifies each counted device (closed again after) and labels the identified ones.
DppSelectLabels CollectSelectLabels(DppUsbLink& link, int deviceCount);

} // namespace vorna
