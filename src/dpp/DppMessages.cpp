#include "dpp/DppMessages.h"

#include <cerrno>

namespace vorna {
namespace {

const char* const kRule = "========================================";
const char* const kPad = "        ";

std::string withPath(std::string text, const std::string& path) {
    auto at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

} // namespace

std::string ConfigurationErrorMessage(const std::string& line1, const std::string& line2,
                                      const std::string& line3) {
    std::string m;
    auto line = [&m](const std::string& text) { m += text + "\r\n"; };
    line(line1);
    line(line2);
    line(line3);
    line(kRule);
    line("To fix this error do ***ONE*** of the following:");
    line(std::string(kPad) + "1. Load a valid configuration and configure your device.");
    line(std::string(kPad) + "2. Create a valid configuration and configure your device.");
    line(std::string(kPad) + "3. Load valid configuration file and save it to this file.");
    line(std::string(kPad) + "4. Create a valid configuration file and save it to this file.");
    line(std::string(kPad) + "5. Copy a known good *.cfg file for your device to this file.");
    line(kPad);
    line(kRule);
    line("This message may pop-up 3 or more times during configuration");
    line("until the first valid configuration cycle is completed.");
    line(kPad);
    line(kPad);
    return m;
}

DppFileFailure FileFailureFromErrno(int err) {
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return DppFileFailure::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EWOULDBLOCK:
    case ETXTBSY:
        return DppFileFailure::AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return DppFileFailure::DiskFull;
    default:
        return DppFileFailure::Other;
    }
}

std::string FileErrorMessage(DppFileFailure failure, const std::string& path, bool writing) {
    const char* const readingText = "Unable to read from %1, it is opened by someone else.";
    const char* const writingText =
        "Unable to write to %1, it is read-only or opened by someone else.";
    std::string first;
    switch (failure) {
    case DppFileFailure::Cancelled:
        return {};
    case DppFileFailure::NotFound:
        first = "%1\nCannot find this file.\nPlease verify that the correct path and file name "
                "are given.";
        break;
    case DppFileFailure::DiskFull:
        first = "Destination disk drive is full.";
        break;
    case DppFileFailure::BadFormat:
        first = "Unexpected file format.";
        break;
    case DppFileFailure::AccessDenied:
    case DppFileFailure::Other:
        first = writing ? writingText : readingText;
        break;
    }
    return withPath(first, path) + "\r\n\r\n" + "\r\n" + kRule +
           "\r\nYou must have configuration file read/write permissions." + "\r\n" + kRule +
           "\r\nVerify that the Read-only property is NOT selected for this file." +
           "\r\n                  OR" +
           "\r\nContact your system admistrator to correct this problem.";
}

std::string DetectorConfigurationLoadedNote(const std::string& name) {
    return "Loaded " + name + " configuration.  \r\n Press \"Show Current Configuration\" to view.";
}

std::string RecalledConfigurationNote() {
    return "Recalled previous SW configuration. \r\n Press \"Show Current Configuration\" to view.";
}

std::string OpenedConfigurationNote(const std::string& path) {
    auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return "Opened \"" + name + "\". \r\n Press \"Show Current Configuration\" to view.";
}

std::string HardwareConfigurationLoadedNote() {
    return "Loaded hardware configuration. \r\n Press \"Show Current Configuration\" to view.";
}

std::string NoHardwareNote() {
    return "No hardware detected. Hardware configuration not loaded.";
}

std::string SavedConfigurationNote(const std::string& path) {
    return "Saved current configuration to \"" + path + "\".";
}

std::string CopiedConfigurationNote() {
    return "Copied current configuration to clipboard.";
}

} // namespace vorna
