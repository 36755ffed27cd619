#pragma once
// Shared pieces of vorna-cli: the analysis options, JSON output, failures and the world a
// command's spectrum lives in.

#include <memory>
#include <stdexcept>
#include <string>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "common/UserPrompt.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna::cli {

using Json = nlohmann::ordered_json;

// The work failed: the program's own message goes to stderr, exit status 1.
class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Options named after the profile keys; defaults are the profile defaults.
struct AnalysisOptions {
    AnalysisSettings settings;
    int deviceType = 0;
    std::string library;
    bool useProfile = false;
};

// Adds --background-channels … --library-sens and --use-profile to a command.
void addAnalysisOptions(CLI::App* command, AnalysisOptions& options);

// Registered command bodies run after parsing; they return the exit status.
struct Runtime {
    std::function<int()> run;
};

// Sets the command's body.
void setRun(CLI::App* command, Runtime& rt, std::function<int()> body);

// A number JSON reads back exactly; non-finite values as "inf", "-inf", "nan".
Json number(double v);
// File text (Windows-1252) as a JSON string.
Json text(const std::string& bytes);
// A calibration in the shape `info` prints it: label, calibrated, points, a, b, c.
Json calibrationJson(const CCalibrate& cal);

// Prompt that remembers the last message so a failure can report the program's text.
class CliPrompt : public SilentPrompt {
public:
    CliPrompt() : SilentPrompt(PromptAnswer::No) {}
};

// The program as a command sees it: live spectrum at position 0 and the command's spectra
// after it, the first file's spectrum active at position 1.
struct World {
    CliPrompt prompt;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;
    CSpectrum* spectrum = nullptr; // the (first) opened file's spectrum
};

// Opens `path` as the program's File Open does. Throws Failure with the program's message
// ("Can not open the file %s. %s") when the file cannot be read.
std::unique_ptr<World> openWorld(const std::string& path, const AnalysisOptions& options);

// Command groups; each lives in its own file.
void registerSpectrumCommands(CLI::App& app, Runtime& rt);
void registerAnalysisCommands(CLI::App& app, Runtime& rt);
void registerExpressionCommands(CLI::App& app, Runtime& rt);
void registerLibraryCommands(CLI::App& app, Runtime& rt);
void registerDppCommands(CLI::App& app, Runtime& rt);

} // namespace vorna::cli
