#include "appcore/RecentFiles.h"

#include <algorithm>
#include <cctype>

#include "appcore/CommandIds.h"
#include "settings/ProfileStore.h"

namespace vorna {

namespace {

std::string KeyFor(int index) {
    return "File" + std::to_string(index + 1);
}

bool SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

} // namespace

void RecentFiles::Load() {
    m_entries.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string path = m_store.GetText(kSection, KeyFor(i), "");
        if (!path.empty())
            m_entries.push_back(path);
    }
}

void RecentFiles::Save() const {
    for (int i = 0; i < kSize; ++i)
        m_store.WriteText(kSection, KeyFor(i),
                          i < static_cast<int>(m_entries.size()) ? m_entries[i] : "");
    m_store.Flush();
}

void RecentFiles::AddRecentFile(const std::string& path) {
    if (path.empty())
        return;
    std::erase_if(m_entries, [&](const std::string& e) { return SamePath(e, path); });
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > kSize)
        m_entries.resize(kSize);
    Save();
}

void RecentFiles::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return;
    m_entries.erase(m_entries.begin() + index);
    Save();
}

std::string RecentFiles::PathForCommand(int commandId) const {
    const int n = commandId - ToInt(CommandId::RecentFile1);
    if (n < 0 || commandId > ToInt(CommandId::RecentFileLast) ||
        n >= static_cast<int>(m_entries.size()))
        return {};
    return m_entries[static_cast<size_t>(n)];
}

std::string RecentFiles::MenuText(int index, const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return "&" + std::to_string(index + 1) + " " + name;
}

} // namespace vorna
