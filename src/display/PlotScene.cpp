#include "display/PlotScene.h"

#include <cmath>

#include "analysis/NumberFormat.h"
#include "display/CPlot.h"

namespace vorna {

std::vector<std::pair<int, BandBrush>> RoiDrawOrder(int count, int selected, bool showRoi,
                                                    bool showAllRoi) {
    std::vector<std::pair<int, BandBrush>> order;
    auto visit = [&](int i) {
        if (showRoi && i == selected)
            order.push_back({i, BandBrush::SelectedRoi});
        else if (showAllRoi)
            order.push_back({i, BandBrush::Roi});
    };
    for (int i = 0; i < count; ++i)
        if (i != selected)
            visit(i);
    if (selected >= 0 && selected < count)
        visit(selected);
    return order;
}

namespace {

void addBands(std::vector<SceneBand>& out, std::span<const PlotPoint> outline,
              const PlotGeometry& g, int gain, std::span<const RoiRange> rois, int selected,
              bool showRoi, bool showAllRoi) {
    const int count = static_cast<int>(rois.size());
    for (auto [i, brush] : RoiDrawOrder(count, selected, showRoi, showAllRoi)) {
        const RoiRange& r = rois[static_cast<size_t>(i)];
        if (auto band = RoiBandPolygon(outline, g, gain, r.start, r.end))
            out.push_back({std::move(*band), brush});
    }
}

void addAxis(PlotScene& scene, const CPlot& plot, int activeGain) {
    const PlotSettings& st = plot.Settings();
    const PlotGeometry g = plot.Geometry();
    if (st.gridEnable)
        scene.grid = ComputeGrid(g.width, g.height, st.horzCells, st.vertCells);
    if (!st.ticksEnable)
        return;
    scene.bottomTicks = HorizontalTicks(g.width, st.horzCells, st.gridEnable);
    scene.leftTicks = VerticalTicks(g.height, st.vertCells, st.gridEnable);
    const PlotSpectrumPort& port = plot.Spectra();
    for (const Tick& t : scene.bottomTicks) {
        if (t.major < 0)
            continue;
        const double v = HorizontalTickValue(g.view, t.major, st.horzCells);
        const double value = port.ChannelToValue(ChannelOfPosition(v, activeGain));
        scene.bottomLabels.push_back({t.position, FormatNumber(value)});
    }
    for (const Tick& t : scene.leftTicks) {
        if (t.major < 0)
            continue;
        const double v = VerticalTickValue(g.view, t.major, st.vertCells, st.scaleType);
        const uint64_t count = v > 0 ? static_cast<uint64_t>(std::trunc(v)) : 0;
        scene.leftLabels.push_back({t.position, CountLabel(count)});
    }
}

} // namespace

std::span<const PlotPoint> OutlineCache::Outline(size_t n, const OutlineInput& in) {
    if (m_entries.size() <= n)
        m_entries.resize(n + 1);
    Entry& e = m_entries[n];
    if (e.valid && e.data == in.counts.data() && e.size == in.counts.size() && e.gain == in.gain &&
        e.lastValidChannel == in.lastValidChannel && e.geometry == in.geometry &&
        e.scale == in.scale)
        return e.points;
    ComputePlotPoints(in, e.points);
    e.valid = true;
    e.data = in.counts.data();
    e.size = in.counts.size();
    e.gain = in.gain;
    e.lastValidChannel = in.lastValidChannel;
    e.geometry = in.geometry;
    e.scale = in.scale;
    ++m_computed;
    return e.points;
}

void OutlineCache::Clear() {
    for (Entry& e : m_entries)
        e.valid = false;
}

PlotScene BuildPlotScene(const CPlot& plot, const SpectrumDrawSource& spectra,
                         OutlineCache& outlines) {
    PlotScene scene;
    const PlotGeometry g = plot.Geometry();
    const PlotSettings& st = plot.Settings();
    const bool showRoi = plot.Spectra().ShowRoi();
    const bool showAllRoi = plot.Spectra().ShowAllRoi();
    size_t n = 0;
    spectra.VisitSpectra([&](const SpectrumDrawView& s) {
        if (!s.valid || (s.hidden && !s.active))
            return;
        const std::span<const PlotPoint> pts =
            outlines.Outline(n++, {s.counts, s.gain, s.lastValidChannel, g, st.scaleType});
        if (!s.active) {
            scene.others.push_back({OutlineLine(pts, g), s.color, s.lineWidth, false});
            return;
        }
        const bool fill = st.fillEnable;
        scene.active = SceneCurve{fill ? FillPolygon(pts, g) : OutlineLine(pts, g), s.color,
                                  s.lineWidth, fill};
        if (const auto& overlay = plot.PeakSearchOverlay())
            addBands(scene.overlayBands, pts, g, s.gain, overlay->rois, overlay->selected, showRoi,
                     showAllRoi);
        if (showRoi || showAllRoi)
            addBands(scene.roiBands, pts, g, s.gain, s.rois, s.selectedRoi, showRoi, showAllRoi);
    });
    addAxis(scene, plot, plot.Spectra().ActiveGain());
    const double px = plot.CursorPixel();
    if (px >= 0 && px < g.width)
        scene.cursorColumn = static_cast<int>(std::trunc(px + 0.5));
    return scene;
}

} // namespace vorna
