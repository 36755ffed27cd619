#pragma once
// A simulated Kestrel or KestrelA on the far side of the SerialLine port. It answers RTS with a
// CTS (USB interface) or DSR (RS-232) toggle, takes packets byte by byte at the line rate, sends
// records and data either by itself (USB) or one byte per DTR edge (RS-232), and counts on the
// injected clock. Nothing runs in the background: every call first catches the device up with
// the clock, so the virtual clock of a test and the steady clock of the program both pace it.

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "common/Clock.h"
#include "kestrel/SerialLine.h"
#include "sim/kestrel/KestrelDeviceModel.h"
#include "sim/kestrel/KestrelSimOptions.h"

namespace vorna {

class KestrelSimulator : public SerialLine {
public:
    KestrelSimulator(Clock& clock, KestrelSimOptions options = {});

    // SerialLine: the device stands behind every port number.
    int Open(int portNumber) override;
    void Close() override;
    bool IsOpen() const override;
    int GetProperties(SerialProperties& out) override;
    int SetQueueSizes(int rxBytes, int txBytes) override;
    int SetReadTimeout(int firstByteMs) override;
    int Configure(const SerialFraming& framing) override;
    int SetBaud(int baud) override;
    int SetRts(bool on) override;
    int SetDtr(bool on) override;
    int ReadModemStatus(uint32_t& bits) override;
    int PurgeReceive() override;
    int Read(std::span<uint8_t> buffer, size_t& got) override;
    int Write(std::span<const uint8_t> bytes, size_t& written) override;

    // Faults: `occurrences` times, or until ClearFaults when negative. A pulled cable stays
    // pulled until ClearFaults. The timed faults of the options run besides these.
    void InjectFault(KestrelSimFault fault, int occurrences = 1);
    void ClearFaults();

    // The device's side, for tests and the benchmark.
    KestrelStatus DeviceStatus();
    std::vector<uint32_t> DeviceCounts();
    void LoadDeviceCounts(const std::vector<uint32_t>& counts);
    void SetCountRate(double countsPerSecond);
    void SetBattery(uint8_t level, bool nicd);
    void LockWithCode(uint16_t code);
    int64_t DeviceClockSeconds();
    uint64_t PacketsExecuted() const;
    const KestrelSimOptions& Options() const { return m_options; }

private:
    enum class EventKind { ToggleCts, ToggleDsr, DeviceByte };
    struct Event {
        EventKind kind;
        uint8_t value = 0;
        bool garbled = false;
    };
    struct RxByte {
        uint8_t value;
        int64_t ready;
    };

    bool Usb() const { return m_options.model == KestrelSimModel::KestrelAUsb; }
    bool UsbGone() const { return Usb() && m_cablePulled; }
    int64_t ByteMicros(int baud) const;
    void CatchUp(int64_t now);
    void Handle(const Event& event, int64_t at);
    bool Answer(int64_t at);
    int Usable();
    void OnRtsEdge(bool on, int64_t at);
    void OnDtrEdge(int64_t at);
    void OnDeviceByte(uint8_t value, bool garbled, int64_t at);
    void ExecutePacket(int64_t at);
    void Send(DeviceReply reply, int64_t at);
    void Emit(uint8_t value, int64_t at, bool dataByte);
    bool TakeFault(KestrelSimFault fault);
    int64_t NextWakeUp() const;
    void PullCable();
    void NoteConnect(int64_t at);
    int64_t NextScheduled() const;
    void RunScheduled(int64_t at);

    Clock& m_clock;
    KestrelSimOptions m_options;
    KestrelDeviceModel m_device;
    mutable std::mutex m_mutex;

    // Host side of the line.
    bool m_open = false;
    bool m_stale = false; // USB: the handle of a port that has gone
    bool m_framingOk = false;
    int m_hostBaud = 9600;
    int m_readTimeoutMs = 10;
    bool m_rts = false;
    bool m_dtr = false;
    int64_t m_hostTxFree = 0;
    std::deque<RxByte> m_rx;

    // Device side of the line.
    bool m_cts = false;
    bool m_dsr = false;
    bool m_riseSeen = false;
    int64_t m_busyUntil = 0;
    int64_t m_deviceTxFree = 0;
    std::vector<uint8_t> m_packet;
    bool m_packetGarbled = false;
    std::deque<uint8_t> m_pending; // RS-232: waiting for DTR edges
    bool m_dataActive = false;
    DataCursor m_data;
    bool m_freshStream = false;
    std::multimap<int64_t, Event> m_events;
    uint64_t m_packetsExecuted = 0;

    std::map<KestrelSimFault, int> m_faults;
    bool m_cablePulled = false;

    // The options' timed faults, as simulated times once the host first connected.
    bool m_connectSeen = false;
    int64_t m_unplugAt = INT64_MAX;
    int64_t m_replugAt = INT64_MAX;
    int64_t m_silentAt = INT64_MAX;
    EveryNth m_statusChecksums;
    EveryNth m_dataChecksums;
};

} // namespace vorna
