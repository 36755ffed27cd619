// Expression evaluation over a full 16384-channel spectrum, against its limit: a hand-written
// loop computing the same values. The evaluation should stay within 4 times the loop.

#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "analysis/ExpressionProgram.h"

namespace {

constexpr int kChannels = 16384;

struct Data {
    std::vector<double> a, b, out;
    Data() : a(kChannels), b(kChannels), out(kChannels) {
        std::mt19937 rng(7);
        for (int i = 0; i < kChannels; ++i) {
            a[static_cast<size_t>(i)] = static_cast<double>(rng() % 5000);
            b[static_cast<size_t>(i)] = static_cast<double>(rng() % 5000);
        }
    }
};

// The limit: the same arithmetic written out by hand.
void BM_HandWrittenLoop(benchmark::State& state) {
    Data d;
    for (auto _ : state) {
        const double* a = d.a.data();
        const double* b = d.b.data();
        double* out = d.out.data();
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        for (int i = 0; i < kChannels; ++i)
            out[i] = (a[i] - b[i]) * 2;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kChannels);
}
BENCHMARK(BM_HandWrittenLoop);

void evaluate(benchmark::State& state, const char* text) {
    Data d;
    vorna::CExprProgram program;
    if (program.Compile(text, {"A", "B"}) != 0) {
        state.SkipWithError("expression does not compile");
        return;
    }
    program.SetOperand(0, kChannels, d.a.data());
    program.SetOperand(1, kChannels, d.b.data());
    for (auto _ : state) {
        benchmark::DoNotOptimize(program.Evaluate(0, kChannels - 1, d.out.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kChannels);
}

void BM_ExpressionAMinusBTimes2(benchmark::State& state) {
    evaluate(state, "(A-B)*2");
}
BENCHMARK(BM_ExpressionAMinusBTimes2);

// For the record: a smoothed argument that needs its own series.
void BM_ExpressionAPlusSM5B(benchmark::State& state) {
    evaluate(state, "A+SM5(B)");
}
BENCHMARK(BM_ExpressionAPlusSM5B);

} // namespace

BENCHMARK_MAIN();
