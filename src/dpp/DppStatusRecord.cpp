#include "dpp/DppStatusRecord.h"

#include "common/NumberText.h"
#include "dpp/DppTypes.h"

namespace vorna {
namespace {

uint32_t le32(const std::array<uint8_t, kDppStatusSize>& s, size_t at) {
    return static_cast<uint32_t>(s[at]) | static_cast<uint32_t>(s[at + 1]) << 8 |
           static_cast<uint32_t>(s[at + 2]) << 16 | static_cast<uint32_t>(s[at + 3]) << 24;
}

uint16_t le16(const std::array<uint8_t, kDppStatusSize>& s, size_t at) {
    return static_cast<uint16_t>(s[at] | s[at + 1] << 8);
}

int twelveBits(uint8_t high, uint8_t low) {
    return (high & 0x0F) * 256 + low;
}

// Dead-time clock periods: the 20 MHz FPGA and the 80 MHz one.
constexpr double kSlowClockTau = 400e-9;
constexpr double kFastClockTau = 100e-9;

} // namespace

void DppStatusRecord::Decode(std::span<const uint8_t> packet) {
    std::array<uint8_t, kDppStatusSize> s{};
    for (size_t i = 0; i < s.size() && i < packet.size(); ++i)
        s[i] = packet[i];

    fastCount = le32(s, 0);
    slowCount = le32(s, 4);
    fpgaVersionByte = s[8];
    fpgaVersion = DppVersionValue(s[8]);
    accumulationTime = (s[10] + 256.0 * s[11] + 65536.0 * s[12]) * 0.1 + s[9] * 0.001;
    firmwareVersionByte = s[13];
    firmwareVersion = DppVersionValue(s[13]);
    serialNumber = le32(s, 14);
    highVoltage = twelveBits(s[18], s[19]) / 4.0 * 2.0;
    tecTemperature = twelveBits(s[20], s[21]) / 10.0;
    boardTemperature = static_cast<int8_t>(s[22]);
    statusFlags = s[23];
    tuningFlags = s[28];
    monitorVoltage = (le16(s, 29) & 0x0FFF) * 3.0 / 4096.0;
    polarityReadback = s[43];

    deviceType = ((statusFlags >> 7) & 1) + 1 + (firmwareVersion >= 5.0 ? 2 : 0);
    if (deviceType == 3 || deviceType == 4) {
        // These ranges overlap in the packet; each is read as the device documents it.
        extendedCount = le32(s, 47);
        extendedWord1 = le16(s, 48);
        extendedWord2 = le16(s, 50);
        bootFlags = le16(s, 52);
        for (size_t k = 0; k < extendedWords.size(); ++k)
            extendedWords[k] = le16(s, 54 + 2 * k);
    } else {
        extendedCount = 0;
        extendedWord1 = 0;
        extendedWord2 = 0;
        bootFlags = 0;
        extendedWords = {};
    }

    firmwareAtLeast50 = firmwareVersionByte >= kOspreyFirmwareByte;
    directHighVoltage = firmwareVersionByte == kDirectHighVoltageFirmwareByte;
    DeriveHighVoltageText();
    tecText = Format("%.0fK", tecTemperature);
    boardTempText = Format("%d\xB0"
                           "C",
                           boardTemperature);
    deadTimePercent = DeadTime(fastCount, accumulationTime, FastClock(), slowCount);
    deadTimeText = DeadTimeText(deadTimePercent);
}

void DppStatusRecord::DeriveHighVoltageText() {
    hvText = Format("%.0fV", highVoltage);
    polarityPositive = true;
    if (deviceType == 2 && (firmwareVersionByte == 0x45 || firmwareVersionByte == 0x48)) {
        // These Plover firmwares only drive a negative detector bias.
        polarityPositive = false;
        hvText = Format("-%.0fV", highVoltage);
    } else if (deviceType == 4 && firmwareVersionByte > 0x53 && (polarityReadback & 0x80)) {
        // Newer Osprey firmware reports the polarity it actually drives; compare it with the
        // polarity the boot flags ask for.
        polarityPositive = (polarityReadback & 0x40) != 0;
        bool requestedPositive = (bootFlags & 0x08) != 0;
        if (!requestedPositive)
            hvText = Format("-%.0fV", highVoltage);
        if (polarityPositive != requestedPositive)
            hvText += " Check Polarity";
    }
}

double DppStatusRecord::DeadTime(double fastCount, double accumulationTime, bool fastClock,
                                 double slowCount) {
    const double tau = fastClock ? kFastClockTau : kSlowClockTau;
    const double t = accumulationTime;
    double corrected = 0;
    if (t > 0) {
        double r = fastCount / t;
        double c = 1.0 - r * tau;
        corrected = c > 0 ? r / c : r;
        if (corrected <= 0)
            corrected = 0;
    }
    if (!(corrected > 0))
        return -1;
    double output = t > 0 ? slowCount / t : slowCount;
    double d = (1.0 - output / corrected) * 100.0;
    return d < 0 ? -1 : d;
}

std::string DppStatusRecord::DeadTimeText(double deadTimePercent) {
    if (deadTimePercent > 0)
        return Format("%.2f%%", deadTimePercent);
    return "      ";
}

std::string DppStatusRecord::TypeNameForText() const {
    std::string name = DppDeviceTypeName(deviceType);
    return name.empty() ? "DPP" : name;
}

std::string DppStatusRecord::StatusBlockText() const {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\r\n"; };
    line("Device Type: " + TypeNameForText());
    line(Format("Serial Number: %lu", static_cast<unsigned long>(serialNumber)));
    line("Firmware: " + DppVersionText(firmwareVersionByte));
    line("FPGA: " + DppVersionText(fpgaVersionByte));
    line(Format("Fast Count: %.0f", fastCount));
    line(Format("Slow Count: %.0f", slowCount));
    line(Format("Accumulation Time: %.0f", accumulationTime));
    line("Dead Time: " + deadTimeText);
    if (deviceType == 2 || deviceType == 4) {
        line("HV Volt: " + hvText);
        line("TEC Temp: " + tecText);
    }
    line("Board Temp: " + boardTempText);
    return out;
}

} // namespace vorna
