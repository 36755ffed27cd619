#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "AcqFixture.h"

using namespace vorna;
using namespace vorna::test;

namespace {

// Waits in real time for something the worker does; false after 20 s.
template <class F> bool Eventually(F&& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

void SetRealTimePreset(AcqWorld& w, uint32_t seconds) {
    std::optional<AcqSetup> before = w.acq->SetupValues();
    ASSERT_TRUE(before);
    AcqSetup after = *before;
    after.preset = seconds;
    after.timerType = 1;
    ASSERT_TRUE(w.acq->ApplySetup(*before, after));
    ASSERT_TRUE(w.acq->DeleteDataAndResetTime());
}

} // namespace

TEST(CUploadThread, TimedRunEndsWithExactlyOneFinalUpload) {
    // With "auto_update" off the status is still followed, but data comes only on request.
    for (int autoUpdate : {1, 0}) {
        SCOPED_TRACE(autoUpdate);
        AcqWorld w;
        w.profile.autoUpdate = autoUpdate;
        ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
        SetRealTimePreset(w, 60);
        ASSERT_TRUE(w.acq->Upload()); // serves the connect's request before the worker runs
        std::atomic<int> uploads{0};
        std::atomic<int> uploadsAfterEnd{0};
        w.onTimer = [&](bool on) {
            if (!on)
                return;
            ++uploads;
            if (Contains(w.sink.Texts(), kAcqStoppedText))
                ++uploadsAfterEnd;
        };
        auto worker = std::make_unique<CUploadThread>(*w.acq, w.kestrel.clock, w.quit,
                                                      VirtualWait(w.kestrel.clock));
        w.worker = worker.get();
        w.acq->SetWaitingForEnd(true); // a repeated measurement waits for this run
        w.acq->ToggleAcquisition();

        ASSERT_TRUE(Eventually([&] {
            return uploadsAfterEnd.load() >= 1 && w.LiveData() == w.DeviceCountsAsUploaded();
        }));
        w.worker = nullptr;
        worker.reset();
        EXPECT_EQ(uploadsAfterEnd.load(), 1);
        if (autoUpdate)
            EXPECT_GT(uploads.load(), 10); // the run was followed at the update interval
        else
            EXPECT_EQ(uploads.load(), 1);
        EXPECT_FALSE(w.kestrel.sim.DeviceStatus().Acquiring());
        EXPECT_DOUBLE_EQ(w.Live().Lock()->m_dRealTime, 60.0);
        const std::vector<std::string> texts = w.sink.Texts();
        EXPECT_TRUE(Contains(texts, kAcqStoppedText));
        EXPECT_TRUE(Contains(texts, kMcaConnectedText));
        EXPECT_EQ(w.sink.Count(MainMessage::DeviceState, 0, 1), 1);
        EXPECT_GE(w.sink.Count(MainMessage::DeviceState, 0, 0), 1);
        EXPECT_EQ(w.sink.Count(MainMessage::AcquisitionEnded, 0, 0), 1);
        EXPECT_EQ(w.acq->State(), AcqState::Idle);
        EXPECT_TRUE(w.prompt.Messages().empty());
    }
}

TEST(CUploadThread, PulledCableDisconnectsAndShutdownStopsAnUpload) {
    KestrelSimOptions o = Model(KestrelSimModel::KestrelAUsb);
    o.gainCode = 0; // 16384 channels: sixteen chunks
    AcqWorld w(o);
    auto other = std::make_unique<CSpectrum>();
    other->m_nGain = 0;
    other->m_nChannels = 256;
    other->AllocateData(256);
    std::fill(other->m_pData.begin(), other->m_pData.end(), 3.0);
    w.spectra.Add(other, false);
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    w.acq->ToggleAcquisition();
    w.kestrel.clock.Advance(2000000);
    ASSERT_TRUE(w.acq->Upload());
    const std::vector<double> kept = w.LiveData();

    auto worker = std::make_unique<CUploadThread>(*w.acq, w.kestrel.clock, w.quit,
                                                  VirtualWait(w.kestrel.clock));
    w.worker = worker.get();
    w.kestrel.sim.InjectFault(KestrelSimFault::PulledCable);
    w.acq->RequestUpload();
    ASSERT_TRUE(Eventually([&] { return w.sink.Count(MainMessage::DeviceState, 1, 0) == 1; }));
    EXPECT_FALSE(w.acq->Connected());
    // The worker never shows the message itself: it is posted for the UI thread, which shows it.
    EXPECT_TRUE(Contains(w.sink.WorkerTexts(), "Failed to upload data from MCA!"));
    EXPECT_FALSE(Contains(w.prompt.Messages(), "Failed to upload data from MCA!"));
    EXPECT_TRUE(Contains(w.sink.Texts(), kMcaNotConnectedText));
    EXPECT_EQ(w.LiveData(), kept);
    EXPECT_EQ(w.spectra.At(1)->Lock()->m_pData, std::vector<double>(256, 3.0));

    // Shutdown arrives just as an upload begins: not one chunk more is read, and the live
    // spectrum keeps what it had.
    w.kestrel.sim.ClearFaults();
    std::atomic<uint64_t> packetsAtQuit{0};
    std::atomic<bool> armed{true};
    w.onTimer = [&](bool on) {
        if (on && armed.exchange(false)) {
            packetsAtQuit = w.kestrel.sim.PacketsExecuted();
            w.quit = true;
        }
    };
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done); // asks the worker for an upload
    ASSERT_TRUE(Eventually([&] { return worker->Done(); }));
    w.worker = nullptr;
    worker.reset();
    EXPECT_FALSE(armed.load());
    EXPECT_EQ(w.kestrel.sim.PacketsExecuted(), packetsAtQuit.load());
    EXPECT_EQ(w.LiveData(), kept);
}
