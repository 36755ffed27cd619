// Keyboard and mouse of the plot.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "display/CPlot.h"

namespace vorna {

int DppThresholdByte(int channel, int dppChannels) {
    if (dppChannels <= 0)
        return 0;
    const double t = std::trunc(static_cast<double>(channel) / dppChannels * 4 * 256 + 0.5);
    return static_cast<int>(std::min(t, 250.0));
}

bool CPlot::RunCommand(int commandId) {
    switch (static_cast<PlotCommand>(commandId)) {
    case PlotCommand::PreviousView:
        ShowPreviousView();
        return true;
    case PlotCommand::SelectView:
        ToggleSelectView();
        return true;
    case PlotCommand::EditRoi:
        ToggleEditRoi();
        return true;
    case PlotCommand::NextRoi:
        m_spectra.SelectNextRoi();
        return true;
    case PlotCommand::PreviousRoi:
        m_spectra.SelectPreviousRoi();
        return true;
    case PlotCommand::ClearAllRois:
        m_spectra.ClearRois();
        return true;
    case PlotCommand::ClearCursorRoi:
        HandleKey(PlotKey::E, false);
        return true;
    case PlotCommand::Center:
        Center();
        return true;
    case PlotCommand::FullHorizontalRange:
        FullHorizontalRange();
        return true;
    case PlotCommand::AutoscaleVertical:
        AutoscaleVertical();
        return true;
    case PlotCommand::ScaleLinear:
        SetScaleType(ScaleType::Linear);
        return true;
    case PlotCommand::ScaleLogarithmic:
        SetScaleType(ScaleType::Logarithmic);
        return true;
    case PlotCommand::ScaleSquareRoot:
        SetScaleType(ScaleType::SquareRoot);
        return true;
    default:
        return false;
    }
}

bool CPlot::HandleKey(PlotKey key, bool ctrl) {
    const std::optional<KeyBinding> binding = FindKeyBinding(key, ctrl);
    if (!binding)
        return false;
    RunKeyAction(*binding);
    return true;
}

void CPlot::RunKeyAction(const KeyBinding& b) {
    const PlotView& v = m_geometry.view;
    const int cmd = static_cast<int>(b.command);
    switch (b.action) {
    case KeyAction::CursorRight:
        MoveCursorTo(m_cursor + Step());
        break;
    case KeyAction::CursorLeft:
        MoveCursorTo(m_cursor - Step());
        break;
    case KeyAction::NextRoi:
        m_spectra.SelectNextRoi();
        break;
    case KeyAction::PreviousRoi:
        m_spectra.SelectPreviousRoi();
        break;
    case KeyAction::VerticalExpand:
        Zoom(ZoomButton::VerticalExpand, false);
        break;
    case KeyAction::VerticalCompress:
        Zoom(ZoomButton::VerticalCompress, false);
        break;
    case KeyAction::HorizontalExpand:
        Zoom(ZoomButton::HorizontalExpand, false);
        break;
    case KeyAction::HorizontalCompress:
        Zoom(ZoomButton::HorizontalCompress, false);
        break;
    case KeyAction::ScrollChannelLeft:
        ScrollViewTo(v.start - Step());
        break;
    case KeyAction::ScrollChannelRight:
        ScrollViewTo(v.start + Step());
        break;
    case KeyAction::HalfPageLeft:
        ScrollViewTo(v.start - (v.end - v.start) / 2);
        break;
    case KeyAction::HalfPageRight:
        ScrollViewTo((v.start + v.end) / 2);
        break;
    case KeyAction::CycleScale:
        SetScaleType(static_cast<ScaleType>((static_cast<int>(m_settings.scaleType) + 1) % 3));
        break;
    case KeyAction::MarkRight:
    case KeyAction::MarkLeft:
    case KeyAction::UnmarkRight:
    case KeyAction::UnmarkLeft:
        MarkRoi(b.action);
        break;
    case KeyAction::ClearRois:
        m_spectra.ClearRois();
        break;
    case KeyAction::DeleteCursorRoi: {
        const int i = m_spectra.FindRoi(CursorChannel());
        if (i >= 0)
            m_spectra.DeleteRoi(i);
        break;
    }
    case KeyAction::ResetHeader:
        m_spectra.ResetActiveHeader();
        break;
    case KeyAction::Command:
        Notify([&](PlotListener& l) { l.CommandRequested(cmd, false); });
        break;
    case KeyAction::KestrelCommand:
        if (m_spectra.DeviceType() != 0)
            break;
        [[fallthrough]];
    case KeyAction::KeyCommand:
        Notify([&](PlotListener& l) { l.CommandRequested(cmd, true); });
        break;
    case KeyAction::AutoCalibration:
        Notify([](PlotListener& l) { l.AutoCalibrationRequested(); });
        break;
    case KeyAction::ThresholdAtCursor: {
        const int channel = std::max(1, CursorChannel());
        Notify([&](PlotListener& l) { l.ThresholdAtCursorRequested(channel); });
        break;
    }
    }
}

void CPlot::MarkRoi(KeyAction action) {
    const int c = CursorChannel();
    int lo = c, hi = c;
    const int i = m_spectra.FindRoi(c);
    if (i >= 0) {
        const RoiRange r = m_spectra.Roi(i);
        lo = r.start;
        hi = r.end;
        m_spectra.DeleteRoi(i);
    }
    switch (action) {
    case KeyAction::MarkRight:
        ++hi;
        break;
    case KeyAction::UnmarkRight:
        hi = std::min(hi, c) - 1;
        break;
    case KeyAction::MarkLeft:
        --lo;
        break;
    default:
        lo = std::max(lo, c) + 1;
        break;
    }
    // A ROI never reaches past the spectrum's channels, whatever the cursor's edge.
    const int gain = m_spectra.ActiveGain();
    lo = std::max(lo, 0);
    hi = std::min(hi, (256 << gain) - 1);
    if (lo > hi)
        return;
    m_spectra.AddRoi(lo, hi);
    const bool movedEnd = action == KeyAction::MarkRight || action == KeyAction::UnmarkRight;
    MoveCursorTo(ToAbsolute(movedEnd ? hi : lo, gain));
}

MouseShape CPlot::Shape() const {
    switch (m_mode) {
    case MouseMode::SelectView:
        return MouseShape::Cross;
    case MouseMode::EditRoi:
        return m_dragging ? MouseShape::SizeEastWest : MouseShape::SizeNorthSouth;
    case MouseMode::None:
        break;
    }
    return MouseShape::Arrow;
}

void CPlot::ToggleSelectView() {
    m_mode = m_mode == MouseMode::SelectView ? MouseMode::None : MouseMode::SelectView;
    m_dragging = false;
    Notify([](PlotListener& l) { l.MouseModeChanged(); });
}

void CPlot::ToggleEditRoi() {
    m_mode = m_mode == MouseMode::EditRoi ? MouseMode::None : MouseMode::EditRoi;
    m_dragging = false;
    Notify([](PlotListener& l) { l.MouseModeChanged(); });
}

std::pair<int, int> CPlot::ClampPoint(int x, int y) const {
    return {std::clamp(x, 0, m_geometry.width), std::clamp(y, 0, m_geometry.height)};
}

void CPlot::MouseDown(int x, int y, long long timeUs) {
    m_lastMouseUs = timeUs;
    m_tracked = true;
    m_cornerX = -1;
    std::tie(m_downX, m_downY) = ClampPoint(x, y);
    MoveCursorToPixel(m_downX);
    if (m_mode == MouseMode::EditRoi && !m_dragging)
        BeginRoiEdit();
}

void CPlot::BeginRoiEdit() {
    const int c = CursorChannel();
    m_dragIndex = -1;
    m_anchor = c;
    for (int i = 0; i < m_spectra.RoiCount(); ++i) {
        const RoiRange r = m_spectra.Roi(i);
        const bool nearStart = std::abs(r.start - c) < 3;
        if (nearStart || std::abs(r.end - c) < 3) {
            m_dragging = true;
            m_dragIndex = i;
            m_dragStart = nearStart;
            m_anchor = nearStart ? r.end : r.start;
            Notify([](PlotListener& l) { l.MouseModeChanged(); });
            return;
        }
    }
}

void CPlot::MouseMove(int x, int y, long long timeUs) {
    if (!m_tracked || timeUs - m_lastMouseUs < kMouseIntervalMicroseconds)
        return;
    m_lastMouseUs = timeUs;
    const auto [px, py] = ClampPoint(x, y);
    if (m_mode == MouseMode::SelectView) {
        m_cornerX = px;
        m_cornerY = py;
        Notify([](PlotListener& l) { l.RubberBandChanged(); });
        return;
    }
    MoveCursorToPixel(px);
    if (m_mode == MouseMode::EditRoi)
        UpdateDraggedRoi();
}

void CPlot::MouseUp(int x, int y) {
    if (!m_tracked)
        return;
    m_tracked = false;
    const auto [px, py] = ClampPoint(x, y);
    if (m_mode == MouseMode::SelectView) {
        FinishRubberBand(px, py);
    } else if (m_mode == MouseMode::EditRoi) {
        MoveCursorToPixel(px);
        UpdateDraggedRoi();
        if (m_dragging) {
            m_dragging = false;
            Notify([](PlotListener& l) { l.MouseModeChanged(); });
        }
    }
}

std::optional<RubberBand> CPlot::CurrentRubberBand() const {
    if (!m_tracked || m_mode != MouseMode::SelectView || m_cornerX < 0)
        return std::nullopt;
    return RubberBand{m_downX, m_downY, m_cornerX, m_cornerY};
}

void CPlot::FinishRubberBand(int x, int y) {
    const bool drawn = m_cornerX >= 0;
    m_cornerX = -1;
    if (drawn)
        Notify([](PlotListener& l) { l.RubberBandChanged(); });
    const int xmin = std::min(m_downX, x), xmax = std::max(m_downX, x);
    const int ymin = std::min(m_downY, y), ymax = std::max(m_downY, y);
    if (xmax - xmin <= 10 || ymax - ymin <= 8)
        return; // a click or a slip of the hand, not a box
    const PlotView v = m_geometry.view;
    const double fx = (v.end - v.start + 1.0) / m_geometry.width;
    const double fy = (static_cast<double>(v.top) - v.bottom + 1.0) / m_geometry.height;
    auto count = [&](double rows) {
        return static_cast<uint32_t>(
            std::min(v.bottom + std::trunc(rows * fy + 0.5), 4294967295.0));
    };
    SetView(v.start + static_cast<int>(std::trunc(xmin * fx + 0.5)),
            v.start + static_cast<int>(std::trunc(xmax * fx + 0.5)),
            count(m_geometry.height - ymax), count(m_geometry.height - ymin));
}

void CPlot::UpdateDraggedRoi() {
    const int c = CursorChannel();
    const int a = m_anchor;
    if (!m_dragging) {
        const int lo = std::min(a, c), hi = std::max(a, c);
        m_dragIndex =
            m_dragIndex >= 0 ? m_spectra.ModifyRoi(m_dragIndex, lo, hi) : m_spectra.AddRoi(lo, hi);
        return;
    }
    std::optional<RoiRange> wanted;
    if (!m_dragStart && c > a)
        wanted = RoiRange{a, c};
    else if (m_dragStart && c < a)
        wanted = RoiRange{c, a};
    if (m_dragIndex >= 0) {
        if (wanted) {
            m_dragIndex = m_spectra.ModifyRoi(m_dragIndex, wanted->start, wanted->end);
        } else {
            m_spectra.DeleteRoi(m_dragIndex);
            m_dragIndex = -1;
        }
    } else if (wanted && wanted->end > 0) {
        m_dragIndex = m_spectra.AddRoi(wanted->start, wanted->end);
    }
}

} // namespace vorna
