#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "TestSupport.h"
#include "analysis/ExpressionDefine.h"
#include "appcore/CUpdateThread.h"
#include "appcore/SpectrumCommands.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;

namespace {

struct WorkerFixture : ::testing::Test {
    ScriptedPrompt prompt;
    SpectrumEnvironment env;
    std::unique_ptr<CSpectraList> list;
    std::atomic<int> redraws{0};
    std::unique_ptr<CUpdateThread> worker;

    void SetUp() override {
        env.prompt = &prompt;
        list = std::make_unique<CSpectraList>(env);
        worker = std::make_unique<CUpdateThread>(*list, [this] { ++redraws; });
        env.updateSignal = worker.get();
        auto live = std::make_unique<CSpectrum>(env.slots, 0);
        list->Add(live, true);
    }
    void TearDown() override {
        worker->Stop();
        env.updateSignal = nullptr;
    }
    CSpectrum* AddPlain(const std::string& tag, double value) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_strTag = tag;
        s->m_nGain = 0;
        s->AllocateData(256);
        std::fill(s->m_pData.begin(), s->m_pData.end(), value);
        return list->Add(s, false);
    }
    CSpectrum* AddDerived(const std::string& tag, const std::string& expression) {
        auto s = std::make_unique<CSpectrum>(env.slots, list->GetCount());
        s->m_strTag = tag;
        s->m_nGain = 0;
        s->m_bDerived = 1;
        EXPECT_TRUE(SetExpression(*list, *s, expression));
        return list->Add(s, false);
    }
    // Waits until the worker has nothing left to do.
    bool WaitIdle(CSpectrum* s) {
        for (int i = 0; i < 2000; ++i) {
            {
                auto g = s->Lock();
                if (!s->m_bRedrawPending && !s->m_bEvalPending)
                    return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }
};

} // namespace

TEST_F(WorkerFixture, EvaluatesDerivedSpectraRecomputesTotalsAndRedrawsOncePerBatch) {
    CSpectrum* a = AddPlain("A", 2.0);
    CSpectrum* b = AddPlain("B", 3.0);
    CSpectrum* d = AddDerived("D", "A+B");
    ASSERT_TRUE(WaitIdle(d));
    {
        auto g = d->Lock();
        ASSERT_TRUE(d->m_bValid);
        EXPECT_DOUBLE_EQ(d->m_pData[10], 5.0);
    }
    // New data in an operand: mark the dependent and the worker brings it up to date.
    {
        auto g = a->Lock();
        std::fill(a->m_pData.begin(), a->m_pData.end(), 10.0);
    }
    const int before = redraws.load();
    d->RequestEvaluation(env);
    ASSERT_TRUE(WaitIdle(d));
    for (int i = 0; i < 200 && redraws.load() == before; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    auto g = d->Lock();
    EXPECT_DOUBLE_EQ(d->m_pData[10], 13.0);
    EXPECT_GT(d->m_dTotalCounts, 0.0);
    EXPECT_GE(redraws.load(), before + 1);
    (void)b;
}

// Closing operands while the worker keeps evaluating the spectrum that reads them: the
// evaluation must never see an operand half removed (run under ThreadSanitizer too).
TEST_F(WorkerFixture, CloseAllWhileADerivedSpectrumIsEvaluatedIsSafe) {
    for (int round = 0; round < 30; ++round) {
        AddPlain("A", 1.0);
        AddPlain("B", 2.0);
        CSpectrum* d = AddDerived("D", "A*B+A");
        std::atomic<bool> stop{false};
        std::thread requester([&] {
            while (!stop) {
                {
                    auto g = list->Lock();
                    if (list->PositionOf(d) < 0)
                        break;
                    d->RequestEvaluation(env);
                }
                std::this_thread::yield();
            }
        });
        prompt.answers = {PromptAnswer::Yes, PromptAnswer::No};
        CloseAllSpectra(*list, true);
        stop = true;
        requester.join();
        ASSERT_EQ(list->GetCount(), 1) << "round " << round;
    }
}

TEST_F(WorkerFixture, ClosingAnOperandClosesItsDependentsUnderTheLock) {
    CSpectrum* a = AddPlain("A", 1.0);
    AddPlain("B", 2.0);
    AddDerived("D", "A-B");
    prompt.answers = {PromptAnswer::No};
    EXPECT_EQ(CloseSpectrum(*list, a), 1);
    EXPECT_EQ(list->GetCount(), 2);
    EXPECT_EQ(list->FindTag("D"), nullptr);
    EXPECT_EQ(prompt.questions.size(), 1u);
}
