#include "kestrel/KestrelLink.h"

#include <algorithm>

#include "kestrel/KestrelCommands.h"
#include "kestrel/KestrelError.h"

namespace vorna {

namespace {

constexpr int kMaxBaud = 115200;
constexpr int kDivisorBaud = 4800; // the divisor packet always travels at this rate
constexpr int kMaxGroup = 128;
constexpr int kMemoryChannels = 32768;
constexpr int32_t kMaxPreset = 0xFFFFFF;
constexpr int kDetectToggles = 199;

} // namespace

std::tm SystemLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

KestrelLink::KestrelLink(SerialLine& line, Clock& clock, LocalTimeSource localTime)
    : m_port(line, clock), m_localTime(std::move(localTime)) {}

bool KestrelLink::IsKestrelAOnly(KestrelRequest code) const {
    return code == KestrelRequest::ReadClock || code == KestrelRequest::Unlock;
}

int KestrelLink::Dispatch(const KestrelRequestRecord& request) {
    const bool linkRequest =
        request.code == KestrelRequest::DetectUsb || request.code == KestrelRequest::Connect;
    if (!m_port.Connected() && !linkRequest)
        return Code(KestrelError::NotConnected);
    if (m_deviceType.load() == KestrelDeviceType::Kestrel && IsKestrelAOnly(request.code))
        return Code(KestrelError::NotSupported);
    std::lock_guard<std::mutex> lock(m_mutex);
    try {
        return Perform(request);
    } catch (...) {
        // A request never lets a failure escape into the acquisition controller or its thread.
        return Code(KestrelError::Unexpected);
    }
}

int KestrelLink::Perform(const KestrelRequestRecord& r) {
    switch (r.code) {
    case KestrelRequest::DetectUsb:
        return PerformDetectUsb(r.args[0]);
    case KestrelRequest::Connect:
        return PerformConnect(r.args[0], r.args[1], r.args[2]);
    case KestrelRequest::Disconnect:
        m_port.ClosePortAndDisconnect();
        return 0;
    case KestrelRequest::GetBattery:
        return PerformBattery();
    case KestrelRequest::GetStatus:
        return PerformGetStatus(r.bytes);
    case KestrelRequest::ReadData:
        return PerformReadData(r.counts, r.args[0], r.args[1]);
    case KestrelRequest::ReadClock:
        return PerformReadClock(r.bytes);
    case KestrelRequest::ClearData:
        return PerformClear(true, false);
    case KestrelRequest::ClearTime:
        return PerformClear(false, true);
    case KestrelRequest::ClearAll:
        return PerformClear(true, true);
    case KestrelRequest::Start:
        return PerformStart(r.args[0] != 0);
    case KestrelRequest::Stop:
        return PerformStop();
    case KestrelRequest::SetGroup:
        return PerformSetGroup(r.args[0]);
    case KestrelRequest::Unlock:
        return m_port.SendPacket(UnlockCommand(static_cast<uint16_t>(r.args[0] & 0xFFFF)));
    case KestrelRequest::SetControl:
        return ControlWrite(static_cast<uint8_t>(r.args[0]),
                            static_cast<uint16_t>((r.args[1] & 0xFF) | (r.args[2] & 0xFF) << 8));
    case KestrelRequest::SetPreset:
        return PerformSetPreset(r.args[0]);
    case KestrelRequest::SetThreshold:
        return PerformSetThreshold(r.args[0]);
    }
    return Code(KestrelError::UndefinedRequest);
}

int KestrelLink::PerformDetectUsb(int port) {
    if (m_port.Connected())
        m_port.ClosePortAndDisconnect();
    if (int r = m_port.OpenPort(port))
        return r;
    uint32_t before = 0;
    uint32_t after = 0;
    int r = m_port.ReadModemStatus(before);
    if (r == 0)
        r = m_port.SetRts(true);
    // The USB interface answers this burst on CTS alone; an RS-232 Kestrel answers on DSR.
    for (int i = 0; i < kDetectToggles && r == 0; ++i) {
        r = m_port.SetDtr(true);
        m_port.DelayMicroseconds(500);
        if (r == 0)
            r = m_port.SetDtr(false);
        m_port.DelayMicroseconds(500);
    }
    if (r == 0) {
        m_port.SleepMillis(3800);
        r = m_port.ReadModemStatus(after);
    }
    if (r == 0) {
        const uint32_t changed = before ^ after;
        m_port.SetUsbMode((changed & kModemCts) && !(changed & kModemDsr));
    }
    m_port.SetRts(false);
    m_port.ClosePort();
    return r;
}

int KestrelLink::PerformConnect(int port, int baud, int expectedType) {
    if (port < 0 || port > 9)
        return Code(KestrelError::PortOutOfRange);
    if (baud < 300 || baud > kMaxBaud)
        return Code(KestrelError::BaudOutOfRange);
    if (m_port.Connected())
        m_port.ClosePortAndDisconnect();
    if (int r = m_port.OpenPort(port))
        return r;
    int r = ConnectOpenedPort(baud, expectedType);
    if (r != 0)
        m_port.ClosePortAndDisconnect();
    return r;
}

int KestrelLink::ConnectOpenedPort(int baud, int expectedType) {
    const int linkBaud = std::min(baud, m_port.PortMaxBaud());
    // The divisor travels in one byte: a slower rate would tell the device a wrong one.
    if (kMaxBaud / linkBaud > 255)
        return Code(KestrelError::BaudOutOfRange);
    if (int r = m_port.SetBaud(kDivisorBaud))
        return r;
    m_port.SetLinkBaud(linkBaud);
    m_port.SetConnected(true);
    int r = m_port.SetDtr(true);
    if (r == 0)
        r = m_port.SendPacket(BaudCommand(m_port.BaudDivisor()));
    int dropped = m_port.SetDtr(false);
    if (r == 0)
        r = dropped;
    if (r == 0)
        r = m_port.SetBaud(linkBaud);
    StatusRecord record{};
    if (r == 0)
        r = m_port.ReadStatus(record);
    if (r == 0)
        r = m_port.ReadStatus(record);
    if (r != 0)
        return r;
    const KestrelStatus status = DecodeStatus(record);
    const auto type = status.serial == 0 ? KestrelDeviceType::Kestrel : KestrelDeviceType::KestrelA;
    if (expectedType != 0 && expectedType != static_cast<int>(type))
        return Code(KestrelError::WrongDeviceType);
    m_deviceType.store(type);
    m_gainCode.store(status.GainCode());
    return 0;
}

int KestrelLink::PerformBattery() {
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    const KestrelStatus status = DecodeStatus(record);
    return BatteryPercent(status.battery, status.NiCd());
}

int KestrelLink::PerformGetStatus(std::span<uint8_t> out) {
    if (out.size() < sizeof(StatusRecord))
        return Code(KestrelError::MissingBuffer);
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    std::copy(record.begin(), record.end(), out.begin());
    return 0;
}

int KestrelLink::PerformClear(bool data, bool time) {
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    const int channels = DecodeStatus(record).Channels();
    if (int r = m_port.SendPacket(ClearCommand(data, time)))
        return r;
    // The device is deaf while it wipes its memory.
    m_port.SleepMillis(m_deviceType.load() == KestrelDeviceType::Kestrel ? channels / 2 + 1536
                                                                         : channels / 8 + 256);
    return 0;
}

int KestrelLink::PerformStart(bool setClock) {
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    if (setClock && m_deviceType.load() == KestrelDeviceType::KestrelA) {
        const std::tm local = m_localTime();
        m_port.SendPacket(TimeCommand(local));
        m_port.SleepMillis(1);
        m_port.SendPacket(DateCommand(local));
        m_port.SleepMillis(1);
    }
    const KestrelStatus status = DecodeStatus(record);
    return ControlWrite(status.statusByte | kStatusAcquiring, status.controlWord);
}

int KestrelLink::PerformStop() {
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    const KestrelStatus status = DecodeStatus(record);
    return ControlWrite(static_cast<uint8_t>(status.statusByte & ~kStatusAcquiring),
                        status.controlWord);
}

int KestrelLink::PerformSetGroup(int group) {
    if (group < 0 || group > kMaxGroup)
        return Code(KestrelError::GroupOutOfRange);
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    if (group * DecodeStatus(record).Channels() >= kMemoryChannels)
        return Code(KestrelError::GroupOutOfRange);
    return m_port.SendPacket(GroupCommand(static_cast<uint8_t>(group)));
}

int KestrelLink::PerformSetPreset(int32_t preset) {
    if (preset < 0 || preset > kMaxPreset)
        return Code(KestrelError::PresetOutOfRange);
    return m_port.SendPacket(PresetCommand(static_cast<uint32_t>(preset)));
}

int KestrelLink::PerformSetThreshold(int32_t threshold) {
    if (threshold < 0 || threshold > kControlThresholdMask)
        return Code(KestrelError::ThresholdBit15);
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    const KestrelStatus status = DecodeStatus(record);
    const auto word = static_cast<uint16_t>((status.controlWord & kControlAbsolutePeak) |
                                            (threshold & kControlThresholdMask));
    return ControlWrite(status.statusByte, word);
}

int KestrelLink::ControlWrite(uint8_t statusByte, uint16_t controlWord) {
    return m_port.SendPacket(ControlCommand(statusByte, controlWord, m_peakModeMirror.load()));
}

} // namespace vorna
