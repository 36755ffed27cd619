#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/ExpressionLexer.h"
#include "analysis/ExpressionProgram.h"

using namespace vorna;

namespace {

std::vector<std::pair<ExprTokenKind, std::string>> lex(const std::string& text) {
    ExpressionLexer lexer(text);
    std::vector<std::pair<ExprTokenKind, std::string>> out;
    for (;;) {
        ExprToken t = lexer.Next();
        if (t.kind == ExprTokenKind::End)
            return out;
        out.emplace_back(t.kind, t.text);
    }
}

// The compiled code as (opcode, argument) pairs.
std::vector<std::pair<int, int>> code(const CExprProgram& p) {
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < p.InstructionCount(); ++i)
        out.emplace_back(expr::OpcodeOf(p.Instruction(i)), expr::ArgumentOf(p.Instruction(i)));
    return out;
}

const std::vector<std::string> kTags{"live_data", "A", "B"}; // A is operand 1 (opcode 18)

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

} // namespace

TEST(ExpressionLexer, LongestMatchCaseAndDroppedCharacters) {
    using K = ExprTokenKind;
    // Keywords only when nothing longer matches; letters are upper-cased.
    EXPECT_EQ(lex("sin sinx Chan channel sm3 _x1"),
              (std::vector<std::pair<K, std::string>>{{K::Func, "SIN"},
                                                      {K::Tag, "SINX"},
                                                      {K::Chan, "CHAN"},
                                                      {K::Tag, "CHANNEL"},
                                                      {K::Func, "SM3"},
                                                      {K::Tag, "_X1"}}));
    // Number forms; 1E is the number 1 followed by the name E.
    EXPECT_EQ(lex("12 12. 12.5 .5 1.5e-3 1E 2e+4"),
              (std::vector<std::pair<K, std::string>>{{K::Number, "12"},
                                                      {K::Number, "12."},
                                                      {K::Number, "12.5"},
                                                      {K::Number, ".5"},
                                                      {K::Number, "1.5E-3"},
                                                      {K::Number, "1"},
                                                      {K::Tag, "E"},
                                                      {K::Number, "2E+4"}}));
    // Characters no token starts with vanish; a NUL ends the text.
    EXPECT_EQ(lex("A$^[,"), (std::vector<std::pair<K, std::string>>{{K::Tag, "A"}}));
    EXPECT_EQ(lex("2^3"),
              (std::vector<std::pair<K, std::string>>{{K::Number, "2"}, {K::Number, "3"}}));
    EXPECT_EQ(lex(std::string("A\0B", 3)), (std::vector<std::pair<K, std::string>>{{K::Tag, "A"}}));
    // 99 characters is the longest token.
    EXPECT_EQ(lex(std::string(99, 'x')).at(0).first, K::Tag);
    EXPECT_EQ(lex(std::string(100, 'x')).at(0).first, K::TooLong);
    EXPECT_EQ(lex(std::string(100, '7')).at(0).first, K::TooLong);
}

TEST(ExpressionCompile, PostfixCodeWithPrecedence) {
    CExprProgram p;
    ASSERT_EQ(p.Compile("A-B*2", kTags), 0);
    EXPECT_EQ(code(p),
              (std::vector<std::pair<int, int>>{{18, 0}, {19, 0}, {0, 0}, {5, 0}, {4, 0}}));
    EXPECT_EQ(p.Constant(0), 2.0);
    EXPECT_EQ(p.MaxDepth(), 3);

    // Unary minus binds weaker than * : -A*B is -(A*B); --A negates twice.
    ASSERT_EQ(p.Compile("-A*B", kTags), 0);
    EXPECT_EQ(code(p), (std::vector<std::pair<int, int>>{{18, 0}, {19, 0}, {5, 0}, {2, 0}}));
    ASSERT_EQ(p.Compile("--A", kTags), 0);
    EXPECT_EQ(code(p), (std::vector<std::pair<int, int>>{{18, 0}, {2, 0}, {2, 0}}));
    ASSERT_EQ(p.Compile("sin(chan)", kTags), 0);
    EXPECT_EQ(code(p), (std::vector<std::pair<int, int>>{{16, 0}, {7, 0}}));
    // Left associative; unary plus compiles to opcode 1.
    ASSERT_EQ(p.Compile("A-B-1.5E1/+a", kTags), 0);
    EXPECT_EQ(code(p), (std::vector<std::pair<int, int>>{
                           {18, 0}, {19, 0}, {4, 0}, {0, 0}, {18, 0}, {1, 0}, {6, 0}, {4, 0}}));
    EXPECT_EQ(p.Constant(0), 15.0);
    // Tags match without regard to case; the first matching candidate wins.
    ASSERT_EQ(p.Compile("a + 1", {"x", "A", "a"}), 0);
    EXPECT_EQ(code(p)[0].first, 18);
    EXPECT_EQ(p.Text(), "a + 1");
    EXPECT_EQ(p.OperandCount(), 3);
    EXPECT_TRUE(p.UsesOperand(1));
    EXPECT_FALSE(p.UsesOperand(2));
}

