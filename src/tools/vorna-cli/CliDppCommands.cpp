#include "CliCommon.h"

namespace vorna::cli {

void registerDppCommands(CLI::App&, Runtime&) {}

} // namespace vorna::cli
