// The world a command's spectrum lives in: the live spectrum at position 0 and the opened file
// at position 1, active, as after File Open in the program.

#include <memory>

#include "CliCommon.h"
#include "spectrum/SpectrumFile.h"

namespace vorna::cli {

std::unique_ptr<World> openWorld(const std::string& path, const AnalysisOptions& options) {
    if (options.useProfile)
        throw Failure("--use-profile: this vorna-cli can not read the user's profile; give the "
                      "analysis options instead.");
    auto world = std::make_unique<World>();
    SpectrumEnvironment& env = world->env;
    env.settings = options.settings;
    env.dppDeviceType = options.deviceType;
    env.prompt = &world->prompt;
    world->list = std::make_unique<CSpectraList>(env);
    world->list->Add(std::make_unique<CSpectrum>(env.slots, 0), false);

    CSpectrum* opened = nullptr;
    if (OpenSpectrumFile(*world->list, path, nullptr, &opened) == kFileFailed || !opened)
        throw Failure(world->prompt.lastMessage());
    world->spectrum = opened;
    return world;
}

} // namespace vorna::cli
