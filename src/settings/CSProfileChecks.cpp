// Folder and file checks of the preferences: they touch the file system and report through the
// prompt, so they are kept apart from loading and saving.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "settings/CSProfile.h"
#include "settings/ProfileFolders.h"

namespace vorna {
namespace {

constexpr const char* kScratchName = "lumo-temp.tmp";

// A scratch file created new at `path`. A file already there (the user's, or one left behind by
// a crash) is never opened, let alone removed: a numbered sibling is used instead.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& path) {
        for (int n = 0; n < 100 && !m_file; ++n) {
            std::string candidate = n == 0 ? path : Format("%s.%d", path.c_str(), n);
            errno = 0;
            m_file = std::fopen(candidate.c_str(), "wbx");
            if (m_file)
                m_path = candidate;
            else if (errno != EEXIST)
                break;
        }
    }
    ~ScratchFile() {
        Close();
        if (!m_path.empty())
            std::remove(m_path.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    // Writes `size` zero bytes and closes; false when the medium cannot hold them.
    bool Fill(size_t size) {
        std::vector<char> zeros(size, 0);
        bool ok = std::fwrite(zeros.data(), 1, zeros.size(), m_file) == zeros.size() &&
                  std::fflush(m_file) == 0;
        return Close() && ok;
    }
    bool Close() {
        if (!m_file)
            return true;
        bool ok = std::fclose(m_file) == 0;
        m_file = nullptr;
        return ok;
    }

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
};

std::string scratchPathIn(const std::string& folder) {
    if (IsUnsetFolder(folder))
        return kScratchName;
    std::string dir = folder;
    if (dir.back() != '/' && dir.back() != kFolderSeparator)
        dir += kFolderSeparator;
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
    ScratchFile scratch(path);
    return scratch.IsOpen() && scratch.Fill(40000);
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
