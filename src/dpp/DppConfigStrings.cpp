#include "dpp/DppConfigStrings.h"

#include <cmath>

#include "common/NumberText.h"
#include "common/Text.h"
#include "dpp/DppTextParse.h"

namespace vorna {
namespace {

using dpptext::DecimalInt;
using dpptext::DecimalUInt32;
using dpptext::IsToken;

struct PresetWord {
    uint32_t value;
    const char* text;
};
constexpr PresetWord kPresetWords[] = {
    {0, "None"},     {10, "1 sec"},    {20, "2 sec"},     {50, "5 sec"},
    {100, "10 sec"}, {300, "30 sec"},  {600, "1 min"},    {1200, "2 min"},
    {3000, "5 min"}, {6000, "10 min"}, {18000, "30 min"}, {36000, "1 hr"},
    {72000, "2 hr"}, {180000, "5 hr"}, {360000, "10 hr"}, {864000, "24 hr"},
};

std::string bufferSelectToken(uint8_t v) {
    switch (v) {
    case 0x00:
        return "BufferSelectA";
    case 0x10:
        return "BufferSelectB";
    case 0x20:
        return "BufferSelectHW";
    default:
        return "BufferSelectNone";
    }
}

// "MCA" + channel count back to the channel-count code.
int32_t mcaCodeFromLine(std::string_view line) {
    std::string_view rest = line.size() > 3 ? line.substr(3) : std::string_view{};
    double n = DecimalInt(rest);
    if (!(n > 0))
        return 3;
    int octave = static_cast<int>(std::floor(std::log2(n / 256.0)));
    switch (octave) {
    case 0:
        return 4;
    case 1:
        return 3;
    case 2:
        return 2;
    case 3:
        return 1;
    case 4:
        return 0;
    case 5:
    case 6:
        return 5;
    default:
        return 3;
    }
}

} // namespace

std::string GateText(uint8_t gate) {
    switch (gate) {
    case 0x00:
        return "GateOff";
    case 0x80:
        return "GateHigh";
    case 0xC0:
        return "GateLow";
    default:
        return "Gate not selected";
    }
}

std::string PresetText(uint32_t preset) {
    for (const auto& w : kPresetWords)
        if (w.value == preset)
            return w.text;
    return Format("%.1f sec", preset / 10.0);
}

uint32_t PresetFromText(std::string_view text) {
    for (const auto& w : kPresetWords)
        if (IsToken(text, w.text))
            return w.value;
    double seconds = ScanDouble(Trim(text)).value_or(0.0);
    // Rounded, not truncated: "2.3 sec" must read back as 23 tenths, which 2.3 * 10 is not in
    // binary floating point.
    double tenths = std::round(seconds * 10.0);
    if (!(tenths > 0))
        return 0;
    if (tenths >= 4294967295.0)
        return UINT32_MAX;
    return static_cast<uint32_t>(tenths);
}

DppConfigStrings RecordToStrings(DppConfigRecord& r, int /*deviceType*/, bool /*fastClock*/) {
    r.TECEnabled = 1;
    r.PwrCtrl5VA = 1;
    r.FINCH = 1;
    r.PwrCtrl9V = 1;

    DppConfigStrings s;
    s.Line(1) = Format("%d", PeakingTimeIndex(r.Rise, r.Avg));
    s.Line(2) = Format("%d", r.FlatTop);
    s.Line(3) = Format("%d", r.SlowChThreshold);
    s.Line(4) = Format("%d", r.FastChThreshold);
    s.Line(5) = Format("%d", r.Offset);
    s.Line(6) = r.PUREnable == 1 ? "PUROn" : "PUROff";
    s.Line(7) = Format("%d", r.DetReset);
    s.Line(8) = Format("DAC%lld", r.DAC_Enable ? static_cast<long long>(r.DAC) + 1 : 5LL);
    s.Line(9) = Format("MCA%d", ChannelsFromCode(r.MCA));
    s.Line(10) = "0"; // only USB is supported
    s.Line(11) = r.RTDOn == 1 ? "RTDOn" : "RTDOff";
    s.Line(12) = Format("%d", r.RTDSlow);
    s.Line(13) = Format("%d", r.RTDFast);
    s.Line(14) = Format("%d", r.CoarseGain);
    s.Line(15) = r.AutoBaseline ? "AutoBaselineOn" : "AutoBaselineOff";
    s.Line(16) = Format("%d", r.BLR);
    s.Line(17) = bufferSelectToken(r.BufferSelect);
    s.Line(18) = GateText(r.Gate);
    s.Line(19) = PresetText(r.Preset);
    s.Line(20) = Format("%d", r.PloverFineGain);
    s.Line(21) = Format("%d", r.TECEnabled);
    s.Line(22) = Format("%d", r.PwrCtrl5VA);
    s.Line(23) = Format("%d", r.SEL8_5V);
    s.Line(24) = Format("%d", r.FINCH);
    s.Line(25) = Format("%d", r.PwrCtrl9V);
    s.Line(26) = Format("%d", r.InvertEn);
    s.Line(27) = Format("%ld", static_cast<long>(r.PloverInputOffset));
    s.Line(28) = Format("%d", r.PoleZero);
    s.Line(29) = Format("%d", r.AuxOut);
    s.Line(30) = Format("%ld", static_cast<long>(r.HV));
    s.Line(31) = Format("%ld", static_cast<long>(r.TEC));
    s.Line(32) = Format("%lld", static_cast<long long>(r.IndBuzzer) + 2LL * r.IndLED);
    s.Line(33) = Format("%lu", static_cast<unsigned long>(r.PresetCount));
    for (int k = 0; k < 8; ++k)
        s.Line(34 + k) = Format("%lu", static_cast<unsigned long>(r.Sca[static_cast<size_t>(k)]));
    s.Line(42) = Format("%d", r.AcqMode);
    s.Line(43) = Format("%d", r.MCSTimebase);
    return s;
}

DppTotalGain StringsToRecord(const DppConfigStrings& s, DppConfigRecord& r, int deviceType) {
    ApplyPeakingTime(PeakingTimeFromIndex(DecimalInt(s.Line(1))), r);
    r.FlatTop = DecimalInt(s.Line(2));
    r.SlowChThreshold = static_cast<uint8_t>(DecimalInt(s.Line(3)));
    r.FastChThreshold = static_cast<uint8_t>(DecimalInt(s.Line(4)));
    r.Offset = DecimalInt(s.Line(5));
    r.PUREnable = IsToken(s.Line(6), "PUROn") ? 1 : 0;
    r.DetReset = static_cast<uint8_t>(DecimalInt(s.Line(7)));

    // "DAC1".."DAC4" select a source; "DAC5" (and anything that is not a source) is off.
    std::string_view dac = Trim(s.Line(8));
    int32_t source = DecimalInt(dac.size() > 3 ? dac.substr(3) : std::string_view{});
    source = source == INT32_MIN ? -1 : source - 1;
    if (source >= 0 && source <= 3) {
        r.DAC_Enable = 1;
        r.DAC = source;
    } else {
        r.DAC_Enable = 0;
        r.DAC = 0;
    }

    r.MCA = mcaCodeFromLine(s.Line(9));
    r.channels = ChannelsFromCode(r.MCA);
    r.Port = 0; // a DPP is reached over USB only, whatever the file says
    r.RTDOn = IsToken(s.Line(11), "RTDOn") ? 1 : 0;
    r.RTDSlow = static_cast<uint8_t>(DecimalInt(s.Line(12)));
    r.RTDFast = static_cast<uint8_t>(DecimalInt(s.Line(13)));
    r.CoarseGain = DecimalInt(s.Line(14));
    r.AutoBaseline = IsToken(s.Line(15), "AutoBaselineOn") ? 1 : 0;
    r.BLR = static_cast<uint8_t>(DecimalInt(s.Line(16)));

    const std::string& buffer = s.Line(17);
    r.BufferSelect = IsToken(buffer, "BufferSelectB")    ? 0x10
                     : IsToken(buffer, "BufferSelectHW") ? 0x20
                                                         : 0x00;
    const std::string& gate = s.Line(18);
    r.Gate = IsToken(gate, "GateHigh") ? 0x80 : IsToken(gate, "GateLow") ? 0xC0 : 0x00;

    r.Preset = PresetFromText(s.Line(19));
    r.PloverFineGain = DecimalInt(s.Line(20));
    r.SEL8_5V = DecimalInt(s.Line(23));
    r.InvertEn = DecimalInt(s.Line(26));
    r.PloverInputOffset = DecimalInt(s.Line(27));
    r.PoleZero = DecimalInt(s.Line(28));
    r.AuxOut = DecimalInt(s.Line(29));
    r.HV = DecimalInt(s.Line(30));
    r.HVEnabled = r.HV != 0 ? 1 : 0;
    r.TEC = DecimalInt(s.Line(31));
    int32_t audio = DecimalInt(s.Line(32));
    r.IndLED = (audio >> 1) & 1;
    r.IndBuzzer = audio & 1;
    r.PresetCount = DecimalUInt32(s.Line(33));
    for (int k = 0; k < 8; ++k)
        r.Sca[static_cast<size_t>(k)] = DecimalUInt32(s.Line(34 + k));
    int32_t mode = DecimalInt(s.Line(42));
    r.AcqMode = (mode == 1 || (mode & 0x80)) ? 1 : 0;
    r.MCSTimebase = static_cast<uint8_t>(DecimalInt(s.Line(43)));

    r.TECEnabled = 1;
    r.PwrCtrl5VA = 1;
    r.FINCH = 1;
    r.PwrCtrl9V = 1;
    r.MCSEnable = 1;
    return TotalGain(r, deviceType);
}

} // namespace vorna
