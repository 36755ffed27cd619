#pragma once
// The compiler's working state for one expression: the lexer, the current token text, the code
// and constant buffers with their limits, the operand stack depth the code reaches, and the
// candidate tags names are resolved against.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/ExpressionLexer.h"

namespace vorna {

// A compiled expression outgrew one of its fixed buffers.
class CExprException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Instruction words: bits 0..15 the opcode (signed), bits 16..31 the argument.
namespace expr {
enum Opcode : int {
    kPushConstant = 0,
    kUnaryPlus = 1, // accepted by the grammar but has no evaluation
    kNegate = 2,
    kAdd = 3,
    kSubtract = 4,
    kMultiply = 5,
    kDivide = 6,
    kSin = 7,
    kCos = 8,
    kTan = 9,
    kSqrt = 10,
    kLog = 11,
    kExp = 12,
    kStep = 13, // accepted by the grammar but has no evaluation
    kSM3 = 14,
    kSM5 = 15,
    kChan = 16,
    kFirstOperand = 17, // 17 + k pushes candidate k's count
};

inline uint32_t MakeInstruction(int opcode, int argument) {
    return static_cast<uint32_t>(static_cast<uint16_t>(opcode)) |
           (static_cast<uint32_t>(static_cast<uint16_t>(argument)) << 16);
}
inline int OpcodeOf(uint32_t instruction) {
    return static_cast<int16_t>(instruction & 0xFFFFu);
}
inline int ArgumentOf(uint32_t instruction) {
    return static_cast<int>(instruction >> 16);
}
// The operand-stack change an instruction causes (smoothing replaces its argument series).
int StackEffect(int opcode);
} // namespace expr

class CToken {
public:
    static constexpr int kMaxCode = 150;
    static constexpr int kMaxConstants = 100;

    CToken(const std::string& text, const std::vector<std::string>& tags)
        : m_lexer(text), m_tags(tags) {}

    // Next token for the parser; keeps its text as the current token.
    ExprToken NextToken();

    // Code generation as rules are reduced. Emit and AddConstant throw CExprException at
    // their limits.
    void Emit(int opcode, int argument = 0);
    void EmitConstant(double value);
    // False (and the reason kept) when the name is no candidate's tag.
    bool EmitTag(const std::string& name);

    // Names wait on the parser's value stack as indexes until their rule is reduced.
    int KeepName(const std::string& name);
    bool EmitTagAt(int nameIndex) { return EmitTag(m_names[static_cast<size_t>(nameIndex)]); }
    // The number a NUMBER token stands for (decimal conversion, never the process locale).
    static double NumberValue(const std::string& text);
    // The end of the text is a token of its own; after it the parser sees the end of input.
    bool EndDelivered() const { return m_endDelivered; }
    void SetEndDelivered() { m_endDelivered = true; }

    void SetError(const std::string& text) {
        if (m_error.empty())
            m_error = text;
    }
    const std::string& Error() const { return m_error; }
    const std::string& CurrentText() const { return m_current; }

    const uint32_t* Code() const { return m_code.data(); }
    int CodeCount() const { return m_codeCount; }
    const double* Constants() const { return m_constants.data(); }
    int ConstantCount() const { return m_constantCount; }
    int MaxDepth() const { return m_maxDepth; }

private:
    ExpressionLexer m_lexer;
    const std::vector<std::string>& m_tags;
    std::string m_current;
    std::string m_error;
    std::vector<std::string> m_names;
    bool m_endDelivered = false;
    std::array<uint32_t, kMaxCode> m_code{};
    int m_codeCount = 0;
    std::array<double, kMaxConstants> m_constants{};
    int m_constantCount = 0;
    int m_depth = 0;
    int m_maxDepth = 0;
};

// Runs the generated parser over the context's text: 0 when the text is accepted, else nonzero
// (reason in ctx.Error()). A full code or constant buffer throws CExprException.
int ParseExpression(CToken& ctx);

} // namespace vorna
