#pragma once
// The File menu's recently used files: four entries, newest first, kept in the profile store's
// "Recent File List" section as "File1" .. "File4".

#include <string>
#include <vector>

#include "spectrum/SpectrumFile.h"

namespace vorna {

class ProfileStore;

class RecentFiles : public RecentFileList {
public:
    static constexpr int kSize = 4;
    static constexpr const char* kSection = "Recent File List";

    explicit RecentFiles(ProfileStore& store) : m_store(store) {}

    void Load();
    void Save() const;
    // Moves an existing entry (same path, letter case ignored) to the top.
    void AddRecentFile(const std::string& path) override;
    void Remove(int index);

    const std::vector<std::string>& Entries() const { return m_entries; }
    // The path behind command 57616 + n; empty for an id past the list or past the eighth.
    std::string PathForCommand(int commandId) const;
    // "&1 name" as the menu shows it.
    static std::string MenuText(int index, const std::string& path);

private:
    ProfileStore& m_store;
    std::vector<std::string> m_entries;
};

} // namespace vorna
