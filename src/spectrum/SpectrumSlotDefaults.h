#pragma once
// Tag, line width and colour a new spectrum takes from the number of spectra already open.

#include <array>
#include <cstdint>
#include <string>

namespace vorna {

struct SpectrumSlot {
    int32_t width = 1;
    uint32_t color = 0;
    std::string tag;
};

class SpectrumSlotDefaults {
public:
    static constexpr int kSlots = 10; // positions 0..9; position 10 and beyond use the fallback

    SpectrumSlotDefaults(); // the built-in table

    // The entry for a spectrum created when `position` spectra are already in the list.
    const SpectrumSlot& ForPosition(int position) const;

    // Profile overrides ("spectrumN_width/_color/_tag", "common_defaults_*").
    void SetSlot(int position, SpectrumSlot slot);
    void SetFallback(SpectrumSlot slot) { m_fallback = std::move(slot); }
    const SpectrumSlot& Fallback() const { return m_fallback; }

private:
    std::array<SpectrumSlot, kSlots> m_slots;
    SpectrumSlot m_fallback;
};

} // namespace vorna
