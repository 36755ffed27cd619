// The termios backend over a pseudo-terminal pair: the data path is real, the modem lines and
// parity are not there, and the backend must say so.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <unistd.h>

#include "common/Clock.h"
#include "kestrel/KestrelError.h"
#include "kestrel/KestrelPort.h"
#include "platform/serial/TermiosSerialLine.h"

using namespace vorna;

namespace {

class PtyPair {
public:
    PtyPair() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slavePath = ptsname(m_master);
    }
    ~PtyPair() { CloseMaster(); }
    bool Ok() const { return m_master >= 0 && !m_slavePath.empty(); }
    const std::string& SlavePath() const { return m_slavePath; }
    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    std::string Receive(size_t n) {
        std::string out;
        while (out.size() < n) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0)
                break;
            char buffer[256];
            ssize_t got = ::read(m_master, buffer, std::min(sizeof buffer, n - out.size()));
            if (got <= 0)
                break;
            out.append(buffer, static_cast<size_t>(got));
        }
        return out;
    }
    void CloseMaster() {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_slavePath;
};

std::string ReadAll(TermiosSerialLine& line, size_t n) {
    std::string out;
    for (int i = 0; i < 100 && out.size() < n; ++i) {
        uint8_t buffer[64];
        size_t got = 0;
        if (line.Read(buffer, got) != 0)
            break;
        out.append(reinterpret_cast<char*>(buffer), got);
    }
    return out;
}

} // namespace

TEST(TermiosSerialLine, CarriesBytesBothWaysOverAPseudoTerminal) {
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TermiosSerialLine line([&](int n) { return n == 3 ? pty.SlavePath() : std::string(); });
    ASSERT_EQ(line.Open(3), 0);
    ASSERT_EQ(line.Configure({8, SerialParity::None, 1}), 0);
    ASSERT_EQ(line.SetBaud(115200), 0);
    ASSERT_EQ(line.SetReadTimeout(10), 0);

    pty.Send(std::string("\x00\xFF\x0D\x0A\x11\x13", 6)); // raw: no CR mapping, no XON/XOFF
    EXPECT_EQ(ReadAll(line, 6), std::string("\x00\xFF\x0D\x0A\x11\x13", 6));

    const std::string packet("\x01\x12\x64\x80\xF7", 5);
    size_t written = 0;
    ASSERT_EQ(line.Write({reinterpret_cast<const uint8_t*>(packet.data()), packet.size()}, written),
              0);
    EXPECT_EQ(written, 5u);
    EXPECT_EQ(pty.Receive(5), packet);

    // Nothing buffered: the read comes back empty after its short time-out.
    SteadyClock clock;
    const int64_t before = clock.NowMicros();
    uint8_t byte = 0;
    size_t got = 1;
    EXPECT_EQ(line.Read({&byte, 1}, got), 0);
    EXPECT_EQ(got, 0u);
    EXPECT_GE(clock.NowMicros() - before, 9000);

    // A purge drops what has arrived and not been read.
    pty.Send("stale");
    ::usleep(20000);
    EXPECT_EQ(line.PurgeReceive(), 0);
    pty.Send("fresh");
    EXPECT_EQ(ReadAll(line, 5), "fresh");

    // The far end hanging up is an error, not an endless run of empty reads.
    pty.CloseMaster();
    EXPECT_NE(line.Read({&byte, 1}, got), 0);
}

TEST(TermiosSerialLine, ReportsWhatAPseudoTerminalCannotDo) {
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    TermiosSerialLine line([&](int) { return pty.SlavePath(); });
    ASSERT_EQ(line.Open(1), 0);
    SerialProperties p;
    ASSERT_EQ(line.GetProperties(p), 0);
    EXPECT_TRUE(p.serialService);
    EXPECT_FALSE(p.rtsCts);
    EXPECT_FALSE(p.dtrDsr);
    EXPECT_NE(line.Configure({8, SerialParity::Space, 1}), 0); // the pty drops the parity bit
    EXPECT_NE(line.SetRts(true), 0);
    EXPECT_NE(line.SetDtr(false), 0);
    uint32_t bits = 0;
    EXPECT_NE(line.ReadModemStatus(bits), 0);
    EXPECT_EQ(line.SetBaud(12345), EINVAL);
    line.Close();

    // The Kestrel port refuses such a port and leaves it closed.
    VirtualClock clock;
    KestrelPort port(line, clock);
    EXPECT_EQ(port.OpenPort(1), Code(KestrelError::NoModemControl));
    EXPECT_FALSE(line.IsOpen());
}

TEST(TermiosSerialLine, OpenFailuresCarryTheSystemError) {
    TermiosSerialLine line([](int n) { return n == 0 ? std::string() : "/nonexistent/ttyUSB9"; });
    EXPECT_EQ(line.Open(0), ENOENT); // COM0 has no device
    EXPECT_EQ(line.Open(4), ENOENT);
    EXPECT_FALSE(line.IsOpen());
    uint32_t bits = 0;
    EXPECT_EQ(line.ReadModemStatus(bits), EBADF);

    // A regular file opens but is no serial port at all.
    char path[] = "/tmp/vorna-serial-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    TermiosSerialLine file([&](int) { return std::string(path); });
    VirtualClock clock;
    KestrelPort port(file, clock);
    EXPECT_EQ(port.OpenPort(2), Code(KestrelError::NotRs232));
    EXPECT_EQ(port.OpenPort(10), Code(KestrelError::PortOutOfRange));
    ::unlink(path);
}
