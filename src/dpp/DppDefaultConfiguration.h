#pragma once
// The configuration files beside the program: the default "DPP.CFG" and the ready-made
// detector configurations named by "QuorixDC.ini". Paths start from the program's folder,
// which the caller passes in (the application takes it from its executable's path).

#include <string>
#include <vector>

#include "dpp/DppConfigFile.h"
#include "dpp/DppDevice.h"

namespace vorna {

// The folder part of an executable's path ("." when it has none).
std::string ProgramDirectoryOf(const std::string& executablePath);
std::string DefaultConfigurationPath(const std::string& programDirectory);
std::string DetectorConfigurationsPath(const std::string& programDirectory);

constexpr const char* kDetectorConfigurationsSection = "Quorix Detector Configurations";

// Loads DPP.CFG into the device's strings and record and marks the configuration as loaded. A
// missing or broken file leaves the record and the loaded flag as they were.
DppFileOutcome LoadDefaultConfiguration(DppDevice& device, const std::string& programDirectory,
                                        int deviceType);
// Writes the device's configuration to DPP.CFG (the record itself is not touched).
DppFileOutcome SaveDefaultConfiguration(const DppDevice& device,
                                        const std::string& programDirectory, int deviceType);

// Names of the detector configurations, in file order.
std::vector<std::string> DetectorConfigurationNames(const std::string& programDirectory);
// The configuration file a name stands for, in the program's folder.
std::string DetectorConfigurationPath(const std::string& programDirectory, const std::string& name);
// Loads the named configuration into the device and marks it loaded.
DppFileOutcome LoadDetectorConfiguration(DppDevice& device, const std::string& programDirectory,
                                         const std::string& name, int deviceType);

} // namespace vorna
