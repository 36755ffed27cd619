#include "display/ui/PlotWidget.h"

#include <QResizeEvent>

namespace vorna {

namespace {

constexpr int kBarHeight = 15;

const Clock& pick(const Clock* given, std::unique_ptr<SteadyClock>& own) {
    if (given)
        return *given;
    own = std::make_unique<SteadyClock>();
    return *own;
}

} // namespace

PlotWidget::PlotWidget(CPlot& plot, const SpectrumDrawSource& spectra, QWidget* parent,
                       const Clock* clock)
    : QWidget(parent), m_plot(plot) {
    m_canvas = new PlotCanvas(plot, spectra, pick(clock, m_ownClock), this);
    m_bar = new QScrollBar(Qt::Horizontal, this);
    m_bar->setTracking(false); // thumb tracking scrolls nothing until the thumb is let go
    setFocusProxy(m_canvas);
    connect(m_canvas, &PlotCanvas::contextMenuRequested, this, &PlotWidget::contextMenuRequested);
    connect(m_bar, &QScrollBar::actionTriggered, this, &PlotWidget::OnScrollAction);
    connect(m_bar, &QScrollBar::sliderReleased, this, &PlotWidget::OnSliderReleased);
    m_plot.AddListener(this);
    SyncScrollBar();
}

PlotWidget::~PlotWidget() {
    m_plot.RemoveListener(this);
}

QImage PlotWidget::grabPlot() {
    return m_canvas->grab().toImage();
}

void PlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = event->size().width(), h = event->size().height();
    m_canvas->setGeometry(0, 0, w, std::max(0, h - kBarHeight));
    m_bar->setGeometry(0, h - kBarHeight, w, kBarHeight);
}

void PlotWidget::ViewChanged() {
    SyncScrollBar();
}

void PlotWidget::SyncScrollBar() {
    const PlotView& v = m_plot.View();
    const int page = v.end - v.start;
    const QSignalBlocker block(m_bar);
    m_bar->setPageStep(page);
    m_bar->setSingleStep(AbsoluteStep(m_plot.Spectra().ActiveGain()));
    m_bar->setRange(0, kAbsoluteChannels - page); // Qt's range leaves out the page
    m_bar->setValue(v.start);
}

void PlotWidget::OnScrollAction(int action) {
    const PlotView v = m_plot.View();
    const int step = AbsoluteStep(m_plot.Spectra().ActiveGain());
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        m_plot.ScrollViewTo(v.start + step);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        m_plot.ScrollViewTo(v.start - step);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        m_plot.ScrollViewTo(v.start + (v.end - v.start));
        break;
    case QAbstractSlider::SliderPageStepSub:
        m_plot.ScrollViewTo(v.start - (v.end - v.start));
        break;
    default:
        return; // thumb tracking and the rest scroll nothing
    }
    // The bar applies its own idea of the new position after this signal: make it the model's.
    m_bar->setSliderPosition(m_plot.View().start);
}

void PlotWidget::OnSliderReleased() {
    m_plot.ScrollViewTo(m_bar->sliderPosition());
    SyncScrollBar();
}

} // namespace vorna
