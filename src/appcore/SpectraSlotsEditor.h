#pragma once
// The "Spectra" dialog's work: the ten display slots (line width, colour and tag a spectrum takes
// from its list position) and the smoothing kind, edited in the profile.

#include <string>

#include "settings/ProfileValues.h"

namespace vorna {

inline constexpr int kSlotWidthMin = 1;
inline constexpr int kSlotWidthMax = 4;
inline constexpr int kSlotTagMaxLength = 10;

// Why "Specify Contour and Tag" refuses an entry, or empty when it is fine. A slot's tag becomes
// the tag of new spectra, so it must also be one a spectrum file can carry.
std::string CheckSlotEntry(const ProfileSlot& entry);

class SpectraSlotsEditor {
public:
    static constexpr int kSlots = 10;

    explicit SpectraSlotsEditor(ProfileValues& profile)
        : m_profile(profile), m_smoothKind(profile.smoothKind) {}

    const ProfileSlot& Slot(int index) const;
    // Checks the entry and writes it into the profile at once; returns the refusal message (the
    // slot then stays as it was) or empty.
    std::string SetSlot(int index, const ProfileSlot& entry);

    // 0 three points, 1 five points; stored when the dialog closes.
    int SmoothKind() const { return m_smoothKind; }
    void ChooseSmoothKind(int kind) { m_smoothKind = kind == 1 ? 1 : 0; }
    void Close() { m_profile.smoothKind = m_smoothKind; }

private:
    ProfileValues& m_profile;
    int m_smoothKind;
};

} // namespace vorna
