#include "common/DataFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vorna {

bool IsUnsetFolder(std::string_view stored) {
#ifdef _WIN32
    return stored.empty();
#else
    return stored.empty() || stored == "\\";
#endif
}

std::string WithTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '/' && out.back() != '\\')
        out += kFolderSeparator;
    return out;
}

const char* SystemEnvironment(const char* name) {
    return std::getenv(name);
}

std::string UserDataFolder(const EnvironmentLookup& env) {
    auto value = [&](const char* name) {
        const char* v = env ? env(name) : nullptr;
        return std::string(v ? v : "");
    };
#ifdef _WIN32
    const std::string base = value("LOCALAPPDATA");
    return base.empty() ? std::string() : WithTrailingSeparator(base) + "vorna\\";
#else
    // The XDG rule: a relative XDG_DATA_HOME is invalid and is ignored.
    const std::string xdg = value("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.front() == '/')
        return WithTrailingSeparator(xdg) + "vorna/";
    const std::string home = value("HOME");
    if (home.empty())
        return {};
    return WithTrailingSeparator(home) + ".local/share/vorna/";
#endif
}

std::string ResolveFolder(std::string_view stored, std::string_view userDataFolder) {
    return IsUnsetFolder(stored) ? WithTrailingSeparator(userDataFolder)
                                 : WithTrailingSeparator(stored);
}

std::string ResolveFolder(std::string_view stored) {
    return ResolveFolder(stored, UserDataFolder());
}

std::string ResolveFolderFile(std::string_view stored, std::string_view file) {
    return ResolveFolder(stored) + std::string(file);
}

std::string DialogFolder(std::string_view stored) {
    const std::string folder = ResolveFolder(stored);
    if (IsUnsetFolder(stored))
        EnsureFolder(folder);
    return folder;
}

bool EnsureFolder(const std::string& folder) {
    if (folder.empty())
        return true; // the working directory
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

} // namespace vorna
