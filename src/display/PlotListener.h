#pragma once
// Who wants to hear about the plot model: the plot widget, the navigation pane, the info pane
// and the main window. Every call comes on the user-interface thread, after the model changed.

#include <functional>

#include "display/PlotOutline.h"

namespace vorna {

class PlotListener {
public:
    virtual ~PlotListener() = default;
    // The view or the plot size changed: range and count fields, scroll bar, whole plot.
    virtual void ViewChanged() {}
    // The cursor moved (the old cursor pixel is given so its line can be erased).
    virtual void CursorMoved(double /*oldPixel*/) {}
    // Plot columns x1..x2 need repainting (ROI bands changed).
    virtual void ColumnsInvalidated(int /*x1*/, int /*x2*/) {}
    // The whole plot needs repainting (ROIs cleared, settings changed, outlines ready).
    virtual void PlotInvalidated() {}
    // The vertical scale changed; the main window stores "scale_type".
    virtual void ScaleTypeChanged(ScaleType) {}
    // Units of the range and cursor fields changed (calibration toggled, spectrum activated).
    virtual void UnitsChanged() {}
    virtual void MouseModeChanged() {}
    virtual void RubberBandChanged() {}
    // A key that belongs to the main window: its command id (32907 Start Acquisition, ...).
    // `fromKeyboard` tells the Space bar and the D and T keys from their menu commands.
    virtual void CommandRequested(int /*commandId*/, bool /*fromKeyboard*/) {}
    // Ctrl + F5.
    virtual void AutoCalibrationRequested() {}
    // F8: the cursor channel (1 when the cursor is on channel 0).
    virtual void ThresholdAtCursorRequested(int /*channel*/) {}
};

// Auto-repeat of the zoom buttons: call `action` once after `microseconds` (the program's timed
// request queue; a plain timer in tests).
class RepeatScheduler {
public:
    virtual ~RepeatScheduler() = default;
    virtual void ScheduleRepeat(long long microseconds, std::function<void()> action) = 0;
};

} // namespace vorna
