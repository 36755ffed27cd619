// The navigation pane's fields and zoom buttons.

#include <algorithm>
#include <cmath>

#include "analysis/NumberFormat.h"
#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "display/CPlot.h"

namespace vorna {

namespace {

size_t fieldIndex(NavField f) {
    return static_cast<size_t>(static_cast<int>(f) - static_cast<int>(NavField::RangeLeft));
}

} // namespace

double ZoomFactor(ZoomButton button, bool coarse) {
    const bool compress =
        button == ZoomButton::HorizontalCompress || button == ZoomButton::VerticalCompress;
    if (coarse)
        return compress ? 2.0 : 0.5;
    return compress ? std::pow(2.0, 0.1) : std::pow(0.5, 0.1);
}

double ParseFieldValue(const std::string& text) {
    size_t used = 0;
    double v = ScanDoublePrefix(text, used).value_or(0.0);
    size_t end = text.find_last_not_of(" \t");
    if (end != std::string::npos) {
        const char last = text[end];
        if (last == 'M' || last == 'm')
            v *= 1000000.0;
        else if (last == 'B' || last == 'b')
            v *= 1000000000.0;
    }
    return v;
}

void CPlot::RefreshFields() {
    const PlotView& v = m_geometry.view;
    const int gain = m_spectra.ActiveGain();
    m_fields[0] = FormatNumber(m_spectra.ChannelToValue(FromAbsolute(v.start, gain)));
    m_fields[1] = FormatNumber(m_spectra.ChannelToValue(FromAbsolute(v.end, gain)));
    m_fields[2] = std::to_string(v.bottom);
    m_fields[3] = std::to_string(v.top);
}

std::string CPlot::FieldText(NavField field) const {
    return m_fields[fieldIndex(field)];
}

void CPlot::SetFieldText(NavField field, const std::string& text) {
    m_fields[fieldIndex(field)] = text;
}

bool CPlot::ApplyField(NavField field) {
    const PlotView v = m_geometry.view;
    if (field == NavField::RangeLeft || field == NavField::RangeRight) {
        const int gain = m_spectra.ActiveGain();
        const int a = m_spectra.ValueToChannel(ParseFieldValue(FieldText(NavField::RangeLeft)));
        const int b = m_spectra.ValueToChannel(ParseFieldValue(FieldText(NavField::RangeRight)));
        SetView(ToAbsolute(a, gain), ToAbsolute(b + 1, gain), v.bottom, v.top);
        return true;
    }
    const double b = ParseFieldValue(FieldText(NavField::CountBottom));
    const double t = ParseFieldValue(FieldText(NavField::CountTop));
    if (!(0 <= b && b < t && t <= 4294967295.0)) {
        if (m_prompt)
            m_prompt->message("Invalid range!", PromptStyle::Warning);
        return false;
    }
    const double top = std::min(std::trunc(t) + 1.0, 4294967295.0);
    SetView(v.start, v.end, static_cast<uint32_t>(b), static_cast<uint32_t>(top));
    return true;
}

std::string CPlot::CursorValueText() const {
    return FormatNumber(m_spectra.ChannelToValue(CursorChannel()));
}

std::string CPlot::CursorCountText() const {
    return FormatNumber(m_spectra.CountAt(CursorChannel()));
}

std::string CPlot::UnitLabel() const {
    return m_spectra.UnitLabel();
}

std::string CPlot::ScaleLabel() const {
    switch (m_settings.scaleType) {
    case ScaleType::Logarithmic:
        return "LOG Scale  ";
    case ScaleType::SquareRoot:
        return "SQRT Scale ";
    case ScaleType::Linear:
        break;
    }
    return "LIN Scale  ";
}

bool CPlot::Zoom(ZoomButton button, bool coarse) {
    // Steps wait for the outlines of the last one, so held buttons never queue up.
    if (m_spectra.AnyRedrawPending())
        return false;
    const double f = ZoomFactor(button, coarse);
    const PlotView& v = m_geometry.view;
    if (button == ZoomButton::HorizontalCompress || button == ZoomButton::HorizontalExpand) {
        const double w =
            std::min((v.end - v.start + 1) * f, static_cast<double>(kAbsoluteChannels));
        SetViewWidth(static_cast<int>(std::trunc(w + 0.5)) - 1);
    } else {
        const double h = std::min((static_cast<double>(v.top) - v.bottom + 1) * f, 4294967295.0);
        SetViewHeight(static_cast<uint32_t>(std::trunc(h + 0.5)) - 1);
    }
    return true;
}

void CPlot::PressZoomButton(ZoomButton button, bool coarse) {
    m_heldZoom = std::make_pair(button, coarse);
    const unsigned generation = ++m_zoomGeneration;
    Zoom(button, coarse);
    if (m_scheduler) {
        std::weak_ptr<int> alive = m_alive;
        m_scheduler->ScheduleRepeat(kZoomRepeatMicroseconds, [this, alive, generation] {
            if (alive.lock())
                RepeatZoom(generation);
        });
    }
}

void CPlot::RepeatZoom(unsigned generation) {
    if (!m_heldZoom || generation != m_zoomGeneration)
        return;
    Zoom(m_heldZoom->first, m_heldZoom->second);
    std::weak_ptr<int> alive = m_alive;
    m_scheduler->ScheduleRepeat(kZoomRepeatMicroseconds, [this, alive, generation] {
        if (alive.lock())
            RepeatZoom(generation);
    });
}

void CPlot::ReleaseZoomButton() {
    m_heldZoom.reset();
    ++m_zoomGeneration;
}

} // namespace vorna
