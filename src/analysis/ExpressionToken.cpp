#include "analysis/ExpressionToken.h"

#include "common/NumberText.h"

namespace vorna {
namespace {

// Tags compare without regard to case, ASCII only, whatever the process locale.
bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

int expr::StackEffect(int opcode) {
    if (opcode == kPushConstant || opcode == kChan || opcode >= kFirstOperand)
        return 1;
    if (opcode >= kAdd && opcode <= kDivide)
        return -1;
    return 0;
}

ExprToken CToken::NextToken() {
    ExprToken token = m_lexer.Next();
    m_current = token.text;
    return token;
}

void CToken::Emit(int opcode, int argument) {
    if (m_codeCount >= kMaxCode)
        throw CExprException("Code size overflow");
    m_code[static_cast<size_t>(m_codeCount++)] = expr::MakeInstruction(opcode, argument);
    m_depth += expr::StackEffect(opcode);
    if (m_depth > m_maxDepth)
        m_maxDepth = m_depth;
}

void CToken::EmitConstant(double value) {
    if (m_constantCount >= kMaxConstants)
        throw CExprException("Data size overflow");
    int index = m_constantCount++;
    m_constants[static_cast<size_t>(index)] = value;
    Emit(expr::kPushConstant, index);
}

bool CToken::EmitTag(const std::string& name) {
    for (size_t k = 0; k < m_tags.size(); ++k) {
        if (sameName(m_tags[k], name)) {
            Emit(expr::kFirstOperand + static_cast<int>(k));
            return true;
        }
    }
    SetError(Format("Tag %s is not defined", name.c_str()));
    return false;
}

int CToken::KeepName(const std::string& name) {
    m_names.push_back(name);
    return static_cast<int>(m_names.size() - 1);
}

double CToken::NumberValue(const std::string& text) {
    // The lexer only passes decimal number text, which converts completely.
    return ScanDouble(text).value_or(0.0);
}

} // namespace vorna
