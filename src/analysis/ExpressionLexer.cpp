#include "analysis/ExpressionLexer.h"

#include <array>

namespace vorna {
namespace {

// ASCII only: the text is 8-bit and the process locale must not change what a letter is.
char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || c == '_';
}
bool isNameChar(char c) {
    return isNameStart(c) || isDigit(c);
}

struct Keyword {
    const char* name;
    ExprTokenKind kind;
    int opcode;
};
constexpr std::array<Keyword, 10> kKeywords{{{"SIN", ExprTokenKind::Func, 7},
                                             {"COS", ExprTokenKind::Func, 8},
                                             {"TAN", ExprTokenKind::Func, 9},
                                             {"SQRT", ExprTokenKind::Func, 10},
                                             {"LOG", ExprTokenKind::Func, 11},
                                             {"EXP", ExprTokenKind::Func, 12},
                                             {"STEP", ExprTokenKind::Func, 13},
                                             {"SM3", ExprTokenKind::Func, 14},
                                             {"SM5", ExprTokenKind::Func, 15},
                                             {"CHAN", ExprTokenKind::Chan, 16}}};

} // namespace

char ExpressionLexer::At(std::size_t i) const {
    return i < m_text.size() ? upper(m_text[i]) : '\0';
}

// Digits with an optional fraction, or a fraction alone, then an optional exponent that only
// counts when it has digits (1E is the number 1 followed by the name E). Returns the length.
std::size_t ExpressionLexer::MatchNumber(std::size_t start) const {
    std::size_t i = start;
    bool digits = false;
    while (isDigit(At(i))) {
        ++i;
        digits = true;
    }
    if (At(i) == '.') {
        std::size_t j = i + 1;
        bool fraction = false;
        while (isDigit(At(j))) {
            ++j;
            fraction = true;
        }
        if (digits || fraction) {
            i = j;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (At(i) == 'E') {
        std::size_t j = i + 1;
        if (At(j) == '+' || At(j) == '-')
            ++j;
        if (isDigit(At(j))) {
            while (isDigit(At(j)))
                ++j;
            i = j;
        }
    }
    return i - start;
}

std::size_t ExpressionLexer::MatchName(std::size_t start) const {
    if (!isNameStart(At(start)))
        return 0;
    std::size_t i = start + 1;
    while (isNameChar(At(i)))
        ++i;
    return i - start;
}

ExprToken ExpressionLexer::Next() {
    ExprToken token;
    for (;;) {
        char c = At(m_pos);
        if (c == '\0') {
            token.kind = ExprTokenKind::End;
            return token;
        }
        std::size_t length = 0;
        if ((length = MatchNumber(m_pos)) > 0) {
            token.kind = ExprTokenKind::Number;
        } else if ((length = MatchName(m_pos)) > 0) {
            token.kind = ExprTokenKind::Tag;
        } else {
            length = 1;
            switch (c) {
            case '(':
                token.kind = ExprTokenKind::LParen;
                break;
            case ')':
                token.kind = ExprTokenKind::RParen;
                break;
            case '+':
            case '-':
                token.kind = ExprTokenKind::AddOp;
                token.opcode = c == '+' ? 3 : 4;
                break;
            case '*':
            case '/':
                token.kind = ExprTokenKind::MulOp;
                token.opcode = c == '*' ? 5 : 6;
                break;
            default:
                // Blanks separate tokens; anything else matches no rule and is dropped.
                ++m_pos;
                continue;
            }
        }
        token.text.reserve(length);
        for (std::size_t i = 0; i < length; ++i)
            token.text += At(m_pos + i);
        m_pos += length;
        if (length > kMaxTokenLength) {
            token.kind = ExprTokenKind::TooLong;
            return token;
        }
        if (token.kind == ExprTokenKind::Tag) {
            for (const Keyword& k : kKeywords) {
                if (token.text == k.name) {
                    token.kind = k.kind;
                    token.opcode = k.opcode;
                    break;
                }
            }
        }
        return token;
    }
}

} // namespace vorna
