#include "settings/MemoryProfileStore.h"

#include "common/NumberText.h"

namespace vorna {

const MemoryProfileStore::Value* MemoryProfileStore::Find(std::string_view section,
                                                          std::string_view key) const {
    auto it = m_values.find(ProfileValuePath(section, key));
    return it == m_values.end() ? nullptr : &it->second;
}

std::optional<int> MemoryProfileStore::ReadInt(std::string_view section,
                                               std::string_view key) const {
    const Value* v = Find(section, key);
    if (!v)
        return std::nullopt;
    if (const int* i = std::get_if<int>(v))
        return *i;
    return ParseProfileInt(std::get<std::string>(*v));
}

std::optional<std::string> MemoryProfileStore::ReadText(std::string_view section,
                                                        std::string_view key) const {
    const Value* v = Find(section, key);
    if (!v)
        return std::nullopt;
    if (const int* i = std::get_if<int>(v))
        return Format("%d", *i);
    return std::get<std::string>(*v);
}

void MemoryProfileStore::WriteInt(std::string_view section, std::string_view key, int value) {
    std::string path = ProfileValuePath(section, key);
    m_writeLog.push_back(path);
    m_values[std::move(path)] = value;
}

void MemoryProfileStore::WriteText(std::string_view section, std::string_view key,
                                   std::string_view value) {
    std::string path = ProfileValuePath(section, key);
    m_writeLog.push_back(path);
    m_values[std::move(path)] = std::string(value);
}

} // namespace vorna
