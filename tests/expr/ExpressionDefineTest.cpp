#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/RoiStatistics.h"
#include "TestSupport.h"
#include "analysis/ExpressionDefine.h"
#include "analysis/ExpressionProgram.h"
#include "analysis/SmoothCommand.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;

namespace {

struct DefineFixture : ::testing::Test {
    ScriptedPrompt prompt;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;

    void SetUp() override {
        env.prompt = &prompt;
        env.recomputeRoiStatistics = RecomputeAllRoiStatistics;
        list = std::make_unique<CSpectraList>(env);
        list->Add(std::make_unique<CSpectrum>(env.slots, 0), false); // live_data
    }
    // A plain spectrum of 256 channels holding `values` from channel 0.
    CSpectrum* addPlain(const std::string& tag, std::vector<double> values, bool activate = false) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_strTag = tag;
        s->m_nGain = 0;
        s->AllocateData(256);
        std::copy(values.begin(), values.end(), s->m_pData.begin());
        return list->Add(s, activate);
    }
    // Defines a new derived spectrum of 256 channels and adds it, as the definition dialog does.
    CSpectrum* addDerived(const std::string& text) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_bDerived = 1;
        s->m_nGain = 0;
        if (!SetExpression(*list, *s, text))
            return nullptr;
        return list->Add(s, false);
    }
    bool evaluate(CSpectrum* s) {
        return s->Evaluate(env, list->GetActivePosition(), s == list->GetActive());
    }
};

} // namespace

TEST_F(DefineFixture, DefinitionLinksOperandsAndEvaluates) {
    CSpectrum* a = addPlain("A", {5, 7, 9});
    CSpectrum* b = addPlain("B", {1, 1, 1});
    CSpectrum* c = addPlain("C", {});

    EXPECT_EQ(addDerived(""), nullptr);
    EXPECT_EQ(prompt.messages.back(), "Expression must be defined!");
    EXPECT_EQ(addDerived("A ^^ B"), nullptr); // reads as "A B"
    EXPECT_EQ(prompt.messages.back(), "Invalid expression!");

    CSpectrum* d = addDerived("(a - B) * 2");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->m_strExpression, "(a - B) * 2");
    EXPECT_EQ(d->m_bEvalPending, 1);
    EXPECT_TRUE(evaluate(d));
    EXPECT_EQ(d->m_pData[0], 8);
    EXPECT_EQ(d->m_pData[2], 16);
    EXPECT_EQ(d->m_pData[3], 0);
    EXPECT_EQ(d->m_dTotalCounts, 8 + 12 + 16);
    // Linked both ways to what it reads, not to the unused candidate.
    EXPECT_EQ(d->m_linked.GetCount(), 2);
    EXPECT_GE(a->m_linked.Find(d), 0);
    EXPECT_GE(b->m_linked.Find(d), 0);
    EXPECT_EQ(c->m_linked.GetCount(), 0);
    // Candidates are the plain spectra in list order.
    auto* program = dynamic_cast<CExprProgram*>(d->m_pProgram.get());
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->Tags(), (std::vector<std::string>{"live_data", "A", "B", "C"}));

    // A derived spectrum is no operand; a failed redefinition keeps program, text and links.
    CSpectrum* e = addDerived("C + 1");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(addDerived(e->m_strTag + "*2"), nullptr);
    EXPECT_FALSE(SetExpression(*list, *d, "A - " + e->m_strTag));
    EXPECT_EQ(d->m_strExpression, "(a - B) * 2");
    EXPECT_EQ(d->m_pProgram.get(), program);

    // Redefining drops the old operands, so closing one no longer closes this spectrum.
    ASSERT_TRUE(SetExpression(*list, *d, "C*3"));
    EXPECT_LT(a->m_linked.Find(d), 0);
    EXPECT_LT(b->m_linked.Find(d), 0);
    EXPECT_GE(c->m_linked.Find(d), 0);
    EXPECT_EQ(list->Close(a), 1);
    EXPECT_GE(list->PositionOf(d), 0);
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(DefineFixture, EvaluationNeverReadsReplacedOrClosedArrays) {
    CSpectrum* a = addPlain("A", {1, 2, 3});
    CSpectrum* d = addDerived("A*2");
    ASSERT_NE(d, nullptr);
    ASSERT_TRUE(evaluate(d));
    EXPECT_EQ(d->m_pData[1], 4);
    // The operand's array is replaced (a re-read, a new channel count): the next evaluation
    // reads the new one, up to its own length.
    a->m_nGain = 1;
    a->AllocateData(512);
    a->m_nChannels = 512;
    a->m_pData[1] = 50;
    a->m_pData[300] = 7;
    ASSERT_TRUE(evaluate(d));
    EXPECT_EQ(d->m_pData[1], 100);
    EXPECT_EQ(d->m_pData[0], 0);
    EXPECT_EQ(d->m_nChannels, 256);

    // An operand removed behind the dependency rules' back takes its links along; the
    // derived spectrum then fails to evaluate rather than read freed memory.
    ASSERT_TRUE(list->Remove(a));
    EXPECT_EQ(d->m_linked.GetCount(), 0);
    EXPECT_FALSE(evaluate(d));
    EXPECT_EQ(d->m_bValid, 0);

    // Unary plus: defined, never valid.
    CSpectrum* b = addPlain("B", {1});
    (void)b;
    CSpectrum* p = addDerived("+B");
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(evaluate(p));
    EXPECT_EQ(p->m_bValid, 0);
}

