#include <gtest/gtest.h>

#include "analysis/RoiStatistics.h"
#include "TestSupport.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;

namespace {

struct ListFixture : ::testing::Test {
    ScriptedPrompt prompt;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;

    void SetUp() override {
        env.prompt = &prompt;
        env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
        list = std::make_unique<CSpectraList>(env);
        list->Add(std::make_unique<CSpectrum>(env.slots, 0), false); // live_data
    }
    CSpectrum* add(const std::string& tag, bool activate = false) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_strTag = tag;
        return list->Add(s, activate);
    }
    CSpectrum* addDerived(const std::string& tag, std::initializer_list<CSpectrum*> operands) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_strTag = tag;
        s->m_bDerived = 1;
        CSpectrum* d = list->Add(s, false);
        for (CSpectrum* p : operands) {
            d->m_linked.Add(p);
            p->m_linked.Add(d);
        }
        return d;
    }
};

} // namespace

TEST_F(ListFixture, TagsAreMadeUnique) {
    add("S1");
    add("S2");
    EXPECT_EQ(add("S1")->m_strTag, "S3");
    EXPECT_EQ(add("run")->m_strTag, "run");
    EXPECT_EQ(add("RUN")->m_strTag, "RUN_1");
    EXPECT_EQ(add("run")->m_strTag, "run_2");
    add("S9");
    EXPECT_EQ(add("S9")->m_strTag, "S9_1");
    EXPECT_EQ(add("")->m_strTag, "Default");
    // A new spectrum gets zeroed contents and is not valid; one with contents is valid.
    EXPECT_EQ(list->At(1)->m_nChannels, 1024);
    EXPECT_EQ(list->At(1)->m_bValid, 0);
}

TEST_F(ListFixture, ActiveAndLiveSpectraCannotBeClosed) {
    CSpectrum* s1 = add("S1", true);
    EXPECT_EQ(list->Close(s1), 0);
    EXPECT_EQ(prompt.messages.back(), "The active spectrum can't be closed!");
    EXPECT_EQ(list->Close(list->At(0)), 0);
    EXPECT_EQ(prompt.messages.back(), "The acquisition spectrum (live_data) can't be closed!");
    EXPECT_FALSE(list->Remove(s1));
    EXPECT_EQ(prompt.messages.back(), "Can not delete active spectrum!");
    EXPECT_EQ(list->GetCount(), 2);
}

TEST_F(ListFixture, RemovingBeforeTheActiveKeepsTheSameSpectrumActive) {
    CSpectrum* s1 = add("S1");
    add("S2");
    CSpectrum* s3 = add("S3", true);
    EXPECT_EQ(list->GetActivePosition(), 3);
    EXPECT_EQ(list->Close(s1), 1);
    EXPECT_EQ(list->GetActivePosition(), 2);
    EXPECT_EQ(list->GetActive(), s3);
}

TEST_F(ListFixture, ClosingAPlainSpectrumWithDependentsAnsweredNoClosesThemAll) {
    CSpectrum* a = add("A");
    CSpectrum* b = add("B");
    addDerived("D1", {a});
    addDerived("D2", {a, b});
    addDerived("D3", {a});
    list->Activate(0);
    prompt.answers = {PromptAnswer::No};
    EXPECT_EQ(list->Close(a), 1);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0],
              "Expressions that depend on A will be closed. Do you want to save them?");
    EXPECT_EQ(list->GetCount(), 2); // live_data and B
    EXPECT_EQ(b->m_linked.GetCount(), 0);
}

TEST_F(ListFixture, YesOffersEachDependentAndCancelStops) {
    CSpectrum* a = add("A");
    addDerived("D1", {a});
    addDerived("D2", {a});
    list->Activate(0);
    std::vector<std::string> saved;
    list->SetSaveAsHandler([&](CSpectrum& s) { saved.push_back(s.m_strTag); });
    prompt.answers = {PromptAnswer::Yes, PromptAnswer::Yes, PromptAnswer::Cancel};
    EXPECT_EQ(list->Close(a), 0);
    EXPECT_EQ(saved, std::vector<std::string>{"D1"});
    EXPECT_EQ(prompt.questions[1], "Save D1?");
    EXPECT_EQ(prompt.questions[2], "Save D2?");
    EXPECT_EQ(list->GetCount(), 3); // D1 closed; A and D2 stay
    EXPECT_EQ(a->m_linked.GetCount(), 1);

    prompt.answers = {PromptAnswer::Cancel};
    EXPECT_EQ(list->Close(a), 0);
    EXPECT_EQ(list->GetCount(), 3);
}

TEST_F(ListFixture, CloseAllClosesDerivedBeforeOperandsWithoutDependencyQuestion) {
    CSpectrum* a = add("A");
    addDerived("D", {a});
    add("C", true);
    prompt.answers = {PromptAnswer::Yes};
    list->CloseAll();
    EXPECT_EQ(prompt.questions.size(), 1u); // only the Close All question
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->GetActivePosition(), 0);

    add("X");
    prompt.answers = {PromptAnswer::No};
    list->CloseAll();
    EXPECT_EQ(list->GetCount(), 2);
}

TEST_F(ListFixture, CloseAllForMcsAsksNothingAndLeavesTheLiveSpectrumActive) {
    // Only the live spectrum, never activated yet: it still becomes the active one.
    list->CloseAll(false);
    EXPECT_EQ(list->GetActivePosition(), 0);

    CSpectrum* a = add("A");
    addDerived("D", {a});
    add("C", true);
    list->CloseAll(false);
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->GetActivePosition(), 0);
}

TEST_F(ListFixture, TwentyFirstSpectrumIsRefusedAndKept) {
    for (int i = 1; i < 20; ++i)
        ASSERT_NE(add("S1"), nullptr);
    ASSERT_EQ(list->GetCount(), 20);
    auto extra = std::make_unique<CSpectrum>(env.slots, 20);
    extra->m_strDescription = "precious";
    EXPECT_EQ(list->Add(extra, true), nullptr);
    ASSERT_NE(extra, nullptr); // still the caller's, nothing lost
    EXPECT_EQ(extra->m_strDescription, "precious");
    EXPECT_EQ(prompt.messages.back(), kSpectraListFullMessage);
    EXPECT_EQ(list->GetCount(), 20);
}

TEST_F(ListFixture, HideShowFlips) {
    add("A");
    list->ToggleHidden(1);
    EXPECT_EQ(list->At(1)->m_bHidden, 1);
    list->ToggleHidden(1);
    EXPECT_EQ(list->At(1)->m_bHidden, 0);
}
