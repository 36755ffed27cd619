#pragma once
// The acquisition controller in a world of its own: a simulated analyzer on a virtual clock, a
// profile in memory, a spectra list with the live spectrum at position 0, and a prompt and a
// main window that only record.

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "KestrelSimFixture.h"
#include "common/MainWindowSink.h"
#include "common/UserPrompt.h"
#include "kestrel/CAcq.h"
#include "kestrel/CUploadThread.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"

namespace vorna::test {

class RecordingPrompt : public UserPrompt {
public:
    void message(const std::string& text, PromptStyle) override {
        std::lock_guard<std::mutex> g(m_mutex);
        messages.push_back(text);
    }
    PromptAnswer question(const std::string& text, bool) override {
        std::lock_guard<std::mutex> g(m_mutex);
        questions.push_back(text);
        if (answers.empty())
            return PromptAnswer::No;
        PromptAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool chooseSaveFile(std::string&, const std::string&, const std::string&) override {
        return false;
    }
    void status(int, const std::string&) override {}
    std::vector<std::string> Messages() {
        std::lock_guard<std::mutex> g(m_mutex);
        return messages;
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<PromptAnswer> answers;

private:
    std::mutex m_mutex;
};

class RecordingSink : public MainWindowSink {
public:
    void Post(MainMessage message, intptr_t wparam, intptr_t lparam) override {
        std::lock_guard<std::mutex> g(m_mutex);
        posted.emplace_back(message, wparam, lparam);
    }
    // The constant texts posted for pane 0 and pane 1, in order.
    std::vector<std::string> Texts() {
        std::lock_guard<std::mutex> g(m_mutex);
        std::vector<std::string> texts;
        for (auto& [m, w, l] : posted)
            if (m == MainMessage::StatusText)
                texts.emplace_back(reinterpret_cast<const char*>(l));
        return texts;
    }
    int Count(MainMessage message, intptr_t wparam, intptr_t lparam) {
        std::lock_guard<std::mutex> g(m_mutex);
        int n = 0;
        for (auto& [m, w, l] : posted)
            n += m == message && w == wparam && l == lparam;
        return n;
    }
    void Clear() {
        std::lock_guard<std::mutex> g(m_mutex);
        posted.clear();
    }

    std::vector<std::tuple<MainMessage, intptr_t, intptr_t>> posted;

private:
    std::mutex m_mutex;
};

// The worker's interval passes on the virtual clock; a signal still wakes it in real time.
inline EventWait VirtualWait(VirtualClock& clock) {
    return [&clock](AutoResetEvent& event, int timeoutMs) {
        if (timeoutMs <= 0)
            return event.Wait(0);
        if (event.Wait(1))
            return true;
        clock.SleepMillis(timeoutMs);
        return false;
    };
}

struct AcqWorld {
    explicit AcqWorld(KestrelSimOptions options = Model(KestrelSimModel::KestrelAUsb))
        : kestrel(options), profile(store, ScreenSize{1920, 1080}), spectra(env) {
        env.prompt = &prompt;
        auto live = std::make_unique<CSpectrum>();
        live->m_strTag = "live_data";
        spectra.Add(live, true);
        hooks.wakeUploadWorker = [this] {
            ++wakes;
            if (CUploadThread* w = worker.load())
                w->Signal();
        };
        hooks.timesTimer = [this](bool on) {
            if (onTimer)
                onTimer(on);
        };
        hooks.quit = &quit;
        hooks.askSecurityCode = [this] { return securityAnswer; };
        hooks.visibleAbsoluteRange = [this] { return visible; };
        acq = std::make_unique<CAcq>(kestrel.link, kestrel.clock, profile, spectra, prompt, sink,
                                     hooks);
        acq->LoadSettings();
    }

    CSpectrum& Live() { return *spectra.At(0); }
    std::vector<double> LiveData() { return Live().Lock()->m_pData; }
    // Device counts as an upload leaves them: the unused top channels read as 0.
    std::vector<double> DeviceCountsAsUploaded() {
        std::vector<uint32_t> c = kestrel.sim.DeviceCounts();
        std::fill(c.end() - static_cast<std::ptrdiff_t>(c.size() / 32), c.end(), 0u);
        return std::vector<double>(c.begin(), c.end());
    }
    // One pass of what the upload worker does while an acquisition runs.
    bool Poll(int64_t micros = 1000000) {
        kestrel.clock.Advance(micros);
        if (!acq->Upload())
            return false;
        return acq->RefreshStatus();
    }

    SimulatedKestrel kestrel;
    MemoryProfileStore store;
    CSProfile profile;
    SpectrumEnvironment env;
    CSpectraList spectra;
    RecordingPrompt prompt;
    RecordingSink sink;
    AcqHooks hooks;
    std::atomic<int> wakes{0};
    std::atomic<bool> quit{false};
    std::atomic<CUploadThread*> worker{nullptr};
    std::function<void(bool)> onTimer; // set before a worker starts
    std::optional<uint16_t> securityAnswer = uint16_t{0};
    std::pair<int, int> visible{0, 16383};
    std::unique_ptr<CAcq> acq;
};

} // namespace vorna::test
