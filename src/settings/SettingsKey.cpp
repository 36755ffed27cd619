#include "settings/SettingsKey.h"

#include <filesystem>
#include <strings.h>

#include "common/IniFile.h"

namespace vorna {
namespace {

// The file by its exact name, else any file in the folder whose name matches ignoring case.
std::string findFile(const std::string& dir, const char* name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exact = fs::path(dir.empty() ? "." : dir) / name;
    if (fs::is_regular_file(exact, ec))
        return exact.string();
    for (fs::directory_iterator it(exact.parent_path(), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        if (strcasecmp(candidate.c_str(), name) == 0 && it->is_regular_file(ec))
            return it->path().string();
    }
    return {};
}

} // namespace

TestUnitInfo ReadTestUnit(const std::string& programDir) {
    TestUnitInfo info;
    std::string path = findFile(programDir, kTestUnitFileName);
    if (path.empty())
        return info;
    auto ini = IniFile::Load(path);
    if (!ini)
        return info;
    info.filePresent = true;
    // The private-profile reader fills a 256-byte buffer: 255 characters at most.
    info.unitNumber = ini->GetString(kTestUnitSection, "UnitNumber").substr(0, 255);
    info.testDeviceType = ini->GetString(kTestUnitSection, "TestDeviceType");
    info.testDeviceSerialNumber = ini->GetString(kTestUnitSection, "TestDeviceSerialNumber");
    return info;
}

std::string SettingsKeyFor(const TestUnitInfo& unit) {
    if (unit.unitNumber.empty())
        return kSettingsKeyBase;
    std::string key = std::string(kSettingsKeyBase) + "_" + unit.unitNumber;
    for (char& ch : key)
        if (ch == '/' || ch == '\\')
            ch = '_';
    return key;
}

} // namespace vorna
