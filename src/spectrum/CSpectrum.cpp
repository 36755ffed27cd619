#include "spectrum/CSpectrum.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "common/NumberText.h"
#include "common/UserPrompt.h"

namespace vorna {

const char* DppValueName(DppValue v) {
    static const char* const kNames[kDppValueCount] = {"Device Type",
                                                       "Serial Number",
                                                       "Firmware",
                                                       "FPGA",
                                                       "Fast Count",
                                                       "Slow Count",
                                                       "Accumulation Time",
                                                       "Dead Time",
                                                       "HV Volt",
                                                       "TEC Temp",
                                                       "Board Temp",
                                                       "Rise",
                                                       "Fast Threshold",
                                                       "Slow Threshold",
                                                       "Coarse Gain",
                                                       "Fine Gain",
                                                       "Acquisition Mode",
                                                       "Boot device mode",
                                                       "Boot configuration state",
                                                       "RS232 baud rate",
                                                       "FPGA clock",
                                                       "HV Polarity",
                                                       "ADC invert",
                                                       "Spectrum offset",
                                                       "Fast channel shaping",
                                                       "MCA channel",
                                                       "Peak detect"};
    int i = static_cast<int>(v);
    return i >= 0 && i < kDppValueCount ? kNames[i] : "";
}

CSpectrum::CSpectrum(const SpectrumSlotDefaults& slots, int listSize) {
    const SpectrumSlot& slot = slots.ForPosition(listSize);
    m_strTag = slot.tag;
    m_nLineWidth = slot.width;
    m_crColor = slot.color;
    m_strFileName = m_strTag + ".mca";
    m_nGain = 2;
    m_bPrintNotes = 1;
    m_bDerived = 0;
    ResetRecord();
}

CSpectrum::CSpectrum(const SpectrumHeader& header) : SpectrumHeader(header) {
    ResetRecord();
}

CSpectrum::~CSpectrum() {
    // Links are non-owning both ways: leave no pointer to this spectrum in a spectrum that is
    // still open (an operand's dependents, a derived spectrum's operands).
    for (int i = 0; i < m_linked.GetCount(); ++i)
        if (m_linked[i] != this)
            m_linked[i]->m_linked.Remove(this);
}

void CSpectrum::ResetRecord() {
    m_pData.clear();
    m_pProgram.reset();
    m_bHidden = m_bValid = m_bEvalPending = m_bRedrawPending = m_bDisplayValid = 0;
    m_nThreshold = m_nLiveMode = m_nPresetTime = m_nSerialNumber = 0;
    m_dLiveTime = m_dRealTime = m_dTotalCounts = 0.0;
    m_szStartTime.clear();
    RemakePen();
}

int CSpectrum::SnapToChannel(double x) const {
    return FromAbsoluteChannel(static_cast<int>(x + 0.5));
}

bool CSpectrum::AllocateData(int channels, UserPrompt* prompt) {
    try {
        std::vector<double> fresh(static_cast<size_t>(std::max(channels, 0)), 0.0);
        m_pData.swap(fresh);
        return true;
    } catch (const std::bad_alloc&) {
        if (prompt)
            prompt->message("Can not allocate memory!", PromptStyle::Error);
        return false;
    }
}

void CSpectrum::FreeData() {
    std::vector<double>().swap(m_pData);
}

void CSpectrum::CopyFrom(const CSpectrum& src, bool header, bool data) {
    if (&src == this)
        return;
    if (header) {
        m_strTag = src.m_strTag;
        m_strFileName = src.m_strFileName;
        m_bDerived = src.m_bDerived;
        m_nGain = src.m_nGain;
        m_strDescription = src.m_strDescription;
        m_strGeneralNotes = src.m_strGeneralNotes;
        m_strOtherNotes = src.m_strOtherNotes;
        m_strSystemNotes = src.m_strSystemNotes;
        m_strExpression = src.m_strExpression;
        m_bPrintNotes = src.m_bPrintNotes;
        m_nChannels = src.m_nChannels;
        m_nLiveMode = src.m_nLiveMode;
        m_dLiveTime = src.m_dLiveTime;
        m_dRealTime = src.m_dRealTime;
        m_nPresetTime = src.m_nPresetTime;
        m_nThreshold = src.m_nThreshold;
        m_szStartTime = src.m_szStartTime;
        m_nSerialNumber = src.m_nSerialNumber;
        m_calibrate = src.m_calibrate;
        m_roi = src.m_roi;
    }
    // Only between equal channel counts: a different count would read or write out of range.
    if (data && src.m_nChannels == m_nChannels && src.m_pData.size() == m_pData.size())
        std::copy(src.m_pData.begin(), src.m_pData.end(), m_pData.begin());
}

namespace {

// True when a name holds a directory separator after its first character (a path, not a bare
// name).
bool holdsPath(const std::string& name) {
    return name.size() > 1 && name.find_first_of("/\\", 1) != std::string::npos;
}

} // namespace

int CSpectrum::MakeMcsResultCopy(const CSpectrum* src, CSpectrum* target,
                                 const std::string& spectraDirectory) {
    if (!src || !target)
        return 0;
    target->m_strTag = "Untitled_MCS";
    if (holdsPath(src->m_strFileName)) {
        auto slash = src->m_strFileName.find_last_of("/\\");
        std::string dir = src->m_strFileName.substr(0, slash + 1);
        target->m_strFileName = Format("%s%s_%s%s", dir.c_str(), "Untitled", "MCS", ".mcs");
    } else {
        std::string dir = spectraDirectory;
        if (!dir.empty() && dir.back() != '/' && dir.back() != '\\')
            dir += '/';
        target->m_strFileName = Format("%s%s_%s%s", dir.c_str(), "Untitled", "MCS", ".mcs");
    }
    target->m_bDerived = 0;
    target->m_nGain = src->m_nGain;
    target->m_strDescription = "MCS Spectrum";
    target->m_strGeneralNotes.clear();
    target->m_strOtherNotes.clear();
    target->m_strSystemNotes.clear();
    target->m_strExpression.clear();
    target->m_bPrintNotes = 1;
    target->m_bValid = 1;
    target->m_nChannels = src->m_nChannels;
    target->m_nThreshold = src->m_nThreshold;
    target->m_nLiveMode = src->m_nLiveMode;
    target->m_dLiveTime = src->m_dLiveTime;
    target->m_dRealTime = src->m_dRealTime;
    target->m_nPresetTime = src->m_nPresetTime;
    target->m_szStartTime = src->m_szStartTime;
    target->m_nSerialNumber = src->m_nSerialNumber;
    target->m_roi.Clear();
    target->m_calibrate.Reset();
    return 1;
}

int CSpectrum::LastValidChannel(int dppDeviceType, int activePosition) const {
    const int n = m_nChannels;
    if (dppDeviceType == 0)
        return n - n / 32 - 1;
    if (activePosition > 0 && m_nDppDeviceCode == 0)
        return n - n / 32 - 1;
    return n - 1;
}

void CSpectrum::UpdateTotals(const SpectrumEnvironment& env, int activePosition) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    int last = std::min(LastValidChannel(env.dppDeviceType, activePosition),
                        static_cast<int>(m_pData.size()) - 1);
    double sum = 0.0;
    for (int i = 0; i <= last; ++i)
        sum += m_pData[static_cast<size_t>(i)];
    m_dTotalCounts = sum;
    if (env.recomputeRoiStatistics)
        env.recomputeRoiStatistics(*this, env.settings);
}

