#include "sim/kestrel/KestrelDeviceModel.h"

#include <algorithm>
#include <cmath>

#include "sim/kestrel/CivilDays.h"

namespace vorna {

namespace {

constexpr int64_t kDaySeconds = 86400;

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::vector<uint8_t> WireOrder(const StatusRecord& record) {
    return std::vector<uint8_t>(record.rbegin(), record.rend());
}

} // namespace

KestrelDeviceModel::KestrelDeviceModel(const KestrelSimOptions& options, int64_t nowMicros)
    : m_options(options), m_source(options.seed), m_countRate(options.countRate),
      m_battery(options.batteryLevel), m_lastAdvance(nowMicros), m_memory(kMemoryChannels, 0) {
    if (m_options.model == KestrelSimModel::Kestrel) {
        m_options.serialNumber = 0;
        m_options.securityCode.reset();
    }
    m_statusByte = static_cast<uint8_t>((options.gainCode & kStatusGainMask) |
                                        (options.nicd ? kStatusNiCd : 0));
    m_securityCode = m_options.securityCode;
    if (m_securityCode)
        m_statusByte |= kStatusLocked;
    const int64_t start =
        civil::DaysFromCivil(options.clockYear, options.clockMonth, options.clockDay) *
            kDaySeconds +
        options.clockHour * 3600 + options.clockMinute * 60 + options.clockSecond;
    m_clockOffsetSeconds = start - FloorDiv(nowMicros, 1000000);
}

void KestrelDeviceModel::AdvanceTo(int64_t nowMicros) {
    if (nowMicros <= m_lastAdvance)
        return;
    double dt = static_cast<double>(nowMicros - m_lastAdvance);
    m_lastAdvance = nowMicros;
    if (!(m_statusByte & kStatusAcquiring))
        return;
    const double liveFraction = 1.0 / (1.0 + m_countRate * kDeadTimeMicros * 1e-6);
    const bool livePreset = (m_statusByte & kStatusLivePreset) != 0;
    bool presetReached = false;
    if (m_preset > 0) {
        const double target = m_preset * 1e6;
        const double remaining = target - (livePreset ? m_liveMicros : m_realMicros);
        const double needed = std::max(0.0, livePreset ? remaining / liveFraction : remaining);
        if (needed <= dt) {
            dt = needed;
            presetReached = true;
        }
    }
    const double liveAdd = dt * liveFraction;
    m_realMicros += dt;
    m_liveMicros += liveAdd;
    const int channels = Channels();
    const int base = std::min(GroupBase(), kMemoryChannels - channels);
    m_source.Accumulate(std::span<uint32_t>(m_memory).subspan(base, channels),
                        m_countRate * liveAdd * 1e-6, m_controlWord & kControlThresholdMask);
    if (presetReached) {
        (livePreset ? m_liveMicros : m_realMicros) = m_preset * 1e6; // no rounding drift
        m_statusByte &= ~kStatusAcquiring;
    }
}

KestrelStatus KestrelDeviceModel::Status() const {
    KestrelStatus s;
    s.statusByte = m_statusByte;
    s.controlWord = m_controlWord;
    s.liveField = TimeFieldFromTicks(static_cast<uint64_t>(m_liveMicros * kTicksPerSecond / 1e6));
    s.realField = TimeFieldFromTicks(static_cast<uint64_t>(m_realMicros * kTicksPerSecond / 1e6));
    s.battery = m_battery;
    s.preset = m_preset;
    s.group = IsKestrelA() ? static_cast<uint16_t>(m_group) : 0; // the older model keeps it quiet
    s.serial = m_options.serialNumber;
    return s;
}

std::vector<uint8_t> KestrelDeviceModel::StatusWire(int64_t nowMicros) {
    AdvanceTo(nowMicros);
    return WireOrder(EncodeStatus(Status()));
}

bool KestrelDeviceModel::AllowedWhileLocked(uint8_t opcode) const {
    switch (opcode) {
    case 0x00:
    case 0x30:
    case 0x40:
    case 0x42:
    case 0x75:
        return true;
    default:
        return false;
    }
}

DeviceReply KestrelDeviceModel::Execute(const KestrelPacket& p, bool dtrHigh, int64_t nowMicros) {
    DeviceReply reply;
    if (!PacketChecksumOk(p))
        return reply;
    AdvanceTo(nowMicros);
    if ((m_statusByte & kStatusLocked) && !AllowedWhileLocked(p[0]))
        return reply;
    switch (p[0]) {
    case 0x00: {
        if (dtrHigh) {
            if (p[3] != 0)
                m_baud = 115200 / p[3];
            return reply;
        }
        if (IsUsb())
            return reply;
        const int address = p[1] | p[2] << 8;
        return StartData({address >> 2, (address & 2) ? 1 : 0, 0, -1});
    }
    case 0x01:
        Control(p, nowMicros);
        break;
    case 0x02:
        m_preset = uint32_t(p[1]) | uint32_t(p[2]) << 8 | uint32_t(p[3]) << 16;
        break;
    case 0x05:
        return Clear(p[1] != 0, p[2] != 0);
    case 0x11:
        if (p[2] * Channels() < kMemoryChannels)
            m_group = p[2];
        break;
    case 0x25:
        if (IsKestrelA())
            SetTime(p, nowMicros);
        break;
    case 0x19:
    case 0x20:
        if (IsKestrelA())
            SetDate(p, nowMicros);
        break;
    case 0x30:
        if (IsKestrelA())
            reply.wire = ClockWire(nowMicros);
        break;
    case 0x40:
    case 0x42: {
        UsbDataRequest request;
        KestrelCommand command{p[0], p[1], p[2], p[3]};
        if (IsUsb() && DecodeUsbDataCommand(command, request))
            return StartData(
                {request.address >> 2, (request.address & 2) ? 1 : 0, 0, request.count});
        break;
    }
    case 0x75:
        if (IsKestrelA() && m_securityCode && *m_securityCode == (p[1] | p[2] << 8))
            m_statusByte &= ~kStatusLocked;
        break;
    default:
        break;
    }
    return reply;
}

void KestrelDeviceModel::Control(const KestrelPacket& p, int64_t nowMicros) {
    const bool wasAcquiring = (m_statusByte & kStatusAcquiring) != 0;
    m_statusByte = static_cast<uint8_t>((p[1] & ~kStatusLocked) | (m_statusByte & kStatusLocked));
    if (!wasAcquiring && (m_statusByte & kStatusAcquiring))
        m_startStampSeconds = ClockSeconds(nowMicros);
    m_controlWord = static_cast<uint16_t>(p[2] | p[3] << 8);
    if (GroupBase() + Channels() > kMemoryChannels)
        m_group = 0; // a larger spectrum no longer fits behind the old group
}

DeviceReply KestrelDeviceModel::StartData(const DataCursor& cursor) {
    DeviceReply reply;
    reply.wire = WireOrder(EncodeSumRecord(Status(), m_sumSinceStart));
    reply.isRecord = true;
    reply.startsData = true;
    reply.data = cursor;
    m_sumSinceStart = 0;
    return reply;
}

uint8_t KestrelDeviceModel::NextDataByte(DataCursor& cursor) {
    const int index = GroupBase() + cursor.channel;
    const uint32_t word = index >= 0 && index < kMemoryChannels ? m_memory[index] : 0;
    const uint32_t half = cursor.half ? word >> 16 : word & 0xFFFF;
    const auto byte = static_cast<uint8_t>(cursor.byteInHalf ? half >> 8 : half & 0xFF);
    if (++cursor.byteInHalf == 2) {
        cursor.byteInHalf = 0;
        ++cursor.channel;
        if (cursor.wordsLeft > 0)
            --cursor.wordsLeft;
    }
    m_sumSinceStart += byte;
    return byte;
}

DeviceReply KestrelDeviceModel::Clear(bool data, bool time) {
    const int channels = Channels();
    if (data) {
        const int base = std::min(GroupBase(), kMemoryChannels - channels);
        std::fill_n(m_memory.begin() + base, channels, 0u);
    }
    if (time)
        m_liveMicros = m_realMicros = 0;
    DeviceReply reply;
    // Wiping memory takes a while and the device answers nothing meanwhile.
    const int64_t busyMs = IsKestrelA() ? channels / 16 + 128 : channels / 4 + 768;
    reply.busyMicros = busyMs * 1000;
    return reply;
}

int64_t KestrelDeviceModel::ClockSeconds(int64_t nowMicros) const {
    return m_clockOffsetSeconds + FloorDiv(nowMicros, 1000000);
}

std::vector<uint8_t> KestrelDeviceModel::ClockWire(int64_t nowMicros) const {
    const int64_t seconds = m_startStampSeconds.value_or(ClockSeconds(nowMicros));
    const int64_t days = FloorDiv(seconds, kDaySeconds);
    const int64_t ofDay = seconds - days * kDaySeconds;
    const civil::Date date = civil::CivilFromDays(days);
    const int weekday = static_cast<int>(((days + 4) % 7 + 7) % 7) + 1; // 1970-01-01 was a Thursday
    return {ToBcd(static_cast<int>(ofDay % 60)),
            ToBcd(static_cast<int>(ofDay / 60 % 60)),
            ToBcd(static_cast<int>(ofDay / 3600)),
            ToBcd(weekday),
            ToBcd(date.day),
            ToBcd(date.month),
            ToBcd(static_cast<int>(date.year % 100)),
            ToBcd(static_cast<int>(date.year / 100))};
}

void KestrelDeviceModel::SetTime(const KestrelPacket& p, int64_t nowMicros) {
    const int hour = FromBcd(p[1]);
    const int minute = FromBcd(p[2]);
    const int second = FromBcd(p[3]);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return;
    const int64_t now = ClockSeconds(nowMicros);
    const int64_t wanted =
        FloorDiv(now, kDaySeconds) * kDaySeconds + hour * 3600 + minute * 60 + second;
    m_clockOffsetSeconds += wanted - now;
}

void KestrelDeviceModel::SetDate(const KestrelPacket& p, int64_t nowMicros) {
    const int century = FromBcd(p[0]);
    const int year = FromBcd(p[1]);
    const int month = FromBcd(p[2]);
    const int day = FromBcd(p[3]);
    if (century < 0 || year < 0 || month < 1 || month > 12 || day < 1)
        return;
    const int64_t fullYear = century * 100 + year;
    if (day > civil::DaysInMonth(fullYear, month))
        return;
    const int64_t now = ClockSeconds(nowMicros);
    const int64_t ofDay = now - FloorDiv(now, kDaySeconds) * kDaySeconds;
    const int64_t wanted = civil::DaysFromCivil(fullYear, month, day) * kDaySeconds + ofDay;
    m_clockOffsetSeconds += wanted - now;
}

std::vector<uint32_t> KestrelDeviceModel::GroupCounts() const {
    const int channels = Channels();
    const int base = std::min(GroupBase(), kMemoryChannels - channels);
    return std::vector<uint32_t>(m_memory.begin() + base, m_memory.begin() + base + channels);
}

void KestrelDeviceModel::LoadGroupCounts(const std::vector<uint32_t>& counts) {
    const int channels = Channels();
    const int base = std::min(GroupBase(), kMemoryChannels - channels);
    std::copy_n(counts.begin(), std::min<size_t>(counts.size(), channels), m_memory.begin() + base);
}

void KestrelDeviceModel::SetBattery(uint8_t level, bool nicd) {
    m_battery = level;
    m_statusByte = static_cast<uint8_t>((m_statusByte & ~kStatusNiCd) | (nicd ? kStatusNiCd : 0));
}

void KestrelDeviceModel::LockWithCode(uint16_t code) {
    m_securityCode = code;
    m_statusByte |= kStatusLocked;
}

} // namespace vorna
