#include "settings/ProfileFolders.h"

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
    if (!out.empty() && out.back() != kFolderSeparator)
        out += kFolderSeparator;
    return out;
}

std::string FolderForFiles(std::string_view stored) {
    return IsUnsetFolder(stored) ? std::string() : WithTrailingSeparator(stored);
}

} // namespace vorna