void CSpectrum::TakeTables(const CSpectrum& templ, bool calibration, bool roi,
                           const SpectrumEnvironment& env, int activePosition) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (calibration)
        m_calibrate = templ.m_calibrate;
    if (roi)
        m_roi = templ.m_roi;
    if (HasData())
        UpdateTotals(env, activePosition);
}

void CSpectrum::RevertTo(CSpectrum& original, bool keepOwnTag, const SpectrumEnvironment& env,
                         int activePosition) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_bDerived) {
        m_pProgram.reset();
        m_bEvalPending = 0;
    }
    const std::string ownTag = m_strTag;
    CopyFrom(original, true, false);
    m_pData = std::move(original.m_pData);
    if (keepOwnTag)
        m_strTag = ownTag;
    m_bValid = 1;
    UpdateTotals(env, activePosition);
}

double CSpectrum::ChannelToEnergy(double channel, bool calibrateEnable) const {
    if (channel < 0)
        channel = 0;
    else if (channel >= m_nChannels)
        channel = m_nChannels - 1;
    return m_calibrate.ChannelToValue(channel, calibrateEnable);
}

int CSpectrum::EnergyToChannel(double value, bool calibrateEnable) const {
    double c = m_calibrate.ValueToChannel(value, calibrateEnable);
    if (std::isnan(c) || c < 0)
        return 0;
    if (c >= m_nChannels)
        return m_nChannels - 1;
    return static_cast<int>(c);
}

void CSpectrum::RequestEvaluation(const SpectrumEnvironment& env) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_bValid = 0;
        m_bEvalPending = 1;
    }
    RequestDisplayUpdate(env);
}

void CSpectrum::RequestDisplayUpdate(const SpectrumEnvironment& env) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_bRedrawPending = 1;
    }
    // The spectrum lock is released before the worker (and the list lock) is reached.
    if (env.updateSignal)
        env.updateSignal->SignalUpdate();
}

bool CSpectrum::Evaluate(const SpectrumEnvironment& env, int activePosition, bool isActive) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_bEvalPending = 0;
    if (!m_pProgram)
        return false;
    try {
        m_bValid = m_pProgram->Run(*this) ? 1 : 0;
    } catch (...) {
        return false;
    }
    if (m_bValid) {
        UpdateTotals(env, activePosition);
        if (isActive && env.display)
            env.display->RefreshInfoPane();
    }
    return m_bValid != 0;
}

void CSpectrum::SetProgram(std::unique_ptr<SpectrumProgram> program, const std::string& expression,
                           const std::vector<CSpectrum*>& operands) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_pProgram = std::move(program);
    m_strExpression = expression;
    m_linked.RemoveAll();
    for (CSpectrum* operand : operands)
        m_linked.Add(operand);
}

void CSpectrum::RemakePen() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_pPen = SpectrumPen{m_nLineWidth, m_crColor};
}

SpectrumPen CSpectrum::Pen() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return m_pPen;
}

int CSpectrum::ExchangeHidden(int hidden) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const int previous = m_bHidden;
    m_bHidden = hidden;
    return previous;
}

std::string CSpectrum::Title() const {
    return "Quorix VORNA     " + m_strFileName + "     " + m_strDescription;
}

void CSpectrum::ClearDppTexts() {
    m_strDppConfig.clear();
    m_strDppStatus.clear();
    m_strBootFlags.clear();
    for (auto& s : m_dppValues)
        s.clear();
    m_bClock80MHz = 0;
    m_nDppDeviceCode = 0;
}

} // namespace vorna
