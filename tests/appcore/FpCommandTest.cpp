// The companion commands on a real program state: spectra list, profile, files. The window and
// the bus are stand-ins that record what the commands asked of them.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "appcore/CFPCmdInterface.h"
#include "appcore/ProgramState.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/SpectrumFile.h"
#include "spectrum/SpectrumReader.h"

using namespace vorna;

namespace {

const std::string kExample = VORNA_SOURCE_DIR "/examples/fe55.mca";

struct Reply {
    uint32_t code;
    std::string text;
    bool operator==(const Reply&) const = default;
};
void PrintTo(const Reply& r, std::ostream* os) {
    *os << r.code << " \"" << r.text << "\"";
}

struct FpFixture : ::testing::Test, FpShell, FpAnswerSink {
    MemoryProfileStore store;
    VirtualClock clock;
    vorna::test::ScriptedPrompt prompt;
    vorna::test::TempDir dir;
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<CFPCmdInterface> fp;
    std::vector<Reply> answers;
    std::vector<std::string> opened;
    std::vector<std::string> statuses;
    int fronts = 0;
    int connectResult = -99;

    void SetUp() override {
        store.WriteText("Standard", "spectra_directory", dir.path() + "/");
        store.WriteInt("Standard", "start_dlg_show", 0);
    }
    void Start() {
        state = std::make_unique<ProgramState>(store, clock, ScreenSize{1920, 1080});
        state->SetPrompt(&prompt);
        state->LoadProfile();
        state->CreateLiveSpectrum();
        fp = std::make_unique<CFPCmdInterface>(*state, *this, *this);
    }
    CSpectrum* OpenExample() {
        CSpectrum* s = nullptr;
        OpenSpectrumFile(state->Spectra(), kExample, nullptr, &s);
        return s;
    }
    CSpectraList& list() { return state->Spectra(); }
    std::vector<Reply> Take() { return std::exchange(answers, {}); }

    void BringToFront() override { ++fronts; }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    void RefreshSpectraList() override {}
    void RefreshInfoPane() override {}
    bool LibraryWindowShown() const override { return false; }
    void OpenSpectrum(const std::string& path) override {
        opened.push_back(path);
        OpenSpectrumFile(state->Spectra(), path);
    }
    void ConnectKestrel(bool, std::function<void(int)> done) override { done(connectResult); }
    void ShowConnectionState(bool) override {}
    void Answer(uint32_t code, const std::string& text, bool) override {
        answers.push_back({code, text});
    }
};

} // namespace

TEST_F(FpFixture, S1DataWritesClampedCountsAndNeedsS1) {
    Start();
    EXPECT_EQ(fp->CopyData(2, "10; 20 ;-5"), 1);
    EXPECT_EQ(Take(),
              (std::vector<Reply>{
                  {100, "Spectrum Group Mgmt Error - No spectrum define for the S1 group."}}));
    CSpectrum* s1 = OpenExample();
    ASSERT_TRUE(s1);
    list().Activate(0);
    EXPECT_EQ(fp->CopyData(2, "10; 20 ;-5"), 1);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(s1->m_pData[0], 10);
    EXPECT_EQ(s1->m_pData[1], 20);
    EXPECT_EQ(s1->m_pData[2], 0);
    EXPECT_EQ(list().GetActivePosition(), 1);
    EXPECT_EQ(fronts, 1);

    EXPECT_EQ(fp->CopyData(2, "  "), 1);
    EXPECT_EQ(Take(), (std::vector<Reply>{{100, "FP Error - Spectrum size is 0."}}));
    EXPECT_EQ(fp->CopyData(6, "1,2"), 0);
    EXPECT_EQ(fp->CopyData(40, "1,2"), 0);
    EXPECT_EQ(s1->m_pData[0], 10);
}

