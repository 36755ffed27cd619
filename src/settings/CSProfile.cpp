#include "settings/CSProfile.h"

#include <cmath>

#include "common/NumberText.h"
#include "settings/MemoryProfileStore.h"
#include "settings/ProfileFolders.h"
#include "spectrum/AnalysisSettings.h"
#include "spectrum/SpectrumEnvironment.h"
#include "spectrum/SpectrumSlotDefaults.h"

namespace vorna {
namespace {

int extentOf(ProfileAxis axis, ScreenSize screen) {
    return axis == ProfileAxis::Horizontal ? screen.width : screen.height;
}

} // namespace

CSProfile::CSProfile(ProfileStore& store, ScreenSize screen)
    : m_store(store), m_screen(screen), m_profileName(kDefaultProfileName) {
    ResetToDefaults();
}

void CSProfile::ResetToDefaults() {
    LoadValues(MemoryProfileStore{}, m_profileName);
}

void CSProfile::Load() {
    SetProfileName(m_store.GetText(kConfigSection, kProfileNameKey, kDefaultProfileName));
    LoadValues(m_store, m_profileName);
}

void CSProfile::LoadValues(const ProfileStore& store, std::string_view section) {
    ProfileValues& values = *this;
    for (const ProfileKeyInfo& row : ProfileKeys()) {
        ProfileField field = row.field(values);
        switch (row.type) {
        case ProfileType::Int: {
            int v = store.GetInt(section, row.name, row.intDefault);
            if (row.axis != ProfileAxis::None)
                v = PositionToPixels(v, extentOf(row.axis, m_screen));
            *std::get<int*>(field) = v;
            break;
        }
        case ProfileType::Text: {
            std::string v = store.GetText(section, row.name, row.textDefault);
            if (row.maxLength && v.size() > row.maxLength)
                v.resize(row.maxLength);
            *std::get<std::string*>(field) = std::move(v);
            break;
        }
        case ProfileType::Decimal: {
            // A text that holds no finite number would poison every computation that uses it.
            double fallback = ScanDouble(row.textDefault).value_or(0.0);
            auto v = ScanDouble(store.GetText(section, row.name, row.textDefault));
            *std::get<double*>(field) = v && std::isfinite(*v) ? *v : fallback;
            break;
        }
        }
    }
}

bool CSProfile::Save(const WindowPlacement* placement) {
    if (placement) {
        placementFlags = placement->flags;
        placementShow = placement->showCmd;
        placementLeft = placement->left;
        placementTop = placement->top;
        placementRight = placement->right;
        placementBottom = placement->bottom;
    }
    m_store.WriteText(kConfigSection, kProfileNameKey, m_profileName);
    ProfileValues& values = *this;
    for (const ProfileKeyInfo& row : ProfileKeys()) {
        ProfileField field = row.field(values);
        switch (row.type) {
        case ProfileType::Int: {
            int* member = std::get<int*>(field);
            int v = member == &acquireMode ? 0 : *member;
            if (row.axis != ProfileAxis::None)
                v = PixelsToPosition(v, extentOf(row.axis, m_screen));
            m_store.WriteInt(m_profileName, row.name, v);
            break;
        }
        case ProfileType::Text:
            m_store.WriteText(m_profileName, row.name, *std::get<std::string*>(field));
            break;
        case ProfileType::Decimal:
            m_store.WriteText(m_profileName, row.name, Format("%g", *std::get<double*>(field)));
            break;
        }
    }
    return m_store.Flush();
}

void CSProfile::SetProfileName(std::string name) {
    // An empty name would put the settings beside "Config" instead of in a section of their own.
    m_profileName = name.empty() ? std::string(kDefaultProfileName) : std::move(name);
}

int CSProfile::GetInt(std::string_view key, int fallback) const {
    return m_store.GetInt(m_profileName, key, fallback);
}

std::string CSProfile::GetText(std::string_view key, std::string_view fallback) const {
    return m_store.GetText(m_profileName, key, fallback);
}

void CSProfile::SetInt(std::string_view key, int value) {
    m_store.WriteInt(m_profileName, key, value);
}

void CSProfile::SetText(std::string_view key, std::string_view text) {
    m_store.WriteText(m_profileName, key, text);
}

std::optional<ProfileField> CSProfile::Field(std::string_view key) {
    const ProfileKeyInfo* row = FindProfileKey(key);
    if (!row)
        return std::nullopt;
    return row->field(*this);
}

void CSProfile::FillAnalysisSettings(AnalysisSettings& s) const {
    s.backgroundChannels = backgroundChannels;
    s.goodPeakLevel = goodPeakLevel;
    s.fwhmCalcMethod = static_cast<FwhmMethod>(fwhmCalcMethod);
    s.fwhmNoSmooths = fwhmNoSmooths;
    s.centroidCalcMethod = static_cast<CentroidMethod>(centroidCalcMethod);
    s.calibrateEnable = calibrateEnable;
    s.calibEquationType = calibEquationType;
    s.peakWidth = peakWidth;
    s.peakSearchSens = peakSearchSens;
    s.librarySens = librarySens;
    s.smoothKind = smoothKind;
    s.showRoi = showRoi;
    s.showAllRoi = showAllRoi;
}

void CSProfile::FillSlotDefaults(SpectrumSlotDefaults& out) const {
    auto convert = [](const ProfileSlot& s) {
        return SpectrumSlot{s.width, static_cast<uint32_t>(s.color), s.tag};
    };
    static_assert(std::tuple_size_v<decltype(slots)> == SpectrumSlotDefaults::kSlots);
    for (int n = 0; n < SpectrumSlotDefaults::kSlots; ++n)
        out.SetSlot(n, convert(slots[static_cast<size_t>(n)]));
    out.SetFallback(convert(commonDefaults));
}

void CSProfile::FillEnvironment(SpectrumEnvironment& env) const {
    FillAnalysisSettings(env.settings);
    FillSlotDefaults(env.slots);
    env.dppDeviceType = deviceType;
    env.spectraDirectory = FolderForFiles(spectraDirectory);
}

} // namespace vorna
