#pragma once
// Where the oscilloscope draws: a 256 x 256 logical area, 512 samples two to a column, sample
// value 0 on the bottom edge, and the trigger marker of each trigger position.

#include <cstdint>
#include <optional>

namespace vorna {

constexpr int kScopeLogicalSize = 256;
constexpr int kScopeGridStep = 32; // 8 x 8 divisions
constexpr int kScopeMarkerBottom = 240;

struct ScopePoint {
    int x = 0;
    int y = 0;
};

inline ScopePoint ScopeSamplePoint(int index, uint8_t sample) {
    return {index / 2, kScopeLogicalSize - sample};
}

// 87 %, 50 % and 12 % pretrigger mark their trigger; the delayed trigger has no marker.
inline std::optional<int> ScopeTriggerMarkerX(int position) {
    switch (position) {
    case 0:
        return 224;
    case 1:
        return 128;
    case 2:
        return 32;
    default:
        return std::nullopt;
    }
}

} // namespace vorna
