#include "settings/ProfileFolders.h"

namespace vorna {

std::string FolderForFiles(std::string_view stored) {
    return ResolveFolder(stored);
}

} // namespace vorna
