#include "appcore/CUpdateThread.h"

#include <mutex>

#include "spectrum/CSpectraList.h"

namespace vorna {

CUpdateThread::CUpdateThread(CSpectraList& list, std::function<void()> redraw)
    : m_list(list), m_redraw(std::move(redraw)), m_thread([this] { Loop(); }) {}

CUpdateThread::~CUpdateThread() {
    Stop();
}

void CUpdateThread::Stop() {
    m_quit = true;
    m_event.Set();
    if (m_thread.joinable())
        m_thread.join();
}

void CUpdateThread::Loop() {
    bool dirty = false;
    m_event.Wait();
    while (!m_quit) {
        const bool found = ProcessNext(dirty);
        if (m_quit)
            break;
        if (!found)
            m_event.Wait();
    }
    m_done = true;
}

// The list lock stays held while the found spectrum is processed: a derived spectrum reads its
// operands' channels, and closing an operand (which removes it under this lock) must wait until
// the evaluation is over. Order is always list lock, then one spectrum lock.
bool CUpdateThread::ProcessNext(bool& dirty) {
    auto listLock = m_list.Lock();
    CSpectrum* found = nullptr;
    for (int i = 0; i < m_list.GetCount() && !found; ++i) {
        CSpectrum* s = m_list[i];
        auto guard = s->Lock();
        if (s->m_bRedrawPending) {
            dirty = true;
            found = s;
        }
    }
    if (found) {
        Process(*found, m_list.GetActivePosition(), m_list.GetActive() == found);
        return true;
    }
    listLock.unlock();
    if (dirty) {
        dirty = false;
        if (m_redraw)
            m_redraw();
    }
    return false;
}

// Runs with the list lock held; the spectrum's lock is the only one taken here.
void CUpdateThread::Process(CSpectrum& s, int activePosition, bool isActive) {
    auto guard = s.Lock();
    s.m_bRedrawPending = 0;
    if (m_quit)
        return;
    const SpectrumEnvironment& env = m_list.Environment();
    if (s.m_bEvalPending) {
        s.Evaluate(env, activePosition, isActive);
        return;
    }
    if (s.m_bValid) {
        s.UpdateTotals(env, activePosition);
        if (isActive && env.display)
            env.display->RefreshInfoPane();
    }
}

} // namespace vorna
