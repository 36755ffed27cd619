#include "settings/PreferencesModel.h"

#include <cmath>

#include "common/DataFolders.h"
#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "settings/CSProfile.h"

namespace vorna {

namespace {

constexpr const char* kLibraryPattern = "*.lib";
constexpr const char* kTemplatePattern = "*.mca";

bool isDpp(int deviceType) {
    return deviceType >= 1 && deviceType <= 4;
}

// A whole-text integer within [low, high].
std::optional<int> intInRange(const std::string& text, int low, int high) {
    size_t used = 0;
    std::optional<int> v = ScanIntPrefix(text, used);
    if (!v || used != text.size() || *v < low || *v > high)
        return std::nullopt;
    return v;
}

// A whole-text finite number.
std::optional<double> wholeNumber(const std::string& text) {
    size_t used = 0;
    std::optional<double> v = ScanDoublePrefix(text, used);
    if (!v || used != text.size() || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

GeneralPageValues generalDefaults() {
    GeneralPageValues g;
    g.profileName = "Standard";
    g.templateFile = kTemplatePattern;
    return g;
}

McaPageValues mcaDefaults() {
    McaPageValues m;
    m.comPort = "COM1";
    m.baudRate = "115200";
    m.interval = "1";
    m.securityCode = "0";
    return m;
}

AnalysisPageValues analysisDefaults() {
    AnalysisPageValues a;
    a.backgroundChannels = "1";
    a.goodPeakLevel = 100;
    a.peakSearchSens = "5";
    a.peakWidth = 20;
    a.libraryFile = kLibraryPattern;
    a.librarySens = "5";
    a.repeatDelay = "1";
    return a;
}

PlotPageValues plotDefaults() {
    PlotPageValues p;
    p.ticksEnable = p.showRoi = p.showAllRoi = p.fillEnable = true;
    p.gridStyle = 2;
    p.horzCells = 10;
    p.vertCells = 8;
    p.backgroundColor = 0xFFFFFF;
    p.gridColor = 0x000000;
    p.roiColor = 0xFF0000;
    p.roiSelectColor = 0xFFFF00;
    p.fillColor = 0x0000FF;
    return p;
}

} // namespace

int ComPortFromText(const std::string& text) {
    if (text.size() >= 4 && text.compare(0, 3, "COM") == 0 && text[3] >= '1' && text[3] <= '9')
        return text[3] - '0';
    return -1;
}

std::string ComPortText(int port) {
    return port < 0 ? std::string() : Format("COM%i", port);
}

std::optional<int> IntervalMsFromText(const std::string& text) {
    std::optional<double> seconds = wholeNumber(text);
    if (!seconds || !(*seconds >= 0.0 && *seconds <= 100000.0))
        return std::nullopt;
    return static_cast<int>(*seconds * 1000.0);
}

bool FolderFieldHasRoom(const std::string& folderText) {
    const std::string folder = ResolveFolder(folderText);
    if (IsUnsetFolder(folderText))
        EnsureFolder(folder);
    return CSProfile::CheckRoom(folder + "lumo-temp.tmp");
}

void ApplyColourPreset(CSProfile& p, ColourPreset preset) {
    const bool lumo = preset == ColourPreset::Lumo;
    p.plotBackgroundColor = lumo ? 0xC0C0C0 : 0xFFFFFF;
    p.infoColor = p.selectColor = lumo ? 0x808040 : 0xD8E9EC;
}

PreferencesModel::PreferencesModel(const CSProfile& p, int deviceType, const McaLinkState& link)
    : m_deviceType(deviceType), m_link(link) {
    general = {p.ProfileName(),        p.saveOnExit != 0,      p.spectraDirectory,
               p.spectrumTemplateFile, p.loadCalibration != 0, p.loadRoi != 0,
               p.startDlgShow != 0};
    mca.comPort = ComPortText(p.comPort);
    mca.baudRate = Format("%d", p.baudRate);
    mca.autoConnect = p.autoConnect != 0;
    mca.interval = Format("%g", p.updateInterval / 1000.0);
    mca.manual = p.autoUpdate == 0;
    mca.securityCode = Format("%d", link.securityCode);
    mca.batteryType = link.batteryType;
    analysis = {Format("%d", p.backgroundChannels),
                p.goodPeakLevel,
                Format("%g", p.peakSearchSens),
                p.peakWidth,
                p.fwhmCalcMethod,
                p.fwhmNoSmooths,
                p.centroidCalcMethod,
                p.libraryDirectory,
                p.libraryFile,
                Format("%g", p.librarySens),
                p.libraryAutoload != 0,
                p.repeatMeasEnable != 0,
                p.repeatMeasDirectory,
                p.repeatMeasFilename,
                p.repeatMeasLoops,
                Format("%g", p.repeatMeasDelay),
                p.spectrumResStartInt,
                false};
    m_templateSwitchesEnabled = !general.templateFile.empty();
    plot = {p.plotGridEnable != 0, p.plotTicksEnable != 0, p.showRoi != 0,  p.showAllRoi != 0,
            p.plotFillEnable != 0, p.plotAutoscale != 0,   p.plotGridStyle, p.plotHorzCells,
            p.plotVertCells,       p.plotBackgroundColor,  p.plotGridColor, p.plotRoiColor,
            p.plotRoiSelectColor,  p.plotFillColor};
}

std::string PreferencesModel::PressDefaults(PreferencesPage page) {
    if (!DescribePage(page, m_deviceType).defaultsEnabled)
        return {};
    const char* name = "Plot";
    switch (page) {
    case PreferencesPage::General:
        general = generalDefaults();
        name = "General";
        break;
    case PreferencesPage::Mca:
        mca = mcaDefaults();
        name = "MCA";
        break;
    case PreferencesPage::Analysis:
        analysis = analysisDefaults();
        name = "Analysis";
        break;
    case PreferencesPage::Plot:
        plot = plotDefaults();
        break;
    }
    MarkModified(page);
    m_defaultsUsed = true;
    return Format("Defaults applied for %s Setup...", name);
}

bool PreferencesModel::ResolutionTestEnabled() const {
    return isDpp(m_deviceType);
}

void PreferencesModel::SetResolutionTest(bool on) {
    analysis.resolutionTest = on;
    if (on)
        analysis.repeatLoops = 24;
    MarkModified(PreferencesPage::Analysis);
}

bool PreferencesModel::CheckFoldersAndFiles(UserPrompt& prompt) const {
    const AnalysisPageValues& a = analysis;
    if (!a.libraryDirectory.empty() &&
        !CSProfile::CheckFolder(prompt, a.libraryDirectory, "library"))
        return false;
    if (a.libraryFile != kLibraryPattern &&
        !CSProfile::CheckFile(prompt, ResolveFolderFile(a.libraryDirectory, a.libraryFile)))
        return false;
    const GeneralPageValues& g = general;
    if (!g.spectraDirectory.empty() &&
        !CSProfile::CheckFolder(prompt, g.spectraDirectory, "spectra"))
        return false;
    return g.templateFile == kTemplatePattern ||
           CSProfile::CheckFile(prompt, ResolveFolderFile(g.spectraDirectory, g.templateFile));
}

bool PreferencesModel::CheckRanges(UserPrompt& prompt) const {
    auto refuse = [&](const char* text) {
        prompt.message(text, PromptStyle::Warning);
        return false;
    };
    if (IsModified(PreferencesPage::Mca) && !isDpp(m_deviceType)) {
        if (!IntervalMsFromText(mca.interval))
            return refuse("Please enter a number between 0 and 100000.");
        if (McaSecurityFieldsEnabled(m_deviceType, m_link) &&
            !intInRange(mca.securityCode, 0, 65535))
            return refuse("Please enter an integer between 0 and 65535.");
    }
    if (!IsModified(PreferencesPage::Analysis))
        return true;
    const AnalysisPageValues& a = analysis;
    if (!intInRange(a.backgroundChannels, 1, 1024))
        return refuse("Please enter an integer between 1 and 1024.");
    // A decimal that does not read as a number would otherwise be dropped without a word.
    for (const std::string* decimal : {&a.peakSearchSens, &a.librarySens, &a.repeatDelay})
        if (!wholeNumber(*decimal))
            return refuse("Please enter a number.");
    return true;
}

ApplyOutcome PreferencesModel::Apply(CSProfile& profile, UserPrompt& prompt) {
    ApplyOutcome out;
    if (!m_defaultsUsed && !CheckFoldersAndFiles(prompt))
        return out;
    if (!CheckRanges(prompt))
        return out;
    if (IsModified(PreferencesPage::General))
        ApplyGeneral(profile);
    if (IsModified(PreferencesPage::Mca) && !isDpp(m_deviceType))
        out.mcaSend = ApplyMca(profile);
    if (IsModified(PreferencesPage::Analysis)) {
        ApplyAnalysis(profile);
        out.resolutionTestOption = analysis.resolutionTest;
    }
    if (IsModified(PreferencesPage::Plot))
        ApplyPlot(profile);
    m_modified = {};
    out.applied = true;
    return out;
}

void PreferencesModel::ApplyGeneral(CSProfile& p) const {
    p.SetProfileName(general.profileName);
    p.saveOnExit = general.saveOnExit;
    p.spectraDirectory = WithTrailingSeparator(general.spectraDirectory);
    p.startDlgShow = general.startDlgShow;
    p.loadCalibration = general.loadCalibration;
    p.loadRoi = general.loadRoi;
    p.spectrumTemplateFile = general.templateFile;
}

std::optional<McaSendRequest> PreferencesModel::ApplyMca(CSProfile& p) const {
    size_t used = 0;
    p.baudRate = ScanIntPrefix(mca.baudRate, used).value_or(0);
    p.comPort = ComPortFromText(mca.comPort);
    p.autoConnect = mca.autoConnect;
    p.autoUpdate = !mca.manual;
    p.updateInterval = IntervalMsFromText(mca.interval).value_or(p.updateInterval);
    if (!McaSecurityFieldsEnabled(m_deviceType, m_link))
        return std::nullopt;
    return McaSendRequest{intInRange(mca.securityCode, 0, 65535).value_or(0), mca.batteryType};
}

void PreferencesModel::ApplyAnalysis(CSProfile& p) const {
    const AnalysisPageValues& a = analysis;
    p.backgroundChannels = intInRange(a.backgroundChannels, 1, 1024).value_or(p.backgroundChannels);
    p.goodPeakLevel = a.goodPeakLevel;
    p.peakSearchSens = wholeNumber(a.peakSearchSens).value_or(p.peakSearchSens);
    p.peakWidth = a.peakWidth;
    p.fwhmCalcMethod = a.fwhmCalcMethod;
    p.fwhmNoSmooths = a.fwhmNoSmooths;
    p.centroidCalcMethod = a.centroidCalcMethod;
    p.libraryDirectory = WithTrailingSeparator(a.libraryDirectory);
    p.libraryFile = a.libraryFile;
    p.librarySens = wholeNumber(a.librarySens).value_or(p.librarySens);
    p.libraryAutoload = a.libraryAutoload;
    p.repeatMeasEnable = a.repeatEnable;
    p.repeatMeasDirectory = WithTrailingSeparator(a.repeatDirectory);
    p.repeatMeasFilename = a.repeatFilename;
    p.repeatMeasLoops = a.repeatLoops;
    p.repeatMeasDelay = wholeNumber(a.repeatDelay).value_or(p.repeatMeasDelay);
    p.spectrumResStartInt = a.initialPeakingTime;
}

void PreferencesModel::ApplyPlot(CSProfile& p) const {
    p.plotGridEnable = plot.gridEnable;
    p.plotTicksEnable = plot.ticksEnable;
    p.showRoi = plot.showRoi;
    p.showAllRoi = plot.showAllRoi;
    p.plotFillEnable = plot.fillEnable;
    p.plotAutoscale = plot.autoscale;
    p.plotGridStyle = plot.gridStyle;
    p.plotHorzCells = plot.horzCells;
    p.plotVertCells = plot.vertCells;
    p.plotBackgroundColor = plot.backgroundColor;
    p.plotGridColor = plot.gridColor;
    p.plotRoiColor = plot.roiColor;
    p.plotRoiSelectColor = plot.roiSelectColor;
    p.plotFillColor = plot.fillColor;
}

AfterPreferences DecideAfterPreferences(const ProfileValues& before, const ProfileValues& after,
                                        bool defaultsUsed) {
    AfterPreferences d;
    const bool libraryChanged = before.libraryDirectory != after.libraryDirectory ||
                                before.libraryFile != after.libraryFile ||
                                before.libraryAutoload != after.libraryAutoload;
    d.loadLibrary = after.libraryAutoload != 0 && libraryChanged;
    // Only the Defaults empty a loaded library; "Load on Startup" switched off is about the
    // next start and leaves the library of this run alone.
    d.clearLibrary = !d.loadLibrary && defaultsUsed;
    const bool templateChanged = before.spectraDirectory != after.spectraDirectory ||
                                 before.spectrumTemplateFile != after.spectrumTemplateFile ||
                                 before.loadCalibration != after.loadCalibration ||
                                 before.loadRoi != after.loadRoi;
    d.loadTemplate = (after.loadCalibration != 0 || after.loadRoi != 0) && templateChanged;
    d.clearLiveTables = !d.loadTemplate && defaultsUsed;
    d.recomputeRois = before.fwhmNoSmooths != after.fwhmNoSmooths ||
                      before.fwhmCalcMethod != after.fwhmCalcMethod ||
                      before.centroidCalcMethod != after.centroidCalcMethod ||
                      before.backgroundChannels != after.backgroundChannels;
    return d;
}

} // namespace vorna
