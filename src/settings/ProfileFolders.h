#pragma once
// Folder settings of the profile, read through the one folder rule of common/DataFolders.h:
// the stored Windows defaults ("\" or empty) stand for the program's per-user data folder.

#include <string>
#include <string_view>

#include "common/DataFolders.h"

namespace vorna {

// The folder as a prefix for file names, with a trailing separator: the stored folder, or the
// per-user data folder when the setting names none.
std::string FolderForFiles(std::string_view stored);

} // namespace vorna
