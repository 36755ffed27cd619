// library, log-line and log-name: the element library, and the repeated measurement's log line
// and numbered file names.

#include <iostream>
#include <optional>

#include "CliCommon.h"
#include "analysis/DataLog.h"
#include "analysis/ElementLibrary.h"
#include "common/NumberText.h"

namespace vorna::cli {
namespace {

struct LibraryArgs {
    AnalysisOptions options;
    std::string file;
    std::optional<double> matchEnergy;
    std::optional<double> matchFwhm;
};

struct LogLineArgs {
    AnalysisOptions options;
    std::string file;
    std::string savedPath;
    int selectedRoi = -1;
};

struct LogNameArgs {
    std::string directory;
    std::string base;
    long loops = 0;
    unsigned long index = 0;
};

Json libraryJson(const ElementLibrary& lib, const LibraryArgs& args) {
    Json j;
    j["name"] = text(lib.DisplayName());
    Json lines = Json::array();
    for (const ElementLine& line : lib.Lines())
        lines.push_back(Json::array({number(line.energy), text(line.name)}));
    j["lines"] = std::move(lines);
    if (args.matchEnergy) {
        int i = lib.Match(*args.matchEnergy, *args.matchFwhm, args.options.settings.librarySens);
        if (i < 0) {
            j["match"] = nullptr; // "No match"
        } else {
            Json m;
            m["index"] = i;
            m["energy"] = number(lib.Line(i).energy);
            m["name"] = text(lib.Line(i).name);
            j["match"] = std::move(m);
        }
    }
    return j;
}

} // namespace

void registerLibraryCommands(CLI::App& app, Runtime& rt) {
    auto lib = std::make_shared<LibraryArgs>();
    CLI::App* libCmd = app.add_subcommand(
        "library", "Read an element library file; optionally match a peak against it");
    libCmd->add_option("LIB", lib->file, "element library file (.lib)")->required();
    CLI::Option* match =
        libCmd->add_option("--match", lib->matchEnergy, "peak centroid energy to match");
    CLI::Option* fwhm = libCmd->add_option("--fwhm", lib->matchFwhm, "peak FWHM in energy");
    match->needs(fwhm);
    fwhm->needs(match);
    addAnalysisOptions(libCmd, lib->options);
    setRun(libCmd, rt, [lib] {
        CliPrompt prompt;
        ElementLibrary library;
        if (!LoadLibraryFile(library, lib->file, &prompt))
            throw Failure(prompt.lastMessage());
        std::cout << libraryJson(library, *lib).dump(2) << '\n';
        return 0;
    });

    auto line = std::make_shared<LogLineArgs>();
    CLI::App* lineCmd = app.add_subcommand(
        "log-line", "The Spectrum Data Log line a repeated measurement appends for a spectrum");
    lineCmd->add_option("FILE", line->file, "spectrum file (.mca, .mcs)")->required();
    lineCmd->add_option("--saved-path", line->savedPath, "the path the spectrum was saved to")
        ->required();
    lineCmd->add_option("--selected-roi", line->selectedRoi,
                        "index of the selected ROI (default: none)");
    addAnalysisOptions(lineCmd, line->options);
    setRun(lineCmd, rt, [line] {
        auto world = openWorld(line->file, line->options);
        CSpectrum& s = *world->spectrum;
        if (line->selectedRoi < -1 || line->selectedRoi >= s.m_roi.GetCount())
            throw Failure(Format("There is no ROI %d: the spectrum has %d.", line->selectedRoi,
                                 s.m_roi.GetCount()));
        s.m_roi.SetSelected(line->selectedRoi);
        std::cout << DataLogLine(DataLogKind::SpectrumData, s, world->env.settings,
                                 line->savedPath);
        return 0;
    });

    auto name = std::make_shared<LogNameArgs>();
    CLI::App* nameCmd =
        app.add_subcommand("log-name", "The numbered spectrum file name of one loop");
    nameCmd->add_option("--directory", name->directory, "RepeatMeasDirectory");
    nameCmd->add_option("--base", name->base, "RepeatMeasFilename")->required();
    nameCmd->add_option("--loops", name->loops, "RepeatMeasLoops")->required();
    nameCmd->add_option("--index", name->index, "loop index")->required();
    setRun(nameCmd, rt, [name] {
        std::cout << NumberedFileName(name->directory, name->base, name->loops, name->index);
        return 0;
    });
}

} // namespace vorna::cli
