#include "dpp/DppConfigText.h"

#include <cmath>

#include "common/NumberText.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppModels.h"
#include "dpp/DppTypes.h"

namespace vorna {
namespace {

constexpr const char* kMcsTimebases[16] = {
    "10mS/channel",   "20mS/channel",   "50mS/channel",    "100mS/channel",
    "200mS/channel",  "500mS/channel",  "1 sec/channel",   "2 sec/channel",
    "5 sec/channel",  "10 sec/channel", "20 sec/channel",  "30 sec/channel",
    "60 sec/channel", "90 sec/channel", "120 sec/channel", "300 sec/channel"};

constexpr const char* kResetLockouts[8] = {"13.1mS", "6.55mS", "3.28mS", "1.64mS",
                                           "819uS",  "410uS",  "205uS",  "102uS"};
constexpr const char* kAnalogOut[4] = {"Fast Channel", "Shaped Pulse", "Decimated Input", "Test"};
constexpr const char* kAux[8] = {"ICR",     "PILEUP", "HOLD",    "ONESHOT",
                                 "DET_RES", "MCA_EN", "TRIGGER", "SCA8"};
constexpr const char* kAudio[4] = {"Off", "Low", "Medium", "High"};

// A reading that rounds to zero is shown without a minus sign.
std::string unsignedZero(std::string text) {
    if (text == "-0.0V" || text == "-0.0K")
        text.erase(0, 1);
    return text;
}

std::string portText(int32_t port) {
    if (port == 0)
        return "USB";
    if (port > 0)
        return Format("COM%d", port);
    return "Port Not Set";
}

std::string acquisitionModeText(uint8_t mode) {
    if (mode == 0)
        return "MCA";
    if (mode == 1)
        return "MCS";
    return "Unknown";
}

std::string bufferText(uint8_t buffer) {
    switch (buffer) {
    case 0x00:
        return "Buffer A";
    case 0x10:
        return "Buffer B";
    case 0x20:
        return "Buffer Hardware";
    default:
        return "Buffer None";
    }
}

std::string coarseGainText(int deviceType, int32_t code) {
    if (deviceType == 2 || deviceType == 4)
        return Format("%.2fx", CoarseGainValue(deviceType, code));
    return Format("%.0fx", HeronCoarseGain(code));
}

std::string resetLockoutText(uint8_t detReset, bool fastClock) {
    int index = detReset + (fastClock ? 2 : 0);
    if (index < 8)
        return kResetLockouts[index];
    if (index <= 10) {
        if (fastClock)
            return index == 8 ? "51.2uS" : index == 9 ? "25.6uS" : "OFF";
        return index == 8 ? "OFF" : "Unknown";
    }
    return "Unknown";
}

std::string offsetText(int32_t offset) {
    int64_t v = 2 * static_cast<int64_t>(offset);
    if (v >= 127)
        v -= 256;
    return Format("%lldmV", static_cast<long long>(v * 16000 / 4096));
}

} // namespace

DppTextContext DppTextContext::FromStatus(const DppStatusRecord& status) {
    return {status.deviceType, status.directHighVoltage, status.FastClock()};
}

const char* McsTimebaseText(int code) {
    return kMcsTimebases[code >= 0 && code <= 15 ? code : 6];
}

std::string BlrText(uint8_t blr, bool fastClock) {
    if (blr == 0x3F)
        return "BLR:OFF";
    int scale = fastClock ? 4 : 1;
    int down = (1 << (2 * ((blr >> 4) & 3))) * scale;
    int up = (1 << (2 * ((blr >> 2) & 3))) * scale;
    return "BLR:ON " + Format("DN:%d ", down) + Format("UP:%d ", up);
}

std::string ConfigurationText(const DppConfigRecord& r, const DppTextContext& ctx) {
    const bool ploverClass = IsPloverClass(ctx.deviceType);
    const bool ospreyClass = IsOspreyClass(ctx.deviceType);
    const bool fast = ctx.fastClock;
    std::string out;
    auto line = [&out](const std::string& label, const std::string& value) {
        out += label;
        out += value;
        out += "\r\n";
    };

    line("COM Port: ", portText(r.Port));
    line("Rise: ", r.Avg == 0 || r.Rise == -1
                       ? std::string("Rise Value Not Set")
                       : Format("%.1fuS", PeakingTimeUs(r.Rise, r.Avg, fast)));
    line("Top: ", FlatTopText(r.FlatTop, r.Avg, fast));
    line("Fast Threshold: ", Format("%d", r.FastChThreshold));
    line("PUR Enable: ", r.PUREnable == 1 ? "PUROn" : "PUROff");
    line("RTD ON/OFF: ", r.RTDOn == 1 ? "RTDOn" : "RTDOff");
    if (ospreyClass) {
        line("RTD Ratio: ", Format("%.1f%%", (r.RTDSlow / 64.0 + 0.0001) * 100.0));
        line("RTD Slow Thresh: ", Format("%.0f%% FS", (r.RTDFast - 4) * 16 / 512.0 * 100.0));
    } else {
        line("RTD Threshold: ", Format("%.2f%% FS", r.RTDSlow * 100 / 512.0 + 0.0001));
        line("RTD Fast HWHM: ", Format("%d", r.RTDFast));
    }
    line("AutoBaseline: ", r.AutoBaseline != 0 ? "On" : "Off");
    line("BLR: ", BlrText(r.BLR, fast));
    line("Acquisition Mode: ", acquisitionModeText(r.AcqMode));
    line("MCS Timebase: ", McsTimebaseText(r.MCSTimebase));
    line("MCA Channels: ", Format("%ld", static_cast<long>(ChannelsFromCode(r.MCA))));
    line("Slow Threshold: ", Format("%.2f%% FS", r.SlowChThreshold * 400 / 4096.0));
    line("Buffer Select: ", bufferText(r.BufferSelect));
    line("Gate Input (TTL): ", GateText(r.Gate));
    line("Preset: ", PresetText(r.Preset));
    line("Coarse Gain: ", coarseGainText(ctx.deviceType, r.CoarseGain));
    line("Fine Gain: ", Format("%.4f", FineGainValue(r.PloverFineGain)));
    if (ploverClass) {
        line("Input Polarity: ", r.InvertEn ? "Negative" : "Positive");
        line("Input Offset: ", Format("%.3fV", (r.PloverInputOffset - 2048.0) / 1000.0));
        line("Pole Zero: ", r.PoleZero == 0 ? std::string("OFF") : Format("%d", r.PoleZero));
    }
    line("Det Rst Lockout: ", resetLockoutText(r.DetReset, fast));
    if (ctx.deviceType == 1 && ctx.directHighVoltage)
        line("HV: ", unsignedZero(Format("%.1fV", r.HV * 1.8 / 4096.0 * 1000.0)));
    if (ploverClass) {
        line("TEC: ", unsignedZero(Format("%.1fK", r.TEC * 3.0 / 4096.0 * 100.0)));
        line("HV: ", unsignedZero(Format("%.1fV", r.HV * 3.0 / 4096.0 * 500.0 * 2.0)));
        line("Preamp Power: ", r.SEL8_5V ? "8.5V" : "5.0V");
    }
    // The device takes the source and the aux selection from two and three bits.
    line("Analog Out: ", r.DAC_Enable ? kAnalogOut[r.DAC & 3] : "Off");
    line("Offset: ", offsetText(r.Offset));
    line("Aux: ", kAux[r.AuxOut & 7]);
    if (ploverClass)
        line("Audio: ", kAudio[(2 * (r.IndLED & 1) + (r.IndBuzzer & 1)) & 3]);
    return out;
}

std::string ConfigurationText(const DppConfigRecord& record, const DppStatusRecord& status) {
    return ConfigurationText(record, DppTextContext::FromStatus(status));
}

std::string ConfigurationAndStatusBlock(const DppConfigRecord& record,
                                        const DppStatusRecord& status) {
    return "<<DPP CONFIGURATION>>\r\n" + ConfigurationText(record, status) +
           "<<DPP CONFIGURATION END>>\r\n<<DPP STATUS>>\r\n" + status.StatusBlockText() +
           "<<DPP STATUS END>>\r\n";
}

std::string CurrentConfigurationMessage(const DppConfigRecord& record,
                                        const DppStatusRecord& status) {
    return "Current Configuration \r\n_____________________ \r\n" +
           ConfigurationText(record, status);
}

} // namespace vorna
