#include "CliCommon.h"

namespace vorna::cli {

void registerAnalysisCommands(CLI::App&, Runtime&) {}

} // namespace vorna::cli
