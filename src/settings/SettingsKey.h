#pragma once
// Where the settings live: "Quorix", or "Quorix_" + the unit number of a test station, read from
// "VORNATST.INI" beside the executable. The same file names the DPP a test station connects to.

#include <string>

namespace vorna {

struct TestUnitInfo {
    bool filePresent = false;
    std::string unitNumber;             // "UnitNumber", at most 255 characters
    std::string testDeviceType;         // "TestDeviceType"
    std::string testDeviceSerialNumber; // "TestDeviceSerialNumber"
};

inline constexpr const char* kTestUnitFileName = "VORNATST.INI";
inline constexpr const char* kTestUnitSection = "QuorixTestUnit";
inline constexpr const char* kSettingsKeyBase = "Quorix";
inline constexpr const char* kSettingsApplication = "Lumo";

// Reads the test-unit file in `programDir` (the executable's folder). The name is matched
// without regard to case, as on the system the file comes from. A missing file is no error.
TestUnitInfo ReadTestUnit(const std::string& programDir);

// "Quorix" or "Quorix_" + unit number. Path separators in the unit number become '_': the key
// names a single folder and must not lead outside the settings location.
std::string SettingsKeyFor(const TestUnitInfo& unit);

inline std::string ChooseSettingsKey(const std::string& programDir) {
    return SettingsKeyFor(ReadTestUnit(programDir));
}

} // namespace vorna
