#include "kestrel/KestrelPort.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kestrel/KestrelError.h"

namespace vorna {

namespace {

constexpr int kMaxBaud = 115200;
constexpr int kMaxReceiveQueue = 1024;
constexpr int kMaxTransmitQueue = 32;
constexpr int kReadTimeoutMs = 10;
// How often a handshake wait looks at the modem lines again.
constexpr int64_t kPollMicros = 10;
constexpr double kSerialByteClockMicros = 130.20833; // 15 bit times at 115200 baud
constexpr int64_t kUsbReceiveDeadline = 750000;
constexpr int64_t kSerialReceiveDeadline = 500000;

} // namespace

KestrelPort::KestrelPort(SerialLine& line, Clock& clock) : m_line(line), m_clock(clock) {}

int KestrelPort::OpenPort(int portNumber) {
    if (portNumber < 0 || portNumber > 9)
        return Code(KestrelError::PortOutOfRange);
    if (m_line.IsOpen())
        ClosePort();
    int r = m_line.Open(portNumber);
    if (r != 0)
        return r;
    r = ConfigureOpenedPort();
    if (r != 0) {
        m_line.Close();
        return r;
    }
    m_portNumber = portNumber;
    return 0;
}

int KestrelPort::ConfigureOpenedPort() {
    SerialProperties p;
    if (int r = m_line.GetProperties(p))
        return r;
    if (!p.serialService || !p.rs232)
        return Code(KestrelError::NotRs232);
    if (!p.rtsCts || !p.dtrDsr)
        return Code(KestrelError::NoModemControl);
    // A driver that reports no maximum at all is taken at the link's own ceiling.
    m_portMaxBaud = (p.maxBaud <= 0 || p.maxBaud > kMaxBaud) ? kMaxBaud : p.maxBaud;
    int rx =
        (p.maxRxQueue >= 1 && p.maxRxQueue <= kMaxReceiveQueue) ? p.maxRxQueue : kMaxReceiveQueue;
    int tx =
        (p.maxTxQueue >= 1 && p.maxTxQueue <= kMaxTransmitQueue) ? p.maxTxQueue : kMaxTransmitQueue;
    if (int r = m_line.SetQueueSizes(rx, tx))
        return r;
    m_receiveChunk = rx;
    if (int r = m_line.SetReadTimeout(kReadTimeoutMs))
        return r;
    if (int r = m_line.Configure(SerialFraming{8, SerialParity::Space, 1}))
        return r;
    // Both outputs start low: the device reads every edge as a signal.
    if (int r = m_line.SetRts(false))
        return r;
    if (int r = m_line.SetDtr(false))
        return r;
    m_dtr = false;
    return 0;
}

void KestrelPort::ClosePort() {
    if (m_line.IsOpen())
        m_line.Close();
}

void KestrelPort::ClosePortAndDisconnect() {
    ClosePort();
    m_connected.store(false);
}

int KestrelPort::SetBaud(int rate) {
    return m_line.SetBaud(rate);
}

void KestrelPort::SetLinkBaud(int baud) {
    m_linkBaud = baud;
    m_baudDivisor = kMaxBaud / baud;
}

int KestrelPort::SetRts(bool on) {
    return m_line.SetRts(on);
}

int KestrelPort::SetDtr(bool on) {
    int r = m_line.SetDtr(on);
    if (r == 0)
        m_dtr = on;
    return r;
}

int KestrelPort::ToggleDtr() {
    m_dtr = !m_dtr;
    Count(m_dtrToggles);
    return m_line.SetDtr(m_dtr);
}

int KestrelPort::ReadModemStatus(uint32_t& bits) {
    uint32_t raw = 0;
    int r = m_line.ReadModemStatus(raw);
    bits = raw & (kModemCts | kModemDsr);
    return r;
}

int KestrelPort::WaitCtsChange(uint32_t& reference) {
    return WaitLineChange(kModemCts, reference);
}

int KestrelPort::WaitDsrChange(uint32_t& reference) {
    return WaitLineChange(kModemDsr, reference);
}

int KestrelPort::WaitLineChange(uint32_t mask, uint32_t& reference) {
    const int64_t start = m_clock.NowMicros();
    for (;;) {
        uint32_t bits = 0;
        if (int r = ReadModemStatus(bits))
            return r;
        if ((bits ^ reference) & mask) {
            reference = (reference & ~mask) | (bits & mask);
            return 0;
        }
        if (!Connected() || m_clock.NowMicros() - start >= kHandshakeTimeoutMicros)
            return Code(KestrelError::HandshakeTimeout);
        m_clock.SleepMicros(kPollMicros);
    }
}

int KestrelPort::PurgeReceive() {
    return m_line.PurgeReceive();
}

void KestrelPort::DelayMicroseconds(double micros) {
    const auto target = static_cast<int64_t>(std::ceil(micros));
    const int64_t start = m_clock.NowMicros();
    for (int64_t elapsed = 0; elapsed < target; elapsed = m_clock.NowMicros() - start)
        m_clock.SleepMicros(target - elapsed);
}

void KestrelPort::Count(std::atomic<uint32_t>& counter) {
    counter.store((counter.load() + 1) & 0x7FFFFFFF);
}

int KestrelPort::WriteByte(uint8_t byte) {
    size_t written = 0;
    if (int r = m_line.Write(std::span<const uint8_t>(&byte, 1), written))
        return r;
    Count(m_bytesWritten);
    return 0;
}

int KestrelPort::SendPacket(const KestrelCommand& command) {
    const KestrelPacket packet = MakePacket(command);
    uint32_t reference = 0;
    if (int r = ReadModemStatus(reference))
        return r;
    m_writing.store(true);
    int result = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0)
            m_clock.SleepMillis(20);
        bool firstAnswerMissing = false;
        result = SetRts(true);
        if (result == 0)
            result = UsbMode() ? SendUsbAttempt(packet, reference, firstAnswerMissing)
                               : SendSerialAttempt(packet, reference);
        int dropped = SetRts(false);
        if (result == 0)
            result = dropped;
        // Over USB a silent interface will not answer a second time either.
        if (result == 0 || firstAnswerMissing)
            break;
    }
    m_writing.store(false);
    DelayMicroseconds(200);
    return result;
}

