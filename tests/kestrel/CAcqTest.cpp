#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <utility>

#include "AcqFixture.h"
#include "kestrel/KestrelError.h"

using namespace vorna;
using namespace vorna::test;

namespace {

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

double Sum(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0);
}

// What the info pane would show at each refresh: the live spectrum's total and real time.
class PaneRecorder : public DisplaySink {
public:
    explicit PaneRecorder(CSpectraList& list) : m_list(list) {}
    void RefreshInfoPane() override {
        auto s = m_list.At(0)->Lock();
        shown.emplace_back(Sum(s->m_pData), s->m_dRealTime);
    }
    void RedrawAbsoluteRange(int, int) override {}
    void RedrawPlot() override {}
    void RefreshSpectraListWindow() override {}
    void ResetPlotToFullRange() override {}
    void SpectrumActivated(const CSpectrum&) override {}
    int CursorChannelAbsolute() const override { return 0; }

    std::vector<std::pair<double, double>> shown;

private:
    CSpectraList& m_list;
};

} // namespace

TEST(CAcq, ClearsNeverShowAHalfClearedSpectrum) {
    AcqWorld w;
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    w.acq->ToggleAcquisition();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(w.Poll());
    w.acq->ToggleAcquisition();
    ASSERT_TRUE(w.acq->Upload());
    const double counts = Sum(w.LiveData());
    ASSERT_GT(counts, 0.0);
    ASSERT_GT(w.Live().Lock()->m_dRealTime, 1.0);
    PaneRecorder pane(w.spectra);
    w.env.display = &pane;

    // Reset Time: the panes refresh once the new times are in.
    ASSERT_TRUE(w.acq->ResetTime());
    ASSERT_FALSE(pane.shown.empty());
    for (auto [total, real] : pane.shown) {
        EXPECT_EQ(total, counts);
        EXPECT_LT(real, 1.0);
    }
    // Delete Data and Reset Time: never the reset times beside the old counts.
    w.acq->ToggleAcquisition();
    ASSERT_TRUE(w.Poll());
    w.acq->ToggleAcquisition();
    ASSERT_TRUE(w.acq->Upload());
    ASSERT_GT(Sum(w.LiveData()), 0.0);
    pane.shown.clear();
    ASSERT_TRUE(w.acq->DeleteDataAndResetTime());
    ASSERT_FALSE(pane.shown.empty());
    for (auto [total, real] : pane.shown) {
        EXPECT_EQ(total, 0.0);
        EXPECT_LT(real, 1.0);
    }
    w.env.display = nullptr;
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST(CAcq, ConnectsStartsAndEndsByTheDeviceTimePreset) {
    AcqWorld w; // behind the USB interface: the first connect fails until detection ran
    w.acq->ToggleConnection();
    ASSERT_TRUE(w.acq->Connected()) << (w.prompt.messages.empty() ? "" : w.prompt.messages[0]);
    EXPECT_EQ(w.acq->State(), AcqState::Idle);
    EXPECT_EQ(w.acq->DeviceType(), KestrelDeviceType::KestrelA);
    EXPECT_TRUE(w.acq->UsbMode());
    EXPECT_EQ(w.wakes, 1); // the connect asks for an upload
    EXPECT_EQ(w.sink.Count(MainMessage::DeviceState, 1, 1), 1);
    {
        auto s = w.Live().Lock();
        EXPECT_EQ(s->m_nChannels, 4096);
        EXPECT_EQ(s->m_nGain, 4); // 256 << 4
        EXPECT_EQ(s->m_nSerialNumber, 1207);
        EXPECT_EQ(s->m_szStartTime.size(), 19u); // "MM/DD/CCYY hh:mm:ss"
    }

    // A 60 s real-time preset set through the setup values, then a fresh start.
    std::optional<AcqSetup> before = w.acq->SetupValues();
    ASSERT_TRUE(before);
    AcqSetup after = *before;
    after.preset = 60;
    after.timerType = 1;
    ASSERT_TRUE(w.acq->ApplySetup(*before, after));
    ASSERT_TRUE(w.acq->DeleteDataAndResetTime());
    w.acq->ToggleAcquisition();
    EXPECT_EQ(w.acq->State(), AcqState::Acquiring);
    EXPECT_EQ(w.Live().Lock()->m_nPresetTime, 60);

    // Timer 1031 during an upload: the times come from the worker between two chunks.
    ASSERT_TRUE(w.Poll());
    w.Live().Lock()->m_dRealTime = -1.0;
    w.acq->RequestTimesRead();
    ASSERT_TRUE(w.acq->Upload());
    EXPECT_GT(w.Live().Lock()->m_dRealTime, 0.0);
    // Delete Data while an upload holds counts read before it: they must not come back.
    bool clearOnce = true;
    w.onTimer = [&](bool on) {
        if (!on && std::exchange(clearOnce, false))
            w.acq->ClearLiveSpectrum();
    };
    ASSERT_TRUE(w.acq->Upload());
    w.onTimer = nullptr;
    EXPECT_EQ(Sum(w.LiveData()), 0.0);

    int polls = 0;
    while (w.acq->IsAcquiring() && polls < 100) {
        ASSERT_TRUE(w.Poll());
        ++polls;
    }
    EXPECT_EQ(w.acq->State(), AcqState::Idle);
    EXPECT_GT(polls, 10); // each upload also takes its wire time
    EXPECT_LT(polls, 61);
    // The final upload starts from a fresh baseline and sees exactly what the device holds.
    w.acq->RequestUpload();
    ASSERT_TRUE(w.acq->Upload());
    EXPECT_FALSE(w.acq->UploadRequested());
    EXPECT_EQ(w.LiveData(), w.DeviceCountsAsUploaded());
    auto s = w.Live().Lock();
    EXPECT_DOUBLE_EQ(s->m_dRealTime, 60.0);
    EXPECT_TRUE(s->m_bValid);
    EXPECT_DOUBLE_EQ(s->m_dTotalCounts, Sum(s->m_pData));
    EXPECT_NEAR(s->m_dTotalCounts, 2500.0 * s->m_dLiveTime, 0.05 * 2500.0 * s->m_dLiveTime);
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST(CAcq, SoftwarePresetsStopTheDevice) {
    // Counts: the run stops once the rounded total reaches the preset.
    {
        AcqWorld w;
        ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
        w.profile.presetMode = static_cast<int>(AcqPresetMode::Counts);
        w.profile.spTotalCts = 10000;
        w.acq->DeleteDataAndResetTime();
        w.acq->ToggleAcquisition();
        ASSERT_TRUE(w.acq->IsAcquiring());
        int polls = 0;
        while (w.acq->IsAcquiring() && polls < 50) {
            ASSERT_TRUE(w.Poll(500000));
            ++polls;
        }
        EXPECT_FALSE(w.kestrel.sim.DeviceStatus().Acquiring());
        EXPECT_GE(w.Live().Lock()->m_dTotalCounts, 10000.0);
        EXPECT_LT(w.Live().Lock()->m_dTotalCounts, 10000.0 + 2500.0);
        EXPECT_EQ(w.Live().Lock()->m_nPresetTime, 10000);
    }
    // Channel: a channel beyond the spectrum counts as -1 and never stops a run; the chosen
    // channel stops it once it holds the preset.
    {
        AcqWorld w;
        ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
        w.profile.presetMode = static_cast<int>(AcqPresetMode::Channel);
        w.profile.spChanPosition = 4096;
        w.profile.spChanCts = 0;
        w.acq->DeleteDataAndResetTime();
        w.acq->ToggleAcquisition();
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(w.Poll());
        ASSERT_TRUE(w.acq->IsAcquiring());
        const std::vector<double> data = w.LiveData();
        const int peak =
            static_cast<int>(std::max_element(data.begin(), data.end()) - data.begin());
        w.profile.spChanPosition = peak;
        w.profile.spChanCts = static_cast<int>(data[static_cast<size_t>(peak)]) + 100;
        int polls = 0;
        while (w.acq->IsAcquiring() && polls < 50) {
            ASSERT_TRUE(w.Poll(250000));
            ++polls;
        }
        EXPECT_FALSE(w.kestrel.sim.DeviceStatus().Acquiring());
        EXPECT_GE(w.LiveData()[static_cast<size_t>(peak)], w.profile.spChanCts);
    }
}

TEST(CAcq, ZoomedUploadReadsOnlyTheVisibleRange) {
    AcqWorld w;
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    std::vector<uint32_t> pattern(4096);
    for (int c = 0; c < 4096; ++c)
        pattern[static_cast<size_t>(c)] = 1000u + static_cast<uint32_t>(c); // plausible values
    w.kestrel.sim.LoadDeviceCounts(pattern);

    int64_t t0 = w.kestrel.clock.NowMicros();
    ASSERT_TRUE(w.acq->Upload());
    const int64_t full = w.kestrel.clock.NowMicros() - t0;
    EXPECT_EQ(w.LiveData(), w.DeviceCountsAsUploaded());

    // Cleared, then zoomed to absolute channels 4096..8191 (spectrum channels 1024..2047): the
    // hidden part must stay cleared rather than come back from an old upload.
    ASSERT_TRUE(w.acq->DeleteData());
    w.kestrel.sim.LoadDeviceCounts(pattern);
    w.visible = {4096, 8191};
    t0 = w.kestrel.clock.NowMicros();
    ASSERT_TRUE(w.acq->Upload());
    const int64_t zoomed = w.kestrel.clock.NowMicros() - t0;
    EXPECT_LT(zoomed * 3, full);
    const std::vector<double> data = w.LiveData();
    for (int c = 0; c < 4096; ++c) {
        const double expected = c >= 1024 && c <= 2047 ? pattern[static_cast<size_t>(c)] : 0.0;
        ASSERT_EQ(data[static_cast<size_t>(c)], expected) << "channel " << c;
    }
    EXPECT_DOUBLE_EQ(w.Live().Lock()->m_dTotalCounts, Sum(data));
}

TEST(CAcq, LimitedMcsFillsBinsAndStoresTheResult) {
    KestrelSimOptions o = Model(KestrelSimModel::KestrelA);
    o.gainCode = 6; // 256 channels
    AcqWorld w(o);
    w.profile.acquireMode = static_cast<int>(AcqMode::LimitedMcs);
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    // Every upload finds 2 more counts in each of the 248 used channels, except upload 10,
    // which finds nothing new and repeats the previous bin.
    for (int i = 0; i < 300; ++i) {
        const uint32_t v = 1u + 2u * static_cast<uint32_t>(i == 10 ? 9 : i);
        w.kestrel.sim.LoadDeviceCounts(std::vector<uint32_t>(256, v));
        ASSERT_TRUE(w.acq->Upload()) << "upload " << i;
    }
    const std::vector<uint32_t> history = w.acq->McsHistory();
    ASSERT_EQ(history.size(), 300u);
    EXPECT_EQ(history[0], 0u);   // bin 0 of a pass holds nothing
    EXPECT_EQ(history[248], 0u); // the second pass starts at bin 0 again
    for (size_t i = 1; i < 300; ++i) {
        if (i != 248) {
            ASSERT_EQ(history[i], 496u) << "bin " << i;
        }
    }
    const std::vector<double> live = w.LiveData();
    EXPECT_EQ(live[0], 0.0);
    EXPECT_EQ(live[51], 496.0); // the second pass: bins 0..51
    EXPECT_EQ(live[52], 0.0);

    // The run ends: the result spectrum holds every bin, in 512 channels.
    ASSERT_TRUE(w.acq->StoreMcsResult());
    ASSERT_EQ(w.spectra.GetCount(), 2);
    CSpectrum* result = w.spectra.At(1);
    {
        auto r = result->Lock();
        EXPECT_EQ(r->m_nChannels, 512);
        EXPECT_EQ(r->m_nGain, 1);
        for (size_t i = 0; i < 512; ++i)
            ASSERT_EQ(r->m_pData[i], i < history.size() ? history[i] : 0.0);
        EXPECT_DOUBLE_EQ(r->m_dTotalCounts, 496.0 * 298);
        EXPECT_EQ(w.sink.Count(MainMessage::RefreshSpectraList, 0, 0), 1);
    }

    // A new run starts from an empty history.
    w.acq->ClearLiveSpectrum();
    EXPECT_TRUE(w.acq->McsHistory().empty());
}

TEST(CAcq, McsStartWithOtherSpectraAsksFirst) {
    AcqWorld w;
    w.profile.acquireMode = static_cast<int>(AcqMode::LimitedMcs);
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    w.spectra.Add(std::make_unique<CSpectrum>(), false);
    w.spectra.Add(std::make_unique<CSpectrum>(), false);
    w.prompt.answers = {PromptAnswer::No};
    w.acq->ToggleAcquisition();
    EXPECT_EQ(w.spectra.GetCount(), 3);
    EXPECT_FALSE(w.kestrel.sim.DeviceStatus().Acquiring());
    ASSERT_EQ(w.prompt.questions.size(), 1u);
    EXPECT_EQ(w.prompt.questions[0], "MCS acquisition mode will delete all spectra in the spectra "
                                     "list.\nContinue with MCS acquisition?");
}

TEST(CAcq, GroupThresholdAndPeakModeReachTheDevice) {
    AcqWorld w(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    const int wakes = w.wakes;
    std::optional<AcqSetup> before = w.acq->SetupValues();
    ASSERT_TRUE(before);
    AcqSetup after = *before;
    after.group = 3;
    after.threshold = 120;
    after.peakMode = 0; // Absolute
    ASSERT_TRUE(w.acq->ApplySetup(*before, after));
    KestrelStatus device = w.kestrel.sim.DeviceStatus();
    EXPECT_EQ(device.group, 3);
    EXPECT_EQ(device.Threshold(), 120);
    EXPECT_TRUE(device.AbsolutePeak());
    EXPECT_EQ(w.profile.absolutePeak, 1);
    EXPECT_GE(w.wakes, wakes + 2); // group and control each ask for an upload
    ASSERT_TRUE(w.acq->RefreshStatus());
    EXPECT_EQ(w.profile.group, 3);
    EXPECT_EQ(w.profile.threshold, 120);
    EXPECT_EQ(w.Live().Lock()->m_nThreshold, 120);

    ASSERT_TRUE(w.acq->ChangeThreshold(75));
    EXPECT_EQ(w.kestrel.sim.DeviceStatus().Threshold(), 75);

    // A gain change answered Cancel changes nothing; answered No it switches and clears.
    before = w.acq->SetupValues();
    after = *before;
    after.gainIndex = 1;
    w.prompt.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(w.acq->ApplySetup(*before, after));
    EXPECT_EQ(w.kestrel.sim.DeviceStatus().Channels(), 4096);
    w.prompt.answers = {PromptAnswer::No};
    ASSERT_TRUE(w.acq->ApplySetup(*before, after));
    EXPECT_EQ(w.kestrel.sim.DeviceStatus().Channels(), 512);
    EXPECT_EQ(w.Live().Lock()->m_nChannels, 512);
    EXPECT_EQ(w.prompt.questions.back(), "Do you want to save MCA data?");
}

TEST(CAcq, DevicePaneShowsBatteryOrExternalPower) {
    AcqWorld w;
    EXPECT_EQ(w.acq->QueryDevicePane().text, "MCA not connected");
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    w.kestrel.sim.SetBattery(255, false); // a full battery: 100 %
    DevicePane pane = w.acq->QueryDevicePane();
    EXPECT_EQ(pane.icon, 2);
    EXPECT_EQ(pane.text, "Battery - 100 %");
    w.kestrel.sim.SetBattery(0, false); // external power: 101
    pane = w.acq->QueryDevicePane();
    EXPECT_EQ(pane.icon, 1);
    EXPECT_EQ(pane.text, "AC Power");

    // A menu opens with the cable pulled: quietly disconnected.
    w.kestrel.sim.InjectFault(KestrelSimFault::PulledCable);
    EXPECT_FALSE(w.acq->CheckStillConnected());
    EXPECT_FALSE(w.acq->Connected());
    EXPECT_EQ(w.sink.Count(MainMessage::DeviceState, 1, 0), 1);
    EXPECT_TRUE(w.prompt.messages.empty());
}

TEST(CAcq, LockedDeviceOpensWithItsSecurityCode) {
    KestrelSimOptions o = Model(KestrelSimModel::KestrelA);
    o.securityCode = 4321;
    {
        AcqWorld w(o);
        w.securityAnswer = uint16_t{1234};
        ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
        EXPECT_TRUE(w.acq->Status().Locked());
    }
    AcqWorld w(o);
    w.securityAnswer = uint16_t{4321};
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    EXPECT_FALSE(w.acq->Status().Locked());
    EXPECT_EQ(w.acq->m_nSecurityCode, 4321);
    w.acq->ToggleAcquisition();
    EXPECT_TRUE(w.kestrel.sim.DeviceStatus().Acquiring());
}

TEST(CAcq, ConnectFailuresAndQuietResults) {
    AcqWorld w(Model(KestrelSimModel::KestrelA));
    w.profile.comPort = -1;
    EXPECT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::NoPort);
    w.acq->ToggleConnection();
    EXPECT_EQ(w.prompt.messages.back(), "Communication port is not defined!");

    w.profile.comPort = 1;
    w.kestrel.sim.InjectFault(KestrelSimFault::MissingHandshake, -1);
    EXPECT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::ConnectFailed);
    w.acq->ToggleConnection();
    EXPECT_EQ(w.prompt.messages.back(), "Can not connect to LUMO!");
    EXPECT_EQ(w.acq->State(), AcqState::Disconnected);
    w.kestrel.sim.ClearFaults();

    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    w.acq->ToggleAcquisition();
    EXPECT_EQ(w.acq->DisconnectQuiet(true), AcqQuietResult::Acquiring);
    EXPECT_TRUE(w.acq->Connected());
    w.prompt.answers = {PromptAnswer::No};
    w.acq->ToggleConnection();
    EXPECT_TRUE(w.acq->Connected());
    w.prompt.answers = {PromptAnswer::Yes};
    w.acq->ToggleConnection();
    EXPECT_FALSE(w.acq->Connected());
    EXPECT_EQ(w.prompt.questions.back(), "Do you want to disconnect LUMO?");
}

TEST(CAcq, FaultsEndInTheirMessagesWithTheSpectraIntact) {
    AcqWorld w;
    auto other = std::make_unique<CSpectrum>();
    other->AllocateData(1024);
    std::fill(other->m_pData.begin(), other->m_pData.end(), 7.0);
    w.spectra.Add(other, false);
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
    w.acq->ToggleAcquisition();
    ASSERT_TRUE(w.Poll());
    const std::vector<double> before = w.LiveData();
    ASSERT_GT(Sum(before), 0.0);

    // A fault that clears within the five tries costs nothing.
    w.kestrel.sim.InjectFault(KestrelSimFault::DataChecksum, 2);
    ASSERT_TRUE(w.Poll());
    EXPECT_TRUE(w.prompt.messages.empty());

    // Persistent data faults: both passes fail, the data stays, marked not valid.
    const std::vector<double> kept = w.LiveData();
    w.kestrel.sim.InjectFault(KestrelSimFault::DataChecksum, -1);
    EXPECT_FALSE(w.acq->Upload());
    EXPECT_EQ(w.prompt.messages.back(), "Failed to upload data from MCA!");
    EXPECT_EQ(w.LiveData(), kept);
    EXPECT_FALSE(w.Live().Lock()->m_bValid);
    w.kestrel.sim.ClearFaults();

    // A status that never arrives: fifteen tries 100 ms apart, then the message.
    w.kestrel.sim.InjectFault(KestrelSimFault::StatusChecksum, -1);
    const int64_t t0 = w.kestrel.clock.NowMicros();
    EXPECT_FALSE(w.acq->RefreshStatus());
    EXPECT_GE(w.kestrel.clock.NowMicros() - t0, 15 * 100000);
    EXPECT_EQ(w.prompt.messages.back(), "Failed to upload status from MCA!");
    EXPECT_FALSE(w.acq->StatusValid());
    w.kestrel.sim.ClearFaults();

    // The pulled cable: start fails with its message, and the worker drops the connection.
    w.kestrel.sim.InjectFault(KestrelSimFault::PulledCable);
    EXPECT_FALSE(w.acq->StartAcquisition());
    EXPECT_EQ(w.prompt.messages.back(), "Failed to start data acquisition!");
    EXPECT_FALSE(w.acq->DeleteData());
    EXPECT_EQ(w.prompt.messages.back(), "Failed to clear data!");
    w.sink.Clear();
    w.acq->ForceDisconnect();
    EXPECT_FALSE(w.acq->Connected());
    EXPECT_EQ(w.acq->State(), AcqState::Disconnected);
    EXPECT_FALSE(w.acq->IsAcquiring());
    EXPECT_TRUE(Contains(w.sink.Texts(), kAcqStoppedText));
    EXPECT_TRUE(Contains(w.sink.Texts(), kMcaNotConnectedText));
    EXPECT_EQ(w.sink.Count(MainMessage::DeviceState, 1, 0), 1);

    // Every open spectrum is still there with its counts.
    ASSERT_EQ(w.spectra.GetCount(), 2);
    EXPECT_EQ(w.LiveData(), kept);
    EXPECT_EQ(w.spectra.At(1)->Lock()->m_pData, std::vector<double>(1024, 7.0));
}
