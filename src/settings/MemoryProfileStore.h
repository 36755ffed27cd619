#pragma once
// A profile store held in memory: the store of tests, and the form in which a settings file read
// without Qt is handed to the profile. Flush has nothing to do; nothing is written anywhere.

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "settings/ProfileStore.h"

namespace vorna {

class MemoryProfileStore : public ProfileStore {
public:
    // A value as it was written: integers stay integers so tests can tell how a value was
    // stored; text read from a settings file is always text, as the file has no types.
    using Value = std::variant<int, std::string>;

    std::optional<int> ReadInt(std::string_view section, std::string_view key) const override;
    std::optional<std::string> ReadText(std::string_view section,
                                        std::string_view key) const override;
    void WriteInt(std::string_view section, std::string_view key, int value) override;
    void WriteText(std::string_view section, std::string_view key, std::string_view value) override;
    bool Flush() override { return true; }

    const Value* Find(std::string_view section, std::string_view key) const;
    // Values by their path ("Section/key"), as ProfileValuePath builds it.
    const std::map<std::string, Value>& Values() const { return m_values; }
    void SetValue(std::string path, Value value) { m_values[std::move(path)] = std::move(value); }
    void Erase(const std::string& path) { m_values.erase(path); }
    // Every write in order, by path; lets tests check what a save wrote and in which order.
    const std::vector<std::string>& WriteLog() const { return m_writeLog; }
    void ClearWriteLog() { m_writeLog.clear(); }

private:
    std::map<std::string, Value> m_values;
    std::vector<std::string> m_writeLog;
};

} // namespace vorna
