#pragma once
// The rules of the program's sortable report list (report, library and keyboard-map windows):
// how a clicked column orders its cells, the text a list copy puts on the clipboard, and what an
// empty list says. The list widget only shows rows and asks these.

#include <string>
#include <vector>

namespace vorna {

inline constexpr const char* kEmptyListText = "There are no items to view.";

// How a column orders its cells when its header is clicked.
enum class ListSortType : int { Text = 0, TextNoCase = 1, Integer = 2, Decimal = 3, DateTime = 4 };

// Negative, zero or positive as `a` sorts before, with or after `b`. Number and date columns
// put cells that hold no number or date ("None", "No match") after those that do, in text order.
int CompareListCells(ListSortType type, const std::string& a, const std::string& b);

// The list as copied: the header line (each title cut to 100 characters, followed by a TAB) and
// one line per row in the order shown (each cell followed by a TAB); every line ends in LF.
std::string ListCopyText(const std::vector<std::string>& titles,
                         const std::vector<std::vector<std::string>>& rows);

} // namespace vorna
