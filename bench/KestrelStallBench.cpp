// How long the UI thread is held while a KestrelA is connected (its USB detection included) and
// while menus open during an acquisition, with the device commands on the Kestrel's command
// thread. The limit companions do the same work on the calling thread, as a window that talks
// to the analyzer itself would: their stall is the whole exchange. Real time throughout: the
// simulated analyzer paces itself by the steady clock.
//
// Counters: max_stall_ms (the longest single UI-thread call), total_ms (until the work was done).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

#include "appcore/KestrelProgram.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"
#include "sim/kestrel/KestrelSimulator.h"
#include "spectrum/CSpectraList.h"

namespace {

using namespace vorna;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The UI thread's queue: the benchmark's own thread takes the posted events.
class UiQueue : public MainWindowSink {
public:
    using MainWindowSink::Post;
    void Post(MainEvent event) override {
        std::lock_guard<std::mutex> g(m_mutex);
        m_events.push_back(std::move(event));
    }
    std::deque<MainEvent> Take() {
        std::lock_guard<std::mutex> g(m_mutex);
        return std::exchange(m_events, {});
    }

private:
    std::mutex m_mutex;
    std::deque<MainEvent> m_events;
};

struct World {
    explicit World(KestrelSimModel model)
        : sim(clock, Options(model)), profile(store, {1920, 1080}), spectra(env), settings(ui) {
        profile.comPort = 1;
        profile.baudRate = 115200;
        profile.updateInterval = 100;
        profile.autoUpdate = 1;
        auto live = std::make_unique<CSpectrum>();
        spectra.Add(live, true);
        settings.Publish(AcqSettingsFrom(profile));
    }
    static KestrelSimOptions Options(KestrelSimModel model) {
        KestrelSimOptions o;
        o.model = model;
        o.gainCode = 6; // 16384 channels: the longest uploads
        return o;
    }
    void StartProgram() {
        kestrel = std::make_unique<KestrelProgram>(
            sim, settings, KestrelProgramPorts{clock, spectra, ui, &prompt}, AcqHooks{});
    }
    // One UI-thread turn: every posted event handled; the longest handling is returned.
    double Turn() {
        double longest = 0;
        for (MainEvent& e : ui.Take()) {
            const auto t0 = Clock::now();
            if (auto* done = std::get_if<JobFinishedEvent>(&e))
                kestrel->Finished(done->ticket);
            else if (auto* w = std::get_if<ProfileWriteEvent>(&e))
                ApplyProfileWrite(profile, *w), settings.Publish(AcqSettingsFrom(profile));
            longest = std::max(longest, Ms(Clock::now() - t0));
        }
        return longest;
    }

    SteadyClock clock;
    KestrelSimulator sim;
    MemoryProfileStore store;
    CSProfile profile;
    SpectrumEnvironment env;
    CSpectraList spectra;
    UiQueue ui;
    SilentPrompt prompt;
    PublishedAcqSettings settings;
    std::unique_ptr<KestrelProgram> kestrel;
};

// The connect of a KestrelA behind its USB interface: the first attempt fails, the USB
// detection runs, the second attempt connects.
void BM_ConnectStall(benchmark::State& state) {
    double maxStall = 0, total = 0;
    for (auto _ : state) {
        World w(KestrelSimModel::KestrelAUsb);
        w.StartProgram();
        bool done = false;
        const auto start = Clock::now();
        auto t0 = Clock::now();
        w.kestrel->Run([](CAcq& a) { a.ConnectQuiet(); }, [&done] { done = true; });
        double stall = Ms(Clock::now() - t0);
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            stall = std::max(stall, w.Turn());
        }
        total = Ms(Clock::now() - start);
        if (!w.kestrel->Acq().Connected())
            state.SkipWithError("the simulated KestrelA did not connect");
        maxStall = std::max(maxStall, stall);
        state.SetIterationTime(stall / 1000.0);
    }
    state.counters["max_stall_ms"] = maxStall;
    state.counters["total_ms"] = total;
}
BENCHMARK(BM_ConnectStall)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

// Limit: the same connect on the calling thread.
void BM_ConnectStallLimitOnCallingThread(benchmark::State& state) {
    double maxStall = 0;
    for (auto _ : state) {
        World w(KestrelSimModel::KestrelAUsb);
        w.StartProgram();
        const auto t0 = Clock::now();
        w.kestrel->Acq().ConnectQuiet();
        const double stall = Ms(Clock::now() - t0);
        maxStall = std::max(maxStall, stall);
        state.SetIterationTime(stall / 1000.0);
    }
    state.counters["max_stall_ms"] = maxStall;
}
BENCHMARK(BM_ConnectStallLimitOnCallingThread)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// Menus opened while a 16384-channel acquisition uploads: the check that the analyzer is still
// there goes to the command thread, the panes read what the worker last learned.
void MenuOpenDuringAcquisition(benchmark::State& state, bool onCallingThread) {
    World w(KestrelSimModel::KestrelA);
    w.StartProgram();
    CAcq& acq = w.kestrel->Acq();
    bool ready = false;
    w.kestrel->Run(
        [](CAcq& a) {
            a.ConnectQuiet();
            a.StartAcquisition();
            a.RefreshStatus();
            a.RequestUpload();
        },
        [&ready] { ready = true; });
    while (!ready) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        w.Turn();
    }
    double maxStall = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (onCallingThread) {
            acq.CheckStillConnected();
        } else if (!w.kestrel->Busy()) {
            w.kestrel->Run([](CAcq& a) { a.CheckStillConnected(); });
        }
        benchmark::DoNotOptimize(acq.CachedDevicePane());
        benchmark::DoNotOptimize(acq.StatusValid() && acq.State() == AcqState::Acquiring);
        double stall = Ms(Clock::now() - t0);
        stall = std::max(stall, w.Turn());
        maxStall = std::max(maxStall, stall);
        state.SetIterationTime(stall / 1000.0);
        // A user opens a menu a few times a second.
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    if (!acq.Connected())
        state.SkipWithError("the acquisition lost its analyzer");
    state.counters["max_stall_ms"] = maxStall;
}

void BM_MenuOpenDuringAcquisition(benchmark::State& state) {
    MenuOpenDuringAcquisition(state, false);
}
BENCHMARK(BM_MenuOpenDuringAcquisition)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

// Limit: the battery request made on the calling thread, which waits for the link an upload
// chunk holds.
void BM_MenuOpenLimitOnCallingThread(benchmark::State& state) {
    MenuOpenDuringAcquisition(state, true);
}
BENCHMARK(BM_MenuOpenLimitOnCallingThread)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
