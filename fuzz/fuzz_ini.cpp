// INI files from anywhere: the test-station file (private-profile reader) and the user's
// settings file (the Qt-free reader of the QSettings layout). Both must take any bytes; a
// profile loaded from whatever the settings reader returns must save and load back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/IniFile.h"
#include "settings/CSProfile.h"
#include "settings/SettingsIniReader.h"

namespace {

void checkPrivateProfile(std::string_view text) {
    vorna::IniFile ini = vorna::IniFile::Parse(text);
    for (const std::string& section : ini.Sections())
        for (const std::string& key : ini.Keys(section)) {
            if (!ini.Has(section, key))
                std::abort();
            (void)ini.GetString(section, key);
            (void)ini.GetInt(section, key, 0);
        }
    (void)ini.GetString("QuorixTestUnit", "UnitNumber");
}

void checkSettingsFile(std::string_view text) {
    vorna::MemoryProfileStore store = vorna::ParseSettingsIni(text);
    for (const auto& [path, value] : store.Values())
        if (!store.ReadText(path, "") || store.ReadText(path, "") != std::get<std::string>(value))
            std::abort();

    vorna::CSProfile loaded(store, {1920, 1080});
    loaded.Load();
    if (loaded.ProfileName().empty() || loaded.infoFont.face.size() > 32)
        std::abort();

    // Without a screen positions are not scaled, so integers and texts must come back as they
    // were (decimals pass through "%g" and may lose digits).
    vorna::CSProfile plain(store, {});
    plain.Load();
    vorna::MemoryProfileStore saved;
    vorna::CSProfile writer(saved, {});
    static_cast<vorna::ProfileValues&>(writer) = plain;
    writer.SetProfileName(plain.ProfileName());
    writer.Save();
    vorna::CSProfile reread(saved, {});
    reread.Load();
    if (reread.ProfileName() != plain.ProfileName())
        std::abort();
    for (const vorna::ProfileKeyInfo& row : vorna::ProfileKeys()) {
        vorna::ProfileField a = row.field(plain);
        vorna::ProfileField b = row.field(reread);
        if (auto* i = std::get_if<int*>(&a)) {
            if (row.name != "m_nAcquireMode" && **i != *std::get<int*>(b))
                std::abort();
        } else if (auto* s = std::get_if<std::string*>(&a)) {
            if (**s != *std::get<std::string*>(b))
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    checkPrivateProfile(text);
    checkSettingsFile(text);
    return 0;
}
