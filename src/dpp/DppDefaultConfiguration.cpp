#include "dpp/DppDefaultConfiguration.h"

#include <algorithm>
#include <sys/stat.h>

#include "common/IniFile.h"
#include "dpp/DppMessages.h"

namespace vorna {
namespace {

std::string joinPath(const std::string& directory, const std::string& name) {
    if (directory.empty())
        return name;
    if (directory.back() == '/')
        return directory + name;
    return directory + "/" + name;
}

// Loads `path` into the device; the record changes only when the whole file was read.
DppFileOutcome loadInto(DppDevice& device, const std::string& path, int deviceType) {
    DppConfigFile file(device.strings);
    DppFileOutcome outcome = file.Load(path, deviceType);
    device.strings = file.strings; // lines read before a short end keep their new text
    if (!outcome.ok)
        return outcome;
    device.SetTotalGain(StringsToRecord(device.strings, device.config, deviceType));
    device.configurationLoaded = true;
    return outcome;
}

} // namespace

std::string ProgramDirectoryOf(const std::string& executablePath) {
    auto slash = executablePath.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return executablePath.substr(0, slash);
}

std::string DefaultConfigurationPath(const std::string& programDirectory) {
    return joinPath(programDirectory, "DPP.CFG");
}

std::string DetectorConfigurationsPath(const std::string& programDirectory) {
    return joinPath(programDirectory, "QuorixDC.ini");
}

DppFileOutcome LoadDefaultConfiguration(DppDevice& device, const std::string& programDirectory,
                                        int deviceType) {
    std::string path = DefaultConfigurationPath(programDirectory);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {false,
                ConfigurationErrorMessage(path, "cannot be found.", "Default configuration file")};
    return loadInto(device, path, deviceType);
}

DppFileOutcome SaveDefaultConfiguration(const DppDevice& device,
                                        const std::string& programDirectory, int deviceType) {
    DppConfigRecord copy = device.config;
    DppConfigFile file;
    file.strings = RecordToStrings(copy, deviceType, device.status.FastClock());
    file.path = DefaultConfigurationPath(programDirectory);
    return file.Save(deviceType);
}

std::vector<std::string> DetectorConfigurationNames(const std::string& programDirectory) {
    auto ini = IniFile::Load(DetectorConfigurationsPath(programDirectory));
    if (!ini)
        return {};
    return ini->Keys(kDetectorConfigurationsSection);
}

std::string DetectorConfigurationPath(const std::string& programDirectory,
                                      const std::string& name) {
    std::string file;
    if (auto ini = IniFile::Load(DetectorConfigurationsPath(programDirectory)))
        file = ini->GetString(kDetectorConfigurationsSection, name);
    if (file.size() > 255)
        file.resize(255);
    // The list is shared with Windows installations, whose names may use backslashes.
    std::replace(file.begin(), file.end(), '\\', '/');
    return joinPath(programDirectory, file);
}

DppFileOutcome LoadDetectorConfiguration(DppDevice& device, const std::string& programDirectory,
                                         const std::string& name, int deviceType) {
    return loadInto(device, DetectorConfigurationPath(programDirectory, name), deviceType);
}

} // namespace vorna
