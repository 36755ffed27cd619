#include "sim/SimulateSetting.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace vorna {
namespace {

// Longer than any run anyone waits for, short enough that microseconds stay far from overflow.
constexpr double kMaxSeconds = 1e7;
constexpr int kMaxEvery = 1'000'000'000;

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string Normalized(std::string_view item) {
    while (!item.empty() && IsBlank(item.front()))
        item.remove_prefix(1);
    while (!item.empty() && IsBlank(item.back()))
        item.remove_suffix(1);
    std::string name(item);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name;
}

// Splits at `separator`; the pieces are normalized, empty ones kept.
std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t pos = 0;
    while (pos <= text.size()) {
        const size_t end = std::min(text.find(separator, pos), text.size());
        parts.push_back(Normalized(text.substr(pos, end - pos)));
        pos = end + 1;
    }
    return parts;
}

std::optional<int64_t> SecondsToMicros(std::string_view text) {
    double seconds = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, seconds, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(seconds) || seconds < 0 ||
        seconds > kMaxSeconds)
        return std::nullopt;
    return std::llround(seconds * 1e6);
}

std::optional<int> WholeCount(std::string_view text) {
    int n = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (ec != std::errc() || ptr != end || n < 1 || n > kMaxEvery)
        return std::nullopt;
    return n;
}

// Reads the options after a device name into `plan`; every option not taken adds a text.
void ParseOptions(const std::string& name, const std::vector<std::string>& parts, bool dpp,
                  SimFaultPlan& plan, std::vector<std::string>& bad) {
    auto complain = [&](const std::string& text) { bad.push_back(name + ": " + text); };
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::string& option = parts[i];
        if (option.empty()) {
            complain("empty option");
            continue;
        }
        const size_t eq = option.find('=');
        const std::string key = Normalized(std::string_view(option).substr(0, eq));
        const std::string value =
            eq == std::string::npos ? std::string() : Normalized(option.substr(eq + 1));
        const bool timed = key == "unplug" || key == "replug" || key == "silent";
        const bool counted = key == "checksum" || key == "short";
        if (!timed && !counted) {
            complain("unknown option \"" + key + "\"");
            continue;
        }
        if (eq == std::string::npos || value.empty()) {
            complain("option \"" + key + "\" needs a value, as in " + key + (timed ? "=20" : "=7"));
            continue;
        }
        if (key == "short" && !dpp) {
            complain("option \"short\" belongs to DPPs only");
            continue;
        }
        if (timed) {
            const auto micros = SecondsToMicros(value);
            if (!micros) {
                complain("\"" + option + "\" is not a number of seconds (0 or more)");
                continue;
            }
            (key == "unplug"   ? plan.unplugMicros
             : key == "replug" ? plan.replugMicros
                               : plan.silentMicros) = micros;
        } else {
            const auto every = WholeCount(value);
            if (!every) {
                complain("\"" + option + "\" is not a whole number of 1 or more");
                continue;
            }
            (key == "checksum" ? plan.checksumEvery : plan.shortEvery) = *every;
        }
    }
    if (plan.replugMicros && !plan.unplugMicros) {
        complain("option \"replug\" needs \"unplug\"");
        plan.replugMicros.reset();
    }
}

} // namespace

bool SimulateSetting::Has(std::string_view name) const {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::vector<std::string> SimulateSetting::Problems() const {
    std::vector<std::string> lines;
    for (const std::string& name : unknown)
        lines.push_back("unknown device \"" + name + "\"");
    lines.insert(lines.end(), badOptions.begin(), badOptions.end());
    return lines;
}

std::optional<KestrelSimModel> KestrelSimModelFromName(std::string_view name) {
    if (name == "kestrel")
        return KestrelSimModel::Kestrel;
    if (name == "kestrela")
        return KestrelSimModel::KestrelA;
    if (name == "kestrela-usb")
        return KestrelSimModel::KestrelAUsb;
    return std::nullopt;
}

std::optional<SimDppModel> SimDppModelFromName(std::string_view name) {
    if (name == "heron")
        return SimDppModel::Heron;
    if (name == "plover")
        return SimDppModel::Plover;
    if (name == "heronemul")
        return SimDppModel::HeronEmulation;
    if (name == "osprey")
        return SimDppModel::Osprey;
    return std::nullopt;
}

SimulateSetting ParseSimulateSetting(std::string_view value) {
    SimulateSetting setting;
    for (const std::string& item : Split(value, ',')) {
        if (item.empty())
            continue;
        const std::vector<std::string> parts = Split(item, ':');
        const std::string& name = parts.front();
        if (name.empty()) {
            setting.badOptions.push_back("\"" + item + "\" has no device name");
            continue;
        }
        setting.names.push_back(name);
        SimFaultPlan plan;
        if (auto model = KestrelSimModelFromName(name)) {
            ParseOptions(name, parts, false, plan, setting.badOptions);
            if (!setting.kestrel) {
                setting.kestrel = model;
                setting.kestrelFaults = plan;
            }
        } else if (auto dpp = SimDppModelFromName(name)) {
            ParseOptions(name, parts, true, plan, setting.badOptions);
            setting.dpps.push_back(*dpp);
            setting.dppFaults.push_back(plan);
        } else {
            setting.unknown.push_back(name);
        }
    }
    return setting;
}

SimulateSetting SimulateSettingFromEnvironment() {
    const char* value = std::getenv("VORNA_SIMULATE");
    SimulateSetting setting = ParseSimulateSetting(value ? value : "");
    static std::once_flag reported;
    std::call_once(reported, [&setting] {
        for (const std::string& line : setting.Problems())
            std::fprintf(stderr, "VORNA_SIMULATE: %s\n", line.c_str());
    });
    return setting;
}

} // namespace vorna
