#include "appcore/KeyboardMap.h"

namespace vorna {

const std::vector<KeyboardMapRow>& KeyboardMapRows() {
    static const std::vector<KeyboardMapRow> rows = {
        {"Right Arrow", "Move cursor right"},
        {"Left Arrow", "Move cursor left"},
        {"Up Arrow", "Expand vertical scale"},
        {"Down Arrow", "Compress vertical scale"},
        {"Ctrl + Right Arrow", "Move cursor right to closest ROI"},
        {"Ctrl + Left Arrow", "Move cursor left to closest ROI"},
        {"Space Bar", "Start/Stop data acquisition"},
        {"A", "Delete data and clear time clocks"},
        {"D", "Delete data"},
        {"T", "Clear time clocks"},
        {"L", "Cycle amoung linear, log, and square root scales"},
        {"K", "Move spectrum right"},
        {"J", "Move spectrum left"},
        {"P", "Move half of display page right"},
        {"O", "Move half of display page left"},
        {"M", "Compress horizontal scale"},
        {"N", "Expand horizontal scale"},
        {"C", "Center display on cursor"},
        {"H", "Full horizontal range"},
        {"V", "Autoscale vertical range"},
        {"U", "Mark ROI right"},
        {"Y", "Mark ROI left"},
        {"Ctrl + Y", "Unmark ROI right"},
        {"Ctrl + U", "Unmark ROI left"},
        {"R", "Clear all ROIs"},
        {"E", "Clears the ROI at the cursor position"},
        {"F1", "View Help Contents"},
        {"F2", "Connect/Disconnect MCA"},
        {"F3", "Start/Stop data acquisition"},
        {"F4", "Updates data and time information"},
        {"F5", "Opens Calibration dialog"},
        {"Ctrl + F5", "Auto Calibration"},
        {"F6", "Opens Spectra List dialog"},
        {"F7", "Toggles between calibrated and uncalibrated units"},
        {"F8", "Sets threshold at present cursor position"},
        {"F9", "Opens Acquisition Setup dialog"},
    };
    return rows;
}

} // namespace vorna
