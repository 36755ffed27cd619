#pragma once
// Saving that never destroys the previous good file: the bytes go to a temporary file in the
// target's folder, are flushed to disk, and only then renamed over the target.

#include <string>
#include <string_view>

namespace vorna {

struct FileResult {
    bool ok = true;
    std::string error; // the operating system's text for the failure, when there is one
    int code = 0;      // errno of the failure, so callers can tell a full disk from a denial
};

FileResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; false with the system's error text when it cannot be read.
FileResult ReadWholeFile(const std::string& path, std::string& bytes);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

} // namespace vorna
