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
#include "common/PostingPrompt.h"
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
    struct Record {
        MainMessage message;
        int w = 0;
        int l = 0;
        std::string text;
    };
    using MainWindowSink::Post;
    void Post(MainEvent event) override {
        Record r{static_cast<MainMessage>(MessageNumber(event)), 0, 0, {}};
        if (auto* d = std::get_if<DeviceStateEvent>(&event)) {
            r.w = d->which;
            r.l = d->on ? 1 : 0;
        } else if (auto* t = std::get_if<StatusTextEvent>(&event)) {
            r.w = t->pane;
            r.text = t->text;
        } else if (auto* m = std::get_if<MessageEvent>(&event)) {
            r.text = m->text;
        } else if (auto* q = std::get_if<QuestionRequest>(&event)) {
            // A worker's question: recorded and answered No, as a closed box would.
            r.text = q->text;
            q->reply->Answer(PromptAnswer::No);
        } else if (auto* n = std::get_if<NumberRequest>(&event)) {
            r.text = n->title;
            n->reply->Answer(n->initial);
        }
        std::lock_guard<std::mutex> g(m_mutex);
        posted.push_back(std::move(r));
        events.push_back(std::move(event));
    }
    // The texts posted for pane 0 and pane 1, in order.
    std::vector<std::string> Texts() {
        std::lock_guard<std::mutex> g(m_mutex);
        std::vector<std::string> texts;
        for (auto& r : posted)
            if (r.message == MainMessage::StatusText)
                texts.push_back(r.text);
        return texts;
    }
    // Message boxes and questions a worker posted, in order.
    std::vector<std::string> WorkerTexts() {
        std::lock_guard<std::mutex> g(m_mutex);
        std::vector<std::string> texts;
        for (auto& r : posted)
            if (static_cast<int>(r.message) == 0)
                texts.push_back(r.text);
        return texts;
    }
    int Count(MainMessage message, int wparam, int lparam) {
        std::lock_guard<std::mutex> g(m_mutex);
        int n = 0;
        for (auto& r : posted)
            n += r.message == message && r.w == wparam && r.l == lparam;
        return n;
    }
    void Clear() {
        std::lock_guard<std::mutex> g(m_mutex);
        posted.clear();
        events.clear();
    }

    std::vector<Record> posted;
    std::vector<MainEvent> events;

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
        // The test's own thread is the UI thread: its calls reach the recording prompt, a
        // worker's are posted to the sink.
        posting.SetUiPrompt(&prompt);
        acq = std::make_unique<CAcq>(kestrel.link, kestrel.clock, profile, spectra, posting, sink,
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
    std::atomic<bool> quit{false};
    PostingPrompt posting{sink, &quit};
    AcqHooks hooks;
    std::atomic<int> wakes{0};
    std::atomic<CUploadThread*> worker{nullptr};
    std::function<void(bool)> onTimer; // set before a worker starts
    std::optional<uint16_t> securityAnswer = uint16_t{0};
    std::pair<int, int> visible{0, 16383};
    std::unique_ptr<CAcq> acq;
};

} // namespace vorna::test
