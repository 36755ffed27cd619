#pragma once
// The plot's state and rules without any toolkit: the view and the previous view, the plot
// size, the cursor, the mouse modes with the rubber band and ROI dragging, the keyboard, the
// navigation fields with typed ranges, and the auto-repeat zoom buttons.
//
// Construct one per plot: CPlot plot(port, prompt, scheduler). The plot widget and the
// navigation pane take it by reference and register as listeners; so may the info pane and the
// main window. Everything runs on the user-interface thread except Geometry(), which the update
// worker may call.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "display/PlotKeys.h"
#include "display/PlotListener.h"
#include "display/PlotOutline.h"
#include "display/PlotScene.h"
#include "display/PlotSpectrumPort.h"
#include "display/PlotView.h"

namespace vorna {

class UserPrompt;

// The plot's own profile values (the ROI and calibration switches come through the port).
struct PlotSettings {
    ScaleType scaleType = ScaleType::Linear; // scale_type
    bool gridEnable = false;                 // plot_grid_enable
    int gridStyle = 0;                       // plot_grid_style 0..4
    uint32_t gridColor = 0x804000;           // plot_grid_color (0x00BBGGRR)
    int horzCells = 8;                       // plot_horz_cells
    int vertCells = 6;                       // plot_vert_cells
    bool ticksEnable = true;                 // plot_ticks_enable
    bool autoscale = false;                  // plot_autoscale
    uint32_t backgroundColor = 0xFFFFFF;     // plot_background_color
    bool fillEnable = true;                  // plot_fill_enable
    uint32_t fillColor = 0x0000FF;           // plot_fill_color
    uint32_t roiColor = 0xFF0000;            // plot_roi_color
    uint32_t roiSelectColor = 0xFFFF00;      // plot_roi_select_color
};

enum class MouseMode { None, SelectView, EditRoi };
enum class MouseShape { Arrow, Cross, SizeNorthSouth, SizeEastWest };

// Navigation pane edit fields, by their ids.
enum class NavField : int { RangeLeft = 104, RangeRight = 105, CountBottom = 106, CountTop = 107 };

// Zoom buttons, by their ids.
enum class ZoomButton : int {
    HorizontalCompress = 131,
    HorizontalExpand = 132,
    VerticalCompress = 134,
    VerticalExpand = 135,
};
double ZoomFactor(ZoomButton button, bool coarse);

// The DPP low-level threshold byte for the F8 key: trunc(channel / n * 1024 + 0.5), at most 250;
// `dppChannels` is the DPP's channel count (positive).
int DppThresholdByte(int channel, int dppChannels);

// A typed field value: the text's leading decimal number (0 when there is none), times a
// million when the text ends in M or m and a thousand million when it ends in B or b.
double ParseFieldValue(const std::string& text);

struct RubberBand {
    int x1, y1, x2, y2;
};

class CPlot {
public:
    static constexpr long long kZoomRepeatMicroseconds = 200000;
    static constexpr long long kMouseIntervalMicroseconds = 20000;

    // `prompt` shows "Invalid range!" (may be null: the message is then dropped); `scheduler`
    // repeats a held zoom button (may be null: buttons then act once per press).
    explicit CPlot(PlotSpectrumPort& spectra, UserPrompt* prompt = nullptr,
                   RepeatScheduler* scheduler = nullptr);
    ~CPlot();
    CPlot(const CPlot&) = delete;
    CPlot& operator=(const CPlot&) = delete;

    void AddListener(PlotListener* listener);
    void RemoveListener(PlotListener* listener);
    PlotSpectrumPort& Spectra() const { return m_spectra; }

    // --- settings ---
    const PlotSettings& Settings() const { return m_settings; }
    // Takes new settings (preferences applied); a changed scale recomputes the outlines.
    void SetSettings(const PlotSettings& settings);
    // The Lin / Log / Sqrt commands: nothing when the scale is already in force.
    void SetScaleType(ScaleType scale);
    // After calibrate_enable changed or another spectrum became active: fields follow.
    void UnitsChanged();
    // ROI display switches or colours changed elsewhere: repaint.
    void Invalidate();

    // The peak search's ROIs drawn over the active spectrum while it shows them; nullopt
    // takes them away.
    void SetPeakSearchOverlay(std::optional<RoiOverlay> overlay);
    const std::optional<RoiOverlay>& PeakSearchOverlay() const { return m_overlay; }

    // --- view ---
    const PlotView& View() const { return m_geometry.view; }
    const PlotView& PreviousView() const { return m_previous; }
    int Width() const { return m_geometry.width; }
    int Height() const { return m_geometry.height; }
    // Thread-safe copy of view and size for whoever builds outlines off the UI thread.
    PlotGeometry Geometry() const;
    // The plot's client size; ignored when minimised, not wider than 100 or not higher than 80
    // pixels, or unchanged. True when taken.
    bool Resize(int width, int height, bool minimised = false);

