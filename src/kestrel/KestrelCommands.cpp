#include "kestrel/KestrelCommands.h"

#include <cstdio>

namespace vorna {

uint8_t PacketChecksum(std::span<const uint8_t, 4> command) {
    unsigned sum = 0;
    for (uint8_t b : command)
        sum += b;
    return static_cast<uint8_t>(sum & 0xFF);
}

KestrelPacket MakePacket(const KestrelCommand& command) {
    return {command[0], command[1], command[2], command[3], PacketChecksum(command)};
}

bool PacketChecksumOk(const KestrelPacket& packet) {
    return PacketChecksum(std::span<const uint8_t, 4>(packet.data(), 4)) == packet[4];
}

KestrelCommand BaudCommand(uint8_t divisor) {
    return {0x00, 0x00, 0x00, divisor};
}

KestrelCommand ControlCommand(uint8_t statusByte, uint16_t controlWord, bool peakModeMirror) {
    auto high = static_cast<uint8_t>(((controlWord >> 8) & 0x7F) | (peakModeMirror ? 0x80 : 0));
    return {0x01, statusByte, static_cast<uint8_t>(controlWord & 0xFF), high};
}

KestrelCommand PresetCommand(uint32_t preset) {
    return {0x02, static_cast<uint8_t>(preset & 0xFF), static_cast<uint8_t>((preset >> 8) & 0xFF),
            static_cast<uint8_t>((preset >> 16) & 0xFF)};
}

KestrelCommand ClearCommand(bool data, bool time) {
    return {0x05, static_cast<uint8_t>(data ? 1 : 0), static_cast<uint8_t>(time ? 1 : 0), 0x01};
}

KestrelCommand GroupCommand(uint8_t group) {
    return {0x11, 0x00, group, 0x01};
}

KestrelCommand UnlockCommand(uint16_t code) {
    return {0x75, static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8), 0x01};
}

KestrelCommand TimeCommand(const std::tm& local) {
    return {0x25, ToBcd(local.tm_hour), ToBcd(local.tm_min), ToBcd(local.tm_sec)};
}

KestrelCommand DateCommand(const std::tm& local) {
    int century = local.tm_year / 100 + 19;
    return {ToBcd(century), ToBcd(local.tm_year % 100), ToBcd(local.tm_mon + 1),
            ToBcd(local.tm_mday)};
}

uint8_t ToBcd(int value) {
    value = ((value % 100) + 100) % 100;
    return static_cast<uint8_t>((value / 10) << 4 | (value % 10));
}

int FromBcd(uint8_t bcd) {
    int high = bcd >> 4;
    int low = bcd & 0x0F;
    if (high > 9 || low > 9)
        return -1;
    return high * 10 + low;
}

std::string ClockText(std::span<const uint8_t, 8> a) {
    // Each field shows its two BCD digits as they came, so a garbled byte stays visible.
    char text[32];
    std::snprintf(text, sizeof text, "%02X/%02X/%02X%02X %02X:%02X:%02X", a[5], a[4], a[7], a[6],
                  a[2], a[1], a[0]);
    return text;
}

} // namespace vorna
