// File operations with a scripted prompt standing in for dialogs and message boxes.

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "analysis/RoiStatistics.h"
#include "common/DataFolders.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"
#include "spectrum/SpectrumReader.h"
#include "spectrum/SpectrumWriter.h"

using namespace vorna;
using vorna::test::readFile;
using vorna::test::ScriptedPrompt;
using vorna::test::TempDir;
using vorna::test::writeFile;

namespace {

// Also remembers what each save dialog offered.
class DialogPrompt : public ScriptedPrompt {
public:
    std::vector<std::string> offeredPaths, offeredExtensions, offeredFilters;
    bool chooseSaveFile(std::string& path, const std::string& ext,
                        const std::string& filter) override {
        offeredPaths.push_back(path);
        offeredExtensions.push_back(ext);
        offeredFilters.push_back(filter);
        return ScriptedPrompt::chooseSaveFile(path, ext, filter);
    }
};

struct Recent : RecentFileList {
    std::vector<std::string> paths;
    void AddRecentFile(const std::string& path) override { paths.push_back(path); }
};

// A program-like world: the live spectrum at position 0 and a spectra directory.
struct World {
    TempDir dir;
    DialogPrompt prompt;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;

    World() {
        env.prompt = &prompt;
        env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
        env.spectraDirectory = dir.path() + "/";
        list = std::make_unique<CSpectraList>(env);
        list->Add(std::make_unique<CSpectrum>(env.slots, 0), false);
    }
};

std::string spectrumBytes(const std::string& tag, double firstValue, bool withTables = false) {
    CSpectrum s;
    s.m_strTag = tag;
    s.m_nGain = 0;
    s.AllocateData(256);
    s.m_pData[0] = firstValue;
    if (withTables) {
        s.m_calibrate.SetLabel("keV");
        s.m_calibrate.AddPoint(100, 1);
        s.m_calibrate.AddPoint(200, 2);
        s.m_roi.Append(10, 20);
    }
    std::string out;
    WriteSpectrum(s, SpectrumWriteOptions(), out);
    return out;
}

} // namespace

TEST(SpectrumFile, OpenAddsTheSpectrumOrExplainsWhyNot) {
    World w;
    Recent recent;
    const std::string inDir = w.dir.file("a.mca");
    writeFile(inDir, spectrumBytes("A", 5));
    CSpectrum* opened = nullptr;
    EXPECT_EQ(OpenSpectrumFile(*w.list, inDir, &recent, &opened), FileOpenResult::Done);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(w.list->GetCount(), 2);
    EXPECT_EQ(w.list->GetActivePosition(), 1);
    EXPECT_EQ(opened->m_strFileName, "a.mca") << "bare name inside the spectra directory";
    EXPECT_EQ(opened->m_bValid, 1);
    EXPECT_EQ(recent.paths, std::vector<std::string>{inDir});
    EXPECT_TRUE(w.prompt.messages.empty());

    // Elsewhere: the full path; another extension warns but still opens.
    std::filesystem::create_directory(w.dir.file("sub"));
    const std::string other = w.dir.file("sub/../sub/b.txt");
    writeFile(other, spectrumBytes("A", 6));
    EXPECT_EQ(OpenSpectrumFile(*w.list, other, &recent, &opened), FileOpenResult::Warned);
    EXPECT_EQ(opened->m_strFileName, w.dir.file("sub/b.txt"));
    EXPECT_EQ(opened->m_strTag, "A_1") << "tags stay unique in the list";
    EXPECT_EQ(w.prompt.messages, std::vector<std::string>{"Invalid file extension; must be "
                                                          ".mca, .mcs!"});

    w.prompt.messages.clear();
    const std::string bad = w.dir.file("bad.mca");
    writeFile(bad, "<<LUMO SPECTRUM>>\r\n");
    EXPECT_EQ(OpenSpectrumFile(*w.list, bad, &recent), FileOpenResult::Failed);
    const std::string missing = w.dir.file("missing.MCS");
    EXPECT_EQ(OpenSpectrumFile(*w.list, missing, &recent), FileOpenResult::Failed);
    EXPECT_EQ(OpenSpectrumFile(*w.list, w.dir.path() + "/sub/", &recent), FileOpenResult::Failed);
    ASSERT_EQ(w.prompt.messages.size(), 4u);
    EXPECT_EQ(w.prompt.messages[0], "Can not open the file " + bad + ". Load file failure!");
    EXPECT_EQ(w.prompt.messages[1],
              "Can not open the file " + missing + ". " + std::strerror(ENOENT));
    EXPECT_EQ(w.prompt.messages[2], "Invalid file extension; must be .mca, .mcs!");
    EXPECT_EQ(w.list->GetCount(), 3) << "failed opens add nothing";
    EXPECT_EQ(recent.paths.size(), 2u);

    // Reading into a given spectrum leaves the list alone and warns without '!'.
    CSpectrum target;
    w.prompt.messages.clear();
    EXPECT_EQ(ReadFileIntoSpectrum(w.env, other, target), FileOpenResult::Warned);
    EXPECT_EQ(target.m_pData[0], 6.0);
    EXPECT_EQ(w.prompt.messages, std::vector<std::string>{"Invalid file extension; must be "
                                                          ".mca, .mcs"});
    EXPECT_EQ(ReadFileIntoSpectrum(w.env, bad, target), FileOpenResult::Failed);
    EXPECT_FALSE(target.HasData());
    EXPECT_EQ(w.list->GetCount(), 3);
}

