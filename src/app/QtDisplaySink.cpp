#include "app/QtDisplaySink.h"

#include <QMetaObject>

#include "spectrum/CSpectrum.h"

namespace vorna {

void QtDisplaySink::Queue(std::atomic<bool>& pending, const std::function<void()>& action) {
    if (!action || !m_receiver || pending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        m_receiver.data(),
        [&pending, action] {
            pending = false;
            action();
        },
        Qt::QueuedConnection);
}

void QtDisplaySink::RedrawAbsoluteRange(int first, int last) {
    if (!m_targets.redrawRange || !m_receiver)
        return;
    auto action = m_targets.redrawRange;
    QMetaObject::invokeMethod(
        m_receiver.data(), [action, first, last] { action(first, last); }, Qt::QueuedConnection);
}

void QtDisplaySink::RedrawPlot() {
    Queue(m_plotPending, m_targets.redrawPlot);
}
void QtDisplaySink::RefreshInfoPane() {
    Queue(m_infoPending, m_targets.refreshInfo);
}
void QtDisplaySink::RefreshSpectraListWindow() {
    Queue(m_listPending, m_targets.refreshSpectraList);
}

void QtDisplaySink::ResetPlotToFullRange() {
    if (m_targets.resetFullRange && m_receiver)
        QMetaObject::invokeMethod(m_receiver.data(), m_targets.resetFullRange,
                                  Qt::QueuedConnection);
}

void QtDisplaySink::SpectrumActivated(const CSpectrum& spectrum) {
    if (!m_targets.activated || !m_receiver)
        return;
    // The title is taken now: the spectrum may change or close before the window gets to it.
    auto action = m_targets.activated;
    QMetaObject::invokeMethod(
        m_receiver.data(), [action, title = spectrum.Title()] { action(title); },
        Qt::QueuedConnection);
}

} // namespace vorna
