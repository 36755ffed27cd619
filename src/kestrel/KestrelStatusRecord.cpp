#include "kestrel/KestrelStatusRecord.h"

namespace vorna {

namespace {

uint32_t Le32(const StatusRecord& r, int at) {
    return uint32_t(r[at]) | uint32_t(r[at + 1]) << 8 | uint32_t(r[at + 2]) << 16 |
           uint32_t(r[at + 3]) << 24;
}

void PutLe(StatusRecord& r, int at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        r[at + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

// Level at each tenth-of-percent point, one table per battery chemistry.
constexpr int kBatteryTenths[10] = {0, 50, 125, 250, 375, 500, 625, 750, 875, 1000};
constexpr int kAlkalineLevels[10] = {0, 50, 63, 68, 71, 74, 77, 80, 88, 255};
constexpr int kNiCdLevels[10] = {0, 70, 74, 75, 76, 77, 78, 79, 81, 255};

} // namespace

double KestrelStatus::LiveSeconds() const {
    return TimeFieldSeconds(liveField);
}
double KestrelStatus::RealSeconds() const {
    return TimeFieldSeconds(realField);
}

StatusRecord ReverseRecord(std::span<const uint8_t, 20> bytes) {
    StatusRecord record{};
    for (int i = 0; i < 20; ++i)
        record[i] = bytes[19 - i];
    return record;
}

uint8_t StatusChecksum(const StatusRecord& record) {
    unsigned sum = 0;
    for (int i = 1; i < 20; ++i)
        sum += record[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

bool StatusChecksumOk(const StatusRecord& record) {
    return StatusChecksum(record) == record[0];
}

KestrelStatus DecodeStatus(const StatusRecord& r) {
    KestrelStatus s;
    s.statusByte = r[1];
    s.controlWord = static_cast<uint16_t>(r[2] | r[3] << 8);
    s.liveField = Le32(r, 4);
    s.realField = Le32(r, 8);
    s.battery = r[12];
    s.preset = uint32_t(r[13]) | uint32_t(r[14]) << 8 | uint32_t(r[15]) << 16;
    s.group = static_cast<uint16_t>((r[16] | r[17] << 8) & 0x3FF);
    s.serial = static_cast<uint16_t>(r[18] | r[19] << 8);
    return s;
}

StatusRecord EncodeStatus(const KestrelStatus& s) {
    return EncodeSumRecord(s, uint32_t(s.group & 0x3FF) | uint32_t(s.serial) << 16);
}

StatusRecord EncodeSumRecord(const KestrelStatus& s, uint32_t dataSum) {
    StatusRecord r{};
    r[1] = s.statusByte;
    PutLe(r, 2, s.controlWord, 2);
    PutLe(r, 4, s.liveField, 4);
    PutLe(r, 8, s.realField, 4);
    r[12] = s.battery;
    PutLe(r, 13, s.preset & 0xFFFFFF, 3);
    PutLe(r, 16, dataSum, 4);
    r[0] = StatusChecksum(r);
    return r;
}

uint32_t RecordDataSum(const StatusRecord& record) {
    return Le32(record, 16);
}

double TimeFieldSeconds(uint32_t field) {
    double whole = static_cast<double>(field >> 8);
    return whole + 1.0 - static_cast<double>(field & 0xFF) / kTicksPerSecond;
}

uint32_t TimeFieldFromTicks(uint64_t ticks) {
    uint64_t seconds = ticks / kTicksPerSecond;
    auto countdown = static_cast<uint32_t>(kTicksPerSecond - ticks % kTicksPerSecond);
    return static_cast<uint32_t>((seconds & 0xFFFFFF) << 8) | countdown;
}

int BatteryPercent(uint8_t raw, bool nicd) {
    if (raw == 0)
        return 101;
    const int* levels = nicd ? kNiCdLevels : kAlkalineLevels;
    int i = 1;
    while (levels[i] < raw) // the last level is 255, so this always stops
        ++i;
    int tenths = kBatteryTenths[i - 1] + (raw - levels[i - 1]) *
                                             (kBatteryTenths[i] - kBatteryTenths[i - 1]) /
                                             (levels[i] - levels[i - 1]);
    return tenths / 10;
}

} // namespace vorna