TEST(ExpressionCompile, RejectedTextsLeaveTheProgramAlone) {
    CExprProgram p;
    ASSERT_EQ(p.Compile("A*2", kTags), 0);
    for (const char* bad : {"A B", "", "SIN A", "(A", "A)", "A+", "SM3()", "C", "2^(", "1E"}) {
        EXPECT_EQ(p.Compile(bad, kTags), 1) << bad;
    }
    EXPECT_EQ(p.Compile("C+1", kTags), 1);
    EXPECT_EQ(p.ErrorText(), "Tag C is not defined");
    EXPECT_EQ(p.Compile("A+" + std::string(100, 'B'), {"A", std::string(100, 'B')}), 1);
    EXPECT_EQ(p.Text(), "A*2");
    EXPECT_EQ(code(p), (std::vector<std::pair<int, int>>{{18, 0}, {0, 0}, {5, 0}}));
    // Dropped characters: A$ is A.
    EXPECT_EQ(p.Compile("A$", kTags), 0);
    EXPECT_EQ(code(p), (std::vector<std::pair<int, int>>{{18, 0}}));
}

TEST(ExpressionCompile, CodeConstantAndParserLimits) {
    CExprProgram p;
    // 75 literals summed take 149 instructions; one negation more is the 150th.
    std::string sum = "1" + repeat("+1", 74);
    EXPECT_EQ(p.Compile(sum, kTags), 0);
    EXPECT_EQ(p.Compile("-(" + sum + ")", kTags), 0);
    EXPECT_EQ(p.InstructionCount(), 150);
    EXPECT_EQ(p.Compile("--(" + sum + ")", kTags), 1);
    EXPECT_EQ(p.ErrorText(), "Code size overflow");
    // 100 literals always need 99 operators, beyond the code limit.
    EXPECT_EQ(p.Compile("1" + repeat("+1", 99), kTags), 1);
    EXPECT_EQ(p.ErrorText(), "Code size overflow");
    // Nesting keeps pushes pending, so the 101st literal arrives within the code limit.
    std::string pending = repeat("1+1*(", 26);
    std::string inner = "1" + repeat("+1", 48); // 49 literals, 101 in all
    EXPECT_EQ(p.Compile(pending + inner + repeat(")", 26), kTags), 1);
    EXPECT_EQ(p.ErrorText(), "Data size overflow");

    // The parser's state stack holds 150 states: 147 parentheses around a name need exactly
    // that many (start, 147 parentheses, the expression and its closing parenthesis).
    EXPECT_EQ(p.Compile(repeat("(", 147) + "A" + repeat(")", 147), kTags), 0);
    EXPECT_EQ(p.Compile(repeat("(", 148) + "A" + repeat(")", 148), kTags), 1);
    // 149 signs before a name would compile to 150 words, but need 151 states.
    EXPECT_EQ(p.Compile(repeat("-", 148) + "A", kTags), 0);
    EXPECT_EQ(p.Compile(repeat("-", 149) + "A", kTags), 1);
}

// Compilations on different threads share no parser state.
TEST(ExpressionCompile, ThreadsCompileIndependently) {
    const std::vector<std::string> texts{"A-B*2", "SM3(A)+SIN(CHAN)/B", "-(A*B)-(1.5+B)",
                                         "((((A))))*EXP(B)"};
    std::vector<std::vector<std::pair<int, int>>> expected;
    for (const std::string& t : texts) {
        CExprProgram p;
        ASSERT_EQ(p.Compile(t, kTags), 0);
        expected.push_back(code(p));
    }
    std::vector<int> mismatches(texts.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < texts.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 300; ++round) {
                CExprProgram p;
                if (p.Compile(texts[t], kTags) != 0 || code(p) != expected[t])
                    ++mismatches[t];
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    EXPECT_EQ(mismatches, std::vector<int>(texts.size(), 0));
}
