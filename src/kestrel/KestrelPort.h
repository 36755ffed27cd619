#pragma once
// The lowest layer of the Kestrel link: the one open serial port, its configuration, the
// modem-line handshake, command packets, status requests and counted receives. It takes no lock;
// KestrelLink holds its lock around every use.

#include <atomic>
#include <cstdint>
#include <span>

#include "common/Clock.h"
#include "kestrel/KestrelCommands.h"
#include "kestrel/KestrelStatusRecord.h"
#include "kestrel/SerialLine.h"

namespace vorna {

class KestrelPort {
public:
    static constexpr int64_t kHandshakeTimeoutMicros = 200000;
    static constexpr int kAttempts = 5;

    KestrelPort(SerialLine& line, Clock& clock);
    KestrelPort(const KestrelPort&) = delete;
    KestrelPort& operator=(const KestrelPort&) = delete;

    int OpenPort(int portNumber);
    void ClosePort();
    // The variant used on disconnect: also clears the connected flag.
    void ClosePortAndDisconnect();
    int SetBaud(int rate);

    int SetRts(bool on);
    int SetDtr(bool on);
    int ToggleDtr();
    int ReadModemStatus(uint32_t& bits);
    int WaitCtsChange(uint32_t& reference);
    int WaitDsrChange(uint32_t& reference);
    int PurgeReceive();

    int SendPacket(const KestrelCommand& command);
    int RequestStatus();
    int Receive(std::span<uint8_t> buffer);
    int ReceiveStatus(StatusRecord& record);
    // Receives a record the device is already sending, asking again after each failure.
    int ReceiveStatusWithRetries(StatusRecord& record);
    // Asks for a record and receives it with retries.
    int ReadStatus(StatusRecord& record);

    void DelayMicroseconds(double micros);
    void SleepMillis(int millis) { m_clock.SleepMillis(millis); }

    bool IsOpen() const { return m_line.IsOpen(); }
    int PortNumber() const { return m_portNumber; }
    bool Connected() const { return m_connected.load(); }
    void SetConnected(bool on) { m_connected.store(on); }
    bool UsbMode() const { return m_usbMode.load(); }
    void SetUsbMode(bool on) { m_usbMode.store(on); }
    int PortMaxBaud() const { return m_portMaxBaud; }
    int ReceiveChunk() const { return m_receiveChunk; }
    int LinkBaud() const { return m_linkBaud; }
    // The divisor travels in one packet byte; callers keep it within 1..255.
    void SetLinkBaud(int baud);
    uint8_t BaudDivisor() const { return static_cast<uint8_t>(m_baudDivisor); }

    // Display values, read without the lock.
    bool Writing() const { return m_writing.load(); }
    bool Reading() const { return m_reading.load(); }
    uint32_t BytesWritten() const { return m_bytesWritten.load(); }
    uint32_t DtrToggles() const { return m_dtrToggles.load(); }

private:
    int ConfigureOpenedPort();
    int WaitLineChange(uint32_t mask, uint32_t& reference);
    int WriteByte(uint8_t byte);
    int SendUsbAttempt(const KestrelPacket& packet, uint32_t& reference, bool& firstAnswerMissing);
    int SendSerialAttempt(const KestrelPacket& packet, uint32_t& reference);
    int ReceivePiece(std::span<uint8_t> piece);
    static void Count(std::atomic<uint32_t>& counter);

    SerialLine& m_line;
    Clock& m_clock;
    int m_portNumber = 0;
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_usbMode{false};
    int m_baudDivisor = 1;
    int m_linkBaud = 115200;
    int m_portMaxBaud = 115200;
    int m_receiveChunk = 1024;
    bool m_dtr = false;
    std::atomic<bool> m_writing{false};
    std::atomic<bool> m_reading{false};
    std::atomic<uint32_t> m_bytesWritten{0};
    std::atomic<uint32_t> m_dtrToggles{0};
};

} // namespace vorna
