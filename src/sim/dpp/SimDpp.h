#pragma once
// One simulated DPP: answers status, spectrum, configuration and scope transfers and the vendor
// requests as the hardware does, accumulating counts from its source as the clock moves.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dpp/DppConfigRecord.h"
#include "sim/dpp/SimDppModel.h"
#include "sim/dpp/SimDppSource.h"

namespace vorna {

class Clock;

class SimDpp {
public:
    static constexpr int kMaxChannels = 8192;
    static constexpr size_t kPacketSize = 64;
    static constexpr size_t kTraceSize = 512;
    // Tuning and trigger delays a real unit needs.
    static constexpr int64_t kOffsetTuneMicros = 1'500'000;
    static constexpr int64_t kThresholdTuneMicros = 2'000'000;
    static constexpr int64_t kScopeArmMicros = 20'000;
    // Full scale of the spectrum at a total gain of 1.
    static constexpr double kFullScaleKeVAtGain1 = 100.0;

    SimDpp(SimDppModel model, uint32_t serialNumber, Clock& clock, uint64_t seed);

    // Bytes the device answers on pipe `pipe` for a read of up to `room` bytes; false when the
    // pipe has nothing to send (the host's read times out).
    bool Read(int pipe, size_t room, std::vector<uint8_t>& out);
    // A bulk write on `pipe`; false when the pipe takes no data.
    bool Write(int pipe, std::span<const uint8_t> data);
    void VendorRequest(uint8_t request, uint16_t value, uint16_t index);
    std::string Descriptor() const { return m_descriptor; }

    // Whether the host in Osprey mode reads the configuration and traces on pipe 3.
    bool ospreyMode() const { return m_identity.firmwareByte >= 0x50; }
    SimDppModel model() const { return m_model; }
    uint32_t serialNumber() const { return m_serial; }
    const DppConfigRecord& config() const { return m_config; }
    const std::vector<uint32_t>& counts() {
        Advance();
        return m_counts;
    }
    double accumulationSeconds() {
        Advance();
        return m_accumMicros / 1e6;
    }
    bool running() {
        Advance();
        return m_running;
    }
    int configurationWrites() const { return m_configWrites; }
    uint16_t bootFlags() const { return m_bootFlags; }
    int16_t spectrumOffset() const { return m_spectrumOffset; }

    SimDppSource source;

    // Faults and options a test or a user sets.
    bool holdsOwnConfiguration = false; // status byte 23 bits 0 and 1
    bool modeChangePending = false;     // boot flag bit 7 until boot flags are written
    int shortSpectrumReads = 0;         // reads that deliver one byte short, counted down
    int corruptReadbacks = 0;           // readbacks with one wrong byte, counted down
    size_t corruptReadbackAt = 0;       // which byte of the readback is wrong
    bool positiveBias = false;          // polarity the Osprey actually drives
    // Electronic noise at the input: pulses of |N(0, sigma)| keV, whatever the source does (off
    // unless asked for, so the source's count rates stay as set).
    double noiseRatePerSecond = 0;
    double noiseSigmaKeV = 0.12;
    // Where input offset tuning settles, counted from the 0 V setting toward the polarity.
    static constexpr int kTunedOffsetStep = 60;

    // Older firmware (for example 3.10, byte 0x3A) for tests of what it cannot do.
    void SetFirmwareByte(uint8_t firmwareByte) { m_identity.firmwareByte = firmwareByte; }

private:
    void Advance();
    void Accumulate(int64_t micros);
    void AddPulse(int channel);
    void ApplyConfiguration(std::span<const uint8_t> wire);
    // The readback follows what the device changed itself (tuning).
    void RepackConfiguration();
    void Clear();
    std::array<uint8_t, kPacketSize> StatusPacket();
    std::vector<uint8_t> Spectrum(size_t room);
    std::vector<uint8_t> ScopeTrace();
    double KeVPerChannel() const;
    bool ScopeReady() const;

    SimDppModel m_model;
    SimDppIdentity m_identity;
    uint32_t m_serial;
    Clock& m_clock;
    int64_t m_lastMicros;
    DppConfigRecord m_config;
    std::array<uint8_t, kPacketSize> m_wire{};
    std::vector<uint32_t> m_counts = std::vector<uint32_t>(kMaxChannels);
    int64_t m_accumMicros = 0;
    double m_fastCount = 0;
    double m_slowCount = 0;
    uint64_t m_windowCount = 0;
    bool m_running = false;
    bool m_enabled = false;
    bool m_mcsDone = false;
    int64_t m_offsetTuneEnd = -1;
    int64_t m_thresholdTuneEnd = -1;
    bool m_thresholdTuned = true;
    int64_t m_scopeArmedAt = -1;
    bool m_scopeRequested = false;
    uint16_t m_bootFlags = 0;
    int16_t m_spectrumOffset = 0;
    int m_configWrites = 0;
    std::string m_descriptor;
};

} // namespace vorna
