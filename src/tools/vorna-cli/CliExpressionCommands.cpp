// expr and smooth: derived spectra computed from the files' spectra, as the expression
// definition dialog and the Smooth command make them.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CliCommon.h"
#include "analysis/ExpressionDefine.h"
#include "analysis/ExpressionProgram.h"
#include "analysis/SmoothCommand.h"
#include "spectrum/SpectrumFile.h"

namespace vorna::cli {
namespace {

struct ExprArgs {
    AnalysisOptions options;
    std::string expression;
    std::vector<std::string> files;
    int gain = 2;
    std::string out;
};

struct SmoothArgs {
    AnalysisOptions options;
    std::string file;
    int kind = 3;
    std::string out;
};

// The program's message for a failure, or a fallback when it showed none.
std::string failureText(const World& w) {
    return w.prompt.lastMessage().empty() ? std::string("System error.") : w.prompt.lastMessage();
}

// Reads one more file into a new spectrum after those already open, as File Open does but
// without making it active, so the first file's spectrum stays the active one.
void addFile(World& w, const std::string& path) {
    auto spectrum = std::make_unique<CSpectrum>(w.env.slots, w.list->GetCount());
    if (ReadFileIntoSpectrum(w.env, path, *spectrum) == FileOpenResult::Failed)
        throw Failure(failureText(w));
    if (!w.list->Add(spectrum, false))
        throw Failure(failureText(w));
}

Json dataJson(const CSpectrum& s) {
    Json data = Json::array();
    for (double v : s.m_pData)
        data.push_back(number(v));
    return data;
}

void saveTo(World& w, CSpectrum& s, const std::string& path) {
    if (SaveSpectrumToPath(w.env, s, path, w.list->PositionOf(&s)) != SaveResult::Saved)
        throw Failure(failureText(w));
}

int runExpr(const ExprArgs& args) {
    auto world = openWorld(args.files.front(), args.options);
    for (size_t i = 1; i < args.files.size(); ++i)
        addFile(*world, args.files[i]);
    CSpectraList& list = *world->list;

    auto fresh = std::make_unique<CSpectrum>(world->env.slots, list.GetCount());
    fresh->m_bDerived = 1;
    fresh->m_nGain = args.gain;
    if (!SetExpression(list, *fresh, args.expression))
        throw Failure(failureText(*world));
    CSpectrum* derived = list.Add(fresh, false);
    if (!derived)
        throw Failure(failureText(*world));
    // No update worker here: evaluate what the list has requested right away.
    const bool valid = derived->Evaluate(world->env, list.GetActivePosition(), false);

    const auto& program = dynamic_cast<const CExprProgram&>(*derived->m_pProgram);
    Json code = Json::array();
    for (int i = 0; i < program.InstructionCount(); ++i)
        code.push_back(Json::array(
            {expr::OpcodeOf(program.Instruction(i)), expr::ArgumentOf(program.Instruction(i))}));
    Json constants = Json::array();
    for (int i = 0; i < program.ConstantCount(); ++i)
        constants.push_back(number(program.Constant(i)));
    Json tags = Json::array();
    for (const std::string& tag : program.Tags())
        tags.push_back(text(tag));

    Json j;
    j["code"] = std::move(code);
    j["constants"] = std::move(constants);
    j["tags"] = std::move(tags);
    j["valid"] = valid;
    j["channels"] = derived->m_nChannels;
    j["data"] = dataJson(*derived);
    if (!args.out.empty())
        saveTo(*world, *derived, args.out);
    std::cout << j.dump(2) << '\n';
    return 0;
}

int runSmooth(const SmoothArgs& args) {
    auto world = openWorld(args.file, args.options);
    world->env.settings.smoothKind = args.kind == 5 ? 1 : 0;
    CSpectraList& list = *world->list;
    CSpectrum* smoothed = SmoothActiveSpectrum(list, world->env.settings);
    if (!smoothed)
        throw Failure(failureText(*world));
    const bool valid =
        smoothed->Evaluate(world->env, list.GetActivePosition(), smoothed == list.GetActive());

    Json j;
    j["tag"] = text(smoothed->m_strTag);
    j["file_name"] = text(smoothed->m_strFileName);
    j["expression"] = text(smoothed->m_strExpression);
    j["hidden_source"] = world->spectrum->m_bHidden != 0;
    j["data"] = dataJson(*smoothed);
    j["valid"] = valid;
    if (!args.out.empty())
        saveTo(*world, *smoothed, args.out);
    std::cout << j.dump(2) << '\n';
    return 0;
}

} // namespace

void registerExpressionCommands(CLI::App& app, Runtime& rt) {
    auto ex = std::make_shared<ExprArgs>();
    CLI::App* exprCmd = app.add_subcommand(
        "expr", "Define a derived spectrum over the files' spectra and evaluate it");
    exprCmd
        ->add_option(
            "EXPRESSION", ex->expression,
            "the expression, e.g. \"(S1-S2)*2\"; put -- before an expression that starts with '-'")
        ->required();
    exprCmd->add_option("FILE", ex->files, "spectrum files, added to the list in this order")
        ->required();
    exprCmd->add_option("--gain", ex->gain, "channel-count code of the derived spectrum (0..6)")
        ->check(CLI::Range(0, 6))
        ->capture_default_str();
    exprCmd->add_option("--out", ex->out, "also save the derived spectrum to this file");
    addAnalysisOptions(exprCmd, ex->options);
    setRun(exprCmd, rt, [ex] { return runExpr(*ex); });

    auto sm = std::make_shared<SmoothArgs>();
    CLI::App* smoothCmd = app.add_subcommand("smooth", "The Smooth command on the file's spectrum");
    smoothCmd->add_option("FILE", sm->file, "spectrum file (.mca, .mcs)")->required();
    smoothCmd->add_option("--kind", sm->kind, "3 three-point (SM3), 5 five-point (SM5)")
        ->check(CLI::IsMember({3, 5}))
        ->capture_default_str();
    smoothCmd->add_option("--out", sm->out, "also save the smoothed spectrum to this file");
    addAnalysisOptions(smoothCmd, sm->options);
    setRun(smoothCmd, rt, [sm] { return runSmooth(*sm); });
}

} // namespace vorna::cli
