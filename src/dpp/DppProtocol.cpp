#include "dpp/DppProtocol.h"

#include <algorithm>

#include "dpp/DppDevice.h"
#include "dpp/DppUsbLink.h"
#include "dpp/DppWirePacket.h"

namespace vorna {
namespace {

// Scope traces come from this FPGA version byte on.
constexpr uint8_t kScopeFpgaByte = 52;

bool ReadbackMatches(DppUsbLink& link, const DppWirePacket& sent) {
    DppWirePacket readback{};
    size_t n = link.ReadData(readback, false);
    return n == readback.size() && std::equal(sent.begin(), sent.begin() + 4, readback.begin());
}

} // namespace

void SendRequest(DppUsbLink& link, DppRequest request, uint16_t value) {
    link.Request(static_cast<uint8_t>(request), value);
}

bool SendConfiguration(DppUsbLink& link, const DppConfigImage& image, uint32_t preset) {
    const DppWirePacket wire = PackWirePacket(image, preset);
    link.WriteCommand(wire);
    if (ReadbackMatches(link, wire))
        return true;
    link.WriteCommand(wire);
    return ReadbackMatches(link, wire);
}

uint32_t ReadConfiguration(DppUsbLink& link, DppConfigImage& image, bool* complete) {
    DppWirePacket wire{};
    const bool whole = link.ReadData(wire, false) == wire.size();
    if (complete)
        *complete = whole;
    if (!whole)
        return 0;
    return UnpackWirePacket(wire, image);
}

bool ReadStatusInto(DppUsbLink& link, DppDevice& device) {
    std::array<uint8_t, DppUsbLink::kPacketSize> packet{};
    if (link.ReadStatus(packet) != packet.size())
        return false;
    device.DecodeStatus(packet);
    return true;
}

void WriteDescriptorText(DppUsbLink& link, const std::string& text) {
    std::string padded = text;
    if (padded.size() < 64)
        padded.resize(64, ' ');
    for (uint16_t i = 0; i < 32; ++i) {
        const auto low = static_cast<uint8_t>(padded[2 * i]);
        const auto high = static_cast<uint8_t>(padded[2 * i + 1]);
        link.Request(static_cast<uint8_t>(DppRequest::WriteDescriptorPair),
                     static_cast<uint16_t>(low | high << 8), static_cast<uint16_t>(2 * i));
    }
}

bool ReadScopeTrace(DppUsbLink& link, const DppStatusRecord& status, DppScopeTrace& trace) {
    if (!status.ScopeTraceReady())
        return false;
    if (link.ospreyMode()) {
        SendRequest(link, DppRequest::RequestScopeData);
        return link.ReadData(trace, true) == trace.size();
    }
    if (status.fpgaVersionByte > kScopeFpgaByte)
        return link.ReadScope(trace) == trace.size();
    return false;
}

uint64_t DecodeSpectrum(std::span<const uint8_t> raw, int channels, std::span<uint32_t> counts) {
    const size_t n =
        std::min({static_cast<size_t>(std::max(channels, 0)), raw.size() / 3, counts.size()});
    uint64_t total = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t value = raw[3 * i] | raw[3 * i + 1] << 8 | raw[3 * i + 2] << 16;
        counts[i] = value;
        total += value;
    }
    return total;
}

} // namespace vorna
