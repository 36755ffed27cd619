#include "kestrel/CUploadThread.h"

#include "kestrel/CAcq.h"

namespace vorna {

CUploadThread::CUploadThread(CAcq& acq, Clock& clock, std::atomic<bool>& quit, EventWait wait)
    : m_acq(acq), m_clock(clock), m_quit(quit), m_wait(std::move(wait)),
      m_thread([this] { Loop(); }) {}

CUploadThread::~CUploadThread() {
    if (!m_done.load()) {
        m_quit.store(true);
        m_event.Set();
    }
    m_thread.join();
}

void CUploadThread::Loop() {
    // A DPP has no use for this worker.
    if (m_acq.Settings().deviceType != 0) {
        m_done = true;
        return;
    }
    int timeout = 0;
    bool failed = false;
    m_acq.EndMcsPass();
    if (m_acq.McsMode())
        m_acq.ResetMcs();
    while (Pass(timeout, failed)) {
    }
    m_done = true;
}

// One round of the loop; false when the quit flag ends it.
bool CUploadThread::Pass(int& timeout, bool& failed) {
    if (failed) {
        failed = false;
        m_acq.ForceDisconnect();
        timeout = 0;
    }
    if (m_wait)
        m_wait(m_event, timeout);
    else
        m_event.Wait(timeout);
    if (m_quit.load())
        return false;
    if (!m_acq.Connected()) {
        timeout = 0;
        return true;
    }
    if (m_acq.UploadRequested() || (m_acq.IsAcquiring() && m_acq.Settings().autoUpdate)) {
        failed = !m_acq.Upload();
        m_acq.RefreshInfoPane();
    }
    // Shutting down: no new request after a cut-short upload.
    if (m_quit.load())
        return false;
    if (!failed)
        failed = !m_acq.RefreshStatus();
    if (m_acq.IsAcquiring()) {
        timeout = m_acq.Settings().updateInterval;
    } else if (timeout != 0) {
        AcquisitionEnded();
        timeout = 0;
    }
    return !m_quit.load();
}

// The device reached its preset between two passes.
void CUploadThread::AcquisitionEnded() {
    m_clock.SleepMillis(100);
    if (!m_acq.McsMode())
        m_acq.RequestUpload(); // signals this worker: the final upload follows at once
    m_acq.PostAcquisitionState(false);
    if (m_acq.McsMode())
        m_acq.StoreMcsResult();
}

} // namespace vorna
