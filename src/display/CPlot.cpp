#include "display/CPlot.h"

#include <algorithm>
#include <cmath>

namespace vorna {

CPlot::CPlot(PlotSpectrumPort& spectra, UserPrompt* prompt, RepeatScheduler* scheduler)
    : m_spectra(spectra), m_prompt(prompt), m_scheduler(scheduler) {
    m_cursorPixel = m_geometry.ChannelToPixel(m_cursor);
    m_published = m_geometry;
    RefreshFields();
}

CPlot::~CPlot() = default;

void CPlot::AddListener(PlotListener* listener) {
    if (listener &&
        std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void CPlot::RemoveListener(PlotListener* listener) {
    std::erase(m_listeners, listener);
}

void CPlot::SetSettings(const PlotSettings& settings) {
    const bool scaleChanged = settings.scaleType != m_settings.scaleType;
    m_settings = settings;
    if (scaleChanged) {
        m_spectra.RequestRedrawAll();
        RefreshFields();
        Notify([&](PlotListener& l) { l.ScaleTypeChanged(m_settings.scaleType); });
    }
    Invalidate();
}

void CPlot::SetScaleType(ScaleType scale) {
    if (scale == m_settings.scaleType)
        return;
    m_settings.scaleType = scale;
    m_spectra.RequestRedrawAll();
    Notify([&](PlotListener& l) { l.ScaleTypeChanged(scale); });
    Invalidate();
}

void CPlot::UnitsChanged() {
    RefreshFields();
    Notify([](PlotListener& l) { l.UnitsChanged(); });
    Invalidate();
}

void CPlot::Invalidate() {
    Notify([](PlotListener& l) { l.PlotInvalidated(); });
}

void CPlot::SetPeakSearchOverlay(std::optional<RoiOverlay> overlay) {
    m_overlay = std::move(overlay);
    Invalidate();
}

PlotGeometry CPlot::Geometry() const {
    std::lock_guard<std::mutex> guard(m_geometryLock);
    return m_published;
}

void CPlot::PublishGeometry() {
    std::lock_guard<std::mutex> guard(m_geometryLock);
    m_published = m_geometry;
}

bool CPlot::Resize(int width, int height, bool minimised) {
    if (minimised || width <= 100 || height <= 80)
        return false;
    if (width == m_geometry.width && height == m_geometry.height)
        return false;
    m_geometry.width = width;
    m_geometry.height = height;
    m_cursorPixel = m_geometry.ChannelToPixel(m_cursor);
    PublishGeometry();
    m_spectra.RequestRedrawAll();
    Notify([](PlotListener& l) { l.ViewChanged(); });
    return true;
}

void CPlot::SetView(int start, int end, uint32_t bottom, uint32_t top) {
    const PlotView v = ClampView(start, end, bottom, top);
    if (v == m_geometry.view)
        return;
    m_previous = m_geometry.view;
    m_geometry.view = v;
    m_cursorPixel = m_geometry.ChannelToPixel(m_cursor);
    PublishGeometry();
    RefreshFields();
    m_spectra.RequestRedrawAll();
    Notify([](PlotListener& l) { l.ViewChanged(); });
}

void CPlot::SetViewWidth(int n) {
    const PlotView& v = m_geometry.view;
    const int cur = v.end - v.start + 1;
    if (n == cur)
        return;
    const int n2 = std::clamp(n, kMinViewWidth + 1, kAbsoluteChannels);
    int s, e;
    if (n2 < cur && v.start <= m_cursor && m_cursor <= v.end) {
        // Zooming in with the cursor in view: keep the edge nearer the cursor unless that
        // would push the cursor out of the middle half, then centre on it.
        const int mid = (v.start + v.end) / 2;
        bool centre;
        if (m_cursor > mid - 10) {
            s = v.end - n2 + 1;
            e = v.end;
            centre = (s + e) / 2 > m_cursor;
        } else {
            s = v.start;
            e = v.start + n2 - 1;
            centre = (s + e) / 2 < m_cursor;
        }
        if (centre) {
            s = static_cast<int>(std::floor(m_cursor + 0.5)) - n2 / 2;
            e = s + n2 - 1;
        }
    } else {
        s = static_cast<int>(std::floor(m_cursor + (v.start - m_cursor) * n2 / cur + 0.5));
        e = s + n2 - 1;
    }
    SetView(s, e, v.bottom, v.top);
}

void CPlot::SetViewHeight(uint32_t n) {
    const PlotView& v = m_geometry.view;
    uint64_t bottom = v.bottom;
    if (bottom + n > 4294967295ull)
        bottom = 4294967296ull - n;
    SetView(v.start, v.end, static_cast<uint32_t>(bottom), static_cast<uint32_t>(bottom + n - 1));
}

void CPlot::ScrollViewTo(int start) {
    const PlotView& v = m_geometry.view;
    SetView(start, start + (v.end - v.start), v.bottom, v.top);
}

void CPlot::AutoscaleVertical() {
    // The channel range comes from the range fields, so a typed but not applied range counts.
    const int lo = m_spectra.ValueToChannel(ParseFieldValue(FieldText(NavField::RangeLeft)));
    const int hi = m_spectra.ValueToChannel(ParseFieldValue(FieldText(NavField::RangeRight)));
    double m = m_spectra.MaxCount(lo, hi);
    if (!(m > 0))
        m = 0;
    const double top = std::min(m, 4294967295.0);
    const PlotView& v = m_geometry.view;
    const bool acquiring =
        m_spectra.DeviceType() == 0 && m_settings.autoscale && m_spectra.AcquisitionState() == 3;
    if (acquiring) {
        if (m > v.top)
            SetView(v.start, v.end, 0, static_cast<uint32_t>(std::min(2 * m, 4294967295.0)));
        return;
    }
    SetView(v.start, v.end, 0, static_cast<uint32_t>(top));
}

void CPlot::AutoscaleForPaint() {
    if (m_spectra.DeviceType() == 0 && m_settings.autoscale && m_spectra.AcquisitionState() == 3)
        AutoscaleVertical();
}

void CPlot::FullHorizontalRange() {
    const PlotView& v = m_geometry.view;
    SetView(1, kAbsoluteChannels, v.bottom, v.top);
}

void CPlot::Center() {
    const PlotView& v = m_geometry.view;
    const int d = static_cast<int>(std::trunc(m_cursor + 0.5)) - (v.end - v.start) / 2;
    SetView(d, d + v.end - v.start, v.bottom, v.top);
}

void CPlot::ShowPreviousView() {
    const PlotView p = m_previous;
    SetView(p.start, p.end, p.bottom, p.top);
}

void CPlot::InvalidateChannelRange(int c1, int c2) {
    const int gain = m_spectra.ActiveGain();
    InvalidateAbsoluteRange(ToAbsolute(c1, gain), ToAbsolute(c2 + 1, gain));
}

void CPlot::InvalidateAbsoluteRange(int first, int lastExclusive) {
    const int x1 = std::max(0, m_geometry.ChannelToPixelInt(first) - 3);
    const int x2 = std::min(m_geometry.width, m_geometry.ChannelToPixelInt(lastExclusive) + 3);
    if (x1 < x2)
        Notify([&](PlotListener& l) { l.ColumnsInvalidated(x1, x2); });
}

int CPlot::Step() const {
    return AbsoluteStep(m_spectra.ActiveGain());
}

int CPlot::CursorChannel() const {
    return ChannelOfPosition(m_cursor, m_spectra.ActiveGain());
}

void CPlot::MoveCursorTo(double position) {
    const double old = m_cursorPixel;
    m_cursor = position;
    m_cursorPixel = m_geometry.ChannelToPixel(position);
    CursorMovedSteps(old);
}

void CPlot::MoveCursorToPixel(double x) {
    const double old = m_cursorPixel;
    m_cursorPixel = x;
    m_cursor = m_geometry.PixelToChannel(x);
    CursorMovedSteps(old);
}

void CPlot::CursorMovedSteps(double oldPixel) {
    const double clamped = std::clamp(m_cursor, 0.0, kAbsoluteChannels - 1.0);
    if (clamped != m_cursor || std::isnan(m_cursor)) {
        m_cursor = std::isnan(m_cursor) ? 0.0 : clamped;
        m_cursorPixel = m_geometry.ChannelToPixel(m_cursor);
    }
    m_spectra.SelectRoiAt(m_cursor);
    Notify([&](PlotListener& l) { l.CursorMoved(oldPixel); });
}

} // namespace vorna
