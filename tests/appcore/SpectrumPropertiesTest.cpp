#include <gtest/gtest.h>

#include "TestSupport.h"
#include "analysis/AnalysisFixtures.h"
#include "appcore/SpectraSlotsEditor.h"
#include "appcore/SpectrumNotesFields.h"
#include "appcore/SpectrumPropertiesEdit.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using namespace vorna::test;

namespace {

struct CountingSignal : UpdateSignal {
    int signals = 0;
    void SignalUpdate() override { ++signals; }
};

// live_data at 0 (active) and a plain spectrum "A" with counts at 1.
struct World {
    ScriptedPrompt prompt;
    RecordingDisplay display;
    CountingSignal worker;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;
    CSpectrum* a = nullptr;

    World() {
        env.prompt = &prompt;
        env.display = &display;
        env.updateSignal = &worker;
        list = std::make_unique<CSpectraList>(env);
        list->Add(std::make_unique<CSpectrum>(env.slots, 0), true);
        auto s = makeSpectrum(2, 3.0);
        s->m_strTag = "A";
        a = list->Add(s, false);
        display = RecordingDisplay();
    }

    // A derived spectrum "D" reading A, its evaluation already done.
    CSpectrum* Derived(const std::string& expression) {
        SpectrumPropertiesEdit edit(*list);
        edit.Header().m_strTag = "D";
        edit.Header().m_strExpression = expression;
        EXPECT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
        CSpectrum* d = edit.Result();
        d->Evaluate(env, 0, false);
        display = RecordingDisplay();
        return d;
    }
};

} // namespace

TEST(SpectrumProperties, DefineExpressionAddsAnInactiveDerivedSpectrumOnlyOnOk) {
    World w;
    {
        SpectrumPropertiesEdit cancelled(*w.list);
        EXPECT_STREQ(cancelled.Title(), "Define Expression");
        EXPECT_TRUE(cancelled.ShowsExpression());
        EXPECT_TRUE(cancelled.GainEditable());
        cancelled.Header().m_strExpression = "A*2";
        cancelled.Cancel();
    }
    EXPECT_EQ(w.list->GetCount(), 2);
    EXPECT_EQ(w.a->m_linked.GetCount(), 0) << "a cancelled definition links nothing";

    // The slot of position 2 is "S2"; a plain spectrum already holds that tag.
    w.a->m_strTag = "S2";
    SpectrumPropertiesEdit edit(*w.list);
    EXPECT_EQ(edit.Header().m_strTag, "S2");
    EXPECT_EQ(edit.Header().m_bDerived, 1);
    edit.Header().m_strExpression = "s2 * 2";
    edit.Header().m_nGain = 3;
    edit.Header().m_crColor = 0x0000FF;
    ASSERT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    CSpectrum* d = edit.Result();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(w.list->GetCount(), 3);
    EXPECT_EQ(w.list->GetActivePosition(), 0);
    EXPECT_EQ(d->m_strTag, "S3");
    EXPECT_EQ(d->m_nChannels, 2048);
    EXPECT_EQ(d->Pen().color, 0x0000FFu);
    EXPECT_TRUE(d->m_bEvalPending);
    EXPECT_EQ(w.a->m_linked.Find(d), 0);
    EXPECT_TRUE(d->Evaluate(w.env, 0, false));
    EXPECT_DOUBLE_EQ(d->m_pData[10], 6.0);
}

TEST(SpectrumProperties, RefusalsKeepTheDialogOpenAndChangeNothing) {
    World w;
    SpectrumPropertiesEdit edit(*w.list);
    edit.Header().m_strExpression = "A+1";
    for (const char* tag : {"1abc", "", "a-b"}) {
        edit.Header().m_strTag = tag;
        EXPECT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::KeepOpen) << tag;
    }
    EXPECT_EQ(w.prompt.messages, std::vector<std::string>(3, "Invalid Tag!"));
    edit.Header().m_strTag = "_sum2";
    edit.Header().m_strExpression = "A+";
    EXPECT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::KeepOpen);
    edit.Header().m_strExpression = "";
    EXPECT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::KeepOpen);
    EXPECT_EQ(w.prompt.messages.at(3), "Invalid expression!");
    EXPECT_EQ(w.prompt.messages.at(4), "Expression must be defined!");
    EXPECT_EQ(w.list->GetCount(), 2);
    EXPECT_EQ(w.a->m_linked.GetCount(), 0);
    edit.Header().m_strExpression = "A+1";
    EXPECT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_EQ(w.list->GetCount(), 3);
    EXPECT_EQ(edit.Result()->m_strTag, "_sum2");
}

