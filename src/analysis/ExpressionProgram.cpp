#include "analysis/ExpressionProgram.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "analysis/Smoothing.h"

namespace vorna {

using namespace expr;

namespace {

bool isSmoothing(int op) {
    return op == kSM3 || op == kSM5;
}

int smoothKind(int op) {
    return op == kSM5 ? static_cast<int>(SmoothKind::SM5) : static_cast<int>(SmoothKind::SM3);
}

// Capacities grow to twice what is needed, so a redefinition of similar size reuses them.
template <typename T> void assignGrowing(std::vector<T>& v, const T* data, int count) {
    auto n = static_cast<size_t>(count);
    if (v.capacity() < n)
        v.reserve(2 * n);
    v.assign(data, data + n);
}

} // namespace

int CExprProgram::Compile(const std::string& text, const std::vector<std::string>& tags) {
    CToken ctx(text, tags);
    int status = 0;
    try {
        status = ParseExpression(ctx);
    } catch (const CExprException& e) {
        m_error = e.what();
        return 1;
    }
    if (status != 0) {
        m_error = ctx.Error().empty() ? std::string("syntax error") : ctx.Error();
        return 1;
    }
    // Each stack slot holds one block of channels; the stack is reallocated only when too small.
    const size_t slots = 2 * static_cast<size_t>(std::max(ctx.MaxDepth(), 1));
    if (m_stack.size() < slots * kBlock)
        m_stack.assign(slots * kBlock, 0.0);
    assignGrowing(m_constants, ctx.Constants(), ctx.ConstantCount());
    assignGrowing(m_code, ctx.Code(), ctx.CodeCount());
    m_nConstants = ctx.ConstantCount();
    m_nCode = ctx.CodeCount();
    m_nMaxDepth = ctx.MaxDepth();
    m_nOperands = static_cast<int>(tags.size());
    m_operands.assign(tags.size(), Operand{});
    m_tags = tags;
    m_text = text;
    m_error.clear();
    BuildPlan();
    return 0;
}

void CExprProgram::SetOperand(int k, int channels, const double* counts) {
    if (k < 0 || k >= m_nOperands)
        return;
    Operand& o = m_operands[static_cast<size_t>(k)];
    o.channels = counts ? std::max(channels, 0) : 0;
    o.counts = counts;
}

void CExprProgram::BindOperand(int k, CSpectrum* spectrum) {
    if (k < 0 || k >= m_nOperands)
        return;
    Operand& o = m_operands[static_cast<size_t>(k)];
    o.spectrum = spectrum;
    if (spectrum)
        SetOperand(k, std::min(spectrum->m_nChannels, static_cast<int>(spectrum->m_pData.size())),
                   spectrum->m_pData.empty() ? nullptr : spectrum->m_pData.data());
    else
        SetOperand(k, 0, nullptr);
}

bool CExprProgram::UsesOperand(int k) const {
    for (int i = 0; i < m_nCode; ++i)
        if (OpcodeOf(m_code[static_cast<size_t>(i)]) == kFirstOperand + k)
            return true;
    return false;
}

// Splits the code for evaluation. A smoothing instruction whose argument is everything computed
// so far stays in the main code: there the previous pass's results are the argument series and
// are smoothed in place. Any other smoothed argument (2*SM3(A), A+SM3(B)) would need values
// that sit below it on the operand stack, so its code is moved into a series of its own,
// computed over all channels before the main code runs, and replaced by a push of that series.
void CExprProgram::BuildPlan() {
    m_main.clear();
    m_plan.clear();
    std::vector<size_t> starts; // where in m_main each value on the operand stack begins
    for (int i = 0; i < m_nCode; ++i) {
        const uint32_t word = m_code[static_cast<size_t>(i)];
        const int op = OpcodeOf(word);
        const int arg = ArgumentOf(word);
        if (isSmoothing(op) && !starts.empty() && starts.back() > 0) {
            const size_t s = starts.back();
            if (m_main.size() == s + 1 && m_main[s].op == kPushSeries) {
                // The argument is a series already (SM3(SM5(B))): smooth it once more.
                m_plan[static_cast<size_t>(m_main[s].arg)].kinds.push_back(smoothKind(op));
                continue;
            }
            Series series;
            series.code.assign(m_main.begin() + static_cast<std::ptrdiff_t>(s), m_main.end());
            series.kinds.push_back(smoothKind(op));
            m_main.resize(s);
            m_main.push_back({kPushSeries, static_cast<int>(m_plan.size())});
            m_plan.push_back(std::move(series));
            continue;
        }
        m_main.push_back({op, arg});
        const int effect = StackEffect(op);
        if (effect > 0)
            starts.push_back(m_main.size() - 1);
        else if (effect < 0 && !starts.empty())
            starts.pop_back();
    }
}

// Unary plus and STEP have no evaluation; an operand must be in the table.
bool CExprProgram::Executable(const Step* begin, const Step* end) const {
    for (const Step* s = begin; s != end; ++s) {
        if (s->op == kUnaryPlus || s->op == kStep)
            return false;
        if (s->op >= kFirstOperand && s->op - kFirstOperand >= m_nOperands)
            return false;
        if (s->op < kPushSeries || isSmoothing(s->op))
            return false;
    }
    return true;
}

namespace {

// One value on the block stack: a constant, or a block of channel values that lives in an
// operand, a series or one of the stack's own buffers.
struct Value {
    const double* p = nullptr;
    double scalar = 0.0;
    bool isScalar = false;
};

template <typename F> void unary(const Value& x, double* dst, int n, F f, Value& result) {
    if (x.isScalar) {
        result.scalar = f(x.scalar);
        result.isScalar = true;
        return;
    }
    for (int i = 0; i < n; ++i)
        dst[i] = f(x.p[i]);
    result.p = dst;
}

template <typename F>
void binary(const Value& a, const Value& b, double* dst, int n, F f, Value& result) {
    if (a.isScalar && b.isScalar) {
        result.scalar = f(a.scalar, b.scalar);
        result.isScalar = true;
        return;
    }
    if (a.isScalar) {
        for (int i = 0; i < n; ++i)
            dst[i] = f(a.scalar, b.p[i]);
    } else if (b.isScalar) {
        for (int i = 0; i < n; ++i)
            dst[i] = f(a.p[i], b.scalar);
    } else {
        for (int i = 0; i < n; ++i)
            dst[i] = f(a.p[i], b.p[i]);
    }
    result.p = dst;
    result.isScalar = false;
}

// The binary instruction `op` on two values; false for an unknown instruction.
bool applyBinary(int op, const Value& a, const Value& b, double* dst, int n, Value& r) {
    switch (op) {
    case kAdd:
        binary(
            a, b, dst, n, [](double x, double y) { return x + y; }, r);
        return true;
    case kSubtract:
        binary(
            a, b, dst, n, [](double x, double y) { return x - y; }, r);
        return true;
    case kMultiply:
        binary(
            a, b, dst, n, [](double x, double y) { return x * y; }, r);
        return true;
    default:
        binary(
            a, b, dst, n, [](double x, double y) { return x / y; }, r);
        return true;
    }
}

// The unary instruction `op` on one value; false for an unknown instruction.
bool applyUnary(int op, const Value& x, double* dst, int n, Value& r) {
    switch (op) {
    case kNegate:
        unary(
            x, dst, n, [](double v) { return -v; }, r);
        return true;
    case kSin:
        unary(
            x, dst, n, [](double v) { return std::sin(v); }, r);
        return true;
    case kCos:
        unary(
            x, dst, n, [](double v) { return std::cos(v); }, r);
        return true;
    case kTan:
        unary(
            x, dst, n, [](double v) { return std::tan(v); }, r);
        return true;
    case kSqrt:
        unary(
            x, dst, n, [](double v) { return std::sqrt(v); }, r);
        return true;
    case kLog:
        unary(
            x, dst, n, [](double v) { return std::log(v); }, r);
        return true;
    case kExp:
        unary(
            x, dst, n, [](double v) { return std::exp(v); }, r);
        return true;
    default:
        return false;
    }
}

// The block's result into the output channels, unless it was computed there.
void storeResult(const Value& result, double* outBlock, int n) {
    if (result.isScalar)
        std::fill(outBlock, outBlock + n, result.scalar);
    else if (result.p != outBlock)
        std::memmove(outBlock, result.p, static_cast<size_t>(n) * sizeof(double));
}

} // namespace

bool CExprProgram::OperandSharesOutput(int first, int last, const double* out) const {
    for (int k = 0; k < m_nOperands; ++k) {
        const Operand& o = m_operands[static_cast<size_t>(k)];
        if (o.counts && o.counts < out + last + 1 && out + first < o.counts + o.channels)
            return true;
    }
    return false;
}

const double* CExprProgram::PushedBlock(const Step& s, int i0, int n, double* buffer) const {
    if (s.op == kChan) {
        for (int i = 0; i < n; ++i)
            buffer[i] = static_cast<double>(i0 + i);
        return buffer;
    }
    if (s.op == kPushSeries)
        return m_seriesValues[static_cast<size_t>(s.arg)].data() + i0;
    const Operand& o = m_operands[static_cast<size_t>(s.op - kFirstOperand)];
    const int have = o.counts ? std::clamp(o.channels - i0, 0, n) : 0;
    if (have == n)
        return o.counts + i0;
    // Channels at or beyond the operand's own count read as 0.
    if (have > 0)
        std::memcpy(buffer, o.counts + i0, static_cast<size_t>(have) * sizeof(double));
    std::fill(buffer + have, buffer + n, 0.0);
    return buffer;
}

// Interprets the code once per block of channels rather than once per channel, so the dispatch
// cost stays out of the per-channel work. Operands, series and constants are not copied onto
// the stack but read where they are, and a value at the bottom of the stack is computed
// straight into the output block. Every channel still sees exactly the operations of the
// postfix program, in its order.
bool CExprProgram::RunBlocks(const Step* begin, const Step* end, bool pushValues, int first,
                             int last, double* out) {
    const int slots = static_cast<int>(m_stack.size() / kBlock);
    if (slots < 1)
        return false;
    // An operand that shares the output array (a spectrum computed from itself) must be read
    // before any channel of the block is written, so then the bottom value gets a buffer too.
    const bool direct = !OperandSharesOutput(first, last, out);
    Value stack[CToken::kMaxCode + 1];
    for (int i0 = first; i0 <= last; i0 += kBlock) {
        const int n = std::min(kBlock, last - i0 + 1);
        double* const outBlock = out + i0;
        auto slot = [&](int d) {
            return d == 0 && direct ? outBlock : m_stack.data() + static_cast<size_t>(d) * kBlock;
        };
        int depth = 0;
        if (pushValues) {
            stack[0] = Value{outBlock, 0.0, false};
            depth = 1;
        }
        for (const Step* s = begin; s != end; ++s) {
            const int op = s->op;
            if (StackEffect(op) > 0 || op == kPushSeries) {
                if (depth >= slots || depth > CToken::kMaxCode)
                    return false; // the stack was sized for compiled code; never reached
                Value& v = stack[depth];
                v = Value{};
                if (op == kPushConstant) {
                    v.scalar = m_constants[static_cast<size_t>(s->arg)];
                    v.isScalar = true;
                } else {
                    v.p = PushedBlock(*s, i0, n, slot(depth));
                }
                ++depth;
            } else if (StackEffect(op) < 0) {
                if (depth < 2)
                    return false;
                const Value a = stack[depth - 2], b = stack[depth - 1];
                applyBinary(op, a, b, slot(depth - 2), n, stack[depth - 2]);
                --depth;
            } else {
                if (depth < 1)
                    return false;
                const Value x = stack[depth - 1];
                if (!applyUnary(op, x, slot(depth - 1), n, stack[depth - 1]))
                    return false;
            }
        }
        if (depth != 1)
            return false;
        storeResult(stack[0], outBlock, n);
    }
    return true;
}

int CExprProgram::Evaluate(int first, int last, double* values) {
    if (m_nCode == 0 || first < 0 || !values)
        return 0;
    if (last < first)
        return 1;
    // Separately smoothed arguments first; they never depend on the main passes.
    if (m_seriesValues.size() < m_plan.size())
        m_seriesValues.resize(m_plan.size());
    for (size_t k = 0; k < m_plan.size(); ++k) {
        const Series& series = m_plan[k];
        const Step* b = series.code.data();
        const Step* e = b + series.code.size();
        if (!Executable(b, e))
            return 0;
        std::vector<double>& buffer = m_seriesValues[k];
        if (buffer.size() < static_cast<size_t>(last) + 1)
            buffer.resize(static_cast<size_t>(last) + 1);
        if (!RunBlocks(b, e, false, first, last, buffer.data()))
            return 0;
        for (int kind : series.kinds)
            SmoothRange(buffer.data(), first, last, kind);
    }
    // The main code runs in passes split at its smoothing instructions; a pass that begins with
    // one starts from the previous pass's smoothed results.
    const size_t count = m_main.size();
    size_t j = 0;
    for (;;) {
        const bool fromValues = isSmoothing(m_main[j].op);
        const size_t begin = fromValues ? j + 1 : j;
        size_t end = begin;
        while (end < count && !isSmoothing(m_main[end].op))
            ++end;
        if (!Executable(m_main.data() + begin, m_main.data() + end))
            return 0;
        if (!RunBlocks(m_main.data() + begin, m_main.data() + end, fromValues, first, last, values))
            return 0;
        if (end == count)
            return 1;
        SmoothRange(values, first, last, smoothKind(m_main[end].op));
        while (end + 1 < count && isSmoothing(m_main[end + 1].op)) {
            ++end;
            SmoothRange(values, first, last, smoothKind(m_main[end].op));
        }
        if (end == count - 1)
            return 1;
        j = end;
    }
}

bool CExprProgram::Run(CSpectrum& target) {
    const int n = std::min(target.m_nChannels, static_cast<int>(target.m_pData.size()));
    if (n <= 0)
        return false;
    // The counts are looked up afresh: an operand may have replaced its array since the last
    // run. One that is no longer linked to the target has been closed, and is not read.
    for (int k = 0; k < m_nOperands; ++k) {
        CSpectrum* s = m_operands[static_cast<size_t>(k)].spectrum;
        if (!s)
            continue;
        if (s != &target && target.m_linked.Find(s) < 0)
            return false;
        BindOperand(k, s);
    }
    return Evaluate(0, n - 1, target.m_pData.data()) == 1;
}

} // namespace vorna
