#pragma once
// The 64-byte status packet every DPP answers with, decoded, with the values and texts derived
// from it and the status block stored with spectra.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorna {

constexpr size_t kDppStatusSize = 64;

class DppStatusRecord {
public:
    // Fills every field from the packet, then the derived fields. A packet shorter than 64 bytes
    // is read as if padded with zeros (a short read is the caller's to judge).
    void Decode(std::span<const uint8_t> packet);

    // The stored status block: lines ending CR LF, without the markers.
    std::string StatusBlockText() const;

    // Dead time in percent from the counts, or -1 when no rate can be worked out.
    static double DeadTime(double fastCount, double accumulationTime, bool fastClock,
                           double slowCount);
    // "%.2f%%" of a positive dead time, six blanks otherwise.
    static std::string DeadTimeText(double deadTimePercent);

    // "Heron", "Plover", "HERONEMUL", "Osprey", "DPP" for anything else.
    std::string TypeNameForText() const;
    // Boot flag bit 4: the FPGA runs at 80 MHz (only Osprey-class devices report boot flags).
    bool FastClock() const { return (bootFlags & 0x10) != 0; }

    // Status byte 23.
    bool ReadsOwnConfiguration() const { return (statusFlags & 0x03) != 0; }
    bool ScopeTraceReady() const { return (statusFlags & 0x04) != 0; }
    bool AcquisitionRunning() const { return (statusFlags & 0x10) != 0; }
    bool AcquisitionEnabled() const { return (statusFlags & 0x20) != 0; }
    bool FastThresholdTuned() const { return (statusFlags & 0x40) != 0; }
    // Status byte 28.
    bool InputOffsetTuned() const { return (tuningFlags & 0x80) == 0; }
    bool McsPassDone() const { return (tuningFlags & 0x40) != 0; }
    // The last extended word read as signed: the spectrum offset in use.
    int16_t SpectrumOffset() const { return static_cast<int16_t>(extendedWords[4]); }

    // Decoded fields, in packet order.
    double fastCount = 0;
    double slowCount = 0;
    uint8_t fpgaVersionByte = 0;
    double fpgaVersion = 0;
    double accumulationTime = 0; // seconds
    uint8_t firmwareVersionByte = 0;
    double firmwareVersion = 0;
    uint32_t serialNumber = 0;
    double highVoltage = 0;    // volts
    double tecTemperature = 0; // kelvin
    int boardTemperature = 0;  // degrees Celsius
    uint8_t statusFlags = 0;
    uint8_t tuningFlags = 0;
    double monitorVoltage = 0;
    uint8_t polarityReadback = 0;
    // Osprey class only (zero for Heron and Plover).
    double extendedCount = 0;
    uint16_t extendedWord1 = 0;
    uint16_t extendedWord2 = 0;
    uint16_t bootFlags = 0;
    std::array<uint16_t, 5> extendedWords{};

    // Derived fields.
    bool firmwareAtLeast50 = false;
    bool directHighVoltage = false;
    int deviceType = 0; // DppDeviceType
    bool polarityPositive = true;
    double deadTimePercent = -1;
    std::string hvText = "0V";
    std::string tecText = "0K";
    std::string boardTempText = "0\xB0"
                                "C"; // Windows-1252: the degree sign is byte 0xB0
    std::string deadTimeText = "      ";

private:
    void DeriveHighVoltageText();
};

} // namespace vorna
