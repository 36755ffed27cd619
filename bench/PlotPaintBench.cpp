// A full paint of the plot at 1920 x 1080 with twenty 16384-channel spectra open (outlines,
// fill, ROI bands, the other nineteen lines, ticks and labels), offscreen, beside its limit:
// filling the same frame with the background and copying it once. Fifteen of the twenty slots
// draw with a two-pixel pen, as the slot defaults have it.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <memory>
#include <random>

#include <benchmark/benchmark.h>

#include "display/CPlot.h"
#include "display/PlotDisplaySink.h"
#include "display/SpectraListPlotPort.h"
#include "display/ui/PlotWidget.h"
#include "spectrum/CSpectraList.h"

namespace {

using namespace vorna;

constexpr int kSpectra = 20;

struct PaintWorld {
    SpectrumEnvironment env;
    CSpectraList list{env};
    SpectraListPlotPort port{list};
    CPlot plot{port};
    PlotWidget widget{plot, port};
    PlotDisplaySink sink{plot}; // ROI edits reach the plot through it

    PaintWorld() {
        std::mt19937 rng(7);
        for (int i = 0; i < kSpectra; ++i) {
            auto s = std::make_unique<CSpectrum>(env.slots, list.GetCount());
            s->m_nGain = 6;
            s->AllocateData(16384);
            std::poisson_distribution<int> counts(200.0 + 20 * i);
            for (double& v : s->m_pData)
                v = counts(rng);
            if (i == kSpectra - 1)
                for (int r = 0; r < 10; ++r)
                    s->m_roi.AddSorted(1000 + 1500 * r, 1300 + 1500 * r);
            list.Add(s, i == kSpectra - 1);
        }
        env.display = &sink;
        widget.resize(1920, 1080 + 15);
        widget.show();
        plot.SetView(0, 16383, 0, 1000);
        QApplication::processEvents();
    }
    ~PaintWorld() { env.display = nullptr; }
};

void BM_PaintPlot(benchmark::State& state) {
    PaintWorld world;
    PlotCanvas* canvas = world.widget.canvas();
    QImage target(canvas->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        world.plot.Invalidate();
        QPainter p(&target);
        p.drawImage(0, 0, canvas->Frame());
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["width"] = canvas->width();
    state.counters["height"] = canvas->height();
}
BENCHMARK(BM_PaintPlot)->Unit(benchmark::kMillisecond);

// The same full paint in the logarithmic scale.
void BM_PaintPlotLog(benchmark::State& state) {
    PaintWorld world;
    world.plot.SetScaleType(ScaleType::Logarithmic);
    PlotCanvas* canvas = world.widget.canvas();
    QImage target(canvas->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        world.plot.Invalidate();
        QPainter p(&target);
        p.drawImage(0, 0, canvas->Frame());
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintPlotLog)->Unit(benchmark::kMillisecond);

// What the UI thread does for one arrow key and one zoom step, up to the pixels on screen.
void BM_CursorMoveOnScreen(benchmark::State& state) {
    PaintWorld world;
    PlotCanvas* canvas = world.widget.canvas();
    canvas->repaint();
    double position = 100;
    for (auto _ : state) {
        position = position > 16000 ? 100 : position + 1;
        world.plot.MoveCursorTo(position);
        QApplication::processEvents(); // the two queued column updates, painted and flushed
    }
}
BENCHMARK(BM_CursorMoveOnScreen)->Unit(benchmark::kMillisecond);

// One step of a ROI dragged with the mouse: its end moves by a channel and the columns of the
// band are repainted.
void BM_RoiEditOnScreen(benchmark::State& state) {
    PaintWorld world;
    world.widget.canvas()->repaint();
    int end = 8000;
    for (auto _ : state) {
        end = end >= 8400 ? 8000 : end + 1;
        world.port.ModifyRoi(world.port.FindRoi(7000), 7000, end); // the ROI 7000..7300 grows
        QApplication::processEvents(); // the band's columns, painted and flushed
    }
}
BENCHMARK(BM_RoiEditOnScreen)->Unit(benchmark::kMillisecond);

void BM_ZoomStepOnScreen(benchmark::State& state) {
    PaintWorld world;
    world.plot.MoveCursorTo(8000);
    bool in = true;
    for (auto _ : state) {
        // A fine zoom step (no worker here to clear the redraw flags, so set the width directly).
        world.plot.SetViewWidth(in ? 15288 : 16384);
        in = !in;
        QApplication::processEvents(); // outlines, full frame, flush
    }
}
BENCHMARK(BM_ZoomStepOnScreen)->Unit(benchmark::kMillisecond);

void BM_PaintLimit(benchmark::State& state) {
    QImage frame(1920, 1080, QImage::Format_RGB32);
    QImage target(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        frame.fill(Qt::white);
        QPainter p(&target);
        p.drawImage(0, 0, frame);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintLimit)->Unit(benchmark::kMillisecond);

} // namespace
