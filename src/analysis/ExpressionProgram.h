#pragma once
// A derived spectrum's compiled expression: postfix code for a small stack machine, its
// constants, the operand table and the evaluation over a range of channels.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/ExpressionToken.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

class CExprProgram : public SpectrumProgram {
public:
    // One operand: the channels it has and where its counts are. `spectrum` is set for the
    // operands the program reads, so the pair is taken afresh from the spectrum at every run
    // and never refers to an array the spectrum has since replaced.
    struct Operand {
        int channels = 0;
        const double* counts = nullptr;
        CSpectrum* spectrum = nullptr;
    };

    // Compiles `text` against the candidate tags (candidate k is operand k). 0 on success,
    // 1 on error; on error the program is unchanged and ErrorText() tells why.
    int Compile(const std::string& text, const std::vector<std::string>& tags);
    const std::string& ErrorText() const { return m_error; }

    // Runs the program for channels first..last into values[first..last]. 1 on success, 0
    // when the program cannot be evaluated (unary plus, STEP, an unknown operand).
    int Evaluate(int first, int last, double* values);

    // Channels 0..N-1 of the target, reading the operands the target is linked to.
    bool Run(CSpectrum& target) override;

    // --- the operand table ---
    int OperandCount() const { return m_nOperands; }
    const Operand& GetOperand(int k) const { return m_operands[static_cast<size_t>(k)]; }
    void SetOperand(int k, int channels, const double* counts);
    void BindOperand(int k, CSpectrum* spectrum);
    // True when an instruction pushes candidate k.
    bool UsesOperand(int k) const;

    // --- what was compiled ---
    int InstructionCount() const { return m_nCode; }
    uint32_t Instruction(int i) const { return m_code[static_cast<size_t>(i)]; }
    int ConstantCount() const { return m_nConstants; }
    double Constant(int i) const { return m_constants[static_cast<size_t>(i)]; }
    int MaxDepth() const { return m_nMaxDepth; }
    const std::string& Text() const { return m_text; }
    const std::vector<std::string>& Tags() const { return m_tags; }

    // Channels handled by one sweep of the interpreter over the code.
    static constexpr int kBlock = 256;

private:
    // Internal instructions: the public opcodes plus a push of a separately computed series.
    static constexpr int kPushSeries = -1;
    struct Step {
        int op;
        int arg;
    };
    // A smoothed argument that is not the whole value computed so far (2*SM3(A), A+SM3(B)):
    // its code runs over all channels into a buffer of its own, which is then smoothed.
    struct Series {
        std::vector<Step> code;
        std::vector<int> kinds; // 0 three-point, 1 five-point, innermost first
    };

    void BuildPlan();
    bool Executable(const Step* begin, const Step* end) const;
    bool RunBlocks(const Step* begin, const Step* end, bool pushValues, int first, int last,
                   double* out);
    // RunBlocks' steps: whether an operand overlaps the output channels first..last, and where a
    // pushed block of channels i0..i0 + n - 1 lives (`buffer` is its stack slot).
    bool OperandSharesOutput(int first, int last, const double* out) const;
    const double* PushedBlock(const Step& s, int i0, int n, double* buffer) const;

    std::vector<uint32_t> m_code;
    int m_nCode = 0;
    std::vector<double> m_constants;
    int m_nConstants = 0;
    int m_nOperands = 0;
    std::vector<Operand> m_operands;
    int m_nMaxDepth = 0;
    std::vector<double> m_stack; // slots of kBlock values; twice the maximum depth
    std::string m_text;
    std::vector<std::string> m_tags;
    std::string m_error;

    std::vector<Step> m_main;
    std::vector<Series> m_plan;
    std::vector<std::vector<double>> m_seriesValues;
};

} // namespace vorna
