#pragma once
// The info pane's texts: which label and value stand in which row for the active spectrum, in
// the Kestrel layout or the DPP layout. The widget only places the texts.

#include <string>
#include <vector>

namespace vorna {

class CSpectrum;
class ElementLibrary;
struct DppLiveInfo;
struct AnalysisSettings;

struct InfoPaneCell {
    int row = 0;
    std::string label; // label column (empty: none)
    std::string value; // value column (empty: none)
};

// What the pane needs beside the spectrum. Device values stay at their "no device" defaults
// until a device link fills them.
struct InfoPaneInput {
    int deviceType = 0;    // 0 Kestrel family, else DPP
    int listPosition = 0;  // of the active spectrum; 0 is the live spectrum
    int acquireMode = 0;   // m_nAcquireMode
    int presetMode = 0;    // m_nPresetMode
    int presetChannel = 0; // m_nSpChanPosition
    int deviceState = 0;   // 0..3: disconnected, disconnected, stopped, acquiring
    bool kestrelConnected = false;
    bool kestrelIsA = true; // a KestrelA rather than the older Kestrel
    int kestrelSerial = 0;
    int kestrelGroup = -1;                // below 0: no status read yet
    std::string dppName;                  // live DPP: the device-type name
    const DppLiveInfo* dppLive = nullptr; // the connected DPP's values (live spectrum)
    const ElementLibrary* library = nullptr;
};

// Rows of the two layouts.
inline constexpr int kKestrelPeakRow = 18;
inline constexpr int kDppPeakRow = 23;

// The whole pane. `spectrum` must be locked by the caller (or owned by it).
std::vector<InfoPaneCell> InfoPaneCells(const CSpectrum& spectrum, const AnalysisSettings& settings,
                                        const InfoPaneInput& input);

// The pieces, for tests and the printed page.
std::string InfoSourceText(const CSpectrum& spectrum, const InfoPaneInput& input);
std::string CentroidLabel(int method);
std::string CentroidValueText(double calibratedCentroid);
const char* AcquisitionStateText(int state);

} // namespace vorna
