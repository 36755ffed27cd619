#include "settings/ProfileSchema.h"

#include <unordered_map>

#include "common/NumberText.h"

namespace vorna {
namespace {

constexpr std::string_view kDialogNames[kProfileDialogCount] = {
    "spectra_list",    "roi_list",  "roi_dlg",          "calibrate_dlg",
    "acq_setup_dlg",   "com_dlg",   "lib_list",         "expression_dlg",
    "peak_search_dlg", "notes_dlg", "view_spectra_dlg", "user_prefs_dlg",
};

// Builds the table; rows are appended in the order load and save visit them.
class TableBuilder {
public:
    std::vector<ProfileKeyInfo> rows;

    void Int(std::string name, int ProfileValues::*member, int dflt,
             ProfileAxis axis = ProfileAxis::None) {
        IntAt(std::move(name), dflt, axis, [member](ProfileValues& v) { return &(v.*member); });
    }
    void Text(std::string name, std::string ProfileValues::*member, std::string dflt) {
        TextAt(std::move(name), std::move(dflt), 0,
               [member](ProfileValues& v) { return &(v.*member); });
    }
    void Decimal(std::string name, double ProfileValues::*member, std::string dflt) {
        ProfileKeyInfo row;
        row.name = std::move(name);
        row.type = ProfileType::Decimal;
        row.textDefault = std::move(dflt);
        row.field = [member](ProfileValues& v) -> ProfileField { return &(v.*member); };
        rows.push_back(std::move(row));
    }

    template <class Get> void IntAt(std::string name, int dflt, ProfileAxis axis, Get get) {
        ProfileKeyInfo row;
        row.name = std::move(name);
        row.intDefault = dflt;
        row.axis = axis;
        row.field = [get](ProfileValues& v) -> ProfileField { return get(v); };
        rows.push_back(std::move(row));
    }
    template <class Get>
    void TextAt(std::string name, std::string dflt, size_t maxLength, Get get) {
        ProfileKeyInfo row;
        row.name = std::move(name);
        row.type = ProfileType::Text;
        row.textDefault = std::move(dflt);
        row.maxLength = maxLength;
        row.field = [get](ProfileValues& v) -> ProfileField { return get(v); };
        rows.push_back(std::move(row));
    }

    // "<prefix>_width", "<prefix>_color", "<prefix>_tag".
    template <class Get> void Slot(const std::string& prefix, ProfileSlot dflt, Get get) {
        IntAt(prefix + "_width", dflt.width, ProfileAxis::None,
              [get](ProfileValues& v) { return &get(v).width; });
        IntAt(prefix + "_color", dflt.color, ProfileAxis::None,
              [get](ProfileValues& v) { return &get(v).color; });
        TextAt(prefix + "_tag", dflt.tag, 0, [get](ProfileValues& v) { return &get(v).tag; });
    }

