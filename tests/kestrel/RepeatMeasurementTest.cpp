#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "AcqFixture.h"
#include "TestSupport.h"
#include "analysis/NumberFormat.h"
#include "appcore/RepeatMeasurement.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;
using namespace vorna::test;

namespace {

// The Kestrel behind the series, as the main window wires it: Start is the Start command, which
// judges the series again after the acquisition state changed.
class KestrelSeriesDevice : public RepeatDevice {
public:
    explicit KestrelSeriesDevice(AcqWorld& w) : m_w(w) {}
    bool DeleteDataAndResetTime() override { return m_w.acq->DeleteDataAndResetTime(); }
    void Start() override {
        m_w.acq->ToggleAcquisition();
        series->OnStartStop(m_w.acq->IsAcquiring());
    }
    void UpdateData() override {
        m_w.acq->RequestUpload();
        m_w.acq->Upload();
    }
    void ShowFullRange() override { ++fullRangeShown; }
    void SetWaitingForEnd(bool waiting) override { m_w.acq->SetWaitingForEnd(waiting); }
    bool IsDpp() const override { return false; }
    void SetPeakingTime(int) override { ADD_FAILURE() << "no peaking time on a Kestrel"; }
    void SendConfiguration() override { ADD_FAILURE() << "no configuration on a Kestrel"; }
    DppTimingText Timing() const override { return {}; }

    RepeatMeasurement* series = nullptr;
    int fullRangeShown = 0;

private:
    AcqWorld& m_w;
};

// A series world: a KestrelA on the virtual clock with a 5 s real-time preset, the repeat
// settings pointing at a fresh folder, and waits that pass on the virtual clock when run.
struct SeriesWorld {
    SeriesWorld() : w(Model(KestrelSimModel::KestrelA)), device(w) {
        w.env.spectraDirectory = dir.path() + "/";
        w.profile.repeatMeasEnable = 1;
        w.profile.repeatMeasLoops = 3;
        w.profile.repeatMeasDelay = 1.5;
        w.profile.repeatMeasDirectory = dir.path(); // no trailing separator: one is added
        w.profile.repeatMeasFilename = "run";
        series = std::make_unique<RepeatMeasurement>(
            w.profile, w.spectra, device,
            [this](int ms, std::function<void()> action) {
                pending.emplace_back(ms, std::move(action));
            },
            &w.prompt, dir.path() + "/program/", dir.path() + "/userdata/");
        device.series = series.get();
        EXPECT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done);
        std::optional<AcqSetup> before = w.acq->SetupValues();
        EXPECT_TRUE(before);
        AcqSetup after = *before;
        after.preset = 5;
        after.timerType = 1;
        EXPECT_TRUE(w.acq->ApplySetup(*before, after));
    }

    // The user's Start command.
    void StartCommand() {
        w.acq->ToggleAcquisition();
        series->OnStartStop(w.acq->IsAcquiring());
    }
    // What the upload worker does until the device's preset ends the run, then the final
    // upload; true when the end posted the series' message.
    bool RunToEnd() {
        const int before = w.sink.Count(MainMessage::AcquisitionEnded, 0, 0);
        for (int polls = 0; w.acq->IsAcquiring() && polls < 20; ++polls)
            EXPECT_TRUE(w.Poll());
        // The series saves on this notice, so it must wait for the run's last counts.
        EXPECT_EQ(w.sink.Count(MainMessage::AcquisitionEnded, 0, 0), before);
        w.acq->RequestUpload();
        EXPECT_TRUE(w.acq->Upload());
        return w.sink.Count(MainMessage::AcquisitionEnded, 0, 0) == before + 1;
    }
    // Lets the scheduled waits pass on the virtual clock, each recorded.
    void RunWaits() {
        while (!pending.empty()) {
            auto [ms, action] = std::move(pending.front());
            pending.pop_front();
            waits.push_back(ms);
            w.kestrel.clock.Advance(int64_t{ms} * 1000);
            action();
        }
    }
    std::string Path(const std::string& name) const { return dir.path() + "/" + name; }

    TempDir dir;
    AcqWorld w;
    KestrelSeriesDevice device;
    std::unique_ptr<RepeatMeasurement> series;
    std::deque<std::pair<int, std::function<void()>>> pending;
    std::vector<int> waits;
};

const char* kHeader = "Filename,Date Time Stamp,Total Counts,Centroid,FWHM,Net Area,Uncertainty,"
                      "Net Rate,Gross Area";

} // namespace

