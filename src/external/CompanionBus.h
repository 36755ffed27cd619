#pragma once
// The session-bus names of the companion interface; outside programs rely on them
// (docs/COMPANION.md).

namespace vorna {

// VORNA: CopyData(u code, s text) -> i and Command(u code, i argument) -> i.
inline constexpr const char* kCompanionWindowService = "com.quorix.LumoWindow";
inline constexpr const char* kCompanionWindowPath = "/LumoWindow";
inline constexpr const char* kCompanionWindowInterface = "com.quorix.LumoWindow";
// The companion: CopyData(u code, s text), the answers.
inline constexpr const char* kCompanionAnswerService = "com.quorix.Elemix";
inline constexpr const char* kCompanionAnswerPath = "/Elemix";
inline constexpr const char* kCompanionAnswerInterface = "com.quorix.Elemix";

} // namespace vorna