    // "<prefix>_font_Height" … "<prefix>_font_Face", then "<prefix>_color".
    void Pane(const std::string& prefix, PaneFont ProfileValues::*font, int ProfileValues::*color) {
        struct Part {
            const char* name;
            int PaneFont::*member;
            int dflt;
        };
        static constexpr Part parts[] = {
            {"Height", &PaneFont::height, 14},  {"Width", &PaneFont::width, 7},
            {"Weight", &PaneFont::weight, 700}, {"PitchAndFamily", &PaneFont::pitchAndFamily, 0},
            {"CharSet", &PaneFont::charSet, 0}, {"OutPrecision", &PaneFont::outPrecision, 0},
            {"Quality", &PaneFont::quality, 0},
        };
        for (const Part& p : parts)
            IntAt(prefix + "_font_" + p.name, p.dflt, ProfileAxis::None,
                  [font, m = p.member](ProfileValues& v) { return &((v.*font).*m); });
        // The platform's logical font keeps at most 32 characters of a face name.
        TextAt(prefix + "_font_Face", "Arial", 32,
               [font](ProfileValues& v) { return &(v.*font).face; });
        Int(prefix + "_color", color, 0xD8E9EC);
    }
};

std::vector<ProfileKeyInfo> BuildTable() {
    using V = ProfileValues;
    constexpr auto H = ProfileAxis::Horizontal;
    constexpr auto Vt = ProfileAxis::Vertical;
    TableBuilder t;

    t.Int("start_dlg_show", &V::startDlgShow, 1);
    t.Int("dpp_update_dlg_show", &V::dppUpdateDlgShow, 1);

    // Folders and files.
    t.Text("spectra_directory", &V::spectraDirectory, "\\");
    t.Text("library_directory", &V::libraryDirectory, "\\");
    t.Text("library_file", &V::libraryFile, "*.lib");
    t.Text("m_strSpectrumTemplateFile", &V::spectrumTemplateFile, "*.mca");

    // Element library.
    t.Int("library_autoload", &V::libraryAutoload, 0);
    t.Int("library_show", &V::libraryShow, 0);
    t.Decimal("library_sens", &V::librarySens, "10.0");

    // Acquisition.
    t.Int("m_nAcquireMode", &V::acquireMode, 0);
    t.Int("m_nPresetMode", &V::presetMode, 0);
    t.Int("m_nSpTotalCts", &V::spTotalCts, 1000);
    t.Int("m_nSpChanCts", &V::spChanCts, 1000);
    t.Int("m_nSpChanPosition", &V::spChanPosition, 128);
    t.Int("group", &V::group, 0);
    t.Int("gain_index", &V::gainIndex, 2);
    t.Int("threshold", &V::threshold, 0);
    t.Int("live_mode", &V::liveMode, 0);
    t.Int("absolute_peak", &V::absolutePeak, 0);

    // Analysis.
    t.Int("background_channels", &V::backgroundChannels, 1);
    t.Int("peak_width", &V::peakWidth, 5);
    t.Int("good_peak_level", &V::goodPeakLevel, 100);
    t.Decimal("peak_search_sens", &V::peakSearchSens, "5.0");
    t.Int("m_nCalibEquationType", &V::calibEquationType, 1);
    t.Int("m_nFWHMCalcMethod", &V::fwhmCalcMethod, 0);
    t.Int("m_nFWHMNoSmooths", &V::fwhmNoSmooths, 0);
    t.Int("m_nCentroidCalcMethod", &V::centroidCalcMethod, 0);

    // Main window placement and dialog positions.
    t.Int("placement_flags", &V::placementFlags, 0);
    t.Int("placement_show", &V::placementShow, 5);
    t.Int("placement_left", &V::placementLeft, 1200, H);
    t.Int("placement_top", &V::placementTop, 1200, Vt);
    t.Int("placement_right", &V::placementRight, 8500, H);
    t.Int("placement_bottom", &V::placementBottom, 8500, Vt);
    for (int d = 0; d < kProfileDialogCount; ++d) {
        std::string name(kDialogNames[d]);
        auto dialog = static_cast<ProfileDialog>(d);
        t.IntAt(name + "_vpos", 3000, Vt,
                [dialog](ProfileValues& v) { return &v.Dialog(dialog).vpos; });
        t.IntAt(name + "_hpos", 3000, H,
                [dialog](ProfileValues& v) { return &v.Dialog(dialog).hpos; });
    }
    t.Int("lib_list_width", &V::libListWidth, 1500, H);
    t.Int("lib_list_height", &V::libListHeight, 3000, Vt);

    // Splitters, in pixels.
    t.Int("left_split", &V::leftSplit, 5500);
    t.Int("top_split", &V::topSplit, 5000);

    // Switches.
    t.Int("save_on_exit", &V::saveOnExit, 1);
    t.Int("load_calibration", &V::loadCalibration, 1);
    t.Int("load_roi", &V::loadRoi, 1);
    t.Int("calibrate_enable", &V::calibrateEnable, 1);
    t.Int("show_roi", &V::showRoi, 1);
    t.Int("show_all_roi", &V::showAllRoi, 1);

    // Kestrel link.
    t.Int("com_port", &V::comPort, 1);
    t.Int("baud_rate", &V::baudRate, 115200);
    t.Int("auto_connect", &V::autoConnect, 0);
    t.Int("auto_update", &V::autoUpdate, 1);
    t.Int("update_interval", &V::updateInterval, 1000);
    for (int n = 1; n <= 9; ++n)
        t.TextAt(Format("serial_device_%d", n), "", 0,
                 [n](ProfileValues& v) { return &v.serialDevices[static_cast<size_t>(n - 1)]; });

    // Display.
    t.Int("smooth_kind", &V::smoothKind, 0);
    t.Int("scale_type", &V::scaleType, 0);

    // Plot.
    t.Int("plot_grid_style", &V::plotGridStyle, 0);
    t.Int("plot_grid_color", &V::plotGridColor, 0x804000);
    t.Int("plot_grid_enable", &V::plotGridEnable, 0);
    t.Int("plot_ticks_enable", &V::plotTicksEnable, 1);
    t.Int("plot_autoscale", &V::plotAutoscale, 0);
    t.Int("plot_horz_cells", &V::plotHorzCells, 8);
    t.Int("plot_vert_cells", &V::plotVertCells, 6);
    t.Int("plot_background_color", &V::plotBackgroundColor, 0xFFFFFF);
    t.Int("plot_fill_color", &V::plotFillColor, 255);
    t.Int("plot_fill_enable", &V::plotFillEnable, 1);
    t.Int("plot_roi_color", &V::plotRoiColor, 0xFF0000);
    t.Int("plot_roi_select_color", &V::plotRoiSelectColor, 0xFFFF00);

    // Spectrum display slots.
    const ProfileSlot slotDefaults[5] = {{1, 0x000000, "live_data"},
                                         {1, 0x008000, "S1"},
                                         {1, 0x800080, "S2"},
                                         {1, 0xC08000, "S3"},
                                         {1, 0x00FFFF, "S4"}};
    for (int n = 0; n < 10; ++n) {
        ProfileSlot dflt = n < 5 ? slotDefaults[n] : ProfileSlot{2, 0x007F00, Format("S%d", n)};
        t.Slot(Format("spectrum%d", n), dflt,
               [n](ProfileValues& v) -> ProfileSlot& { return v.slots[static_cast<size_t>(n)]; });
    }

    // Automatic calibration.
    t.Text("AutoCalUnits", &V::autoCalUnits, "keV");
    t.Text("AutoCalValue", &V::autoCalValue, "5.89");
    t.Text("AutoCalValue2", &V::autoCalValue2, "6.49");
    t.Int("AutoCalMethod", &V::autoCalMethod, 0);

    // Repeated measurement.
    t.Int("RepeatMeasEnable", &V::repeatMeasEnable, 0);
    t.Int("RepeatMeasLoops", &V::repeatMeasLoops, 0);
    t.Int("SpectrumResStartInt", &V::spectrumResStartInt, 0);
    t.Decimal("RepeatMeasDelay", &V::repeatMeasDelay, "1");
    t.Text("RepeatMeasDirectory", &V::repeatMeasDirectory, "");
    t.Text("RepeatMeasFilename", &V::repeatMeasFilename, "");

    // DPP tuning and display.
    t.Int("MaxSlowThreshVal", &V::maxSlowThreshVal, 0);
    t.Int("SlowThreshUseUpperCountFilter", &V::slowThreshUseUpperCountFilter, 0);
    t.Decimal("LowGain", &V::lowGain, "10.00");
    t.Decimal("HighGain", &V::highGain, "210.00");
    t.Decimal("FastThreshMult", &V::fastThreshMult, "1.3");
    t.Decimal("FastThreshDeltaMult", &V::fastThreshDeltaMult, "0");
    t.Decimal("SlowThreshMult", &V::slowThreshMult, "1.1");
    t.Decimal("SlowThreshDeltaMult", &V::slowThreshDeltaMult, "0");
    t.Int("UseAutoThreshScaling", &V::useAutoThreshScaling, 0);
    t.Int("AutoThreshScaleDataOK", &V::autoThreshScaleDataOK, 0);
    t.Int("ScopeAutoReArm", &V::scopeAutoReArm, 0);
    t.Int("DppPrintConfig", &V::dppPrintConfig, 0);

    t.Int("device_type", &V::deviceType, 0);
    t.Int("data_refresh", &V::dataRefresh, 1000);
    t.Int("DppForceHwCfgByFile", &V::dppForceHwCfgByFile, 0);
    t.Text("dpp_usb_ids", &V::dppUsbIds, "");

    t.Slot("common_defaults", ProfileSlot{2, 0x808000, "S"},
           [](ProfileValues& v) -> ProfileSlot& { return v.commonDefaults; });

    t.Pane("info", &V::infoFont, &V::infoColor);
    t.Pane("select", &V::selectFont, &V::selectColor);
    return std::move(t.rows);
}

} // namespace

const std::vector<ProfileKeyInfo>& ProfileKeys() {
    static const std::vector<ProfileKeyInfo> table = BuildTable();
    return table;
}

const ProfileKeyInfo* FindProfileKey(std::string_view name) {
    static const std::unordered_map<std::string_view, const ProfileKeyInfo*> index = [] {
        std::unordered_map<std::string_view, const ProfileKeyInfo*> m;
        for (const auto& row : ProfileKeys())
            m.emplace(row.name, &row);
        return m;
    }();
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

std::string_view ProfileDialogName(ProfileDialog dialog) {
    return kDialogNames[static_cast<size_t>(dialog)];
}

ProfileValues ProfileValues::Defaults() {
    ProfileValues v;
    for (const auto& row : ProfileKeys()) {
        ProfileField f = row.field(v);
        if (int** i = std::get_if<int*>(&f))
            **i = row.intDefault;
        else if (double** d = std::get_if<double*>(&f))
            **d = ScanDouble(row.textDefault).value_or(0.0);
        else
            *std::get<std::string*>(f) = row.textDefault;
    }
    return v;
}

} // namespace vorna
