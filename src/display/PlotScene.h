#pragma once
// Everything one paint of the plot draws, in drawing order, worked out without a toolkit:
// the widget only turns these points, colours and texts into painter calls.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/PlotAxis.h"
#include "display/PlotOutline.h"
#include "display/PlotSpectrumPort.h"

namespace vorna {

class CPlot;

// One open spectrum as the plot sees it while its lock is held.
struct SpectrumDrawView {
    bool active = false;
    bool hidden = false;
    bool valid = false; // contents computed (a derived spectrum may not be yet)
    uint32_t color = 0; // 0x00BBGGRR
    int lineWidth = 1;
    std::span<const double> counts;
    int gain = 6;
    int lastValidChannel = 0;
    std::span<const RoiRange> rois;
    int selectedRoi = -1;
};

// Walks the open spectra in list order, each under its own lock.
class SpectrumDrawSource {
public:
    virtual ~SpectrumDrawSource() = default;
    virtual void VisitSpectra(const std::function<void(const SpectrumDrawView&)>& visit) const = 0;
};

// A ROI list shown over the active spectrum while the peak search shows its results.
struct RoiOverlay {
    std::vector<RoiRange> rois;
    int selected = -1;
};

struct SceneCurve {
    std::vector<PlotPoint> points;
    uint32_t color = 0;
    int lineWidth = 1;
    bool filled = false; // a polygon in the fill colour, else a polyline
};

enum class BandBrush { Roi, SelectedRoi };
struct SceneBand {
    std::vector<PlotPoint> polygon;
    BandBrush brush = BandBrush::Roi;
};

struct SceneLabel {
    int position = 0; // x of a bottom label (centred on it), y of a left one (its baseline row)
    std::string text;
};

struct PlotScene {
    std::optional<SceneCurve> active;
    std::vector<SceneBand> overlayBands;
    std::vector<SceneBand> roiBands;
    std::vector<SceneCurve> others;
    GridLines grid;
    std::vector<Tick> bottomTicks, leftTicks;
    std::vector<SceneLabel> bottomLabels, leftLabels;
    std::optional<int> cursorColumn;
};

// The ROIs of a list in drawing order (the selected one last) with their brushes; ROIs the
// switches hide are left out.
std::vector<std::pair<int, BandBrush>> RoiDrawOrder(int count, int selected, bool showRoi,
                                                    bool showAllRoi);

// Outlines kept between paints, one per drawn spectrum in list order, each with what it was
// computed from (the contents' buffer, channel count, gain, last valid channel, view, size and
// scale); an entry is reused only while all of that is unchanged. Contents can change in place,
// so whoever learns of new data calls Clear().
class OutlineCache {
public:
    // The outline of the n-th drawn spectrum, computed unless kept.
    std::span<const PlotPoint> Outline(size_t n, const OutlineInput& in);
    // Forgets every outline (the buffers stay allocated).
    void Clear();
    // How many outlines were computed since construction.
    long long Computed() const { return m_computed; }

private:
    struct Entry {
        bool valid = false;
        const double* data = nullptr;
        size_t size = 0;
        int gain = 0;
        int lastValidChannel = 0;
        PlotGeometry geometry;
        ScaleType scale = ScaleType::Linear;
        std::vector<PlotPoint> points;
    };
    std::vector<Entry> m_entries;
    long long m_computed = 0;
};

PlotScene BuildPlotScene(const CPlot& plot, const SpectrumDrawSource& spectra,
                         OutlineCache& outlines);

} // namespace vorna
