#pragma once
// The four pages of the preferences sheet as the window shows them: titles, the Defaults
// button, which controls are enabled, and the working copies of their values.

#include <string>
#include <vector>

namespace vorna {

enum class PreferencesPage : int { General = 0, Mca = 1, Analysis = 2, Plot = 3 };
constexpr int kPreferencesPageCount = 4;

// How one page looks for the device type in force.
struct PageDescription {
    std::string title;           // "  &General  ", "  &MCA  " or "Vesta MCA Setup", …
    std::string defaultsCaption; // "Defaults - General" …, " " on a disabled MCA page
    bool defaultsEnabled = true;
    bool controlsEnabled = true;
};

// The Kestrel analyzer as the MCA page sees it when it opens.
struct McaLinkState {
    bool connected = false;
    int securityCode = 0; // held by the acquisition controller
    int batteryType = 0;  // 0 Alkaline, 1 NiCd
};

// `deviceType` is the profile's: 0 Kestrel family, 1..4 a DPP.
PageDescription DescribePage(PreferencesPage page, int deviceType);
// The MCA page on a Kestrel without a connection shows this and disables the security code and
// battery type; empty otherwise.
std::string McaOpeningMessage(int deviceType, const McaLinkState& link);
bool McaSecurityFieldsEnabled(int deviceType, const McaLinkState& link);

// Working copies. Fields that are range-checked when read are kept as the texts typed.
struct GeneralPageValues {
    std::string profileName;
    bool saveOnExit = false;
    std::string spectraDirectory;
    std::string templateFile;
    bool loadCalibration = false;
    bool loadRoi = false;
    bool startDlgShow = false;
};

struct McaPageValues {
    std::string comPort;  // "COM%i", empty when not defined
    std::string baudRate; // "115200" …
    bool autoConnect = false;
    std::string interval;     // seconds
    bool manual = false;      // the inverse of auto_update
    std::string securityCode; // 0..65535
    int batteryType = 0;      // 0 "Alkaline", 1 "NiCd"
};

struct AnalysisPageValues {
    std::string backgroundChannels; // 1..1024
    int goodPeakLevel = 0;
    std::string peakSearchSens; // a number
    int peakWidth = 0;
    int fwhmCalcMethod = 0;
    int fwhmNoSmooths = 0;
    int centroidCalcMethod = 0;
    std::string libraryDirectory;
    std::string libraryFile;
    std::string librarySens; // a number
    bool libraryAutoload = false;
    bool repeatEnable = false;
    std::string repeatDirectory;
    std::string repeatFilename;
    int repeatLoops = 0;
    std::string repeatDelay;     // a number, seconds
    int initialPeakingTime = 0;  // index into InitialPeakingTimes()
    bool resolutionTest = false; // not stored; unchecked at every opening
};

struct PlotPageValues {
    bool gridEnable = false;
    bool ticksEnable = false;
    bool showRoi = false;
    bool showAllRoi = false;
    bool fillEnable = false;
    bool autoscale = false;
    int gridStyle = 0;
    int horzCells = 0;
    int vertCells = 0;
    int backgroundColor = 0;
    int gridColor = 0;
    int roiColor = 0;
    int roiSelectColor = 0;
    int fillColor = 0;
};

// The list texts of the Analysis page.
const std::vector<std::string>& FwhmMethodNames();
const std::vector<std::string>& FwhmSmoothNames();
const std::vector<std::string>& CentroidMethodNames();
const std::vector<std::string>& InitialPeakingTimes();

} // namespace vorna
