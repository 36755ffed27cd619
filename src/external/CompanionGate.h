#pragma once
// What a companion request must satisfy before any command runs.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vorna {

// The largest request text taken: far above any spectrum of 4096 counts, far below what would
// let a caller make the program allocate without bound.
inline constexpr size_t kMaxCompanionText = size_t{1} << 20;

// Only programs of the user who runs VORNA may drive it. A caller whose user id the bus could
// not tell is refused too: a misconfigured bus must not open the door.
bool CompanionCallerAllowed(std::optional<uint32_t> callerUid, uint32_t ownUid);

// The request text size in bytes (after conversion to the program's 8-bit text).
bool CompanionTextAllowed(size_t bytes);

} // namespace vorna
