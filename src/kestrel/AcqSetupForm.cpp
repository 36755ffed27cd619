#include "kestrel/AcqSetupForm.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "settings/CSProfile.h"

namespace vorna {

namespace {

constexpr int kMaxGainIndex = 6;
constexpr const char* kSecondsLabel = "Preset (sec):";
constexpr const char* kCountsLabel = "Preset (cts):";
constexpr const char* kNoneLabel = "Preset (sec)";

// A whole decimal number with an optional sign and surrounding blanks; nothing when the text
// is not one or does not fit 64 bits.
std::optional<long long> ParseInteger(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    const size_t digitsStart = i;
    long long value = 0;
    for (; i < n && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > (LLONG_MAX - 9) / 10)
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (i == digitsStart)
        return std::nullopt;
    while (i < n && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i != n)
        return std::nullopt;
    return negative ? -value : value;
}

AcqFormError RangeError(AcqSetupField field, long long low, long long high) {
    return {"Please enter an integer between " + std::to_string(low) + " and " +
                std::to_string(high) + ".",
            field};
}

std::optional<long long> ReadRanged(const std::string& text, long long low, long long high) {
    const auto value = ParseInteger(text);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return value;
}

uint32_t RememberedPreset(int stored) {
    return static_cast<uint32_t>(std::max(stored, 0));
}

} // namespace

std::string PresetModeName(int mode) {
    switch (static_cast<AcqPresetMode>(mode)) {
    case AcqPresetMode::Seconds:
        return "Seconds";
    case AcqPresetMode::Counts:
        return "Counts";
    case AcqPresetMode::Channel:
        return "Channel";
    case AcqPresetMode::None:
        return "None";
    }
    return "Unknown";
}

AcqSetupForm::AcqSetupForm(const AcqSetup& values, const CSProfile& profile,
                           KestrelDeviceType analyzer)
    : m_values(values) {
    m_kestrelA = profile.deviceType == 0 && analyzer == KestrelDeviceType::KestrelA;
    for (int gain = 0; gain <= (m_kestrelA ? kMaxGainIndex : kMaxGainIndex - 1); ++gain)
        m_adcEntries.push_back(std::to_string(256 << gain));
    // A gain the list does not offer would come back as no selection; the largest offered
    // count is the nearest the analyzer has.
    m_values.gainIndex =
        std::clamp(m_values.gainIndex, 0, static_cast<int>(m_adcEntries.size()) - 1);
    FillGroups(32768 / Channels());
    m_values.channelUsed = profile.spChanPosition;
    m_totalCounts = RememberedPreset(profile.spTotalCts);
    m_channelCounts = RememberedPreset(profile.spChanCts);
    m_values.presetMode = profile.presetMode;
    m_values.acquireMode = profile.acquireMode == static_cast<int>(AcqMode::LimitedMcs) ? 1 : 0;
    UpdatePreset();
    ApplyModeRule();
}

int AcqSetupForm::Channels() const {
    return 256 << m_values.gainIndex;
}

AcqFieldTexts AcqSetupForm::FieldTexts() const {
    return {std::to_string(m_values.preset), std::to_string(m_values.channelUsed),
            std::to_string(m_values.threshold)};
}

int AcqSetupForm::PresetModeSelection() const {
    const auto it = std::find(m_presetModeEntries.begin(), m_presetModeEntries.end(),
                              PresetModeName(m_values.presetMode));
    return it == m_presetModeEntries.end() ? -1
                                           : static_cast<int>(it - m_presetModeEntries.begin());
}

bool AcqSetupForm::GroupEnabled() const {
    return Mca() && m_kestrelA;
}

void AcqSetupForm::FillGroups(int capacity) {
    capacity = std::max(capacity, 1);
    m_groupEntries.clear();
    for (int g = 0; g < capacity; ++g)
        m_groupEntries.push_back(std::to_string(g));
    if (m_values.group < 0 || m_values.group >= capacity)
        m_values.group = 0;
}

void AcqSetupForm::UpdatePreset() {
    switch (static_cast<AcqPresetMode>(m_values.presetMode)) {
    case AcqPresetMode::Seconds:
        m_presetLabel = kSecondsLabel;
        m_presetEnabled = true;
        m_channelUsedEnabled = false;
        break;
    case AcqPresetMode::Counts:
        m_presetLabel = kCountsLabel;
        m_values.preset = m_totalCounts;
        m_presetEnabled = true;
        m_channelUsedEnabled = false;
        break;
    case AcqPresetMode::Channel:
        m_presetLabel = kCountsLabel;
        m_values.preset = m_channelCounts;
        m_presetEnabled = true;
        m_channelUsedEnabled = true;
        break;
    default:
        m_values.presetMode = static_cast<int>(AcqPresetMode::None);
        m_presetLabel = kNoneLabel;
        m_values.preset = 0;
        m_presetEnabled = false;
        m_channelUsedEnabled = false;
        break;
    }
    FillPresetModeEntries();
}

void AcqSetupForm::FillPresetModeEntries() {
    if (Mca())
        m_presetModeEntries = {"Seconds", "Counts", "Channel", "None"};
    else
        m_presetModeEntries = {"Seconds", "None"};
}

void AcqSetupForm::ApplyModeRule() {
    if (!Mca())
        ChangeAdcChannels(0);
}

std::optional<AcqFormError> AcqSetupForm::ReadFields(const AcqFieldTexts& texts) {
    const auto preset = ReadRanged(texts.preset, 0, kMaxPreset);
    if (!preset)
        return RangeError(AcqSetupField::Preset, 0, kMaxPreset);
    const auto channel = ParseInteger(texts.channelUsed);
    if (!channel || *channel < INT_MIN || *channel > INT_MAX)
        return RangeError(AcqSetupField::ChannelUsed, INT_MIN, INT_MAX);
    const auto threshold = ReadRanged(texts.threshold, kMinThreshold, kMaxThreshold);
    if (!threshold)
        return RangeError(AcqSetupField::Threshold, kMinThreshold, kMaxThreshold);
    m_values.preset = static_cast<uint32_t>(*preset);
    m_values.channelUsed = static_cast<int>(*channel);
    m_values.threshold = static_cast<int>(*threshold);
    return std::nullopt;
}

std::optional<AcqFormError> AcqSetupForm::ChangePresetMode(int entry, const AcqFieldTexts& texts) {
    if (auto error = ReadFields(texts))
        return error;
    int mode = static_cast<int>(AcqPresetMode::None);
    if (entry >= 0 && entry < static_cast<int>(m_presetModeEntries.size()))
        for (int m = 0; m <= static_cast<int>(AcqPresetMode::None); ++m)
            if (PresetModeName(m) == m_presetModeEntries[static_cast<size_t>(entry)])
                mode = m;
    m_values.presetMode = mode;
    UpdatePreset();
    return std::nullopt;
}

void AcqSetupForm::ChangeAcquisitionMode(int mode) {
    const bool toMcs = mode == static_cast<int>(AcqMode::LimitedMcs) &&
                       m_values.acquireMode != static_cast<int>(AcqMode::LimitedMcs);
    m_values.acquireMode = mode == static_cast<int>(AcqMode::LimitedMcs) ? 1 : 0;
    if (toMcs) {
        // The forced None must also clear and lock the preset: a counts preset left in the field
        // would otherwise go to the device as a time preset.
        m_values.presetMode = static_cast<int>(AcqPresetMode::None);
        UpdatePreset();
    }
    FillPresetModeEntries();
    ApplyModeRule();
}

void AcqSetupForm::ChangeAdcChannels(int entry) {
    if (entry < 0 || entry >= static_cast<int>(m_adcEntries.size()))
        return;
    m_values.gainIndex = entry;
    FillGroups(16384 / Channels() * (m_kestrelA ? 2 : 1));
}

void AcqSetupForm::ChangeGroup(int entry) {
    if (entry >= 0 && entry < static_cast<int>(m_groupEntries.size()))
        m_values.group = entry;
}

void AcqSetupForm::ChangeTimerType(int index) {
    m_values.timerType = index == 0 ? 0 : 1;
    m_values.liveMode = m_values.timerType;
}

void AcqSetupForm::ChangePeakMode(int index) {
    m_values.peakMode = index == 0 ? 0 : 1;
}

void AcqSetupForm::Defaults() {
    m_values.preset = 0;
    m_values.threshold = 50;
    m_values.group = 0;
    m_values.acquireMode = static_cast<int>(AcqMode::Mca);
    m_values.presetMode = static_cast<int>(AcqPresetMode::None);
    m_values.peakMode = 1;
    m_values.timerType = 1;
    m_values.liveMode = 1;
    m_values.channelUsed = 128;
    m_totalCounts = 1000;
    m_channelCounts = 1000;
    ChangeAdcChannels(2);
    m_values.group = 0;
    ApplyModeRule();
    UpdatePreset();
}

std::string AcqSetupForm::ThresholdFromCursor(int channel) {
    return std::to_string(channel == 0 ? 1 : channel);
}

std::string AcqSetupForm::ChannelUsedFromCursor(int channel) {
    return std::to_string(channel);
}

std::optional<AcqFormError> AcqSetupForm::Validate() const {
    const auto mode = static_cast<AcqPresetMode>(m_values.presetMode);
    if (Mca() && mode == AcqPresetMode::Channel &&
        (m_values.channelUsed < 0 || m_values.channelUsed > Channels()))
        return AcqFormError{"Invalid channel range for Preset Channel Mode!", std::nullopt};
    if (Mca() && (mode == AcqPresetMode::Channel || mode == AcqPresetMode::Counts) &&
        m_values.preset == 0)
        return AcqFormError{"No preset counts defined!", std::nullopt};
    if (!Mca() && mode == AcqPresetMode::Seconds && m_values.preset > kMaxMcsPreset)
        return AcqFormError{"Invalid preset range for MCS mode!", std::nullopt};
    return std::nullopt;
}

std::optional<AcqFormError> AcqSetupForm::Accept(const AcqFieldTexts& texts) {
    if (auto error = ReadFields(texts))
        return error;
    return Validate();
}

void AcqSetupForm::StoreInProfile(CSProfile& profile) const {
    profile.acquireMode = m_values.acquireMode;
    profile.presetMode = m_values.presetMode;
    profile.spChanPosition = m_values.channelUsed;
    profile.spTotalCts = static_cast<int>(m_values.preset);
    profile.spChanCts = static_cast<int>(m_values.preset);
}

} // namespace vorna
