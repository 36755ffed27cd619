#pragma once
// The command layer of the Kestrel and KestrelA analyzers. Every request is a small record passed
// to one dispatcher, which holds the link lock for the whole exchange; the typed calls below build
// the record and dispatch it. Results: 0 (or a value) on success, a KestrelError code, or a
// positive operating-system error code from the serial port. Nothing here shows a message.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <span>
#include <string>

#include "common/Clock.h"
#include "kestrel/KestrelPort.h"
#include "kestrel/KestrelStatusRecord.h"
#include "kestrel/SerialLine.h"

namespace vorna {

enum class KestrelRequest : int32_t {
    DetectUsb = 1,
    Connect = 2,
    Disconnect = 3,
    GetBattery = 7,
    GetStatus = 13,
    ReadData = 14,
    ReadClock = 15,
    ClearData = 20,
    ClearTime = 21,
    ClearAll = 22,
    Start = 23,
    Stop = 24,
    SetGroup = 25,
    Unlock = 29,
    SetControl = 30,
    SetPreset = 32,
    SetThreshold = 33,
};

enum class KestrelDeviceType : int { Unknown = 0, Kestrel = 1, KestrelA = 2 };

// One request: its code, up to three integer arguments and the caller's buffer where one is
// needed (20 bytes for GetStatus and ReadClock, one 32-bit count per channel for ReadData).
struct KestrelRequestRecord {
    KestrelRequest code = KestrelRequest::GetStatus;
    int32_t args[3] = {0, 0, 0};
    std::span<uint8_t> bytes;
    std::span<uint32_t> counts;
};

// The local wall-clock time written into a KestrelA when an acquisition starts.
using LocalTimeSource = std::function<std::tm()>;
std::tm SystemLocalTime();

class KestrelLink {
public:
    static constexpr int kExternalPower = 101;

    KestrelLink(SerialLine& line, Clock& clock, LocalTimeSource localTime = SystemLocalTime);
    KestrelLink(const KestrelLink&) = delete;
    KestrelLink& operator=(const KestrelLink&) = delete;

    int Dispatch(const KestrelRequestRecord& request);

    // Runs with the port closed; afterwards UsbMode() says what was found. Blocks about 4 s.
    int DetectUsb(int port);
    // expectedType 0 accepts either model.
    int Connect(int port, int baud, KestrelDeviceType expectedType);
    int Disconnect();
    // Percent 0..100, or kExternalPower.
    int GetBattery();
    int GetStatus(StatusRecord& record);
    // counts[i] receives channel start + i; counts must hold at least `count` elements.
    int ReadData(std::span<uint32_t> counts, int start, int count);
    // "MM/DD/CCYY hh:mm:ss" from the KestrelA's clock.
    int ReadClock(std::string& text);
    int ClearData();
    int ClearTime();
    int ClearAll();
    int Start(bool setClock);
    int Stop();
    int SetGroup(int group);
    int Unlock(uint16_t code);
    int SetControl(uint8_t statusByte, uint8_t controlLow, uint8_t controlHigh);
    int SetPreset(int32_t preset);
    int SetThreshold(int32_t threshold);
    // Bit 15 of every control write comes from here, not from the device's record.
    void SetPeakModeMirror(bool absolute) { m_peakModeMirror.store(absolute); }

    // Link state, answered without traffic.
    KestrelDeviceType DeviceType() const { return m_deviceType.load(); }
    bool UsbMode() const { return m_port.UsbMode(); }
    bool Connected() const { return m_port.Connected(); }
    int GainCode() const { return m_gainCode.load(); }
    bool PeakModeMirror() const { return m_peakModeMirror.load(); }
    const KestrelPort& Port() const { return m_port; }

private:
    int Perform(const KestrelRequestRecord& request);
    int PerformDetectUsb(int port);
    int PerformConnect(int port, int baud, int expectedType);
    int ConnectOpenedPort(int baud, int expectedType);
    int PerformBattery();
    int PerformGetStatus(std::span<uint8_t> out);
    int PerformReadData(std::span<uint32_t> counts, int start, int count);
    int TransferHalf(std::span<uint32_t> counts, int start, int count, int half);
    int TransferAttempt(std::span<uint32_t> counts, int start, int count, int half);
    int PerformReadClock(std::span<uint8_t> out);
    int PerformClear(bool data, bool time);
    int PerformStart(bool setClock);
    int PerformStop();
    int PerformSetGroup(int group);
    int PerformSetPreset(int32_t preset);
    int PerformSetThreshold(int32_t threshold);
    int ControlWrite(uint8_t statusByte, uint16_t controlWord);
    bool IsKestrelAOnly(KestrelRequest code) const;

    KestrelPort m_port;
    LocalTimeSource m_localTime;
    std::mutex m_mutex;
    std::atomic<KestrelDeviceType> m_deviceType{KestrelDeviceType::Unknown};
    std::atomic<int> m_gainCode{0};
    std::atomic<bool> m_peakModeMirror{false};
};

} // namespace vorna
