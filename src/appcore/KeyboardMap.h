#pragma once
// The keys of the plot window with one line each, as the keyboard map dialog lists them. Fixed
// text: it documents the keys, it does not drive them.

#include <vector>

namespace vorna {

struct KeyboardMapRow {
    const char* shortcut;
    const char* description;
};

const std::vector<KeyboardMapRow>& KeyboardMapRows();

inline constexpr const char* kKeyboardMapTitle = "Keyboard Accelerators";
inline constexpr const char* kKeyboardMapPrintTitle = "Keyboard Shortcuts";

} // namespace vorna
