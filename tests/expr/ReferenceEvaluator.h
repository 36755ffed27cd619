#pragma once
// A second, deliberately plain evaluator of compiled expression code: it rebuilds the tree from
// the postfix code and computes every node as a whole series, so a smoothed argument is always
// computed on its own. Tests and the fuzz target compare the program's evaluation against it.

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/ExpressionProgram.h"
#include "analysis/Smoothing.h"

namespace vorna::test {

struct ReferenceNode {
    int op = 0;
    int arg = 0;
    std::vector<int> children;
};

// Channels 0..n-1; operands[k] is candidate k's counts (channels beyond its size read 0).
// False when the code holds unary plus, STEP or an operand outside `operands`.
inline bool referenceEvaluate(const CExprProgram& program,
                              const std::vector<std::vector<double>>& operands, int n,
                              std::vector<double>& out) {
    std::vector<ReferenceNode> nodes;
    std::vector<int> stack;
    for (int i = 0; i < program.InstructionCount(); ++i) {
        ReferenceNode node;
        node.op = expr::OpcodeOf(program.Instruction(i));
        node.arg = expr::ArgumentOf(program.Instruction(i));
        int arity = expr::StackEffect(node.op) < 0 ? 2 : expr::StackEffect(node.op) > 0 ? 0 : 1;
        if (static_cast<int>(stack.size()) < arity)
            return false;
        node.children.assign(stack.end() - arity, stack.end());
        stack.resize(stack.size() - static_cast<size_t>(arity));
        nodes.push_back(node);
        stack.push_back(static_cast<int>(nodes.size()) - 1);
    }
    if (stack.size() != 1)
        return false;

    bool ok = true;
    auto eval = [&](auto& self, int index) -> std::vector<double> {
        const ReferenceNode& node = nodes[static_cast<size_t>(index)];
        std::vector<double> v(static_cast<size_t>(n), 0.0);
        std::vector<std::vector<double>> args;
        for (int c : node.children)
            args.push_back(self(self, c));
        for (int i = 0; i < n; ++i) {
            auto a = [&](int k) { return args[static_cast<size_t>(k)][static_cast<size_t>(i)]; };
            double& r = v[static_cast<size_t>(i)];
            switch (node.op) {
            case 0:
                r = program.Constant(node.arg);
                break;
            case 2:
                r = -a(0);
                break;
            case 3:
                r = a(0) + a(1);
                break;
            case 4:
                r = a(0) - a(1);
                break;
            case 5:
                r = a(0) * a(1);
                break;
            case 6:
                r = a(0) / a(1);
                break;
            case 7:
                r = std::sin(a(0));
                break;
            case 8:
                r = std::cos(a(0));
                break;
            case 9:
                r = std::tan(a(0));
                break;
            case 10:
                r = std::sqrt(a(0));
                break;
            case 11:
                r = std::log(a(0));
                break;
            case 12:
                r = std::exp(a(0));
                break;
            case 14:
            case 15:
                r = a(0);
                break;
            case 16:
                r = i;
                break;
            default:
                if (node.op >= 17 && node.op - 17 < static_cast<int>(operands.size())) {
                    const auto& o = operands[static_cast<size_t>(node.op - 17)];
                    r = static_cast<size_t>(i) < o.size() ? o[static_cast<size_t>(i)] : 0.0;
                } else {
                    ok = false;
                }
            }
        }
        if (node.op == 14 || node.op == 15)
            SmoothRange(v.data(), 0, n - 1, node.op == 15 ? 1 : 0);
        return v;
    };
    out = eval(eval, stack.back());
    return ok;
}

// Equal channel by channel, any NaN equal to any NaN.
inline bool sameSeries(const double* a, const double* b, int n) {
    for (int i = 0; i < n; ++i) {
        if (std::isnan(a[i]) && std::isnan(b[i]))
            continue;
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace vorna::test
