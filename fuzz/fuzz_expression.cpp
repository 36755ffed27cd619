// Expression compiler and evaluator on arbitrary text: compilation must stay within its limits
// and every accepted program must evaluate exactly as the plain whole-series evaluation does.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "../tests/expr/ReferenceEvaluator.h"
#include "analysis/ExpressionProgram.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Longer texts only repeat what the limits already cut off.
    if (size > 4096)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    static const std::vector<std::string> tags{"live_data", "S1", "A", "b_2"};
    // Operands shorter and longer than the result, and one with no channels at all.
    static const std::vector<std::vector<double>> operands = [] {
        std::vector<std::vector<double>> o{std::vector<double>(256), std::vector<double>(300),
                                           std::vector<double>(), std::vector<double>(600)};
        for (size_t k = 0; k < o.size(); ++k)
            for (size_t i = 0; i < o[k].size(); ++i)
                o[k][i] = static_cast<double>((i * 37 + k * 11) % 101) - 20.0;
        return o;
    }();

    vorna::CExprProgram program;
    if (program.Compile(text, tags) != 0) {
        check(program.InstructionCount() == 0 && !program.ErrorText().empty());
        return 0;
    }
    check(program.InstructionCount() >= 1 && program.InstructionCount() <= 150);
    check(program.ConstantCount() <= 100);
    check(program.MaxDepth() >= 1 && program.MaxDepth() <= program.InstructionCount());
    for (int i = 0; i < program.InstructionCount(); ++i) {
        int op = vorna::expr::OpcodeOf(program.Instruction(i));
        check(op >= 0 && op < vorna::expr::kFirstOperand + static_cast<int>(tags.size()));
        if (op == vorna::expr::kPushConstant)
            check(vorna::expr::ArgumentOf(program.Instruction(i)) < program.ConstantCount());
    }
    for (size_t k = 0; k < operands.size(); ++k)
        program.SetOperand(static_cast<int>(k), static_cast<int>(operands[k].size()),
                           operands[k].empty() ? nullptr : operands[k].data());

    const int n = 520;
    std::vector<double> expected;
    const bool referenceOk = vorna::test::referenceEvaluate(program, operands, n, expected);
    std::vector<double> got(n, 0.0);
    const bool ok = program.Evaluate(0, n - 1, got.data()) == 1;
    check(ok == referenceOk);
    if (ok)
        check(vorna::test::sameSeries(got.data(), expected.data(), n));
    return 0;
}
