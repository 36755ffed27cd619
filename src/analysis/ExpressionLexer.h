#pragma once
// Splits an expression text into tokens. Letters are upper-cased as they are read, the longest
// match wins (a keyword only when nothing longer matches, so SINX is a name), blanks separate
// tokens and any character no token can start with is dropped silently.

#include <cstddef>
#include <string>
#include <string_view>

namespace vorna {

enum class ExprTokenKind {
    End,     // the end of the text
    Number,  // 12, 12., 12.5, .5, 1.5E-3
    LParen,  // (
    RParen,  // )
    AddOp,   // + or -
    MulOp,   // * or /
    Func,    // SIN COS TAN SQRT LOG EXP STEP SM3 SM5
    Chan,    // CHAN
    Tag,     // a spectrum's tag
    TooLong, // a token of more than kMaxTokenLength characters
};

struct ExprToken {
    ExprTokenKind kind = ExprTokenKind::End;
    int opcode = 0;   // AddOp, MulOp, Func and Chan: the instruction they stand for
    std::string text; // upper-cased token text
};

class ExpressionLexer {
public:
    // The token text buffer holds 100 characters with its terminator.
    static constexpr std::size_t kMaxTokenLength = 99;

    // The text ends at its end or at a NUL character, as a C string would.
    explicit ExpressionLexer(std::string_view text) : m_text(text) {}

    ExprToken Next();

private:
    char At(std::size_t i) const;
    std::size_t MatchNumber(std::size_t start) const;
    std::size_t MatchName(std::size_t start) const;

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace vorna
