#include "CliCommon.h"

namespace vorna::cli {

void registerExpressionCommands(CLI::App&, Runtime&) {}

} // namespace vorna::cli