TEST(SpectrumFile, OpenDialogAsksAgainAfterAWarning) {
    World w;
    writeFile(w.dir.file("x.dat"), spectrumBytes("X", 1));
    writeFile(w.dir.file("y.mca"), spectrumBytes("Y", 1));
    std::vector<std::string> choices = {w.dir.file("x.dat"), w.dir.file("y.mca")};
    std::vector<std::string> initialNames;
    FileOpenResult result =
        OpenWithDialog(*w.list, [&](const OpenDialogSetup& setup, std::string& path) {
            initialNames.push_back(path);
            EXPECT_EQ(setup.initialDirectory, w.env.spectraDirectory);
            if (choices.empty())
                return false;
            path = choices.front();
            choices.erase(choices.begin());
            return true;
        });
    EXPECT_EQ(result, FileOpenResult::Done);
    EXPECT_EQ(initialNames.size(), 2u);
    EXPECT_EQ(initialNames[0], w.env.spectraDirectory + "*.mca");
    EXPECT_EQ(w.list->GetCount(), 3);
    EXPECT_EQ(MakeOpenDialogSetup("./").initialDirectory, "");
    EXPECT_EQ(MakeOpenDialogSetup(w.dir.file("none")).initialName, "*.mca");

    // The per-user data folder ("no folder" in the profile) is made when the dialog first needs
    // it, so the dialog opens there rather than in the working directory.
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string savedText = saved ? saved : "";
    setenv("XDG_DATA_HOME", w.dir.file("xdg").c_str(), 1);
    const std::string dataFolder = UserDataFolder();
    EXPECT_EQ(MakeOpenDialogSetup(dataFolder).initialDirectory, dataFolder);
    EXPECT_TRUE(std::filesystem::is_directory(dataFolder));
    if (saved)
        setenv("XDG_DATA_HOME", savedText.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST(SpectrumFile, SaveAndSaveAs) {
    World w;
    CSpectrum* s = w.list->Add(std::make_unique<CSpectrum>(w.env.slots, 1), true);
    ASSERT_NE(s, nullptr);
    s->m_pData[3] = 9;
    ASSERT_EQ(s->m_strFileName, "S1.mca");

    // Save: to the spectra directory under the own name, no dialog.
    EXPECT_EQ(SaveSpectrum(w.env, *s, false, 1), SaveResult::Saved);
    const std::string saved = readFile(w.dir.file("S1.mca"));
    CSpectrum back;
    ASSERT_TRUE(ReadSpectrum(saved, back));
    EXPECT_EQ(back.m_pData[3], 9.0);
    EXPECT_EQ(s->m_strFileName, "S1.mca");
    EXPECT_TRUE(w.prompt.offeredPaths.empty());

    // Save As: the dialog proposes the current path; Cancel writes nothing.
    EXPECT_EQ(SaveSpectrum(w.env, *s, true, 1), SaveResult::Cancelled);
    ASSERT_EQ(w.prompt.offeredPaths.size(), 1u);
    EXPECT_EQ(w.prompt.offeredPaths[0], w.dir.file("S1.mca"));
    EXPECT_EQ(w.prompt.offeredExtensions[0], "mca");
    EXPECT_EQ(w.prompt.offeredFilters[0], "Spectra Data Files (*.mca)|*.mca|All Files (*.*)|*.*||");

    std::filesystem::create_directory(w.dir.file("out"));
    w.prompt.savePaths.push_back(w.dir.file("out/run.mcs"));
    EXPECT_EQ(SaveSpectrum(w.env, *s, true, 1), SaveResult::Saved);
    EXPECT_EQ(s->m_strFileName, w.dir.file("out/run.mcs"));
    EXPECT_EQ(readFile(w.dir.file("out/run.mcs")), saved);

    // A name without extension offers "mcs"; a folder that is gone falls back to none.
    s->m_strFileName = w.dir.file("gone/noext");
    EXPECT_EQ(SaveSpectrum(w.env, *s, true, 1), SaveResult::Cancelled);
    EXPECT_EQ(w.prompt.offeredExtensions.back(), "mcs");
    EXPECT_EQ(w.prompt.offeredFilters.back(),
              "Spectra Data Files (*.mcs)|*.mcs|All Files (*.*)|*.*||");
    EXPECT_EQ(w.prompt.offeredPaths.back(), "noext");
    // An empty name has nothing to save to without the dialog.
    s->m_strFileName.clear();
    EXPECT_EQ(SaveSpectrum(w.env, *s, false, 1), SaveResult::Cancelled);
    EXPECT_EQ(w.prompt.offeredPaths.back(), w.env.spectraDirectory + "*");

    // Save to path: only while the spectrum's own folder exists.
    s->m_strFileName = "S1.mca";
    EXPECT_EQ(SaveSpectrumToPath(w.env, *s, w.dir.file("loop_001.mca"), 1), SaveResult::Saved);
    EXPECT_EQ(s->m_strFileName, "loop_001.mca");
    s->m_strFileName = w.dir.file("gone/x.mca");
    EXPECT_EQ(SaveSpectrumToPath(w.env, *s, w.dir.file("loop_002.mca"), 1), SaveResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(w.dir.file("loop_002.mca")));
}

TEST(SpectrumFile, FailedSaveKeepsThePreviousFile) {
    World w;
    CSpectrum* s = w.list->Add(std::make_unique<CSpectrum>(w.env.slots, 1), true);
    s->m_nGain = 6;
    s->AllocateData(16384);
    const std::string target = w.dir.file("keep.mca");
    const std::string old = spectrumBytes("Old", 1);
    writeFile(target, old);
    s->m_strFileName = "keep.mca";

    // The file system refuses the new bytes part way (a full disk behaves the same).
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    SaveResult result = SaveSpectrum(w.env, *s, false, 1);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(result, SaveResult::Failed);
    EXPECT_EQ(readFile(target), old);
    ASSERT_EQ(w.prompt.messages.size(), 1u);
    EXPECT_EQ(w.prompt.messages[0], std::strerror(EFBIG)); // the system's own text
    EXPECT_EQ(s->m_strFileName, "keep.mca");
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(w.dir.path())) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST(SpectrumFile, TemplateRecall) {
    World w;
    CSpectrum* live = w.list->At(0);
    w.list->Activate(0);
    ASSERT_TRUE(live->AllocateData(256));
    live->m_pData[15] = 500;
    writeFile(w.dir.file("template.mca"), spectrumBytes("T", 0, true));

    TemplateOptions options;
    options.templateFile = "template.mca";
    EXPECT_EQ(RecallTemplate(*w.list, options), 0) << "neither calibration nor ROIs wanted";
    options.loadRoi = true;
    EXPECT_EQ(RecallTemplate(*w.list, options), 1);
    EXPECT_EQ(live->m_roi.GetCount(), 1);
    EXPECT_EQ(live->m_calibrate.GetCount(), 0);
    EXPECT_NE(live->m_roi[0].status, RoiStatus::Invalid) << "statistics computed for the new ROIs";
    options.loadCalibration = true;
    EXPECT_EQ(RecallTemplate(*w.list, options), 1);
    EXPECT_TRUE(live->m_calibrate.IsCalibrated());

    // With an open file active the template still goes to the live spectrum only.
    CSpectrum* file = w.list->Add(std::make_unique<CSpectrum>(w.env.slots, 1), true);
    ASSERT_EQ(w.list->GetActive(), file);
    live->m_roi.Clear();
    EXPECT_EQ(RecallTemplate(*w.list, options), 1);
    EXPECT_EQ(live->m_roi.GetCount(), 1);
    EXPECT_EQ(file->m_roi.GetCount(), 0);
    EXPECT_FALSE(file->m_calibrate.IsCalibrated());
    EXPECT_TRUE(w.prompt.messages.empty());

    options.templateFile = "*.mca";
    EXPECT_EQ(RecallTemplate(*w.list, options), 0);
    options.templateFile = "none.mca";
    EXPECT_EQ(RecallTemplate(*w.list, options), 0);
    writeFile(w.dir.file("broken.mca"), "nothing");
    options.templateFile = "broken.mca";
    EXPECT_EQ(RecallTemplate(*w.list, options), 0);
    ASSERT_EQ(w.prompt.messages.size(), 3u);
    EXPECT_EQ(w.prompt.messages[0],
              "Invalid Spectrum Template path or file - " + w.dir.file("none.mca") + ".");
    EXPECT_EQ(w.prompt.messages[2],
              "Spectrum template internal load error - " + w.dir.file("broken.mca") + ".");
}

TEST(SpectrumFile, Revert) {
    World w;
    writeFile(w.dir.file("r.mca"), spectrumBytes("R", 42, true));
    CSpectrum* s = nullptr;
    ASSERT_EQ(OpenSpectrumFile(*w.list, w.dir.file("r.mca"), nullptr, &s), FileOpenResult::Done);
    s->m_pData[0] = 1;
    s->m_strDescription = "edited";
    s->m_roi.Clear();
    EXPECT_TRUE(RevertSpectrum(*w.list, *s, "/nonexistent"));
    EXPECT_EQ(s->m_pData[0], 42.0);
    EXPECT_EQ(s->m_strDescription, "");
    EXPECT_EQ(s->m_roi.GetCount(), 1);
    EXPECT_EQ(s->m_dTotalCounts, 42.0);

    // A file whose channel count differs replaces the buffer as a whole.
    CSpectrum big;
    big.m_strTag = "R";
    big.m_nGain = 3;
    big.AllocateData(2048);
    std::string bytes;
    WriteSpectrum(big, SpectrumWriteOptions(), bytes);
    writeFile(w.dir.file("r.mca"), bytes);
    EXPECT_TRUE(RevertSpectrum(*w.list, *s, "/nonexistent"));
    EXPECT_EQ(s->m_nChannels, 2048);
    EXPECT_EQ(s->m_pData.size(), 2048u);

    // The file's tag may not duplicate another open spectrum's tag.
    CSpectrum* other = w.list->Add(std::make_unique<CSpectrum>(w.env.slots, 2), false);
    other->m_strTag = "Q";
    big.m_strTag = "q";
    bytes.clear();
    WriteSpectrum(big, SpectrumWriteOptions(), bytes);
    writeFile(w.dir.file("r.mca"), bytes);
    EXPECT_TRUE(RevertSpectrum(*w.list, *s, "/nonexistent"));
    EXPECT_EQ(s->m_strTag, "R");

    // A derived spectrum that reads the reverted one is evaluated again.
    auto derivedSpectrum = std::make_unique<CSpectrum>(w.env.slots, w.list->GetCount());
    derivedSpectrum->m_strTag = "D";
    derivedSpectrum->m_bDerived = 1;
    CSpectrum* d = w.list->Add(derivedSpectrum, false);
    d->m_linked.Add(s);
    s->m_linked.Add(d);
    d->m_bEvalPending = 0;
    d->m_bValid = 1;
    ASSERT_TRUE(RevertSpectrum(*w.list, *s, "/nonexistent"));
    EXPECT_EQ(d->m_bEvalPending, 1);
    EXPECT_EQ(d->m_bValid, 0);

    // Reverting the derived spectrum from a file makes it a plain spectrum, no longer linked to
    // its operand, so closing the operand neither asks about it nor closes it.
    d->m_strFileName = w.dir.file("r.mca");
    ASSERT_TRUE(RevertSpectrum(*w.list, *d, "/nonexistent"));
    EXPECT_EQ(d->m_bDerived, 0);
    EXPECT_EQ(d->m_linked.GetCount(), 0);
    EXPECT_EQ(s->m_linked.GetCount(), 0);
    const size_t questions = w.prompt.questions.size();
    w.list->Activate(0);
    EXPECT_EQ(w.list->Close(s), 1);
    EXPECT_EQ(w.prompt.questions.size(), questions);
    EXPECT_GE(w.list->PositionOf(d), 0);
    s = d;

    // A bare name is looked for in the working directory when no spectra directory is set.
    w.env.spectraDirectory.clear();
    s->m_strFileName = "r.mca";
    EXPECT_TRUE(RevertSpectrum(*w.list, *s, w.dir.path()));
    s->m_strFileName = "lost.mca";
    EXPECT_FALSE(RevertSpectrum(*w.list, *s, w.dir.path()));
    EXPECT_EQ(w.prompt.statuses.back(),
              "Unable to Revert - unable to locate original spectrum file.");
}