    void SetView(int start, int end, uint32_t bottom, uint32_t top);
    void SetViewWidth(int n);
    void SetViewHeight(uint32_t n);
    void ScrollViewTo(int start);
    void AutoscaleVertical();
    void FullHorizontalRange();
    void Center();
    void ShowPreviousView();

    double ChannelToPixel(double p) const { return m_geometry.ChannelToPixel(p); }
    double PixelToChannel(double x) const { return m_geometry.PixelToChannel(x); }
    // Repaint of the active spectrum's channels c1..c2 (ROI changes).
    void InvalidateChannelRange(int c1, int c2);
    // The same in absolute channels first..lastExclusive.
    void InvalidateAbsoluteRange(int first, int lastExclusive);

    // --- cursor ---
    double Cursor() const { return m_cursor; }
    double CursorPixel() const { return m_cursorPixel; }
    int CursorChannel() const; // channel of the active spectrum under the cursor
    void MoveCursorTo(double position);
    void MoveCursorToPixel(double x);

    // The main-window commands that are the plot's own (Previous View, Select View, Edit ROI,
    // Next/Previous ROI, the two Clear items, Center, Full Horizontal Range, Autoscale Vertical
    // Range, Lin/Log/Sqrt). False for any other id. Full Horizontal Range leaves the Kestrel's
    // upload to the caller; Show ROI and Show All ROI change the profile, then Invalidate().
    bool RunCommand(int commandId);
    // Before each paint: while a Kestrel acquires with "plot_autoscale", the top follows the
    // data.
    void AutoscaleForPaint();

    // --- keyboard: true when the key was the plot's ---
    bool HandleKey(PlotKey key, bool ctrl);

    // --- mouse (times in microseconds from any steady clock) ---
    MouseMode Mode() const { return m_mode; }
    bool IsDragging() const { return m_dragging; }
    MouseShape Shape() const;
    void ToggleSelectView();
    void ToggleEditRoi();
    void MouseDown(int x, int y, long long timeUs);
    void MouseMove(int x, int y, long long timeUs);
    void MouseUp(int x, int y);
    // The rubber band being drawn in select-view mode, if any.
    std::optional<RubberBand> CurrentRubberBand() const;

    // --- navigation pane ---
    std::string FieldText(NavField field) const;
    // The user edits a field (the text is kept until the view changes or Enter applies it).
    void SetFieldText(NavField field, const std::string& text);
    // Enter in a field. False when the count range was refused ("Invalid range!").
    bool ApplyField(NavField field);
    std::string CursorValueText() const;
    std::string CursorCountText() const;
    std::string UnitLabel() const;
    std::string ScaleLabel() const;

    // --- zoom buttons ---
    // One step now; false when skipped because outlines are still being built.
    bool Zoom(ZoomButton button, bool coarse);
    // Press: one step now, then one every 200 ms until released.
    void PressZoomButton(ZoomButton button, bool coarse);
    void ReleaseZoomButton();

private:
    template <typename F> void Notify(F f) {
        // A listener may unregister while it is told; walk a copy.
        const std::vector<PlotListener*> listeners = m_listeners;
        for (PlotListener* l : listeners)
            f(*l);
    }
    void CursorMovedSteps(double oldPixel);
    void PublishGeometry();
    void RefreshFields();
    void MarkRoi(KeyAction action);
    void RunKeyAction(const KeyBinding& binding);
    void UpdateDraggedRoi();
    void BeginRoiEdit();
    void FinishRubberBand(int x, int y);
    void RepeatZoom(unsigned generation);
    int Step() const; // absolute channels per channel of the active spectrum
    std::pair<int, int> ClampPoint(int x, int y) const;

    PlotSpectrumPort& m_spectra;
    UserPrompt* m_prompt;
    RepeatScheduler* m_scheduler;
    std::vector<PlotListener*> m_listeners;
    PlotSettings m_settings;
    std::optional<RoiOverlay> m_overlay;

    PlotGeometry m_geometry; // view and size
    PlotView m_previous;
    mutable std::mutex m_geometryLock;
    PlotGeometry m_published; // the copy the update worker reads

    double m_cursor = 0.0;
    double m_cursorPixel = 0.0;
    std::array<std::string, 4> m_fields; // texts of 104..107

    MouseMode m_mode = MouseMode::None;
    bool m_dragging = false;
    bool m_tracked = false;
    int m_downX = 0, m_downY = 0;
    int m_cornerX = -1, m_cornerY = 0; // x = -1: no rubber band drawn yet
    long long m_lastMouseUs = 0;
    int m_dragIndex = -1;
    bool m_dragStart = false; // the dragged end is the ROI's start
    int m_anchor = 0;

    std::optional<std::pair<ZoomButton, bool>> m_heldZoom;
    unsigned m_zoomGeneration = 0;
    std::shared_ptr<int> m_alive = std::make_shared<int>(0); // repeats outlive no plot
};

} // namespace vorna
