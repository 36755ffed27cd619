// Folder and file checks of the preferences: they touch the file system and report through the
// prompt, so they are kept apart from loading and saving.
#include <filesystem>

#include "common/NumberText.h"
#include "common/ScratchFile.h"
#include "common/UserPrompt.h"
#include "settings/CSProfile.h"
#include "settings/ProfileFolders.h"

namespace vorna {
namespace {

constexpr const char* kScratchName = "lumo-temp.tmp";

// The scratch file inside the folder a setting stands for. The per-user data folder is made
// here when first needed; a folder the user named is never created by a check.
std::string scratchPathIn(const std::string& folder) {
    std::string dir = ResolveFolder(folder);
    if (IsUnsetFolder(folder))
        EnsureFolder(dir);
    return dir + kScratchName;
}

} // namespace

bool CSProfile::CheckFolder(UserPrompt& prompt, const std::string& folder, std::string_view kind) {
    ScratchFile scratch(scratchPathIn(folder));
    if (scratch.IsOpen() && scratch.Close())
        return true;
    prompt.message(
        Format("Invalid pathname - %.*s files.", static_cast<int>(kind.size()), kind.data()),
        PromptStyle::Error);
    return false;
}

bool CSProfile::CheckRoom(const std::string& path) {
    return WriteTestAt(path, 40000);
}

bool CSProfile::CheckFile(UserPrompt& prompt, const std::string& path) {
    if (path.empty()) {
        prompt.message("No file or path defined.", PromptStyle::Error);
        return false;
    }
    std::error_code ec;
    auto status = std::filesystem::status(path, ec);
    // A folder is not a file to load, even though it exists.
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status))
        return true;
    prompt.message("Invalid filename - " + path + ".", PromptStyle::Error);
    return false;
}

} // namespace vorna
