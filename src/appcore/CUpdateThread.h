#pragma once
// The update worker: recomputes spectra marked as needing an update (derived spectra, totals,
// ROI statistics) and, once a batch is done, asks for new plot outlines and a repaint.

#include <atomic>
#include <functional>
#include <thread>

#include "common/AutoResetEvent.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CSpectraList;
class CSpectrum;

class CUpdateThread : public UpdateSignal {
public:
    // `redraw` runs on the worker after a batch (rebuild outlines, invalidate the plot); it
    // must not touch widgets itself.
    CUpdateThread(CSpectraList& list, std::function<void()> redraw);
    ~CUpdateThread() override;
    CUpdateThread(const CUpdateThread&) = delete;
    CUpdateThread& operator=(const CUpdateThread&) = delete;

    void SignalUpdate() override { m_event.Set(); }
    // Sets the quit flag, wakes the loop and waits for it to end. A spectrum being evaluated is
    // finished first; nothing after it is started.
    void Stop();
    bool Done() const { return m_done.load(); }

private:
    void Loop();
    // One step of the loop; true when a spectrum was processed.
    bool ProcessNext(bool& dirty);
    void Process(CSpectrum& s, int activePosition, bool isActive);

    CSpectraList& m_list;
    std::function<void()> m_redraw;
    AutoResetEvent m_event;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

} // namespace vorna
