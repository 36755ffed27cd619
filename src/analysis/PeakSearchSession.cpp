#include "analysis/PeakSearchSession.h"

#include <cmath>
#include <mutex>

#include "analysis/CalibrationEditor.h"
#include "analysis/NumberFormat.h"
#include "analysis/RoiOperations.h"
#include "analysis/RoiStatistics.h"
#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

constexpr const char* kSensitivityRange = "Please enter a number between 0.5 and 1000000.";
constexpr const char* kWidthRange = "Please enter an integer between 2 and 100000.";
constexpr const char* kNotANumber = "Please enter a number.";

// Fields may carry blanks around their number.
bool readNumber(const std::string& text, double& value) {
    const char* blanks = " \t";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return false;
    const size_t last = text.find_last_not_of(blanks);
    return ParseNumberField(text.substr(first, last - first + 1), value);
}

} // namespace

PeakSearchInput ReadPeakSearchFields(const PeakSearchFields& fields) {
    PeakSearchInput in;
    double width = 0.0;
    if (!readNumber(fields.sensitivity, in.sensitivity) || in.sensitivity < 0.5 ||
        in.sensitivity > 1000000.0)
        in.message = kSensitivityRange;
    else if (!readNumber(fields.width, width) || width != std::floor(width) || width < 2 ||
             width > 100000)
        in.message = kWidthRange;
    else if (!readNumber(fields.startRange, in.startRange) ||
             !readNumber(fields.endRange, in.endRange))
        in.message = kNotANumber;
    in.width = static_cast<int>(width);
    return in;
}

PeakSearchSession::PeakSearchSession(CSpectrum& spectrum, const SpectrumEnvironment& env,
                                     bool isActive)
    : m_spectrum(spectrum), m_env(env), m_isActive(isActive) {
    auto locked = spectrum.Lock();
    m_saved = spectrum.m_roi;
}

PeakSearchFields PeakSearchSession::OpeningFields(int firstAbsolute, int lastAbsolute) const {
    const bool use = m_env.settings.calibrateEnable != 0;
    auto s = m_spectrum.Lock();
    auto shown = [&](int absolute) {
        return FormatNumber(s->ChannelToEnergy(s->FromAbsoluteChannel(absolute), use));
    };
    return {Format("%g", m_env.settings.peakSearchSens), Format("%d", m_env.settings.peakWidth),
            shown(firstAbsolute), shown(lastAbsolute)};
}

AnalysisSettings PeakSearchSession::SettingsFor(const PeakSearchInput& input) const {
    AnalysisSettings settings = m_env.settings;
    settings.peakWidth = input.width;
    settings.peakSearchSens = input.sensitivity;
    return settings;
}

std::string PeakSearchSession::Run(const PeakSearchFields& fields, bool wholeSpectrum) {
    const PeakSearchInput input = ReadPeakSearchFields(fields);
    if (!input.message.empty())
        return input.message;
    const AnalysisSettings settings = SettingsFor(input);
    PeakSearchOutcome outcome =
        wholeSpectrum ? SearchAllPeaks(m_spectrum, settings)
                      : SearchPeakRange(m_spectrum, settings, input.startRange, input.endRange);
    if (outcome.message.empty())
        m_results = std::move(outcome.peaks);
    else
        m_results.reset();
    return outcome.message;
}

std::string PeakSearchSession::SearchAll(const PeakSearchFields& fields) {
    return Run(fields, true);
}

std::string PeakSearchSession::SearchRange(const PeakSearchFields& fields) {
    return Run(fields, false);
}

const CRoi& PeakSearchSession::Results() const {
    static const CRoi kNone;
    return m_results ? *m_results : kNone;
}

void PeakSearchSession::WithResultsShown(const std::function<void()>& report) {
    if (!m_results)
        return;
    CRoi own;
    {
        auto s = m_spectrum.Lock();
        own = s->m_roi;
        s->m_roi = *m_results;
    }
    // The spectrum gets its own list back however the report ends.
    struct Restore {
        CSpectrum& spectrum;
        CRoi& own;
        ~Restore() {
            auto s = spectrum.Lock();
            s->m_roi = own;
        }
    } restore{m_spectrum, own};
    if (m_env.display && m_isActive)
        m_env.display->RedrawPlot();
    report();
}

void PeakSearchSession::AddResults() {
    if (!m_results)
        return;
    const RoiContext ctx{m_spectrum, m_env, m_isActive};
    for (const CRoiEntry& r : m_results->Entries())
        AddRoi(ctx, r.start, r.end);
    m_changed = true;
}

void PeakSearchSession::ReplaceWithResults() {
    if (!m_results)
        return;
    ClearRois({m_spectrum, m_env, m_isActive});
    AddResults();
}

bool PeakSearchSession::DetailsEnabled() const {
    if (m_changed)
        return true;
    auto s = m_spectrum.Lock();
    return !s->m_roi.IsEmpty();
}

void PeakSearchSession::RecomputeSpectrumRois() {
    RecomputeAllRoiStatistics(m_spectrum, m_env.settings);
}

std::optional<PeakSearchInput> PeakSearchSession::Accept(const PeakSearchFields& fields) const {
    PeakSearchInput input = ReadPeakSearchFields(fields);
    if (!input.message.empty())
        return std::nullopt;
    return input;
}

void PeakSearchSession::Cancel() {
    if (!m_changed)
        return;
    {
        auto s = m_spectrum.Lock();
        s->m_roi = m_saved;
    }
    m_changed = false;
    if (m_env.display && m_isActive) {
        m_env.display->RedrawPlot();
        m_env.display->RefreshInfoPane();
    }
}

} // namespace vorna
