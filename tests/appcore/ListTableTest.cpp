#include <gtest/gtest.h>

#include <algorithm>

#include "appcore/ListTable.h"

using namespace vorna;

namespace {

std::vector<std::string> Sorted(ListSortType type, std::vector<std::string> cells) {
    std::stable_sort(cells.begin(), cells.end(), [type](const auto& a, const auto& b) {
        return CompareListCells(type, a, b) < 0;
    });
    return cells;
}

} // namespace

TEST(ListTable, ColumnsSortByTheirType) {
    using V = std::vector<std::string>;
    // Net areas: as numbers, not as texts; cells without a number go last.
    EXPECT_EQ(Sorted(ListSortType::Decimal, {"319242", "None", "45602", "-1.5", "0.25"}),
              (V{"-1.5", "0.25", "45602", "319242", "None"}));
    EXPECT_EQ(Sorted(ListSortType::Integer, {"10", "9", "No match", "100"}),
              (V{"9", "10", "100", "No match"}));
    EXPECT_EQ(Sorted(ListSortType::Text, {"b", "B", "a"}), (V{"B", "a", "b"}));
    EXPECT_EQ(Sorted(ListSortType::TextNoCase, {"b", "B", "a", "Ab"}), (V{"a", "Ab", "b", "B"}));
    // Start times: year first, then month, day and time.
    EXPECT_EQ(Sorted(ListSortType::DateTime,
                     {"01/10/2026 09:00:00", "12/09/2025 10:15:00", "12/09/2025 08:00:00"}),
              (V{"12/09/2025 08:00:00", "12/09/2025 10:15:00", "01/10/2026 09:00:00"}));
    // Equal numbers fall back to the text so the order is total.
    EXPECT_LT(CompareListCells(ListSortType::Decimal, "1.0", "1.00"), 0);
    EXPECT_EQ(CompareListCells(ListSortType::Decimal, "2", "2"), 0);
}

TEST(ListTable, CopyTextHasTheHeaderLineAndTabsAfterEveryCell) {
    EXPECT_EQ(ListCopyText({"Energy", "Element"}, {{"5.90", "Mn Ka"}, {"6.40", "Fe Ka"}}),
              "Energy\tElement\t\n5.90\tMn Ka\t\n6.40\tFe Ka\t\n");
    EXPECT_EQ(ListCopyText({"A"}, {}), "A\t\n");
    // A title is read up to 100 characters.
    const std::string copied = ListCopyText({std::string(120, 'x')}, {});
    EXPECT_EQ(copied, std::string(100, 'x') + "\t\n");
}
