// DPP commands: configuration files to records, images, wire packets and texts; status packets
// and boot flags to what the program shows and stores.

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <span>
#include <vector>

#include "CliCommon.h"
#include "dpp/DppBootFlags.h"
#include "dpp/DppConfigFile.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppStatusRecord.h"
#include "dpp/DppWirePacket.h"

namespace vorna::cli {
namespace {

// Options shared by the commands that read a configuration file.
struct ConfigOptions {
    std::string file;
    int deviceType = 1;
    bool directHighVoltage = false;
    bool fastClock = false;
};

void addConfigOptions(CLI::App* c, ConfigOptions& o, bool withDeviceFlags) {
    c->add_option("CFG", o.file, "DPP configuration file (43 lines, or 41)")->required();
    c->add_option("--device-type", o.deviceType,
                  "DppDeviceType: 1 Heron, 2 Plover, 3 Heron emulation, 4 Osprey")
        ->required()
        ->check(CLI::Range(1, 4));
    if (withDeviceFlags) {
        c->add_flag("--direct-hv", o.directHighVoltage,
                    "Heron firmware that takes the high voltage in the image (firmware 0x4E)");
        c->add_flag("--clock80", o.fastClock, "the device runs the 80 MHz FPGA clock");
    }
}

// 64 bytes as 128 hex digits.
const CLI::Validator kHex64(
    [](std::string& s) -> std::string {
        if (s.size() != 128)
            return "must be 64 bytes as 128 hex digits";
        for (char c : s)
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return "must be 64 bytes as 128 hex digits";
        return {};
    },
    "HEX64");

std::array<uint8_t, 64> parseHex64(const std::string& s) {
    std::array<uint8_t, 64> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(std::stoi(s.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

std::string hex(std::span<const uint8_t> bytes) {
    static const char* const digits = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// The file's record, converted as the program converts a loaded file. Throws the program's
// message when the file cannot be loaded.
DppConfigRecord loadRecord(const ConfigOptions& o, DppTotalGain* gain = nullptr) {
    DppConfigFile file;
    DppFileOutcome outcome = file.Load(o.file, o.deviceType);
    if (!outcome.ok)
        throw Failure(outcome.message);
    DppConfigRecord record;
    DppTotalGain total = StringsToRecord(file.strings, record, o.deviceType);
    if (gain)
        *gain = total;
    return record;
}

Json recordJson(const DppConfigRecord& r) {
    Json j;
    j["Port"] = r.Port;
    j["Preset"] = r.Preset;
    j["Avg"] = r.Avg;
    j["FlatTop"] = r.FlatTop;
    j["DetReset"] = r.DetReset;
    j["SlowChThreshold"] = r.SlowChThreshold;
    j["FastChThreshold"] = r.FastChThreshold;
    j["Offset"] = r.Offset;
    j["DAC_Enable"] = r.DAC_Enable;
    j["DAC"] = r.DAC;
    j["MCA"] = r.MCA;
    j["channels"] = r.channels;
    j["MCAEnable"] = r.MCAEnable;
    j["PUREnable"] = r.PUREnable;
    j["Rise"] = r.Rise;
    j["AutoBaseline"] = r.AutoBaseline;
    j["RTDSlow"] = r.RTDSlow;
    j["Coarse Gain"] = r.CoarseGain;
    j["RTDOn"] = r.RTDOn;
    j["RTDFast"] = r.RTDFast;
    j["BLR"] = r.BLR;
    j["Gate"] = r.Gate;
    j["BufferSelect"] = r.BufferSelect;
    j["AcqMode"] = r.AcqMode;
    j["MCSEnable"] = r.MCSEnable;
    j["MCSTimebase"] = r.MCSTimebase;
    j["TECEnabled"] = r.TECEnabled;
    j["TEC"] = r.TEC;
    j["HVEnabled"] = r.HVEnabled;
    j["HV"] = r.HV;
    j["FINCH"] = r.FINCH;
    j["SEL8_5V"] = r.SEL8_5V;
    j["PoleZero"] = r.PoleZero;
    j["PloverInputOffset"] = r.PloverInputOffset;
    j["PloverFineGain"] = r.PloverFineGain;
    j["InvertEn"] = r.InvertEn;
    j["IndLED"] = r.IndLED;
    j["IndBuzzer"] = r.IndBuzzer;
    j["PwrCtrl9V"] = r.PwrCtrl9V;
    j["PwrCtrl5VA"] = r.PwrCtrl5VA;
    j["AuxOut"] = r.AuxOut;
    j["PresetCount"] = r.PresetCount;
    j["Sca"] = Json(std::vector<uint32_t>(r.Sca.begin(), r.Sca.end()));
    j["ScopeTriggerFalling"] = r.ScopeTriggerFalling;
    j["ScopeTriggerPosition"] = r.ScopeTriggerPosition;
    return j;
}

void printJson(const Json& j) {
    std::cout << j.dump(2) << '\n';
}

void writeBytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// A 16-bit word in decimal or 0x-hexadecimal (a leading zero is not octal here); -1 when the
// text is neither.
long parseWord16(const std::string& s) {
    bool isHex = s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X');
    const char* digits = s.c_str() + (isHex ? 2 : 0);
    if (!std::isxdigit(static_cast<unsigned char>(*digits)))
        return -1;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(digits, &end, isHex ? 16 : 10);
    if (*end != '\0' || errno != 0 || v < 0 || v > 0xFFFF)
        return -1;
    return v;
}

const CLI::Validator kWord16(
    [](std::string& s) -> std::string {
        return parseWord16(s) < 0 ? "must be a 16-bit word (decimal or 0x-hex)" : std::string();
    },
    "WORD");

} // namespace

void registerDppCommands(CLI::App& app, Runtime& rt) {
    {
        auto* c = app.add_subcommand(
            "dpp-strings", "configuration file -> record -> strings, with the total gain");
        auto o = std::make_shared<ConfigOptions>();
        addConfigOptions(c, *o, false);
        setRun(c, rt, [o] {
            DppTotalGain gain;
            DppConfigRecord record = loadRecord(*o, &gain);
            DppConfigStrings strings = RecordToStrings(record, o->deviceType, false);
            Json lines = Json::array();
            for (int slot = DppConfigStrings::kFirstSlot; slot <= DppConfigStrings::kLastSlot;
                 ++slot)
                lines.push_back(text(strings.Slot(slot)));
            Json j;
            j["record"] = recordJson(record);
            j["strings"] = std::move(lines);
            j["total_gain_text"] = text(gain.text);
            j["total_gain"] = number(gain.value);
            printJson(j);
            return 0;
        });
    }
    {
        auto* c = app.add_subcommand(
            "dpp-image", "configuration image and wire packet built from a configuration file");
        auto o = std::make_shared<ConfigOptions>();
        addConfigOptions(c, *o, true);
        setRun(c, rt, [o] {
            DppConfigRecord record = loadRecord(*o);
            DppConfigImage image = BuildImage(record, o->deviceType, o->directHighVoltage);
            DppWirePacket wire = PackWirePacket(image, record.Preset);
            Json j;
            j["image"] = hex(image);
            j["wire"] = hex(wire);
            j["preset"] = record.Preset;
            printJson(j);
            return 0;
        });
    }
    {
        auto* c = app.add_subcommand("dpp-decode", "decode a configuration readback packet");
        auto packet = std::make_shared<std::string>();
        auto deviceType = std::make_shared<int>(1);
        c->add_option("HEX", *packet, "64-byte wire packet as 128 hex digits")
            ->required()
            ->check(kHex64);
        c->add_option("--device-type", *deviceType,
                      "DppDeviceType: 1 Heron, 2 Plover, 3 Heron emulation, 4 Osprey")
            ->required()
            ->check(CLI::Range(1, 4));
        setRun(c, rt, [packet, deviceType] {
            DppConfigImage image{};
            uint32_t preset = UnpackWirePacket(parseHex64(*packet), image);
            DppConfigRecord record;
            DecodeImage(image, *deviceType, record);
            record.Preset = preset;
            Json j;
            j["image"] = hex(image);
            j["preset"] = preset;
            j["record"] = recordJson(record);
            printJson(j);
            return 0;
        });
    }
    {
        auto* c = app.add_subcommand("dpp-text", "configuration text of a configuration file");
        auto o = std::make_shared<ConfigOptions>();
        addConfigOptions(c, *o, true);
        setRun(c, rt, [o] {
            DppConfigRecord record = loadRecord(*o);
            writeBytes(ConfigurationText(
                record, DppTextContext{o->deviceType, o->directHighVoltage, o->fastClock}));
            return 0;
        });
    }
    {
        auto* c = app.add_subcommand("dpp-status", "decode a 64-byte status packet");
        auto packet = std::make_shared<std::string>();
        c->add_option("HEX", *packet, "64-byte status packet as 128 hex digits")
            ->required()
            ->check(kHex64);
        setRun(c, rt, [packet] {
            std::array<uint8_t, 64> bytes = parseHex64(*packet);
            DppStatusRecord s;
            s.Decode(bytes);
            Json j;
            j["fastCount"] = number(s.fastCount);
            j["slowCount"] = number(s.slowCount);
            j["fpgaVersion"] = number(s.fpgaVersion);
            j["firmwareVersion"] = number(s.firmwareVersion);
            j["accumulationTime"] = number(s.accumulationTime);
            j["serialNumber"] = s.serialNumber;
            j["highVoltage"] = number(s.highVoltage);
            j["tecTemperature"] = number(s.tecTemperature);
            j["boardTemperature"] = s.boardTemperature;
            j["statusFlags"] = s.statusFlags;
            j["monitorVoltage"] = number(s.monitorVoltage);
            j["bootFlags"] = s.bootFlags;
            j["deviceType"] = s.deviceType;
            j["deadTimePercent"] = number(s.deadTimePercent);
            j["polarityPositive"] = s.polarityPositive;
            j["hvText"] = text(s.hvText);
            j["tecText"] = text(s.tecText);
            j["boardTempText"] = text(s.boardTempText);
            j["deadTimeText"] = text(s.deadTimeText);
            j["block"] = text(s.StatusBlockText());
            printJson(j);
            return 0;
        });
    }
    {
        auto* c = app.add_subcommand("dpp-boot", "Osprey boot flags block of a 16-bit word");
        auto word = std::make_shared<std::string>();
        c->add_option("WORD", *word, "boot flags word, decimal or 0x-hex")
            ->required()
            ->check(kWord16);
        setRun(c, rt, [word] {
            writeBytes(BootFlagsBlock(static_cast<uint16_t>(parseWord16(*word))));
            return 0;
        });
    }
}

} // namespace vorna::cli