TEST_F(FpFixture, DotsGroupIsBuiltFromS1AndAnswersItsCounts) {
    Start();
    CSpectrum* s1 = OpenExample();
    fp->Command(1, 0);
    EXPECT_EQ(Take(),
              (std::vector<Reply>{
                  {100, "Spectrum Group Mgmt Error - Parameters retrieved for S1 group only."}}));
    EXPECT_EQ(fp->CopyData(1, "7,8,9"), 1);
    EXPECT_TRUE(Take().empty());
    ASSERT_EQ(list().GetCount(), 3);
    CSpectrum* dots = list().At(2);
    EXPECT_TRUE(dots->m_bDerived);
    EXPECT_EQ(dots->m_strFileName, VORNA_SOURCE_DIR "/examples/fe55_1.mca");
    EXPECT_EQ(dots->m_nChannels, s1->m_nChannels);
    EXPECT_EQ(dots->m_calibrate.Label(), "keV");
    EXPECT_EQ(dots->m_roi.GetCount(), 2);
    EXPECT_EQ(list().GetActivePosition(), 1);

    fp->Command(1, 0);
    const auto a = Take();
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].code, 1u);
    EXPECT_EQ(a[0].text.substr(0, 6), "7,8,9,");
    EXPECT_EQ(std::count(a[0].text.begin(), a[0].text.end(), ','), 1023); // 1024 channels
    EXPECT_EQ(list().GetActivePosition(), 1);

    // A second DOTS transfer replaces the group instead of adding another.
    fp->CopyData(1, "1");
    EXPECT_EQ(list().GetCount(), 3);
    EXPECT_EQ(list().At(2)->m_pData[0], 1);
}

TEST_F(FpFixture, QueriesAnswerS1AndRefuseWithoutIt) {
    Start();
    fp->Command(17, 0);
    fp->Command(0, 0);
    fp->Command(27, 0);
    EXPECT_EQ(Take(), (std::vector<Reply>{
                          {100, "Spectrum Group Mgmt Error - No spectrum define for the S1 group."},
                          {100, "Error - Unknown command. Attempted command = 0"},
                          {27, "0"}}));
    OpenExample();
    for (int code : {3, 4, 5, 12, 15, 16, 17, 18, 20, 21, 22, 26, 99})
        fp->Command(code, 1);
    EXPECT_EQ(Take(), (std::vector<Reply>{{3, "100"},
                                          {4, "Live"},
                                          {5, kExample},
                                          {12, "10"},
                                          {15, "100"},
                                          {16, "102.375"},
                                          {17, "1024"},
                                          {18, "0,0.01,0"},
                                          {20, "1"},
                                          {21, "2"},
                                          {22, "1"},
                                          {26, "0"},
                                          {0, "Error - Unknown command. Attempted command = 99"}}));
    fp->Command(28, 5);
    EXPECT_EQ(Take(), (std::vector<Reply>{
                          {100, "Error - command option out of range. Attempted command = 28"}}));
    fp->Command(28, 1);
    EXPECT_EQ(Take(), (std::vector<Reply>{{28, "-99"}}));
    EXPECT_EQ(statuses.back(), "MCA not connected...");
}

TEST_F(FpFixture, RoiDataListsEveryRoiAfterRecomputing) {
    Start();
    CSpectrum* s1 = OpenExample();
    fp->Command(23, 0);
    const auto a = Take();
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].code, 23u);
    EXPECT_EQ(a[0].text.substr(0, 2), "2:");
    EXPECT_EQ(std::count(a[0].text.begin(), a[0].text.end(), ';'), 2);
    // Start and end in keV; nine fields per ROI, the element field empty without a library.
    EXPECT_EQ(a[0].text.substr(2, 10), "5.70,6.10,");
    EXPECT_NE(a[0].text.find(",GOOD,;"), std::string::npos) << a[0].text;
    s1->m_roi.Clear();
    fp->Command(23, 0);
    EXPECT_EQ(Take(), (std::vector<Reply>{{23, "0:"}}));
}

TEST_F(FpFixture, CalibrationEntriesReplaceTheGroupsCalibrationOrTouchNothing) {
    Start();
    CSpectrum* s1 = OpenExample();
    list().Activate(0);
    EXPECT_EQ(fp->CopyData(32, "2:keV:1:100,5.9;200,11.8;"), 1);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(s1->m_calibrate.GetCount(), 2);
    EXPECT_EQ(s1->m_calibrate.Label(), "keV");
    EXPECT_TRUE(s1->m_calibrate.IsCalibrated());
    EXPECT_NEAR(s1->m_calibrate.ChannelToValue(150, true), 8.85, 1e-9);
    EXPECT_EQ(list().GetActivePosition(), 0); // the active spectrum is given back

    const double before = s1->m_calibrate.B();
    for (const char* bad :
         {"", "2:keV:1:100,5.9;", "2:keV", "1::1:1,2;", "1:eV:2:1,2;", "1:eV:-1:1,2;"})
        fp->CopyData(32, bad);
    EXPECT_EQ(Take(),
              (std::vector<Reply>{{100, "Invalid parameters - CMD_LUMO_PUT_CALIB_ENTRIES."},
                                  {100, "Invalid parameters - CMD_LUMO_PUT_CALIB_ENTRIES."},
                                  {100, "Invalid parameters - CMD_LUMO_PUT_CALIB_ENTRIES."},
                                  {100, "No calibration label  - CMD_LUMO_PUT_CALIB_ENTRIES."},
                                  {100, "Invalid spectrum group - CMD_LUMO_PUT_CALIB_ENTRIES."},
                                  {100, "Invalid spectrum group - CMD_LUMO_PUT_CALIB_ENTRIES."}}));
    EXPECT_EQ(s1->m_calibrate.B(), before);
    EXPECT_EQ(s1->m_calibrate.GetCount(), 2);
    EXPECT_EQ(fp->CopyData(32, "0:keV:1:"), 1); // nothing to do
    EXPECT_TRUE(Take().empty());
}

