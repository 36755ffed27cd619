#include "CliCommon.h"

namespace vorna::cli {

void registerLibraryCommands(CLI::App&, Runtime&) {}

} // namespace vorna::cli