TEST(RepeatMeasurement, ThreeLoopsSaveNumberedSpectraAndLogEach) {
    SeriesWorld s;
    s.StartCommand();
    ASSERT_TRUE(s.series->Running());
    ASSERT_TRUE(s.series->Waiting());

    std::vector<std::vector<double>> acquired;
    std::vector<std::string> expectedLines = {kHeader};
    for (int loop = 1; loop <= 3; ++loop) {
        SCOPED_TRACE(loop);
        ASSERT_TRUE(s.RunToEnd());
        acquired.push_back(s.w.LiveData());
        EXPECT_EQ(acquired.back(), s.w.DeviceCountsAsUploaded());
        EXPECT_GT(s.w.Live().Lock()->m_dTotalCounts, 5000.0);
        {
            auto live = s.w.Live().Lock();
            expectedLines.push_back("file://" + s.Path("run" + std::to_string(loop) + ".mca") +
                                    "," + live->m_szStartTime + "," +
                                    FormatNumber(live->m_dTotalCounts) + ",,,,,,");
        }
        s.series->Step();
        EXPECT_EQ(s.series->LoopCounter(), loop);
        s.RunWaits();
        // Restarted on a cleared device, or finished.
        EXPECT_EQ(s.w.acq->IsAcquiring(), loop < 3);
    }
    EXPECT_EQ(s.waits, (std::vector<int>{20, 1500, 20, 20, 1500, 20, 20, 1500}));
    EXPECT_EQ(s.device.fullRangeShown, 3);
    EXPECT_FALSE(s.series->Running());
    EXPECT_EQ(s.w.profile.repeatMeasEnable, 0);
    EXPECT_FALSE(std::filesystem::exists(s.Path("run4.mca")));
    EXPECT_FALSE(std::filesystem::exists(s.Path("run0.mca")));

    for (int loop = 1; loop <= 3; ++loop) {
        SCOPED_TRACE(loop);
        CSpectrum back;
        ASSERT_EQ(
            ReadFileIntoSpectrum(s.w.env, s.Path("run" + std::to_string(loop) + ".mca"), back),
            FileOpenResult::Done);
        EXPECT_EQ(back.m_pData, acquired[static_cast<size_t>(loop - 1)]);
        EXPECT_DOUBLE_EQ(back.m_dRealTime, 5.0);
    }
    // Three separate runs, not one saved three times.
    EXPECT_NE(acquired[0], acquired[1]);

    std::string expected;
    for (const std::string& line : expectedLines)
        expected += line + "\r\n";
    EXPECT_EQ(readFile(s.Path("SpectrumData.csv")), expected);
    EXPECT_TRUE(s.w.prompt.messages.empty());
}

TEST(RepeatMeasurement, SeriesEndsWhenStoppedByHandOrSwitchedOff) {
    // Stopped by hand: the evaluation ends the series, and the end it posted saves nothing.
    {
        SeriesWorld s;
        s.StartCommand();
        ASSERT_TRUE(s.w.Poll());
        s.StartCommand(); // the same command stops
        EXPECT_FALSE(s.w.acq->IsAcquiring());
        EXPECT_FALSE(s.series->Running());
        s.series->Step();
        s.RunWaits();
        EXPECT_TRUE(s.waits.empty());
        EXPECT_FALSE(std::filesystem::exists(s.Path("run1.mca")));
        EXPECT_EQ(readFile(s.Path("SpectrumData.csv")), std::string(kHeader) + "\r\n");
        EXPECT_EQ(s.w.profile.repeatMeasEnable, 1); // only a finished series switches it off
    }
    // Stopped by hand while the series waits between loops: the pending restart is void.
    {
        SeriesWorld s;
        s.StartCommand();
        ASSERT_TRUE(s.RunToEnd());
        s.series->Step();
        ASSERT_EQ(s.pending.size(), 1u); // the settle pause before the delay
        s.series->OnStartStop(false);
        s.RunWaits();
        EXPECT_FALSE(s.w.acq->IsAcquiring());
        EXPECT_TRUE(std::filesystem::exists(s.Path("run1.mca")));
        EXPECT_EQ(s.waits, (std::vector<int>{20}));
    }
    // "RepeatMeasEnable" switched off during a run: the step ends the series unsaved.
    {
        SeriesWorld s;
        s.StartCommand();
        ASSERT_TRUE(s.RunToEnd());
        s.w.profile.repeatMeasEnable = 0;
        s.series->Step();
        EXPECT_FALSE(s.series->Running());
        EXPECT_TRUE(s.pending.empty());
        EXPECT_FALSE(std::filesystem::exists(s.Path("run1.mca")));
    }
    // Switched off in the settings while the run goes on: stopped at once, so the run's end
    // neither saves nor restarts.
    {
        SeriesWorld s;
        s.StartCommand();
        s.w.profile.repeatMeasEnable = 0;
        s.series->Stop();
        EXPECT_FALSE(s.series->Running());
        EXPECT_FALSE(s.RunToEnd()); // the controller no longer waits for this end
        s.series->Step();
        s.RunWaits();
        EXPECT_TRUE(s.waits.empty());
        EXPECT_FALSE(std::filesystem::exists(s.Path("run1.mca")));
    }
    // The analyzer gone before a restart: the failed start ends the series and its wait, so a
    // later run started by hand posts no end for a series.
    {
        SeriesWorld s;
        s.StartCommand();
        ASSERT_TRUE(s.RunToEnd());
        s.series->Step();
        s.w.kestrel.sim.InjectFault(KestrelSimFault::PulledCable);
        s.RunWaits();
        EXPECT_FALSE(s.series->Running());
        EXPECT_FALSE(s.series->Waiting());
        s.w.kestrel.sim.ClearFaults();
        s.w.acq->DisconnectQuiet(false);
        ASSERT_EQ(s.w.acq->ConnectQuiet(), AcqQuietResult::Done);
        ASSERT_TRUE(s.w.acq->DeleteDataAndResetTime()); // the run's time is at its preset
        s.w.acq->ToggleAcquisition();
        ASSERT_TRUE(s.w.acq->IsAcquiring());
        EXPECT_FALSE(s.RunToEnd());
        EXPECT_FALSE(std::filesystem::exists(s.Path("run2.mca")));
    }
    // A log folder nobody can write to, and no program folder to fall back on: no series, but
    // the acquisition itself goes on.
    {
        SeriesWorld s;
        s.w.profile.repeatMeasDirectory = s.Path("missing/deeper");
        s.series = std::make_unique<RepeatMeasurement>(
            s.w.profile, s.w.spectra, s.device, [](int, std::function<void()>) {}, &s.w.prompt,
            s.Path("missing/program/"), s.Path("userdata/"));
        s.device.series = s.series.get();
        s.StartCommand();
        EXPECT_TRUE(s.w.acq->IsAcquiring());
        EXPECT_FALSE(s.series->Running());
        EXPECT_FALSE(s.series->Waiting());
    }
}