int KestrelPort::SendUsbAttempt(const KestrelPacket& packet, uint32_t& reference,
                                bool& firstAnswerMissing) {
    if (int r = WaitCtsChange(reference)) {
        firstAnswerMissing = true;
        return r;
    }
    if (int r = PurgeReceive())
        return r;
    int writeError = 0;
    for (uint8_t b : packet) {
        int r = WriteByte(b);
        if (r != 0 && writeError == 0)
            writeError = r;
    }
    if (writeError != 0)
        return writeError;
    return WaitCtsChange(reference);
}

int KestrelPort::SendSerialAttempt(const KestrelPacket& packet, uint32_t& reference) {
    for (uint8_t b : packet) {
        if (int r = WaitDsrChange(reference))
            return r;
        if (int r = WriteByte(b))
            return r;
    }
    return WaitDsrChange(reference);
}

int KestrelPort::RequestStatus() {
    if (int r = SetRts(false))
        return r;
    DelayMicroseconds(200);
    uint32_t reference = 0;
    if (int r = ReadModemStatus(reference))
        return r;
    if (int r = SetRts(true))
        return r;
    int result = 0;
    if (UsbMode()) {
        result = WaitCtsChange(reference);
        if (result == 0)
            result = PurgeReceive();
        if (result == 0)
            DelayMicroseconds(200);
    } else {
        result = WaitDsrChange(reference);
    }
    int dropped = SetRts(false);
    DelayMicroseconds(200);
    return result != 0 ? result : dropped;
}

int KestrelPort::Receive(std::span<uint8_t> buffer) {
    if (!UsbMode()) {
        if (int r = PurgeReceive())
            return r;
    }
    m_reading.store(true);
    int result = 0;
    for (size_t offset = 0; offset < buffer.size() && result == 0;) {
        size_t piece = std::min(buffer.size() - offset, static_cast<size_t>(m_receiveChunk));
        result = ReceivePiece(buffer.subspan(offset, piece));
        offset += piece;
    }
    m_reading.store(false);
    return result;
}

int KestrelPort::ReceivePiece(std::span<uint8_t> piece) {
    const size_t k = piece.size();
    int64_t deadline = 0;
    if (UsbMode()) {
        DelayMicroseconds(static_cast<double>(k) * 12e6 / m_linkBaud);
        deadline = m_clock.NowMicros() + kUsbReceiveDeadline;
    } else {
        for (size_t i = 0; i < k; ++i) {
            if (int r = ToggleDtr())
                return r;
            DelayMicroseconds(m_baudDivisor * kSerialByteClockMicros);
        }
        DelayMicroseconds(200);
        deadline = m_clock.NowMicros() + kSerialReceiveDeadline;
    }
    size_t got = 0;
    while (got < k) {
        size_t n = 0;
        if (int r = m_line.Read(piece.subspan(got), n))
            return r;
        got += n;
        if (got < k && m_clock.NowMicros() > deadline)
            return Code(KestrelError::ReceiveTimeout);
    }
    return 0;
}

int KestrelPort::ReceiveStatus(StatusRecord& record) {
    std::array<uint8_t, 20> arrival{};
    if (int r = Receive(arrival))
        return r;
    record = ReverseRecord(arrival);
    return StatusChecksumOk(record) ? 0 : Code(KestrelError::StatusChecksum);
}

int KestrelPort::ReceiveStatusWithRetries(StatusRecord& record) {
    int result = 0;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (attempt > 0) {
            if (int r = RequestStatus())
                return r;
        }
        result = ReceiveStatus(record);
        if (result == 0)
            break;
    }
    return result;
}

int KestrelPort::ReadStatus(StatusRecord& record) {
    if (int r = RequestStatus())
        return r;
    return ReceiveStatusWithRetries(record);
}

} // namespace vorna