TEST_F(DefineFixture, SmoothCommandOnPlainAndDerivedSpectra) {
    CSpectrum* s1 = addPlain("S1", {0, 0, 4, 0, 0}, true);
    s1->m_strFileName = "/data/run1.mca";
    s1->m_dLiveTime = 12.5;
    s1->m_calibrate.Reset();
    AnalysisSettings settings;

    CSpectrum* sm = SmoothActiveSpectrum(*list, settings);
    ASSERT_NE(sm, nullptr);
    EXPECT_EQ(sm->m_strTag, "SM3_S1");
    EXPECT_EQ(sm->m_strExpression, "SM3(S1)");
    EXPECT_EQ(sm->m_strFileName, "/data/run1_SM3.mca");
    EXPECT_EQ(sm->m_bDerived, 1);
    EXPECT_EQ(sm->m_nGain, 0);
    EXPECT_EQ(sm->m_dLiveTime, 12.5);
    EXPECT_EQ(s1->m_bHidden, 1);
    EXPECT_EQ(list->GetActive(), sm);
    ASSERT_TRUE(evaluate(sm));
    EXPECT_EQ(std::vector<double>(sm->m_pData.begin(), sm->m_pData.begin() + 5),
              (std::vector<double>{0, 1, 2.25, 0.5625, 0.140625}));

    // Smoothing the derived spectrum wraps its expression.
    EXPECT_EQ(SmoothActiveSpectrum(*list, settings), sm);
    EXPECT_EQ(sm->m_strExpression, "SM3(SM3(S1))");
    EXPECT_EQ(sm->m_bEvalPending, 1);
    settings.smoothKind = 1;
    EXPECT_EQ(SmoothActiveSpectrum(*list, settings), sm);
    EXPECT_EQ(sm->m_strExpression, "SM5(SM3(SM3(S1)))");

    // File names keep drive, folder and extension.
    CSpectrum* w = addPlain("W", {}, true);
    w->m_strFileName = "C:\\spectra\\fe55.mca";
    CSpectrum* sw = SmoothActiveSpectrum(*list, settings);
    ASSERT_NE(sw, nullptr);
    EXPECT_EQ(sw->m_strFileName, "C:\\spectra\\fe55_SM5.mca");
    EXPECT_EQ(sw->m_strTag, "SM5_W");
}

TEST_F(DefineFixture, SmoothingIntoAFullListChangesNothing) {
    CSpectrum* s1 = addPlain("S1", {1, 2, 3}, true);
    while (list->GetCount() < CSpectraArray::kCapacity)
        addPlain("X", {});
    list->Activate(1);
    EXPECT_EQ(SmoothActiveSpectrum(*list, AnalysisSettings{}), nullptr);
    EXPECT_EQ(prompt.messages.back(), kSpectraListFullMessage);
    EXPECT_EQ(s1->m_bHidden, 0);
    EXPECT_EQ(s1->m_linked.GetCount(), 0); // the refused spectrum left no link behind
    EXPECT_EQ(list->GetCount(), CSpectraArray::kCapacity);
}
