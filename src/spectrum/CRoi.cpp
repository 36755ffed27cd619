#include "spectrum/CRoi.h"

namespace vorna {

const char* RoiStatusText(RoiStatus code) {
    const int status = static_cast<int>(code);
    static const char* const kTexts[] = {"INVALID", "BAD", "MARGINAL", "GOOD"};
    if (status < 0 || status > 3)
        return "INVALID";
    return kTexts[status];
}

int CRoi::AddSorted(int start, int end) {
    if (start >= end)
        return -1;
    size_t at = 0;
    while (at < m_entries.size() && m_entries[at].start <= start)
        ++at;
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(at), CRoiEntry(start, end));
    int index = static_cast<int>(at);
    if (m_selected >= 0 && index <= m_selected)
        ++m_selected;
    return index;
}

void CRoi::Append(int start, int end) {
    m_entries.emplace_back(start, end);
}

void CRoi::Delete(int index) {
    if (index < 0 || index >= GetCount())
        return;
    m_entries.erase(m_entries.begin() + index);
    if (index == m_selected)
        m_selected = -1;
    else if (index < m_selected)
        --m_selected;
}

int CRoi::Find(int channel) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].start <= channel && channel <= m_entries[i].end)
            return static_cast<int>(i);
    return -1;
}

void CRoi::Clear() {
    m_entries.clear();
    m_selected = -1;
}

} // namespace vorna
