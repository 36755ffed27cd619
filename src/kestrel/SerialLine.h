#pragma once
// The serial port as the Kestrel link sees it. The analyzer does not use UART flow control: the
// host signals on RTS and DTR and the device answers by toggling CTS or DSR, so the modem lines
// are first-class calls here. Backends: termios (platform/serial) and the simulator (sim/kestrel).
//
// Every call returns 0 on success or a positive operating-system error code (errno values).

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorna {

// Modem-status bits as ReadModemStatus reports them.
inline constexpr uint32_t kModemCts = 0x10;
inline constexpr uint32_t kModemDsr = 0x20;
inline constexpr uint32_t kModemRing = 0x40;
inline constexpr uint32_t kModemCarrier = 0x80;

// What the driver says about the port. Zero in a size or rate means "not reported".
struct SerialProperties {
    bool serialService = false; // a serial communications device at all
    bool rs232 = false;         // RS-232 signalling (not RS-485, not a modem)
    bool rtsCts = false;        // RTS can be driven and CTS read
    bool dtrDsr = false;        // DTR can be driven and DSR read
    int maxBaud = 0;
    int maxRxQueue = 0;
    int maxTxQueue = 0;
};

enum class SerialParity { None, Space };

// Always raw bytes, no flow control of any kind, no parity checking on input.
struct SerialFraming {
    int dataBits = 8;
    SerialParity parity = SerialParity::Space;
    int stopBits = 1;
};

class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens COM `portNumber` for exclusive reading and writing; an existing device only.
    virtual int Open(int portNumber) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    virtual int GetProperties(SerialProperties& out) = 0;
    // Driver queue sizes where the platform lets us choose them.
    virtual int SetQueueSizes(int rxBytes, int txBytes) = 0;
    // A read returns what is buffered at once, or waits at most this long for the first byte.
    virtual int SetReadTimeout(int firstByteMs) = 0;
    virtual int Configure(const SerialFraming& framing) = 0;
    virtual int SetBaud(int baud) = 0;

    virtual int SetRts(bool on) = 0;
    virtual int SetDtr(bool on) = 0;
    virtual int ReadModemStatus(uint32_t& bits) = 0;

    // Drops whatever the driver has received and not yet handed out.
    virtual int PurgeReceive() = 0;
    virtual int Read(std::span<uint8_t> buffer, size_t& got) = 0;
    virtual int Write(std::span<const uint8_t> bytes, size_t& written) = 0;
};

} // namespace vorna
