#include "external/CompanionGate.h"

namespace vorna {

bool CompanionCallerAllowed(std::optional<uint32_t> callerUid, uint32_t ownUid) {
    return callerUid.has_value() && *callerUid == ownUid;
}

bool CompanionTextAllowed(size_t bytes) {
    return bytes <= kMaxCompanionText;
}

} // namespace vorna
