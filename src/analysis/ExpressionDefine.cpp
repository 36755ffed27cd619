#include "analysis/ExpressionDefine.h"

#include <memory>
#include <mutex>
#include <vector>

#include "analysis/ExpressionProgram.h"
#include "common/UserPrompt.h"
#include "spectrum/CSpectraList.h"

namespace vorna {
namespace {

void show(CSpectraList& list, const char* text) {
    if (UserPrompt* prompt = list.Environment().prompt)
        prompt->message(text, PromptStyle::Warning);
}

} // namespace

bool SetExpression(CSpectraList& list, CSpectrum& target, const std::string& text) {
    if (text.empty()) {
        show(list, kExpressionMissingMessage);
        return false;
    }
    std::vector<CSpectrum*> candidates;
    std::vector<std::string> tags;
    {
        auto guard = list.Lock();
        for (int i = 0; i < list.GetCount(); ++i) {
            CSpectrum* s = list[i];
            if (s->m_bDerived)
                continue;
            candidates.push_back(s);
            tags.push_back(s->m_strTag);
        }
    }
    auto program = std::make_unique<CExprProgram>();
    if (program->Compile(text, tags) != 0) {
        show(list, kExpressionInvalidMessage);
        return false;
    }
    std::vector<CSpectrum*> used;
    for (int k = 0; k < static_cast<int>(candidates.size()); ++k) {
        if (!program->UsesOperand(k))
            continue;
        CSpectrum* operand = candidates[static_cast<size_t>(k)];
        program->BindOperand(k, operand);
        if (operand != &target)
            used.push_back(operand);
    }

    // Links are walked by other threads (an upload requests its dependents' evaluation), so
    // they change under the list lock.
    auto listGuard = list.Lock();
    // A spectrum that no longer reads an operand must not stay among its dependents, or
    // closing that operand would close it too.
    for (int i = 0; i < target.m_linked.GetCount(); ++i)
        if (CSpectrum* old = target.m_linked[i]; old != &target)
            old->m_linked.Remove(&target);
    target.SetProgram(std::move(program), text, used);
    for (CSpectrum* operand : used)
        if (operand->m_linked.Find(&target) < 0)
            operand->m_linked.Add(&target);
    return true;
}

} // namespace vorna
