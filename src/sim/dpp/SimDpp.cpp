#include "sim/dpp/SimDpp.h"

#include <algorithm>
#include <cmath>

#include "common/Clock.h"
#include "dpp/DppConfigImage.h"
#include "dpp/DppModels.h"
#include "dpp/DppPipes.h"
#include "dpp/DppWirePacket.h"

namespace vorna {
namespace {

constexpr int64_t kStepMicros = 10'000;
constexpr int64_t kMcsDwellUnitMicros = 10'000;

void Put16(std::array<uint8_t, 64>& s, size_t at, uint32_t v) {
    s[at] = static_cast<uint8_t>(v);
    s[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::array<uint8_t, 64>& s, size_t at, uint32_t v) {
    Put16(s, at, v);
    Put16(s, at + 2, v >> 16);
}
// 12-bit values go out high nibble first.
void Put12BigEndian(std::array<uint8_t, 64>& s, size_t at, int v) {
    v = std::clamp(v, 0, 4095);
    s[at] = static_cast<uint8_t>(v >> 8);
    s[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

} // namespace

SimDpp::SimDpp(SimDppModel model, uint32_t serialNumber, Clock& clock, uint64_t seed)
    : source(seed), m_model(model), m_identity(IdentityOf(model)), m_serial(serialNumber),
      m_clock(clock), m_lastMicros(clock.NowMicros()) {
    // Factory settings: a unit that was never configured still reads back a usable
    // configuration (thresholds above the noise, the lowest gain that puts the common X-ray
    // lines on the scale), never an all-zero image.
    m_config.SlowChThreshold = 8;
    m_config.FastChThreshold = 20;
    m_config.channels = ChannelsFromCode(m_config.MCA);
    {
        DppConfigRecord factory = m_config;
        m_wire = PackWirePacket(BuildImage(factory, m_identity.deviceType, false), factory.Preset);
    }
    m_descriptor = std::string("Quorix ") + m_identity.name + " DPP";
    m_descriptor.resize(64, ' ');
    // Osprey-class units ask for a positive bias by default.
    if (ospreyMode() || m_identity.deviceType == 3)
        m_bootFlags = 0x0008;
}

double SimDpp::KeVPerChannel() const {
    double gain = TotalGain(m_config, m_identity.deviceType).value;
    if (!(gain > 0))
        gain = 1;
    return kFullScaleKeVAtGain1 / gain / std::max(m_config.channels, 1);
}

void SimDpp::Advance() {
    const int64_t now = m_clock.NowMicros();
    const int64_t elapsed = now - m_lastMicros;
    m_lastMicros = now;
    if (elapsed > 0 && m_running)
        Accumulate(elapsed);
    if (m_offsetTuneEnd >= 0 && now >= m_offsetTuneEnd) {
        m_offsetTuneEnd = -1;
        // The baseline settles a little off zero, on the side of the signal's polarity.
        m_config.PloverInputOffset =
            2048 + (m_config.InvertEn ? -kTunedOffsetStep : kTunedOffsetStep);
        RepackConfiguration();
    }
    if (m_thresholdTuneEnd >= 0 && now >= m_thresholdTuneEnd) {
        m_thresholdTuneEnd = -1;
        m_thresholdTuned = true;
        // The tuned threshold sits just above the noise.
        m_config.FastChThreshold = 12;
        RepackConfiguration();
    }
}

void SimDpp::AddPulse(int channel) {
    m_fastCount += 1;
    const int channels = m_config.channels;
    const int threshold = m_config.SlowChThreshold * channels / 512;
    if (channel < threshold || channel >= channels)
        return;
    m_slowCount += 1;
    m_counts[static_cast<size_t>(channel)] += 1;
    const uint32_t window = m_config.Sca[7];
    const uint32_t lower = window & 0xFFFF;
    const uint32_t upper = (window >> 16) & 0x7FFF;
    if (static_cast<uint32_t>(channel) >= lower && static_cast<uint32_t>(channel) <= upper)
        ++m_windowCount;
}

void SimDpp::Accumulate(int64_t micros) {
    const bool mcs = m_config.AcqMode == 1;
    const int64_t presetMicros = static_cast<int64_t>(m_config.Preset) * 100'000;
    const int64_t dwell = (m_config.MCSTimebase + 1) * kMcsDwellUnitMicros;
    const double keVPerChannel = KeVPerChannel();
    while (micros > 0 && m_running) {
        int64_t step = std::min(micros, kStepMicros);
        if (!mcs && presetMicros > 0)
            step = std::min(step, presetMicros - m_accumMicros);
        if (step <= 0) {
            m_running = false;
            break;
        }
        const uint64_t pulses = source.PulsesIn(step / 1e6);
        for (uint64_t p = 0; p < pulses; ++p) {
            const double energy = source.NextEnergyKeV();
            if (mcs) {
                m_fastCount += 1;
                const int64_t bin = m_accumMicros / dwell;
                if (bin < m_config.channels)
                    m_counts[static_cast<size_t>(bin)] += 1;
            } else {
                AddPulse(static_cast<int>(energy / keVPerChannel));
            }
        }
        if (!mcs) {
            const uint64_t noise = static_cast<uint64_t>(
                std::max(0.0, noiseRatePerSecond * static_cast<double>(step) / 1e6 + 0.5));
            for (uint64_t n = 0; n < noise; ++n)
                AddPulse(
                    static_cast<int>(std::fabs(source.Gaussian() * noiseSigmaKeV) / keVPerChannel));
        }
        m_accumMicros += step;
        micros -= step;
        if (mcs && m_accumMicros >= dwell * m_config.channels) {
            m_mcsDone = true;
            m_running = false;
        }
        if (!mcs && presetMicros > 0 && m_accumMicros >= presetMicros)
            m_running = false;
        if (m_config.PresetCount > 0 && m_windowCount >= m_config.PresetCount)
            m_running = false;
    }
}

bool SimDpp::ScopeReady() const {
    return m_scopeArmedAt >= 0 && m_clock.NowMicros() >= m_scopeArmedAt + kScopeArmMicros;
}

std::array<uint8_t, SimDpp::kPacketSize> SimDpp::StatusPacket() {
    std::array<uint8_t, kPacketSize> s{};
    Put32(s, 0, static_cast<uint32_t>(m_fastCount));
    Put32(s, 4, static_cast<uint32_t>(m_slowCount));
    s[8] = m_identity.fpgaByte;
    const int64_t ms = m_accumMicros / 1000;
    s[9] = static_cast<uint8_t>(ms % 100);
    const auto tenths = static_cast<uint32_t>(ms / 100);
    s[10] = static_cast<uint8_t>(tenths);
    s[11] = static_cast<uint8_t>(tenths >> 8);
    s[12] = static_cast<uint8_t>(tenths >> 16);
    s[13] = m_identity.firmwareByte;
    Put32(s, 14, m_serial);
    // The bias follows its setting when enabled; the cooler settles near 230 K.
    Put12BigEndian(s, 18, m_config.HVEnabled ? m_config.HV : 0);
    Put12BigEndian(s, 20, m_config.TECEnabled ? 2300 : 2950);
    s[22] = static_cast<uint8_t>(static_cast<int8_t>(34));
    uint8_t flags = 0;
    if (holdsOwnConfiguration)
        flags |= 0x03;
    if (ScopeReady())
        flags |= 0x04;
    if (m_running)
        flags |= 0x10;
    if (m_enabled)
        flags |= 0x20;
    if (m_thresholdTuned)
        flags |= 0x40;
    if (m_identity.ploverClass)
        flags |= 0x80;
    s[23] = flags;
    s[28] = static_cast<uint8_t>((m_offsetTuneEnd >= 0 ? 0x80 : 0) | (m_mcsDone ? 0x40 : 0));
    Put16(s, 29, 0x0800); // monitor at half scale
    if (m_identity.deviceType == 4)
        s[43] = static_cast<uint8_t>(0x80 | (positiveBias ? 0x40 : 0));
    if (m_identity.deviceType == 3 || m_identity.deviceType == 4) {
        Put32(s, 47, static_cast<uint32_t>(m_fastCount - m_slowCount));
        const uint16_t boot = static_cast<uint16_t>(m_bootFlags | (modeChangePending ? 0x80 : 0));
        Put16(s, 52, boot);
        Put16(s, 62, static_cast<uint16_t>(m_spectrumOffset));
    }
    return s;
}

std::vector<uint8_t> SimDpp::Spectrum(size_t room) {
    size_t bytes = static_cast<size_t>(m_config.channels) * 3;
    if (shortSpectrumReads > 0) {
        --shortSpectrumReads;
        --bytes;
    }
    bytes = std::min(bytes, room);
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(m_counts[i / 3] >> (8 * (i % 3)));
    return out;
}

std::vector<uint8_t> SimDpp::ScopeTrace() {
    // What the analog output shows: 0 the shaped pulse, 1 the preamp input, 2 the fast channel,
    // 3 the baseline alone.
    std::vector<uint8_t> trace(kTraceSize);
    const double baseline = 32 + (m_config.Offset & 0x7F) / 2.0;
    const double height = std::min(200.0, source.NextEnergyKeV() / KeVPerChannel() /
                                              std::max(m_config.channels, 1) * 400.0);
    const int start = 64 + 128 * std::clamp(m_config.ScopeTriggerPosition, 0, 3);
    const double sign = m_config.ScopeTriggerFalling ? -1.0 : 1.0;
    for (size_t i = 0; i < trace.size(); ++i) {
        const double t = static_cast<double>(static_cast<int>(i) - start);
        double v = 0;
        if (t >= 0) {
            switch (m_config.DAC) {
            case 0:
                v = t < 32 ? height * t / 32 : std::max(0.0, height * (64 - t) / 32);
                break;
            case 1:
                v = height * std::exp(-t / 400.0);
                break;
            case 2:
                v = t < 4 ? height : 0;
                break;
            default:
                v = 0;
                break;
            }
        }
        const double noise = (source.Uniform() - 0.5) * 4;
        trace[i] = static_cast<uint8_t>(std::clamp(baseline + sign * v + noise, 0.0, 255.0));
    }
    m_scopeArmedAt = -1;
    m_scopeRequested = false;
    return trace;
}

bool SimDpp::Read(int pipe, size_t room, std::vector<uint8_t>& out) {
    Advance();
    const int dataPipe = ospreyMode() ? dpppipe::kOspreyData : dpppipe::kData;
    if (pipe == dpppipe::kStatus) {
        auto s = StatusPacket();
        out.assign(s.begin(), s.begin() + static_cast<long>(std::min(room, s.size())));
        return true;
    }
    if (pipe == dpppipe::kSpectrum) {
        out = Spectrum(room);
        return true;
    }
    if (pipe == dataPipe) {
        if (ospreyMode() && m_scopeRequested && room > kPacketSize) {
            out = ScopeTrace();
            return true;
        }
        auto wire = m_wire;
        if (corruptReadbacks > 0) {
            --corruptReadbacks;
            wire[std::min(corruptReadbackAt, wire.size() - 1)] ^= 0xFF;
        }
        out.assign(wire.begin(), wire.begin() + static_cast<long>(std::min(room, wire.size())));
        return true;
    }
    if (pipe == dpppipe::kScope && !ospreyMode() && ScopeReady()) {
        out = ScopeTrace();
        return true;
    }
    return false;
}

bool SimDpp::Write(int pipe, std::span<const uint8_t> data) {
    Advance();
    if (pipe != dpppipe::kCommand || data.size() != kPacketSize)
        return false;
    ApplyConfiguration(data);
    return true;
}

void SimDpp::RepackConfiguration() {
    DppConfigRecord copy = m_config;
    m_wire = PackWirePacket(BuildImage(copy, m_identity.deviceType, false), copy.Preset);
}

void SimDpp::ApplyConfiguration(std::span<const uint8_t> wire) {
    std::copy(wire.begin(), wire.end(), m_wire.begin());
    DppConfigImage image{};
    DppWirePacket packet{};
    std::copy(wire.begin(), wire.end(), packet.begin());
    const uint32_t preset = UnpackWirePacket(packet, image);
    DecodeImage(image, m_identity.deviceType, m_config);
    m_config.Preset = preset;
    m_config.channels = ChannelsFromCode(m_config.MCA);
    ++m_configWrites;
}

void SimDpp::Clear() {
    std::fill(m_counts.begin(), m_counts.end(), 0u);
    m_accumMicros = 0;
    m_fastCount = 0;
    m_slowCount = 0;
    m_windowCount = 0;
    m_mcsDone = false;
}

void SimDpp::VendorRequest(uint8_t request, uint16_t value, uint16_t index) {
    Advance();
    const int64_t now = m_clock.NowMicros();
    switch (request) {
    case 127:
        if (index + 1u < m_descriptor.size()) {
            m_descriptor[index] = static_cast<char>(value & 0xFF);
            m_descriptor[index + 1u] = static_cast<char>(value >> 8);
        }
        break;
    case 128:
        Clear();
        break;
    case 130:
        m_running = m_enabled = true;
        m_mcsDone = false;
        break;
    case 131:
        m_running = m_enabled = false;
        break;
    case 132:
        m_scopeArmedAt = now;
        break;
    case 134:
        m_offsetTuneEnd = now + kOffsetTuneMicros;
        break;
    case 135:
        m_thresholdTuned = false;
        m_thresholdTuneEnd = now + kThresholdTuneMicros;
        break;
    case 146:
        if (m_identity.deviceType >= 3) {
            m_bootFlags = static_cast<uint16_t>(value & ~0x80);
            modeChangePending = (value & 0x80) != 0;
        }
        break;
    case 151:
        m_spectrumOffset = static_cast<int16_t>(value);
        break;
    case 152:
        m_scopeRequested = ScopeReady();
        break;
    default:
        break;
    }
}

} // namespace vorna
