#pragma once
// The upload worker: while a Kestrel acquires it refreshes the status and uploads the channel
// data at the profile's update interval, notices the end of an acquisition, and drops the
// connection after a failed upload or status refresh. Idle, it sleeps until an upload is
// requested.

#include <atomic>
#include <functional>
#include <thread>

#include "common/AutoResetEvent.h"
#include "common/Clock.h"

namespace vorna {

class CAcq;

// How the worker waits on its event: up to `timeoutMs` (0 without limit); true when signalled.
// The program waits in real time; tests let a virtual clock run the interval instead.
using EventWait = std::function<bool(AutoResetEvent& event, int timeoutMs)>;

class CUploadThread {
public:
    // `quit` is the program-wide quit flag, also the one the controller's uploads watch.
    CUploadThread(CAcq& acq, Clock& clock, std::atomic<bool>& quit, EventWait wait = {});
    // Sets the quit flag and wakes the loop; an upload in progress ends before its next chunk.
    ~CUploadThread();
    CUploadThread(const CUploadThread&) = delete;
    CUploadThread& operator=(const CUploadThread&) = delete;

    void Signal() { m_event.Set(); }
    bool Done() const { return m_done.load(); }

private:
    void Loop();
    bool Pass(int& timeout, bool& failed);
    void AcquisitionEnded();

    CAcq& m_acq;
    Clock& m_clock;
    std::atomic<bool>& m_quit;
    EventWait m_wait;
    AutoResetEvent m_event;
    std::atomic<bool> m_done{false};
    std::thread m_thread; // last: starts once everything above exists
};

} // namespace vorna
