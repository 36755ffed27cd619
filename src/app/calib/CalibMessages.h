#pragma once
// Messages of the analysis windows, parented to the window that shows them.

#include <string>
#include <vector>

class QWidget;

namespace vorna {

// One warning box per text, in order.
void ShowMessages(QWidget* parent, const std::vector<std::string>& texts);
inline void ShowMessage(QWidget* parent, const std::string& text) {
    if (!text.empty())
        ShowMessages(parent, {text});
}

} // namespace vorna