TEST_F(FpFixture, SaveWritesTheLiveSpectrumUnderItsNameAndOpensItAsS1) {
    Start();
    OpenExample();
    CSpectrum* live = list().At(0);
    live->m_pData[3] = 42;
    const std::string liveName = live->m_strFileName;
    EXPECT_EQ(fp->CopyData(30, "run1"), 1);
    EXPECT_TRUE(Take().empty()) << answers.size();
    const std::string path = dir.path() + "/run1.mca";
    ASSERT_EQ(opened, (std::vector<std::string>{path}));
    const std::string file = vorna::test::readFile(path);
    EXPECT_NE(file.find("TAG - UnknownTag"), std::string::npos);
    EXPECT_NE(file.find("DESCRIPTION - No Description"), std::string::npos);
    // The live spectrum keeps its own name; the saved copy is S1 (the Kestrel's groups closed).
    EXPECT_EQ(live->m_strTag, "live_data");
    EXPECT_EQ(live->m_strFileName, liveName);
    ASSERT_EQ(list().GetCount(), 2);
    EXPECT_EQ(list().At(1)->m_strTag, "UnknownTag");
    EXPECT_EQ(list().At(1)->m_pData[3], 42);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/lumo-temp.tmp"));

    for (const char* bad : {"", "a,b,c,d", ",tag", "/no/such/folder/run2"})
        fp->CopyData(30, bad);
    EXPECT_EQ(fp->CopyData(30, std::string(300, 'x')), 1);
    EXPECT_EQ(Take(), (std::vector<Reply>{
                          {100, "Invalid parameters - CMD_LUMO_SAVE_SPECTRUM."},
                          {100, "Invalid parameters - CMD_LUMO_SAVE_SPECTRUM."},
                          {100, "Empty filename - CMD_LUMO_LOAD_SPECTRUM."},
                          {100, "Invalid path or device - CMD_LUMO_SAVE_SPECTRUM."},
                          {100, "Filename too long ( > 255 char) - CMD_LUMO_SAVE_SPECTRUM."}}));
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_TRUE(prompt.messages.empty()) << prompt.messages.front();
}

TEST_F(FpFixture, LoadOpensTheFileAsS1AfterClosingTheOtherGroups) {
    Start();
    OpenExample();
    OpenExample();
    std::filesystem::copy_file(kExample, dir.path() + "/fe55.mca");
    EXPECT_EQ(fp->CopyData(31, "fe55"), 1);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(opened, (std::vector<std::string>{dir.path() + "/fe55.mca"}));
    EXPECT_EQ(list().GetCount(), 2);
    EXPECT_EQ(list().GetActivePosition(), 1);
    fp->CopyData(31, "");
    fp->CopyData(31, "missing");
    EXPECT_EQ(Take(), (std::vector<Reply>{{100, "Empty filename - CMD_LUMO_LOAD_SPECTRUM."},
                                          {100, "File not found - CMD_LUMO_LOAD_SPECTRUM."}}));
    EXPECT_EQ(list().GetCount(), 2);
}

TEST_F(FpFixture, TagsStatusAndCompanionValues) {
    Start();
    fp->CopyData(29, "ignored"); // no S1
    OpenExample();
    fp->CopyData(29, "A_VERY_LONG_TAG_TEXT");
    fp->CopyData(19, "dots"); // no DOTS: ignored
    fp->CopyData(13, "Fitting...");
    fp->CopyData(9, "4.2.1, extra");
    fp->CopyData(11, "65537");
    EXPECT_EQ(list().At(1)->m_strTag, "A_VERY_LONG_");
    EXPECT_EQ(statuses, (std::vector<std::string>{"Fitting..."}));
    EXPECT_EQ(state->Companion().version, "4.2.1");
    EXPECT_EQ(state->Companion().option, 1);
    EXPECT_TRUE(Take().empty());
}
