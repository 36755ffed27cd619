#include "app/PlotPanes.h"

#include <QWidget>
#include <cmath>

#include "app/InfoPane.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "display/PlotDisplaySink.h"
#include "display/SpectraListPlotPort.h"
#include "display/ui/NavigationPane.h"
#include "display/ui/PlotWidget.h"

namespace vorna {

void TimeQueueRepeatScheduler::ScheduleRepeat(long long microseconds,
                                              std::function<void()> action) {
    const int id = m_next++;
    const double due = static_cast<double>(m_queue.GetClock().NowMicros() + microseconds);
    if (m_queue.Add(this, due, id, 0) != 0)
        m_pending[id] = std::move(action);
}

void TimeQueueRepeatScheduler::OnTimedRequest(int first, int) {
    auto it = m_pending.find(first);
    if (it == m_pending.end())
        return;
    std::function<void()> action = std::move(it->second);
    m_pending.erase(it);
    action();
}

namespace {

PlotSettings SettingsFromProfile(const CSProfile& p) {
    PlotSettings s;
    s.scaleType = static_cast<ScaleType>(p.scaleType >= 0 && p.scaleType <= 2 ? p.scaleType : 0);
    s.gridEnable = p.plotGridEnable != 0;
    s.gridStyle = p.plotGridStyle;
    s.gridColor = static_cast<uint32_t>(p.plotGridColor);
    s.horzCells = p.plotHorzCells;
    s.vertCells = p.plotVertCells;
    s.ticksEnable = p.plotTicksEnable != 0;
    s.autoscale = p.plotAutoscale != 0;
    s.backgroundColor = static_cast<uint32_t>(p.plotBackgroundColor);
    s.fillEnable = p.plotFillEnable != 0;
    s.fillColor = static_cast<uint32_t>(p.plotFillColor);
    s.roiColor = static_cast<uint32_t>(p.plotRoiColor);
    s.roiSelectColor = static_cast<uint32_t>(p.plotRoiSelectColor);
    return s;
}

} // namespace

PlotPanes::PlotPanes(ProgramState& state, UserPrompt& prompt, QWidget* parent, Hooks hooks)
    : m_state(state), m_hooks(std::move(hooks)) {
    m_port = std::make_unique<SpectraListPlotPort>(state.Spectra());
    // 0 disconnected, 2 idle, 3 acquiring: the plot's autoscale follows a running acquisition.
    // A clear under a running Kestrel acquisition holds autoscaling off meanwhile.
    m_port->SetAcquisitionStateSource([&state] {
        if (CAcq* acq = state.Acq(); acq && acq->AutoscaleHeld())
            return 2;
        return state.Acquiring() ? 3 : (state.DeviceConnected() ? 2 : 0);
    });
    m_repeats = std::make_unique<TimeQueueRepeatScheduler>(state.TimeQueue());
    m_plot = std::make_unique<CPlot>(*m_port, &prompt, m_repeats.get());
    m_sink = std::make_unique<PlotDisplaySink>(*m_plot);
    m_plot->SetSettings(SettingsFromProfile(state.Profile()));
    m_widget = new PlotWidget(*m_plot, *m_port, parent);
    m_widget->setObjectName("PlotPane");
    m_nav = new NavigationPane(*m_plot, parent);
    m_nav->setObjectName("NavigationPane");
    m_nav->setPlotFocusTarget(m_widget);
    m_nav->setBackground(ColorFromRgbWord(state.Profile().selectColor));
    m_plot->AddListener(this);
    ViewChanged();
    auto context = [this](const QPoint& p) {
        if (m_hooks.context)
            m_hooks.context(p);
    };
    QObject::connect(m_widget, &PlotWidget::contextMenuRequested, m_widget, context);
    QObject::connect(m_nav, &NavigationPane::contextMenuRequested, m_nav, context);
}

// The widgets hold the model by reference: they go first.
PlotPanes::~PlotPanes() {
    delete m_widget.data();
    delete m_nav.data();
    if (m_plot)
        m_plot->RemoveListener(this);
}

QWidget* PlotPanes::Plot() const {
    return m_widget;
}
QWidget* PlotPanes::Navigation() const {
    return m_nav;
}

void PlotPanes::ViewChanged() {
    // The upload worker reads the visible range; it never reaches into the plot itself.
    const PlotGeometry g = m_plot->Geometry();
    m_state.SetVisibleRange(g.view.start, g.view.end);
}

bool PlotPanes::RunCommand(int commandId) {
    return m_plot->RunCommand(commandId);
}

void PlotPanes::ApplyProfile() {
    m_plot->SetSettings(SettingsFromProfile(m_state.Profile()));
    m_nav->setBackground(ColorFromRgbWord(m_state.Profile().selectColor));
    m_plot->UnitsChanged();
    m_plot->Invalidate();
}

int PlotPanes::CursorAbsolute() const {
    return static_cast<int>(std::trunc(m_plot->Cursor() + 0.5));
}

void PlotPanes::CommandRequested(int commandId, bool) {
    if (m_hooks.command)
        m_hooks.command(commandId);
}

void PlotPanes::ScaleTypeChanged(ScaleType scale) {
    m_state.Profile().scaleType = static_cast<int>(scale);
}

void PlotPanes::CursorMoved(double) {
    if (m_hooks.cursorMoved)
        m_hooks.cursorMoved(CursorAbsolute());
}

void PlotPanes::AutoCalibrationRequested() {
    if (m_hooks.autoCalibrate)
        m_hooks.autoCalibrate();
}

void PlotPanes::ThresholdAtCursorRequested(int channel) {
    if (m_hooks.thresholdAtCursor)
        m_hooks.thresholdAtCursor(channel);
}

void PlotPanes::UnitsChanged() {
    if (m_hooks.refreshInfo)
        m_hooks.refreshInfo();
}

} // namespace vorna