namespace {

// A DPP as far as the resolution test sees it: it keeps the peaking time it was last given.
class ResolutionTestDevice : public RepeatDevice {
public:
    bool DeleteDataAndResetTime() override { return true; }
    void Start() override { series->OnStartStop(true); }
    void UpdateData() override {}
    void ShowFullRange() override {}
    void SetWaitingForEnd(bool) override {}
    bool IsDpp() const override { return true; }
    void SetPeakingTime(int index) override { peakingTimes.push_back(index); }
    void SendConfiguration() override { ++sent; }
    DppTimingText Timing() const override {
        return {"pt" + std::to_string(peakingTimes.back()), "ft"};
    }

    RepeatMeasurement* series = nullptr;
    std::vector<int> peakingTimes;
    int sent = 0;
};

} // namespace

TEST(RepeatMeasurement, ResolutionTestStopsAtTheLastPeakingTime) {
    TempDir dir;
    AcqWorld w(Model(KestrelSimModel::KestrelA));
    ASSERT_EQ(w.acq->ConnectQuiet(), AcqQuietResult::Done); // gives the live spectrum a shape
    w.env.spectraDirectory = dir.path() + "/";
    w.profile.repeatMeasEnable = 1;
    w.profile.repeatMeasLoops = 10;
    w.profile.spectrumResStartInt = 20;
    w.profile.repeatMeasDelay = 0;
    w.profile.repeatMeasDirectory = dir.path() + "/";
    w.profile.repeatMeasFilename = "res";
    std::deque<std::function<void()>> pending;
    ResolutionTestDevice device;
    RepeatMeasurement series(
        w.profile, w.spectra, device,
        [&](int, std::function<void()> action) { pending.push_back(std::move(action)); }, &w.prompt,
        dir.path() + "/", dir.path() + "/");
    device.series = &series;
    series.SetResolutionTestOption(true);

    series.OnStartStop(true);
    EXPECT_EQ(w.profile.repeatMeasLoops, 4); // only indexes 20..23 exist
    for (int loop = 1; loop <= 4 && series.Running(); ++loop) {
        series.Step();
        while (!pending.empty()) {
            auto action = std::move(pending.front());
            pending.pop_front();
            action();
        }
    }
    EXPECT_EQ(device.peakingTimes, (std::vector<int>{20, 21, 22, 23}));
    EXPECT_EQ(device.sent, 4);
    EXPECT_FALSE(series.Running());
    EXPECT_EQ(w.profile.repeatMeasEnable, 0);
    for (int loop = 1; loop <= 4; ++loop)
        EXPECT_TRUE(std::filesystem::exists(dir.file("res" + std::to_string(loop) + ".mca")));

    const std::string log = readFile(dir.file("SpectrumResTest.csv"));
    EXPECT_EQ(log.rfind(std::string(kHeader) + ",Peak Time,Flattop\r\n", 0), 0u);
    // One line per loop; without a selected ROI the eight peak and timing fields stay empty.
    const std::string last = "file://" + dir.file("res4.mca") + ",";
    ASSERT_NE(log.find(last), std::string::npos);
    EXPECT_EQ(log.substr(log.size() - 10), ",,,,,,,,\r\n");
    size_t lines = 0;
    for (size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 5u);
    EXPECT_FALSE(std::filesystem::exists(dir.file("SpectrumData.csv")));
}
