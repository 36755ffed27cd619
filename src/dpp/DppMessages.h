#pragma once
// The message texts of configuration files: the configuration error message and the file error
// message, with their exact line breaks, and the notes the General page shows.

#include <string>

namespace vorna {

// Caption of both messages (warning icon, topmost).
constexpr const char* kConfigFileErrorCaption = "Configuration File Error";

// Three caller lines, then the fixed advice.
std::string ConfigurationErrorMessage(const std::string& line1, const std::string& line2,
                                      const std::string& line3);

enum class DppFileFailure {
    NotFound,     // file or path not found
    AccessDenied, // locked by someone else, read-only, or no permission
    DiskFull,
    BadFormat, // not a configuration file at all
    Other,
    Cancelled, // the user cancelled: nothing is shown
};

// The failure class of an errno value.
DppFileFailure FileFailureFromErrno(int err);

// The file error message for `path`; empty for a cancelled operation.
std::string FileErrorMessage(DppFileFailure failure, const std::string& path, bool writing);

// Notes of the General page after a configuration source was used.
std::string DetectorConfigurationLoadedNote(const std::string& name);
std::string RecalledConfigurationNote();
std::string OpenedConfigurationNote(const std::string& path);
std::string HardwareConfigurationLoadedNote();
std::string NoHardwareNote();
std::string SavedConfigurationNote(const std::string& path);
std::string CopiedConfigurationNote();

} // namespace vorna
