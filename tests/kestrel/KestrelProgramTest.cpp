// The Kestrel stack of the running program without a window: device commands run on the command
// thread, and everything they tell or ask the user comes back as events for the UI thread.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "AcqFixture.h"
#include "appcore/KestrelProgram.h"

using namespace vorna;
using namespace vorna::test;

namespace {

// The test thread stands for the UI thread: it takes the posted events and answers them.
class UiQueue : public MainWindowSink {
public:
    using MainWindowSink::Post;
    void Post(MainEvent event) override {
        std::lock_guard<std::mutex> g(m_mutex);
        m_events.push_back(std::move(event));
    }
    // Waits up to 20 s for an event of type T; it and every event before it are taken.
    template <class T> std::optional<T> Next() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            {
                std::lock_guard<std::mutex> g(m_mutex);
                while (!m_events.empty()) {
                    MainEvent e = std::move(m_events.front());
                    m_events.pop_front();
                    if (auto* t = std::get_if<T>(&e))
                        return std::move(*t);
                    seen.push_back(MessageNumber(e));
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }
    std::vector<int> seen;

private:
    std::mutex m_mutex;
    std::deque<MainEvent> m_events;
};

struct ProgramWorld {
    ProgramWorld() : profile(store, ScreenSize{1920, 1080}), spectra(env), settings(ui) {
        profile.comPort = 1;
        profile.baudRate = 115200;
        auto live = std::make_unique<CSpectrum>();
        spectra.Add(live, true);
        settings.Publish(AcqSettingsFrom(profile));
        kestrel = std::make_unique<KestrelProgram>(
            sim.sim, settings, KestrelProgramPorts{sim.clock, spectra, ui, &prompt}, AcqHooks{});
    }
    // Runs `job` and waits for its end on the "UI thread".
    bool RunAndWait(std::function<void(CAcq&)> job) {
        bool finished = false;
        kestrel->Run(std::move(job), [&finished] { finished = true; });
        auto done = ui.Next<JobFinishedEvent>();
        if (!done)
            return false;
        kestrel->Finished(done->ticket);
        return finished;
    }

    SimulatedKestrel sim{Model(KestrelSimModel::KestrelAUsb)};
    MemoryProfileStore store;
    CSProfile profile;
    SpectrumEnvironment env;
    CSpectraList spectra;
    UiQueue ui;
    RecordingPrompt prompt;
    PublishedAcqSettings settings;
    std::unique_ptr<KestrelProgram> kestrel;
};

} // namespace

TEST(KestrelProgram, CommandsRunOffTheUiThreadAndQuestionsWaitForTheUiThread) {
    ProgramWorld w;
    ASSERT_TRUE(w.RunAndWait([](CAcq& a) { a.ToggleConnection(); }));
    EXPECT_TRUE(w.kestrel->Acq().Connected());

    // A question from the command thread waits for the UI thread's answer.
    w.kestrel->Run([](CAcq& a) { a.ToggleConnection(); });
    auto question = w.ui.Next<QuestionRequest>();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->text, "Do you want to disconnect LUMO?");
    EXPECT_TRUE(w.kestrel->Acq().Connected()) << "nothing happens before the answer";
    question->reply->Answer(PromptAnswer::Yes);
    ASSERT_TRUE(w.RunAndWait([](CAcq&) {}));
    EXPECT_FALSE(w.kestrel->Acq().Connected());
}

TEST(KestrelProgram, ProfileValuesComeBackAsEventsAndFailuresAsMessages) {
    ProgramWorld w;
    w.profile.threshold = 77;
    w.settings.Publish(AcqSettingsFrom(w.profile));
    w.kestrel->Run([](CAcq& a) { a.ToggleConnection(); });
    // What the connect learned from the device is posted for the profile, not written there.
    auto learned = w.ui.Next<ProfileWriteEvent>();
    ASSERT_TRUE(learned);
    EXPECT_EQ(w.profile.threshold, 77);
    EXPECT_EQ(w.settings.Get().threshold, learned->threshold);
    w.sim.sim.InjectFault(KestrelSimFault::PulledCable);
    w.kestrel->Run([](CAcq& a) { a.RefreshStatus(); });
    // The cable goes: the failure reaches the user as a posted message (the status read's or
    // the upload's, whichever thread meets the dead line first), never as a window a worker
    // opens.
    auto message = w.ui.Next<MessageEvent>();
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->text == "Failed to upload status from MCA!" ||
                message->text == "Failed to upload data from MCA!")
        << message->text;
    EXPECT_TRUE(w.prompt.Messages().empty());
}

TEST(KestrelProgram, StoppingWithAQuestionOpenNeitherHangsNorAnswersYes) {
    ProgramWorld w;
    ASSERT_TRUE(w.RunAndWait([](CAcq& a) { a.ToggleConnection(); }));
    w.kestrel->Run([](CAcq& a) { a.ToggleConnection(); });
    auto question = w.ui.Next<QuestionRequest>();
    ASSERT_TRUE(question);
    // The window goes away (device switched, program closing) before anyone answers.
    const auto start = std::chrono::steady_clock::now();
    w.kestrel.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    question->reply->Answer(PromptAnswer::Yes); // too late: nobody waits any more
}
