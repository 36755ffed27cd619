#pragma once
// Comparison of whole profiles, shared by the core and the Qt backend tests.

#include <gtest/gtest.h>

#include "settings/CSProfile.h"

namespace vorna::test {

inline void expectSameValues(ProfileValues& a, ProfileValues& b) {
    for (const ProfileKeyInfo& row : ProfileKeys()) {
        ProfileField fa = row.field(a);
        ProfileField fb = row.field(b);
        if (auto* i = std::get_if<int*>(&fa))
            EXPECT_EQ(**i, *std::get<int*>(fb)) << row.name;
        else if (auto* d = std::get_if<double*>(&fa))
            EXPECT_EQ(**d, *std::get<double*>(fb)) << row.name;
        else
            EXPECT_EQ(*std::get<std::string*>(fa), *std::get<std::string*>(fb)) << row.name;
    }
}

// Changes every value away from its default (positions to pixel values that survive the
// conversion to 1/10000 of a 1920×1080 screen and back).
inline void changeEveryValue(ProfileValues& v) {
    int n = 0;
    for (const ProfileKeyInfo& row : ProfileKeys()) {
        ProfileField f = row.field(v);
        ++n;
        if (auto* i = std::get_if<int*>(&f))
            **i = row.axis == ProfileAxis::None ? row.intDefault + 7 * n + 1 : 100 + n;
        else if (auto* d = std::get_if<double*>(&f))
            **d = 0.25 * n;
        else
            *std::get<std::string*>(f) = "t" + std::to_string(n);
    }
}

} // namespace vorna::test
