#pragma once
// Raising or starting the companion programs: which program, what the user is asked, how a
// failed start is told apart and when the user is asked to locate the program.

#include <optional>
#include <string>
#include <vector>

namespace vorna {

// Why a start failed; the numbers are the classic program-start codes the texts belong to.
enum class LaunchError : int {
    OutOfResources = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    InvalidExecutable = 11,
    Other = 1,
};
const char* LaunchErrorText(LaunchError error);
// The error of a failed exec or fork by its errno value.
LaunchError LaunchErrorFromErrno(int error);
// The error of a failed start by the system's message text (it names the errno's text).
LaunchError LaunchErrorFromMessage(const std::string& message);

// What a start of a located file would meet, looked up before trying.
struct LaunchFileFacts {
    bool folderExists = false;
    bool exists = false;
    bool regularFile = false;
    bool executable = false;  // the user may execute it
    bool knownFormat = false; // starts like a program the system runs (ELF or "#!")
};
// Nothing when the file can be started; else the error its start would meet.
std::optional<LaunchError> LaunchErrorForFile(const LaunchFileFacts& facts);

struct CompanionProgram {
    std::string title;      // the companion's window title
    std::string busName;    // owned on the session bus while it runs
    std::string executable; // the program's file name
    std::string question;   // asked before a start
    std::string locateTitle;
};
const CompanionProgram& ElemixProgram();
const CompanionProgram& FlareProgram();

// The file names a bare-name start looks for: the executable's name, and on Linux also its
// lower-case name without extension ("Elemix.Exe", "elemix").
std::vector<std::string> ExecutableNames(const CompanionProgram& program);
// The org.freedesktop.Application object path of a bus name ("com.quorix.Elemix" →
// "/com/quorix/Elemix").
std::string ApplicationObjectPath(const std::string& busName);

inline constexpr const char* kFileLocatedPrefix = "File located - ";
inline constexpr const char* kLocateFilter = "Programs (*.exe)|*.exe|All Files (*)|*||";

// What the launcher needs from the desktop.
class LauncherPort {
public:
    virtual ~LauncherPort() = default;
    virtual bool IsRunning(const CompanionProgram& program) = 0;
    virtual void Raise(const CompanionProgram& program) = 0;
    // The start question (Yes/No); true for Yes.
    virtual bool AskYes(const std::string& question) = 0;
    // Starts by the bare names (program folder, then PATH); nothing on success.
    virtual std::optional<LaunchError> StartByName(const CompanionProgram& program) = 0;
    virtual std::optional<LaunchError> StartPath(const std::string& path) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // The locate dialog showing `errorText`; the located path, or nothing on Cancel or when no
    // file was located.
    virtual std::optional<std::string> Locate(const std::string& title,
                                              const std::string& errorText) = 0;
    virtual std::string WorkingDirectory() = 0;
    virtual void SetWorkingDirectory(const std::string& directory) = 0;
};

// Asks, starts, and on a missing program offers the locate dialog; true when started.
bool StartCompanion(const CompanionProgram& program, LauncherPort& port);
// Raises a running companion; else starts it and raises it when it already answers.
void ShowCompanion(const CompanionProgram& program, LauncherPort& port);

} // namespace vorna
