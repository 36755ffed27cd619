#pragma once
// The rules of the acquisition setup dialog without any widget: which entries the lists hold,
// which controls are enabled, what the preset field shows for each preset mode, the range checks
// of the number fields and the checks of OK. The Qt dialog shows this state and forwards the
// user's edits; everything it decides is decided here.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kestrel/CAcq.h"
#include "kestrel/KestrelLink.h"

namespace vorna {

class CSProfile;

enum class AcqSetupField { Preset, ChannelUsed, Threshold };

// The texts of the dialog's three number fields, as typed.
struct AcqFieldTexts {
    std::string preset;
    std::string channelUsed;
    std::string threshold;
};

// Why a read or OK was refused; `field` names the field that gets the focus, when there is one.
struct AcqFormError {
    std::string message;
    std::optional<AcqSetupField> field;
};

// "Seconds", "Counts", "Channel", "None"; any other number is "Unknown".
std::string PresetModeName(int mode);

class AcqSetupForm {
public:
    static constexpr uint32_t kMaxPreset = 16777215;
    static constexpr int kMinThreshold = 1;
    static constexpr int kMaxThreshold = 8192;
    static constexpr uint32_t kMaxMcsPreset = 16384;

    // `values` from the controller; the profile supplies the preset mode, the acquisition mode,
    // the channel used, the remembered counts presets and the device type.
    AcqSetupForm(const AcqSetup& values, const CSProfile& profile, KestrelDeviceType analyzer);

    // --- what the dialog shows ---
    const AcqSetup& Values() const { return m_values; }
    AcqFieldTexts FieldTexts() const;
    const std::string& PresetLabel() const { return m_presetLabel; }
    const std::vector<std::string>& AdcEntries() const { return m_adcEntries; }
    const std::vector<std::string>& GroupEntries() const { return m_groupEntries; }
    const std::vector<std::string>& PresetModeEntries() const { return m_presetModeEntries; }
    int AdcSelection() const { return m_values.gainIndex; }
    int GroupSelection() const { return m_values.group; }
    // -1 when the current preset mode is not offered in the current acquisition mode.
    int PresetModeSelection() const;
    bool PresetEnabled() const { return m_presetEnabled; }
    bool ChannelUsedEnabled() const { return m_channelUsedEnabled; }
    bool GroupEnabled() const;
    bool AdcEnabled() const { return Mca(); }
    bool PeakModeEnabled() const { return Mca(); }
    uint32_t RememberedTotalCounts() const { return m_totalCounts; }
    uint32_t RememberedChannelCounts() const { return m_channelCounts; }

    // --- the user's edits ---
    // Range checks of the three fields; the values change only when all pass.
    std::optional<AcqFormError> ReadFields(const AcqFieldTexts& texts);
    // Reads the fields first; on a refused read nothing else changes.
    std::optional<AcqFormError> ChangePresetMode(int entry, const AcqFieldTexts& texts);
    void ChangeAcquisitionMode(int mode);
    void ChangeAdcChannels(int entry);
    void ChangeGroup(int entry);
    void ChangeTimerType(int index);
    void ChangePeakMode(int index);
    void Defaults();
    // Field texts the "Cursor" buttons write for the channel under the plot cursor.
    static std::string ThresholdFromCursor(int channel);
    static std::string ChannelUsedFromCursor(int channel);

    // Reads the fields and checks the values; nothing when the dialog may close with OK.
    std::optional<AcqFormError> Accept(const AcqFieldTexts& texts);
    // The acquisition settings OK writes into the profile.
    void StoreInProfile(CSProfile& profile) const;

private:
    bool Mca() const { return m_values.acquireMode == static_cast<int>(AcqMode::Mca); }
    int Channels() const;
    void UpdatePreset();
    void FillPresetModeEntries();
    void ApplyModeRule();
    void FillGroups(int capacity);
    std::optional<AcqFormError> Validate() const;

    AcqSetup m_values;
    bool m_kestrelA = false;
    uint32_t m_totalCounts = 0;
    uint32_t m_channelCounts = 0;
    std::string m_presetLabel;
    bool m_presetEnabled = true;
    bool m_channelUsedEnabled = false;
    std::vector<std::string> m_adcEntries;
    std::vector<std::string> m_groupEntries;
    std::vector<std::string> m_presetModeEntries;
};

} // namespace vorna
