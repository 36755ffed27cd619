#include "spectrum/SpectrumSlotDefaults.h"

#include "spectrum/SpectrumHeader.h"

namespace vorna {

SpectrumSlotDefaults::SpectrumSlotDefaults() {
    m_slots[0] = {1, MakeRgb(0, 0, 0), "live_data"};
    m_slots[1] = {1, MakeRgb(0, 128, 0), "S1"};
    m_slots[2] = {1, MakeRgb(128, 0, 128), "S2"};
    m_slots[3] = {1, MakeRgb(0, 128, 192), "S3"};
    m_slots[4] = {1, MakeRgb(255, 255, 0), "S4"};
    for (int i = 5; i < kSlots; ++i)
        m_slots[static_cast<size_t>(i)] = {2, MakeRgb(0, 127, 0), "S" + std::to_string(i)};
    m_fallback = {2, MakeRgb(0, 128, 128), "S"};
}

const SpectrumSlot& SpectrumSlotDefaults::ForPosition(int position) const {
    if (position >= 0 && position < kSlots)
        return m_slots[static_cast<size_t>(position)];
    return m_fallback;
}

void SpectrumSlotDefaults::SetSlot(int position, SpectrumSlot slot) {
    if (position >= 0 && position < kSlots)
        m_slots[static_cast<size_t>(position)] = std::move(slot);
}

} // namespace vorna
