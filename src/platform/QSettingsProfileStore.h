#pragma once
// The program's profile store: QSettings in INI format in the user's configuration folder
// (~/.config/<settings key>/Lumo.ini on Linux), so that the file can also be read without Qt
// (SettingsIniReader). Core texts are Windows-1252 bytes; the file holds UTF-8.

#include <memory>
#include <string>

#include "settings/ProfileStore.h"

class QSettings;

namespace vorna {

class QSettingsProfileStore : public ProfileStore {
public:
    // The user's store under `settingsKey` ("Quorix" or "Quorix_<unit>") and "Lumo".
    explicit QSettingsProfileStore(const std::string& settingsKey);
    // A store in an explicit file (tests, tools).
    struct AtPath {
        std::string path;
    };
    explicit QSettingsProfileStore(AtPath file);
    ~QSettingsProfileStore() override;

    std::optional<int> ReadInt(std::string_view section, std::string_view key) const override;
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view key) const override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;
    void WriteText(std::string_view section, std::string_view key, std::string_view value) override;
    bool Flush() override;

    // The file the values live in.
    std::string FileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace vorna
