#pragma once
// Ports that exist before the window that serves them: the program state hands these to the
// core at start-up and the main window attaches itself once it is built (and detaches before it
// goes). Until then messages and redraw requests have nobody to reach and are dropped.

#include <mutex>

#include "appcore/CTimeQueue.h"
#include "common/MainWindowSink.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class MainWindowRelay : public MainWindowSink {
public:
    void Attach(MainWindowSink* sink) {
        std::lock_guard<std::mutex> g(m_mutex);
        m_sink = sink;
    }
    using MainWindowSink::Post;
    // Without a window the event is dropped; a question in it answers its fallback.
    void Post(MainEvent event) override {
        std::lock_guard<std::mutex> g(m_mutex);
        if (m_sink)
            m_sink->Post(std::move(event));
    }

private:
    std::mutex m_mutex;
    MainWindowSink* m_sink = nullptr;
};

class WindowTimersRelay : public WindowTimers {
public:
    void Attach(WindowTimers* timers) { m_timers = timers; }
    int StartTimer(int id, int periodMs) override {
        return m_timers ? m_timers->StartTimer(id, periodMs) : 0;
    }
    void StopTimer(int id) override {
        if (m_timers)
            m_timers->StopTimer(id);
    }

private:
    WindowTimers* m_timers = nullptr; // UI thread only
};

// Display requests come from the UI thread and from the update worker; the sink behind must
// accept both (the Qt one queues onto the UI thread).
class DisplayRelay : public DisplaySink {
public:
    void Attach(DisplaySink* sink) {
        std::lock_guard<std::mutex> g(m_mutex);
        m_sink = sink;
    }
    void RedrawAbsoluteRange(int first, int last) override {
        if (auto* s = Get())
            s->RedrawAbsoluteRange(first, last);
    }
    void RedrawPlot() override {
        if (auto* s = Get())
            s->RedrawPlot();
    }
    void RefreshInfoPane() override {
        if (auto* s = Get())
            s->RefreshInfoPane();
    }
    void RefreshSpectraListWindow() override {
        if (auto* s = Get())
            s->RefreshSpectraListWindow();
    }
    void ResetPlotToFullRange() override {
        if (auto* s = Get())
            s->ResetPlotToFullRange();
    }
    void SpectrumActivated(const CSpectrum& spectrum) override {
        if (auto* s = Get())
            s->SpectrumActivated(spectrum);
    }
    int CursorChannelAbsolute() const override {
        auto* s = Get();
        return s ? s->CursorChannelAbsolute() : 0;
    }

private:
    DisplaySink* Get() const {
        std::lock_guard<std::mutex> g(m_mutex);
        return m_sink;
    }
    mutable std::mutex m_mutex;
    DisplaySink* m_sink = nullptr;
};

} // namespace vorna
