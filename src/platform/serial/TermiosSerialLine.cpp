#include "platform/serial/TermiosSerialLine.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace vorna {

namespace {

// A wedged port must not hang the link: a write that cannot go out within this fails.
constexpr int kWriteStallMs = 2000;

bool SpeedFor(int baud, speed_t& speed) {
    struct Entry {
        int baud;
        speed_t speed;
    };
    static constexpr Entry kSpeeds[] = {
        {300, B300},       {600, B600},       {1200, B1200},    {2400, B2400},   {4800, B4800},
        {9600, B9600},     {19200, B19200},   {38400, B38400},  {57600, B57600}, {115200, B115200},
        {230400, B230400}, {460800, B460800}, {921600, B921600}};
    for (const Entry& e : kSpeeds) {
        if (e.baud == baud) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

tcflag_t SizeFlag(int dataBits) {
    switch (dataBits) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

int LastError() {
    return errno != 0 ? errno : EIO;
}

} // namespace

TermiosSerialLine::TermiosSerialLine(PathForPort pathForPort)
    : m_pathForPort(std::move(pathForPort)) {}

TermiosSerialLine::~TermiosSerialLine() {
    Close();
}

int TermiosSerialLine::Open(int portNumber) {
    const std::string path = m_pathForPort ? m_pathForPort(portNumber) : std::string();
    if (path.empty())
        return ENOENT;
    return OpenPath(path);
}

int TermiosSerialLine::OpenPath(const std::string& path) {
    Close();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    // Exclusive like the link expects: no second program may open the port behind our back.
    if (::isatty(fd) && ::ioctl(fd, TIOCEXCL) != 0) {
        int error = LastError();
        ::close(fd);
        return error;
    }
    m_fd = fd;
    m_path = path;
    return 0;
}

void TermiosSerialLine::Close() {
    if (m_fd >= 0) {
        ::ioctl(m_fd, TIOCNXCL);
        ::close(m_fd);
    }
    m_fd = -1;
    m_path.clear();
}

int TermiosSerialLine::GetProperties(SerialProperties& out) {
    if (m_fd < 0)
        return EBADF;
    out = SerialProperties{};
    out.serialService = ::isatty(m_fd) == 1;
    if (!out.serialService)
        return 0;
    serial_rs485 rs485{};
    const bool rs485Enabled =
        ::ioctl(m_fd, TIOCGRS485, &rs485) == 0 && (rs485.flags & SER_RS485_ENABLED);
    out.rs232 = !rs485Enabled;
    int bits = 0;
    const bool modemLines = ::ioctl(m_fd, TIOCMGET, &bits) == 0;
    out.rtsCts = modemLines;
    out.dtrDsr = modemLines;
    // Rates and queue sizes are not reported by termios; zero leaves the choice to the caller.
    return 0;
}

int TermiosSerialLine::SetQueueSizes(int rxBytes, int txBytes) {
    if (m_fd < 0)
        return EBADF;
    if (rxBytes < 1 || txBytes < 1)
        return EINVAL;
    return 0;
}

int TermiosSerialLine::SetReadTimeout(int firstByteMs) {
    if (firstByteMs < 0)
        return EINVAL;
    m_readTimeoutMs = firstByteMs;
    return 0;
}

int TermiosSerialLine::Configure(const SerialFraming& framing) {
    if (m_fd < 0)
        return EBADF;
    if (framing.dataBits < 5 || framing.dataBits > 8 || framing.stopBits < 1 ||
        framing.stopBits > 2)
        return EINVAL;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return LastError();
    ::cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CREAD | CLOCAL | SizeFlag(framing.dataBits);
    if (framing.parity == SerialParity::Space)
        t.c_cflag |= PARENB | CMSPAR; // stick parity, PARODD clear: always 0
    if (framing.stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~(INPCK | PARMRK | ISTRIP | IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &t) != 0)
        return LastError();
    // Some drivers (pseudo-terminals among them) accept the call and drop what they cannot do.
    termios back{};
    if (::tcgetattr(m_fd, &back) != 0)
        return LastError();
    const tcflag_t framingBits = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    if ((back.c_cflag & framingBits) != (t.c_cflag & framingBits))
        return EINVAL;
    return 0;
}

int TermiosSerialLine::SetBaud(int baud) {
    if (m_fd < 0)
        return EBADF;
    speed_t speed{};
    if (!SpeedFor(baud, speed))
        return EINVAL;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return LastError();
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    if (::tcsetattr(m_fd, TCSANOW, &t) != 0)
        return LastError();
    termios back{};
    if (::tcgetattr(m_fd, &back) != 0)
        return LastError();
    return ::cfgetospeed(&back) == speed ? 0 : EINVAL;
}

int TermiosSerialLine::ModemLine(int bit, bool on) {
    if (m_fd < 0)
        return EBADF;
    return ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0 ? 0 : LastError();
}

int TermiosSerialLine::SetRts(bool on) {
    return ModemLine(TIOCM_RTS, on);
}

int TermiosSerialLine::SetDtr(bool on) {
    return ModemLine(TIOCM_DTR, on);
}

int TermiosSerialLine::ReadModemStatus(uint32_t& bits) {
    bits = 0;
    if (m_fd < 0)
        return EBADF;
    int lines = 0;
    if (::ioctl(m_fd, TIOCMGET, &lines) != 0)
        return LastError();
    bits = (lines & TIOCM_CTS ? kModemCts : 0) | (lines & TIOCM_DSR ? kModemDsr : 0) |
           (lines & TIOCM_RI ? kModemRing : 0) | (lines & TIOCM_CD ? kModemCarrier : 0);
    return 0;
}

int TermiosSerialLine::PurgeReceive() {
    if (m_fd < 0)
        return EBADF;
    return ::tcflush(m_fd, TCIFLUSH) == 0 ? 0 : LastError();
}

int TermiosSerialLine::Read(std::span<uint8_t> buffer, size_t& got) {
    got = 0;
    if (m_fd < 0)
        return EBADF;
    if (buffer.empty())
        return 0;
    for (bool waited = false;; waited = true) {
        ssize_t n = ::read(m_fd, buffer.data(), buffer.size());
        if (n > 0) {
            got = static_cast<size_t>(n);
            return 0;
        }
        if (n == 0 && waited)
            return EIO; // readable but nothing there: the other end hung up
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return LastError();
        if (waited)
            return 0;
        pollfd p{m_fd, POLLIN, 0};
        int ready = ::poll(&p, 1, m_readTimeoutMs);
        if (ready < 0 && errno != EINTR)
            return LastError();
        if (ready <= 0)
            return 0;
        if (!(p.revents & POLLIN))
            return EIO;
    }
}

int TermiosSerialLine::Write(std::span<const uint8_t> bytes, size_t& written) {
    written = 0;
    if (m_fd < 0)
        return EBADF;
    while (written < bytes.size()) {
        ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return LastError();
        pollfd p{m_fd, POLLOUT, 0};
        int ready = ::poll(&p, 1, kWriteStallMs);
        if (ready == 0)
            return ETIMEDOUT;
        if (ready < 0 && errno != EINTR)
            return LastError();
    }
    return 0;
}

} // namespace vorna
