#include "appcore/SpectraSlotsEditor.h"

#include <algorithm>

#include "appcore/SpectrumPropertiesEdit.h"
#include "spectrum/SpectrumReader.h"

namespace vorna {

std::string CheckSlotEntry(const ProfileSlot& entry) {
    if (entry.width < kSlotWidthMin || entry.width > kSlotWidthMax)
        return "Please enter an integer between " + std::to_string(kSlotWidthMin) + " and " +
               std::to_string(kSlotWidthMax) + ".";
    if (entry.tag.size() > static_cast<size_t>(kSlotTagMaxLength))
        return "Please enter no more than " + std::to_string(kSlotTagMaxLength) + " characters.";
    if (!IsValidSpectrumTag(entry.tag))
        return kInvalidTagMessage;
    return {};
}

const ProfileSlot& SpectraSlotsEditor::Slot(int index) const {
    return m_profile.slots[static_cast<size_t>(std::clamp(index, 0, kSlots - 1))];
}

std::string SpectraSlotsEditor::SetSlot(int index, const ProfileSlot& entry) {
    if (index < 0 || index >= kSlots)
        return {};
    std::string refusal = CheckSlotEntry(entry);
    if (refusal.empty())
        m_profile.slots[static_cast<size_t>(index)] = entry;
    return refusal;
}

} // namespace vorna