TEST(SpectrumProperties, ModifyingADerivedSpectrumRecompilesOnlyAChangedExpression) {
    World w;
    CSpectrum* d = w.Derived("A*2");
    SpectrumPropertiesEdit same(*w.list, *d);
    EXPECT_STREQ(same.Title(), "Modify Expression");
    EXPECT_FALSE(same.GainEditable());
    const SpectrumProgram* program = d->m_pProgram.get();
    same.Header().m_strDescription = "twice A";
    ASSERT_EQ(same.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_EQ(d->m_pProgram.get(), program);
    EXPECT_FALSE(d->m_bEvalPending);
    EXPECT_TRUE(d->m_bValid) << "nothing to re-evaluate";
    EXPECT_EQ(d->m_strDescription, "twice A");
    EXPECT_EQ(w.display.plotRedraws, 0);

    SpectrumPropertiesEdit refused(*w.list, *d);
    refused.Header().m_strExpression = "A*";
    refused.Header().m_strDescription = "lost";
    EXPECT_EQ(refused.Ok(), SpectrumPropertiesEdit::OkResult::KeepOpen);
    EXPECT_EQ(d->m_strExpression, "A*2");
    EXPECT_EQ(d->m_strDescription, "twice A");
    refused.Cancel();

    SpectrumPropertiesEdit changed(*w.list, *d);
    changed.Header().m_strExpression = "live_data + 1";
    ASSERT_EQ(changed.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_NE(d->m_pProgram.get(), program);
    EXPECT_TRUE(d->m_bEvalPending);
    EXPECT_EQ(d->m_strExpression, "live_data + 1");
    EXPECT_EQ(w.a->m_linked.Find(d), -1) << "A no longer feeds it";
    EXPECT_EQ(w.list->At(0)->m_linked.Find(d), 0);
}

TEST(SpectrumProperties, AContourChangeRemakesThePenAndRedrawsThePlot) {
    World w;
    SpectrumPropertiesEdit edit(*w.list, *w.a);
    EXPECT_STREQ(edit.Title(), "Modify Spectrum Properties");
    EXPECT_FALSE(edit.ShowsExpression());
    edit.Header().m_crColor = 0x00FF00;
    edit.Header().m_nLineWidth = 3;
    ASSERT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_EQ(w.a->Pen().color, 0x00FF00u);
    EXPECT_EQ(w.a->Pen().width, 3);
    EXPECT_EQ(w.display.plotRedraws, 1);
    EXPECT_EQ(w.display.activations, 0) << "only the active spectrum's title is set again";
    EXPECT_FALSE(w.a->m_bEvalPending);

    // The active spectrum's file name and description make the window title.
    CSpectrum* live = w.list->At(0);
    SpectrumPropertiesEdit title(*w.list, *live);
    title.Header().m_strFileName = "run7.mca";
    ASSERT_EQ(title.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_EQ(w.display.activations, 1);
    EXPECT_EQ(w.display.plotRedraws, 1) << "same contour: no redraw";
    EXPECT_EQ(live->Title(), "Quorix VORNA     run7.mca     ");
}

TEST(SpectrumProperties, ChangesMadeWhileTheDialogIsOpenAreRespected) {
    World w;
    SpectrumPropertiesEdit kept(*w.list, *w.a);
    w.a->m_nGain = 3; // say, the command interface put other contents in
    kept.Header().m_strDescription = "renamed";
    ASSERT_EQ(kept.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_EQ(w.a->m_nGain, 3) << "the channel count follows the contents, not the dialog";
    EXPECT_EQ(w.a->m_strDescription, "renamed");

    CSpectrum* d = w.Derived("A");
    SpectrumPropertiesEdit edit(*w.list, *d);
    ASSERT_EQ(w.list->Close(d), 1);
    edit.Header().m_strExpression = "A*3";
    EXPECT_EQ(edit.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
    EXPECT_EQ(edit.Result(), nullptr);
    EXPECT_EQ(w.list->GetCount(), 2);
}

TEST(SpectrumNotes, EditorLinesBecomeCrLfAndTheDppChoiceIsProgramWide) {
    SpectrumHeader h;
    h.m_strGeneralNotes = "one\r\ntwo\rthree\nfour";
    h.m_bPrintNotes = 1;
    SpectrumNotesFields f = NotesOf(h, true);
    EXPECT_EQ(f.general, "one\ntwo\nthree\nfour");
    EXPECT_TRUE(f.printNotes);
    EXPECT_TRUE(f.printDppSettings);
    f.system = "HPGe\n\nwell type";
    f.printNotes = false;
    f.printDppSettings = false;
    int dppPrintConfig = 1;
    ApplyNotes(f, h, dppPrintConfig);
    EXPECT_EQ(h.m_strGeneralNotes, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(h.m_strSystemNotes, "HPGe\r\n\r\nwell type");
    EXPECT_EQ(h.m_bPrintNotes, 0);
    EXPECT_EQ(dppPrintConfig, 0);
}

TEST(SpectraSlots, EntriesAreCheckedAndWrittenAtOnceTheSmoothKindOnClose) {
    ProfileValues profile;
    profile.smoothKind = 0;
    SpectraSlotsEditor editor(profile);
    EXPECT_EQ(editor.SetSlot(3, {5, 0xFF, "S3"}), "Please enter an integer between 1 and 4.");
    EXPECT_EQ(editor.SetSlot(3, {2, 0xFF, "ABCDEFGHIJK"}),
              "Please enter no more than 10 characters.");
    EXPECT_EQ(editor.SetSlot(3, {2, 0xFF, "3S"}), "Invalid Tag!");
    EXPECT_EQ(profile.slots[3].tag, "");
    EXPECT_EQ(editor.SetSlot(3, {4, 0x00FF00, "ABCDEFGHIJ"}), "");
    EXPECT_EQ(profile.slots[3].width, 4);
    EXPECT_EQ(profile.slots[3].color, 0x00FF00);
    EXPECT_EQ(editor.Slot(3).tag, "ABCDEFGHIJ");
    editor.ChooseSmoothKind(1);
    EXPECT_EQ(profile.smoothKind, 0);
    editor.Close();
    EXPECT_EQ(profile.smoothKind, 1);
}
