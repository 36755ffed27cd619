#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ReferenceEvaluator.h"
#include "analysis/ExpressionProgram.h"

using namespace vorna;
using vorna::test::referenceEvaluate;
using vorna::test::sameSeries;

namespace {

// A program over operands A, B, C (candidates 0..2) bound to the given series.
struct Bench {
    std::vector<std::vector<double>> operands;
    CExprProgram program;

    int compile(const std::string& text) {
        int status = program.Compile(text, {"A", "B", "C"});
        if (status == 0)
            for (int k = 0; k < 3; ++k)
                program.SetOperand(k, static_cast<int>(operands[k].size()), operands[k].data());
        return status;
    }
    std::vector<double> run(int n, int* status = nullptr, double fill = -7.0) {
        std::vector<double> out(static_cast<size_t>(n), fill);
        int s = program.Evaluate(0, n - 1, out.data());
        if (status)
            *status = s;
        return out;
    }
};

} // namespace

TEST(ExpressionEvaluate, ChannelsFunctionsAndShortOperands) {
    Bench b;
    b.operands = {{4, 4, 4}, {1, 2}, {}};
    ASSERT_EQ(b.compile("sin(chan)"), 0);
    std::vector<double> v = b.run(600);
    for (int i = 0; i < 600; ++i)
        ASSERT_EQ(v[static_cast<size_t>(i)], std::sin(static_cast<double>(i))) << i;

    // An operand shorter than the result contributes 0 where it has no channel.
    ASSERT_EQ(b.compile("A*10+B"), 0);
    EXPECT_EQ(b.run(4), (std::vector<double>{41, 42, 40, 0}));

    // Division by zero and domain errors do not stop the evaluation.
    ASSERT_EQ(b.compile("1/(chan-1)"), 0);
    int status = 0;
    v = b.run(4, &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(v, (std::vector<double>{-1, std::numeric_limits<double>::infinity(), 1, 0.5}));
    ASSERT_EQ(b.compile("sqrt(chan-2)*log(chan)"), 0);
    v = b.run(4, &status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(std::isnan(v[0]) && std::isnan(v[1]));
    EXPECT_EQ(v[2], 0.0);
    EXPECT_EQ(v[3], std::log(3.0));

    // A spectrum computed from itself reads every operand value before its channel changes.
    ASSERT_EQ(b.compile("2*A + A*CHAN"), 0);
    std::vector<double> self(300, 3.0);
    b.program.SetOperand(0, 300, self.data());
    ASSERT_EQ(b.program.Evaluate(0, 299, self.data()), 1);
    EXPECT_EQ(self[0], 6);
    EXPECT_EQ(self[299], 6 + 3 * 299);

    // Unary plus and STEP compile but never evaluate; the values stay as they were.
    for (const char* text : {"+A", "STEP(A)", "A*SM3(+B)"}) {
        ASSERT_EQ(b.compile(text), 0) << text;
        v = b.run(3, &status);
        EXPECT_EQ(status, 0) << text;
        EXPECT_EQ(v, (std::vector<double>{-7, -7, -7})) << text;
    }
}

TEST(ExpressionEvaluate, SmoothingPasses) {
    Bench b;
    b.operands = {{4, 4, 4}, {3, 5}, {0, 0, 4, 0, 0}};
    // Left neighbours are the smoothed values.
    ASSERT_EQ(b.compile("SM3(A)"), 0);
    EXPECT_EQ(b.run(3), (std::vector<double>{3, 3.75, 2.9375}));
    ASSERT_EQ(b.compile("SM3(B)"), 0);
    EXPECT_EQ(b.run(2), (std::vector<double>{3, 5}));
    // Smoothed first, then doubled; nested smoothing smooths the smoothed series.
    ASSERT_EQ(b.compile("SM3(A)*2"), 0);
    EXPECT_EQ(b.run(3), (std::vector<double>{6, 7.5, 5.875}));
    ASSERT_EQ(b.compile("SM3(SM3(C))"), 0);
    std::vector<double> twice{0, 0, 4, 0, 0};
    SmoothRange(twice.data(), 0, 4, 0);
    SmoothRange(twice.data(), 0, 4, 0);
    EXPECT_EQ(b.run(5), twice);

    // Smoothing that is not the first thing computed keeps the values below it intact.
    ASSERT_EQ(b.compile("2*SM3(A)"), 0);
    EXPECT_EQ(b.run(3), (std::vector<double>{6, 7.5, 5.875}));
    ASSERT_EQ(b.compile("C+SM3(A)"), 0);
    EXPECT_EQ(b.run(5), (std::vector<double>{3, 3.75, 6.9375, 0.734375, 0.18359375}));

    // A range inside the array: only first..last are computed and smoothed.
    ASSERT_EQ(b.compile("SM3(C)"), 0);
    std::vector<double> v{9, 9, 9, 9, 9, 9, 9};
    ASSERT_EQ(b.program.Evaluate(1, 5, v.data()), 1);
    EXPECT_EQ(v, (std::vector<double>{9, 1, 2.25, 0.5625, 0.140625, 0.03515625, 9}));
}

// Random expressions, evaluated block by block across block boundaries, must agree channel by
// channel with the plain whole-series evaluation.
TEST(ExpressionEvaluate, AgreesWithPlainEvaluationOnRandomExpressions) {
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const char* funcs[] = {"SIN", "COS", "TAN", "SQRT", "LOG", "EXP", "SM3", "SM5", "SM3", "SM5"};
    auto gen = [&](auto& self, int depth) -> std::string {
        int choice = depth <= 0 ? pick(4) : pick(10);
        switch (choice) {
        case 0:
            return std::string(1, static_cast<char>('A' + pick(3)));
        case 1:
            return std::to_string(pick(7)) + (pick(2) ? ".5" : "");
        case 2:
            return "CHAN";
        case 3:
            return "B";
        case 4:
            return "-" + self(self, depth - 1);
        case 5:
            return "(" + self(self, depth - 1) + ")";
        case 6:
        case 7:
            return std::string(funcs[pick(10)]) + "(" + self(self, depth - 1) + ")";
        default: {
            const char* ops[] = {"+", "-", "*", "/"};
            return self(self, depth - 1) + ops[pick(4)] + self(self, depth - 1);
        }
        }
    };
    Bench b;
    const int n = 700; // crosses two block boundaries
    b.operands.resize(3);
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < n - 200 + 150 * k; ++i)
            b.operands[static_cast<size_t>(k)].push_back(static_cast<double>(pick(1000)) / 7.0);
    int compiled = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text = gen(gen, 1 + pick(6));
        if (b.compile(text) != 0)
            continue; // over a limit
        ++compiled;
        std::vector<double> expected;
        ASSERT_TRUE(referenceEvaluate(b.program, b.operands, n, expected)) << text;
        int status = 0;
        std::vector<double> got = b.run(n, &status);
        ASSERT_EQ(status, 1) << text;
        ASSERT_TRUE(sameSeries(got.data(), expected.data(), n)) << text;
    }
    EXPECT_GT(compiled, 300);
}
