#pragma once
// Refresh requests of the core (from the UI thread and from the update worker) delivered to the
// panes on the UI thread. Requests of one kind that pile up before the UI gets to them are
// handled once.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <string>

#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

struct DisplayTargets {
    std::function<void(int, int)> redrawRange;
    std::function<void()> redrawPlot;
    std::function<void()> refreshInfo;
    std::function<void()> refreshSpectraList;
    std::function<void()> resetFullRange;
    // The main window's title for the spectrum that became active.
    std::function<void(const std::string&)> activated;
};

class QtDisplaySink : public DisplaySink {
public:
    QtDisplaySink(QObject* receiver, DisplayTargets targets)
        : m_receiver(receiver), m_targets(std::move(targets)) {}

    void RedrawAbsoluteRange(int first, int last) override;
    void RedrawPlot() override;
    void RefreshInfoPane() override;
    void RefreshSpectraListWindow() override;
    void ResetPlotToFullRange() override;
    void SpectrumActivated(const CSpectrum&) override;
    int CursorChannelAbsolute() const override { return m_cursor.load(); }

    // The plot reports its cursor here so the worker can read it without a widget.
    void SetCursor(int absoluteChannel) { m_cursor = absoluteChannel; }

private:
    void Queue(std::atomic<bool>& pending, const std::function<void()>& action);

    QPointer<QObject> m_receiver;
    DisplayTargets m_targets;
    std::atomic<int> m_cursor{0};
    std::atomic<bool> m_plotPending{false};
    std::atomic<bool> m_infoPending{false};
    std::atomic<bool> m_listPending{false};
};

} // namespace vorna
