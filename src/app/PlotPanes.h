#pragma once
// The plot and the navigation pane of the main window with everything they run on: the plot
// model over the spectra list, its display sink, and the zoom buttons' auto-repeat through the
// program's timed-request queue. The main window routes commands and refreshes here.

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "appcore/CTimeQueue.h"
#include "display/PlotListener.h"

class QWidget;

namespace vorna {

class CPlot;
class NavigationPane;
class PlotDisplaySink;
class PlotWidget;
class ProgramState;
class SpectraListPlotPort;
class UserPrompt;
struct PlotSettings;

// Auto-repeat of the zoom buttons as timed requests (timer 1030).
class TimeQueueRepeatScheduler : public RepeatScheduler, public TimedRequestTarget {
public:
    explicit TimeQueueRepeatScheduler(CTimeQueue& queue) : m_queue(queue) {}
    ~TimeQueueRepeatScheduler() override { m_queue.Forget(this); }
    void ScheduleRepeat(long long microseconds, std::function<void()> action) override;
    void OnTimedRequest(int first, int second) override;

private:
    CTimeQueue& m_queue;
    std::map<int, std::function<void()>> m_pending;
    int m_next = 1;
};

class PlotPanes : public PlotListener {
public:
    struct Hooks {
        std::function<void(int)> command;           // a key that is a main-window command
        std::function<void()> refreshInfo;          // ROI selection, units
        std::function<void(const QPoint&)> context; // right click: the "Select" menu
        std::function<void(int)> cursorMoved;       // absolute channel
        std::function<void()> autoCalibrate;        // Ctrl+F5
        std::function<void(int)> thresholdAtCursor; // F8, the cursor channel
    };
    PlotPanes(ProgramState& state, UserPrompt& prompt, QWidget* plotParent, Hooks hooks);
    ~PlotPanes() override;

    QWidget* Plot() const;
    QWidget* Navigation() const;
    CPlot& Model() { return *m_plot; }
    PlotDisplaySink& Sink() { return *m_sink; }

    // The plot's own commands (views, ROI selection, scales); false for others.
    bool RunCommand(int commandId);
    // Profile values of the plot changed (scale, colours, grid).
    void ApplyProfile();
    int CursorAbsolute() const;

    void ViewChanged() override;
    void CommandRequested(int commandId, bool fromKeyboard) override;
    void ScaleTypeChanged(ScaleType scale) override;
    void UnitsChanged() override;
    void CursorMoved(double oldPixel) override;
    void AutoCalibrationRequested() override;
    void ThresholdAtCursorRequested(int channel) override;

private:
    ProgramState& m_state;
    Hooks m_hooks;
    std::unique_ptr<SpectraListPlotPort> m_port;
    std::unique_ptr<TimeQueueRepeatScheduler> m_repeats;
    std::unique_ptr<CPlot> m_plot;
    std::unique_ptr<PlotDisplaySink> m_sink;
    QPointer<PlotWidget> m_widget;
    QPointer<NavigationPane> m_nav;
};

} // namespace vorna
