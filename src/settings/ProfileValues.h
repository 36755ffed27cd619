#pragma once
// Every stored user setting, as the program reads and changes it in memory. Window and dialog
// positions are in pixels here; the store keeps them in 1/10000 of the screen. Defaults are not
// written here but in the key table (ProfileSchema), the one place that names, types and defaults
// each value; ProfileValues::Defaults() applies it.

#include <array>
#include <string>

namespace vorna {

// Line width, colour (0x00BBGGRR) and tag of a new spectrum.
struct ProfileSlot {
    int width = 0;
    int color = 0;
    std::string tag;
};

// Where a dialog last closed (its top-left corner).
struct DialogPosition {
    int hpos = 0;
    int vpos = 0;
};

// Dialogs that reopen where they were closed, in the order their keys are stored.
enum class ProfileDialog {
    SpectraList,
    RoiList,
    RoiDlg,
    CalibrateDlg,
    AcqSetupDlg,
    ComDlg,
    LibList,
    ExpressionDlg,
    PeakSearchDlg,
    NotesDlg,
    ViewSpectraDlg,
    UserPrefsDlg,
};
constexpr int kProfileDialogCount = 12;

// A pane font in the terms of the platform's logical font.
struct PaneFont {
    int height = 0;
    int width = 0;
    int weight = 0;
    int pitchAndFamily = 0;
    int charSet = 0;
    int outPrecision = 0;
    int quality = 0;
    std::string face;
};

struct ProfileValues {
    // General and files.
    int startDlgShow = 0;
    int dppUpdateDlgShow = 0;
    std::string spectraDirectory;
    std::string libraryDirectory;
    std::string libraryFile;
    std::string spectrumTemplateFile;
    int libraryAutoload = 0;
    int libraryShow = 0;
    double librarySens = 0;
    double peakSearchSens = 0;
    int saveOnExit = 0;
    int loadCalibration = 0;
    int loadRoi = 0;
    int calibrateEnable = 0;
    int showRoi = 0;
    int showAllRoi = 0;
    int smoothKind = 0;
    int scaleType = 0;

    // Kestrel link and acquisition.
    int comPort = 0;
    int baudRate = 0;
    int autoConnect = 0;
    int autoUpdate = 0;
    int updateInterval = 0;
    // Device file per COM number 1..9 ("serial_device_<n>"); index 0 is COM1. Empty: the default
    // mapping of SerialDevicePath.
    std::array<std::string, 9> serialDevices;
    int group = 0;
    int gainIndex = 0;
    int threshold = 0;
    int liveMode = 0;
    int absolutePeak = 0;
    int acquireMode = 0; // m_nAcquireMode; always stored as 0 (MCA)
    int presetMode = 0;
    int spTotalCts = 0;
    int spChanCts = 0;
    int spChanPosition = 0;
    int deviceType = 0;
    int dataRefresh = 0;

    // Analysis.
    int backgroundChannels = 0;
    int peakWidth = 0;
    int goodPeakLevel = 0;
    int calibEquationType = 0;
    int fwhmCalcMethod = 0;
    int fwhmNoSmooths = 0;
    int centroidCalcMethod = 0;
    std::string autoCalUnits;
    std::string autoCalValue;
    std::string autoCalValue2;
    int autoCalMethod = 0;

    // Repeated measurement.
    int repeatMeasEnable = 0;
    int repeatMeasLoops = 0;
    int spectrumResStartInt = 0;
    double repeatMeasDelay = 0;
    std::string repeatMeasDirectory;
    std::string repeatMeasFilename;

    // DPP tuning and display.
    int maxSlowThreshVal = 0;
    int slowThreshUseUpperCountFilter = 0;
    double lowGain = 0;
    double highGain = 0;
    double fastThreshMult = 0;
    double fastThreshDeltaMult = 0;
    double slowThreshMult = 0;
    double slowThreshDeltaMult = 0;
    int useAutoThreshScaling = 0;
    int autoThreshScaleDataOK = 0;
    int scopeAutoReArm = 0;
    int dppPrintConfig = 0;
    int dppForceHwCfgByFile = 0;
    // USB vendor:product IDs of the DPPs ("vvvv:pppp, ..."); empty until the user enters them.
    std::string dppUsbIds;

    // Plot; colours are 0x00BBGGRR.
    int plotGridStyle = 0;
    int plotGridColor = 0;
    int plotGridEnable = 0;
    int plotTicksEnable = 0;
    int plotAutoscale = 0;
    int plotHorzCells = 0;
    int plotVertCells = 0;
    int plotBackgroundColor = 0;
    int plotFillColor = 0;
    int plotFillEnable = 0;
    int plotRoiColor = 0;
    int plotRoiSelectColor = 0;

    // Spectrum display slots for list positions 0..9, and for new spectra beyond them.
    std::array<ProfileSlot, 10> slots;
    ProfileSlot commonDefaults;

    // Main window placement (pixels), splitters (pixels) and dialog positions (pixels).
    int placementFlags = 0;
    int placementShow = 0;
    int placementLeft = 0;
    int placementTop = 0;
    int placementRight = 0;
    int placementBottom = 0;
    int leftSplit = 0;
    int topSplit = 0;
    std::array<DialogPosition, kProfileDialogCount> dialogs;
    int libListWidth = 0;
    int libListHeight = 0;

    // Info pane and navigation ("select") pane fonts and colours.
    PaneFont infoFont;
    PaneFont selectFont;
    int infoColor = 0;
    int selectColor = 0;

    DialogPosition& Dialog(ProfileDialog d) { return dialogs[static_cast<size_t>(d)]; }
    const DialogPosition& Dialog(ProfileDialog d) const { return dialogs[static_cast<size_t>(d)]; }

    // The table defaults, positions as stored (1/10000 of the screen, not yet pixels).
    static ProfileValues Defaults();
};

} // namespace vorna
