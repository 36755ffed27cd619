#pragma once
// A program's worth of plot for tests: a spectra list with the live spectrum, the plot model
// on it, its display sink, and an update worker that finishes every redraw at once.

#include <functional>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "display/CPlot.h"
#include "display/PlotDisplaySink.h"
#include "display/SpectraListPlotPort.h"
#include "spectrum/CSpectraList.h"

namespace vorna::test {

// Clears the pending-redraw flags as the update worker would once the outlines are built.
class InstantWorker : public UpdateSignal {
public:
    CSpectraList* list = nullptr;
    bool enabled = true;
    void SignalUpdate() override {
        if (!enabled || !list)
            return;
        for (int i = 0; i < list->GetCount(); ++i)
            list->At(i)->m_bRedrawPending = 0;
    }
};

// Runs scheduled repeats when the test says so.
class ManualScheduler : public RepeatScheduler {
public:
    std::vector<std::function<void()>> due;
    std::vector<long long> delays;
    void ScheduleRepeat(long long microseconds, std::function<void()> action) override {
        delays.push_back(microseconds);
        due.push_back(std::move(action));
    }
    void RunDue() {
        auto now = std::move(due);
        due.clear();
        for (auto& f : now)
            f();
    }
};

struct PlotWorld {
    ScriptedPrompt prompt;
    InstantWorker worker;
    ManualScheduler scheduler;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;
    std::unique_ptr<SpectraListPlotPort> port;
    std::unique_ptr<CPlot> plot;
    std::unique_ptr<PlotDisplaySink> sink;

    // `repeats` drives held zoom buttons (the manual scheduler when none is given).
    explicit PlotWorld(RepeatScheduler* repeats = nullptr) {
        env.prompt = &prompt;
        env.updateSignal = &worker;
        list = std::make_unique<CSpectraList>(env);
        worker.list = list.get();
        auto live = std::make_unique<CSpectrum>(env.slots, 0);
        live->m_nGain = 6;
        list->Add(live, true);
        port = std::make_unique<SpectraListPlotPort>(*list);
        plot = std::make_unique<CPlot>(*port, &prompt, repeats ? repeats : &scheduler);
        sink = std::make_unique<PlotDisplaySink>(*plot);
        env.display = sink.get();
        plot->Resize(1024, 512);
    }
    ~PlotWorld() { env.display = nullptr; }

    // A spectrum of 256 << gain channels filled by `count(channel)`, made active.
    CSpectrum* AddSpectrum(int gain, const std::function<double(int)>& count = {}) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_nGain = gain;
        s->AllocateData(256 << gain);
        for (int c = 0; count && c < (256 << gain); ++c)
            s->m_pData[static_cast<size_t>(c)] = count(c);
        return list->Add(s, true);
    }
    CSpectrum& Active() { return *list->GetActive(); }
};

} // namespace vorna::test
