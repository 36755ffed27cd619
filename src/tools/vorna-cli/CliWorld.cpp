// The world a command's spectrum lives in: the live spectrum at position 0 and the opened file
// at position 1, active, as after File Open in the program.

#include <filesystem>
#include <memory>

#include "CliCommon.h"
#include "analysis/RoiStatistics.h"
#include "settings/SavedUserProfile.h"
#include "spectrum/SpectrumFile.h"

namespace vorna::cli {
namespace {

// A test station's VORNATST.INI beside the executable may choose another settings key.
std::string programDirectory() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

} // namespace

std::unique_ptr<World> openWorld(const std::string& path, const AnalysisOptions& options) {
    auto world = std::make_unique<World>();
    SpectrumEnvironment& env = world->env;
    if (options.useProfile) {
        // The user's saved settings take the place of the analysis options as a whole, as
        // they would in the program: analysis values, slots, device type, spectra folder.
        SavedUserProfile saved(programDirectory());
        saved.Profile().FillEnvironment(env);
    } else {
        env.settings = options.settings;
        env.dppDeviceType = options.deviceType;
    }
    env.prompt = &world->prompt;
    env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
    world->list = std::make_unique<CSpectraList>(env);
    world->list->Add(std::make_unique<CSpectrum>(env.slots, 0), false);

    CSpectrum* opened = nullptr;
    if (OpenSpectrumFile(*world->list, path, nullptr, &opened) == FileOpenResult::Failed || !opened)
        throw Failure(world->prompt.lastMessage());
    world->spectrum = opened;
    return world;
}

} // namespace vorna::cli
