#include "CliCommon.h"

namespace vorna::cli {

void registerSpectrumCommands(CLI::App&, Runtime&) {}

} // namespace vorna::cli
