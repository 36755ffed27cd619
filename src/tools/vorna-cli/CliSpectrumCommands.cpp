// info and convert: a spectrum file as the program reads it, and written back by its writer.

#include <iostream>

#include "CliCommon.h"
#include "common/AtomicFile.h"
#include "spectrum/SpectrumWriter.h"

namespace vorna::cli {
namespace {

Json infoJson(const World& w, bool withData) {
    const CSpectrum& s = *w.spectrum;
    Json j;
    j["tag"] = text(s.m_strTag);
    j["description"] = text(s.m_strDescription);
    j["general_notes"] = text(s.m_strGeneralNotes);
    j["system_notes"] = text(s.m_strSystemNotes);
    j["other_notes"] = text(s.m_strOtherNotes);
    j["gain"] = s.m_nGain;
    j["channels"] = s.m_nChannels;
    j["threshold"] = s.m_nThreshold;
    j["live_mode"] = s.m_nLiveMode;
    j["preset_time"] = s.m_nPresetTime;
    j["live_time"] = number(s.m_dLiveTime);
    j["real_time"] = number(s.m_dRealTime);
    j["start_time"] = text(s.m_szStartTime);
    j["serial_number"] = s.m_nSerialNumber;
    j["total_counts"] = number(s.m_dTotalCounts);
    j["last_valid_channel"] = s.LastValidChannel(w.env.dppDeviceType, w.list->GetActivePosition());
    j["calibration"] = calibrationJson(s.m_calibrate);
    Json rois = Json::array();
    for (const CRoiEntry& r : s.m_roi.Entries())
        rois.push_back(Json::array({r.start, r.end}));
    j["rois"] = std::move(rois);
    j["dpp_device_code"] = s.m_nDppDeviceCode;
    j["dpp_config"] = text(s.m_strDppConfig);
    j["dpp_status"] = text(s.m_strDppStatus);
    j["boot_flags"] = text(s.m_strBootFlags);
    j["clock_80mhz"] = s.m_bClock80MHz != 0;
    Json values = Json::object();
    for (int i = 0; i < kDppValueCount; ++i) {
        auto v = static_cast<DppValue>(i);
        values[DppValueName(v)] = text(s.DppValueText(v));
    }
    j["dpp_values"] = std::move(values);
    if (withData) {
        Json data = Json::array();
        for (double v : s.m_pData)
            data.push_back(number(v));
        j["data"] = std::move(data);
    }
    return j;
}

struct InfoArgs {
    AnalysisOptions options;
    std::string file;
    bool data = false;
};

struct ConvertArgs {
    AnalysisOptions options;
    std::string in;
    std::string out;
};

} // namespace

void registerSpectrumCommands(CLI::App& app, Runtime& rt) {
    auto info = std::make_shared<InfoArgs>();
    CLI::App* infoCmd = app.add_subcommand("info", "Print a spectrum file as the program reads it");
    infoCmd->add_option("FILE", info->file, "spectrum file (.mca, .mcs)")->required();
    infoCmd->add_flag("--data", info->data, "also print the channel contents");
    addAnalysisOptions(infoCmd, info->options);
    setRun(infoCmd, rt, [info] {
        auto world = openWorld(info->file, info->options);
        std::cout << infoJson(*world, info->data).dump(2) << '\n';
        return 0;
    });

    auto conv = std::make_shared<ConvertArgs>();
    CLI::App* convCmd =
        app.add_subcommand("convert", "Read a spectrum file and write it with the spectrum writer");
    convCmd->add_option("IN", conv->in, "spectrum file to read")->required();
    convCmd->add_option("OUT", conv->out, "spectrum file to write (replaced atomically)")
        ->required();
    addAnalysisOptions(convCmd, conv->options);
    setRun(convCmd, rt, [conv] {
        auto world = openWorld(conv->in, conv->options);
        // The opened spectrum stands at position 1, so its stored DPP blocks are written.
        SpectrumWriteOptions options;
        options.dppDeviceType = world->env.dppDeviceType;
        std::string bytes;
        WriteSpectrum(*world->spectrum, options, bytes);
        FileResult written = WriteFileAtomically(conv->out, bytes);
        if (!written.ok)
            throw Failure(written.error.empty() ? "System error." : written.error);
        return 0;
    });
}

} // namespace vorna::cli
