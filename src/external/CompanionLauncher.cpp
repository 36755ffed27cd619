#include "external/CompanionLauncher.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace vorna {

const char* LaunchErrorText(LaunchError error) {
    switch (error) {
    case LaunchError::OutOfResources:
        return "System is too low on memory, disk space or resources to launch program.";
    case LaunchError::FileNotFound:
        return "Program executable file not found.";
    case LaunchError::PathNotFound:
        return "Path (directory) not found.";
    case LaunchError::InvalidExecutable:
        return "Program executable is invalid or corrupt.";
    default:
        return "Unknown error, could not launch program.";
    }
}

LaunchError LaunchErrorFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return LaunchError::FileNotFound;
    case ENOTDIR:
        return LaunchError::PathNotFound;
    case EACCES:
    case ENOEXEC:
    case EISDIR:
    case ELIBBAD:
        return LaunchError::InvalidExecutable;
    case ENOMEM:
    case EAGAIN:
    case EMFILE:
    case ENFILE:
    case ENOSPC:
        return LaunchError::OutOfResources;
    default:
        return LaunchError::Other;
    }
}

LaunchError LaunchErrorFromMessage(const std::string& message) {
    for (int error : {ENOENT, ENOTDIR, EACCES, ENOEXEC, EISDIR, ELIBBAD, ENOMEM, EAGAIN, EMFILE,
                      ENFILE, ENOSPC})
        if (message.find(std::strerror(error)) != std::string::npos)
            return LaunchErrorFromErrno(error);
    return LaunchError::Other;
}

std::optional<LaunchError> LaunchErrorForFile(const LaunchFileFacts& f) {
    if (!f.folderExists)
        return LaunchError::PathNotFound;
    if (!f.exists)
        return LaunchError::FileNotFound;
    if (!f.regularFile || !f.executable || !f.knownFormat)
        return LaunchError::InvalidExecutable;
    return std::nullopt;
}

const CompanionProgram& ElemixProgram() {
    static const CompanionProgram p{"Elemix", "com.quorix.Elemix", "Elemix.Exe",
                                    "Elemix not running.  Start Elemix?",
                                    "Location for Elemix.Exe..."};
    return p;
}

const CompanionProgram& FlareProgram() {
    static const CompanionProgram p{"Quorix Flare Controller", "com.quorix.FlareController",
                                    "FlareCtrl.exe",
                                    "Flare Controller not running.  Start Flare Controller?",
                                    std::string("Location for ") + "Quorix Flare Controller"};
    return p;
}

std::vector<std::string> ExecutableNames(const CompanionProgram& program) {
    std::vector<std::string> names{program.executable};
#ifndef _WIN32
    std::string lower = program.executable.substr(0, program.executable.rfind('.'));
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!lower.empty() && lower != program.executable)
        names.push_back(lower);
#endif
    return names;
}

std::string ApplicationObjectPath(const std::string& busName) {
    std::string path = "/" + busName;
    for (char& c : path)
        if (c == '.')
            c = '/';
        else if (c == '-')
            c = '_';
    return path;
}

bool StartCompanion(const CompanionProgram& program, LauncherPort& port) {
    if (!port.AskYes(program.question))
        return false;
    const std::string workingDirectory = port.WorkingDirectory();
    const std::optional<LaunchError> error = port.StartByName(program);
    if (!error)
        return true;
    const std::string text = LaunchErrorText(*error);
    if (*error != LaunchError::FileNotFound && *error != LaunchError::PathNotFound) {
        port.ShowError(text);
        return false;
    }
    const std::optional<std::string> located = port.Locate(program.locateTitle, text);
    if (!located || located->empty()) {
        port.SetWorkingDirectory(workingDirectory);
        return false;
    }
    if (const std::optional<LaunchError> again = port.StartPath(*located)) {
        port.ShowError(LaunchErrorText(*again));
        return false;
    }
    return true;
}

void ShowCompanion(const CompanionProgram& program, LauncherPort& port) {
    if (!port.IsRunning(program)) {
        if (!StartCompanion(program, port) || !port.IsRunning(program))
            return;
    }
    port.Raise(program);
}

} // namespace vorna
