#pragma once
// SerialLine on a POSIX terminal device: termios for framing and rate (CMSPAR gives SPACE
// parity), TIOCMBIS/TIOCMBIC/TIOCMGET for the modem lines, poll() for the short read time-out.
// Linux offers no way to size the driver queues; their sizes are accepted and left to the tty
// layer, which buffers more than the link ever asks for.

#include <functional>
#include <string>

#include "kestrel/SerialLine.h"

namespace vorna {

class TermiosSerialLine : public SerialLine {
public:
    // Maps a COM number to a device path (SerialDevicePath with the profile's value).
    using PathForPort = std::function<std::string(int portNumber)>;

    explicit TermiosSerialLine(PathForPort pathForPort);
    ~TermiosSerialLine() override;
    TermiosSerialLine(const TermiosSerialLine&) = delete;
    TermiosSerialLine& operator=(const TermiosSerialLine&) = delete;

    int Open(int portNumber) override;
    // Opens a device by path; what Open does after mapping the number.
    int OpenPath(const std::string& path);
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

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

private:
    int ModemLine(int bit, bool on);

    PathForPort m_pathForPort;
    std::string m_path;
    int m_fd = -1;
    int m_readTimeoutMs = 10;
};

} // namespace vorna
