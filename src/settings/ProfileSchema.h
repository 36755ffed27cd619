#pragma once
// The key table of the profile: one row per stored value with its name, type, default and the
// screen axis of a position. Load and save walk it in order; nothing else lists the keys.

#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/ProfileValues.h"

namespace vorna {

enum class ProfileType {
    Int,     // stored as a number
    Text,    // stored as text
    Decimal, // a double, stored as text written with "%g"
};

// Position values are kept in 1/10000 of the screen's width or height.
enum class ProfileAxis { None, Horizontal, Vertical };

// The member behind a row.
using ProfileField = std::variant<int*, double*, std::string*>;

struct ProfileKeyInfo {
    std::string name;
    ProfileType type = ProfileType::Int;
    int intDefault = 0;      // Int rows
    std::string textDefault; // Text and Decimal rows (a decimal default is its stored text)
    ProfileAxis axis = ProfileAxis::None;
    size_t maxLength = 0; // texts longer than this are cut on loading; 0 = no limit
    std::function<ProfileField(ProfileValues&)> field;
};

// Every row in load and save order.
const std::vector<ProfileKeyInfo>& ProfileKeys();

// The row of a key name (exact spelling), or null.
const ProfileKeyInfo* FindProfileKey(std::string_view name);

// The stored names of the dialog positions ("spectra_list", "roi_list", …).
std::string_view ProfileDialogName(ProfileDialog dialog);

} // namespace vorna
