// vorna-cli: VORNA's core code on files, for batch analysis and scripting.

#include <cstdio>
#include <exception>
#include <iostream>

#include "CliCommon.h"

int main(int argc, char** argv) {
    using namespace vorna::cli;
    CLI::App app{"vorna-cli: batch work on spectrum files with VORNA's own analysis code"};
    app.require_subcommand(1);
    Runtime rt;
    registerSpectrumCommands(app, rt);
    registerAnalysisCommands(app, rt);
    registerExpressionCommands(app, rt);
    registerLibraryCommands(app, rt);
    registerDppCommands(app, rt);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    if (!rt.run)
        return 2;
    try {
        int status = rt.run();
        std::fflush(stdout);
        return status;
    } catch (const Failure& e) {
        std::cerr << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}
