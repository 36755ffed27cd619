// stats, peaks, copy-data and autocal: ROI statistics, peak search, the spectrum data text and
// Auto Calibration on a spectrum file.

#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "CliCommon.h"
#include "analysis/AutoCalibration.h"
#include "analysis/ElementLibrary.h"
#include "analysis/PeakSearch.h"
#include "analysis/Reports.h"
#include "analysis/RoiStatistics.h"
#include "common/NumberText.h"
#include "spectrum/SpectrumFile.h"

namespace vorna::cli {
namespace {

struct StatsArgs {
    AnalysisOptions options;
    std::string file;
    std::vector<std::string> rois;
};

struct PeaksArgs {
    AnalysisOptions options;
    std::string file;
    std::optional<int> first;
    std::optional<int> last;
    int width = 5;
    double sensitivity = 5.0;
};

struct CopyDataArgs {
    AnalysisOptions options;
    std::string file;
};

struct AutoCalArgs {
    AnalysisOptions options;
    std::string file;
    AutoCalSettings autocal;
    int cursor = -1; // no cursor: outside every spectrum
    std::optional<int> selectedRoi;
    std::string out;
};

// "START:END", both integers.
std::optional<std::pair<int, int>> parseRange(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    size_t used = 0;
    std::string first = text.substr(0, colon), second = text.substr(colon + 1);
    auto start = ScanIntPrefix(first, used);
    if (!start || used != first.size())
        return std::nullopt;
    auto end = ScanIntPrefix(second, used);
    if (!end || used != second.size())
        return std::nullopt;
    return std::make_pair(*start, *end);
}

// The element library the options name, or none.
std::unique_ptr<ElementLibrary> loadLibrary(const AnalysisOptions& options) {
    if (options.library.empty())
        return nullptr;
    CliPrompt prompt;
    auto library = std::make_unique<ElementLibrary>();
    if (!LoadLibraryFile(*library, options.library, &prompt))
        throw Failure(prompt.lastMessage());
    return library;
}

Json roisJson(const CRoi& rois, const CCalibrate& cal, const AnalysisSettings& settings,
              const ElementLibrary* library) {
    Json list = Json::array();
    for (const CRoiEntry& r : rois.Entries()) {
        Json j;
        j["start"] = r.start;
        j["end"] = r.end;
        j["gross_area"] = number(r.grossArea);
        j["net_area"] = number(r.netArea);
        j["centroid"] = number(r.centroid);
        j["uncertainty"] = number(r.uncertainty);
        j["fwhm"] = number(r.fwhm);
        j["half_maximum"] = number(r.halfMaximum);
        j["left_position"] = number(r.leftPosition);
        j["right_position"] = number(r.rightPosition);
        j["status"] = static_cast<int>(r.status);
        j["status_text"] = RoiStatusText(r.status);
        Json cells = Json::array();
        for (const std::string& cell : RoiReportCells(r, cal, settings, library))
            cells.push_back(text(cell));
        j["cells"] = std::move(cells);
        list.push_back(std::move(j));
    }
    Json out;
    out["rois"] = std::move(list);
    return out;
}

int runStats(const StatsArgs& args) {
    // Opening a file already measures its ROIs; open with a method that neither smooths nor
    // moves ROIs, so the one computation below is the only one.
    AnalysisOptions opening = args.options;
    opening.settings.fwhmCalcMethod = FwhmMethod::Normal;
    opening.settings.centroidCalcMethod = CentroidMethod::Normal;
    auto world = openWorld(args.file, opening);
    world->env.settings = args.options.settings;
    auto library = loadLibrary(args.options);
    CSpectrum& s = *world->spectrum;
    if (!args.rois.empty()) {
        s.m_roi.Clear();
        for (const std::string& range : args.rois) {
            auto r = parseRange(range);
            s.m_roi.AddSorted(r->first, r->second);
        }
    }
    RecomputeAllRoiStatistics(s, world->env.settings);
    std::cout << roisJson(s.m_roi, s.m_calibrate, world->env.settings, library.get()).dump(2)
              << '\n';
    return 0;
}

int runPeaks(PeaksArgs& args) {
    args.options.settings.peakWidth = args.width;
    args.options.settings.peakSearchSens = args.sensitivity;
    auto world = openWorld(args.file, args.options);
    auto library = loadLibrary(args.options);
    CSpectrum& s = *world->spectrum;
    // Channels outside the spectrum are taken to its ends, as the dialog's range fields are.
    auto clamp = [&](int c) { return std::max(0, std::min(c, s.m_nChannels - 1)); };
    const int first = clamp(args.first.value_or(0));
    const int last = clamp(args.last.value_or(s.m_nChannels - 1));
    PeakSearchOutcome outcome = SearchPeakChannels(s, world->env.settings, first, last);
    if (outcome.message == "Invalid range!")
        throw Failure(outcome.message);
    if (!outcome.message.empty())
        std::cerr << outcome.message << '\n';
    std::cout << roisJson(outcome.peaks, s.m_calibrate, world->env.settings, library.get()).dump(2)
              << '\n';
    return 0;
}

int runCopyData(const CopyDataArgs& args) {
    auto world = openWorld(args.file, args.options);
    auto library = loadLibrary(args.options);
    std::cout << SpectrumDataText(*world->spectrum, world->env.settings, library.get());
    return 0;
}

int runAutoCal(const AutoCalArgs& args) {
    auto world = openWorld(args.file, args.options);
    CSpectrum& s = *world->spectrum;
    if (args.selectedRoi) {
        if (*args.selectedRoi < 0 || *args.selectedRoi >= s.m_roi.GetCount())
            throw Failure(Format("The spectrum has no ROI %d.", *args.selectedRoi));
        s.m_roi.SetSelected(*args.selectedRoi);
    }
    AutoCalResult result = AutoCalibrate(s, args.autocal, args.cursor);
    if (!result.message.empty())
        throw Failure(result.message);
    if (result.changed && !args.out.empty()) {
        const int position = world->list->PositionOf(&s);
        if (SaveSpectrumToPath(world->env, s, args.out, position) != SaveResult::Saved) {
            const std::string& why = world->prompt.lastMessage();
            throw Failure(why.empty() ? "System error." : why);
        }
    }
    Json j = calibrationJson(s.m_calibrate);
    j["calibration"] = calibrationJson(s.m_calibrate);
    std::cout << j.dump(2) << '\n';
    return 0;
}

} // namespace

void registerAnalysisCommands(CLI::App& app, Runtime& rt) {
    auto stats = std::make_shared<StatsArgs>();
    CLI::App* statsCmd = app.add_subcommand(
        "stats", "Recompute the ROI statistics of a spectrum file once, as Recompute all does");
    statsCmd->add_option("FILE", stats->file, "spectrum file")->required();
    statsCmd
        ->add_option("--roi", stats->rois,
                     "START:END in channels, instead of the file's ROIs (added by the sorted add)")
        ->check(CLI::Validator(
            [](std::string& v) {
                return parseRange(v) ? std::string() : "expected START:END, got " + v;
            },
            "START:END"));
    addAnalysisOptions(statsCmd, stats->options);
    setRun(statsCmd, rt, [stats] { return runStats(*stats); });

    auto peaks = std::make_shared<PeaksArgs>();
    CLI::App* peaksCmd = app.add_subcommand(
        "peaks", "Peak search; prints the ROIs that remain after the BAD ones are removed");
    peaksCmd->add_option("FILE", peaks->file, "spectrum file")->required();
    peaksCmd->add_option("--first", peaks->first, "first channel (default 0)");
    peaksCmd->add_option("--last", peaks->last, "last channel (default the last one)");
    peaksCmd->add_option("--width", peaks->width, "expected FWHM in channels (peak_width)")
        ->check(CLI::Range(2, 100000))
        ->capture_default_str();
    peaksCmd->add_option("--sensitivity", peaks->sensitivity, "peak_search_sens")
        ->check(CLI::Range(0.5, 1000000.0))
        ->capture_default_str();
    addAnalysisOptions(peaksCmd, peaks->options);
    setRun(peaksCmd, rt, [peaks] { return runPeaks(*peaks); });

    auto copy = std::make_shared<CopyDataArgs>();
    CLI::App* copyCmd = app.add_subcommand(
        "copy-data", "The \"Copy Spectrum Data\" text of a spectrum file, as put on the clipboard");
    copyCmd->add_option("FILE", copy->file, "spectrum file")->required();
    addAnalysisOptions(copyCmd, copy->options);
    setRun(copyCmd, rt, [copy] { return runCopyData(*copy); });

    auto cal = std::make_shared<AutoCalArgs>();
    CLI::App* calCmd = app.add_subcommand(
        "autocal", "Auto Calibration; prints the new calibration (label, calibrated, points, a, "
                   "b, c; also under \"calibration\" as info prints it)");
    calCmd->add_option("FILE", cal->file, "spectrum file")->required();
    calCmd->add_option("--method", cal->autocal.method, "0 Centroid, 1 Cursor, 2 2 Peak Centroid")
        ->check(CLI::Range(0, 2))
        ->capture_default_str();
    calCmd->add_option("--value", cal->autocal.value, "AutoCalValue")->capture_default_str();
    calCmd->add_option("--value2", cal->autocal.value2, "AutoCalValue2")->capture_default_str();
    calCmd->add_option("--units", cal->autocal.units, "AutoCalUnits")->capture_default_str();
    calCmd->add_option("--cursor", cal->cursor, "cursor channel for the Cursor method");
    calCmd->add_option("--selected-roi", cal->selectedRoi,
                       "index of the selected ROI for the Centroid method (default: none)");
    calCmd->add_option("--out", cal->out, "save the calibrated spectrum to this file");
    addAnalysisOptions(calCmd, cal->options);
    setRun(calCmd, rt, [cal] { return runAutoCal(*cal); });
}

} // namespace vorna::cli
