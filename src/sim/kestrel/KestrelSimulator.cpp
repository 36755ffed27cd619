#include "sim/kestrel/KestrelSimulator.h"

#include <algorithm>
#include <cerrno>

namespace vorna {

namespace {

constexpr int64_t kRs232AnswerMicros = 30;
constexpr int64_t kUsbAnswerMicros = 500; // one USB frame and a little
constexpr int kBitsPerByte = 11;          // start, 8 data, parity, stop
constexpr int kResetBaud = 4800;          // what the device listens at while DTR is raised
constexpr int64_t kNever = INT64_MAX;

} // namespace

KestrelSimulator::KestrelSimulator(Clock& clock, KestrelSimOptions options)
    : m_clock(clock), m_options(options), m_device(options, clock.NowMicros()) {}

int64_t KestrelSimulator::ByteMicros(int baud) const {
    return (kBitsPerByte * 1000000 + baud - 1) / baud;
}

// ---- host side -------------------------------------------------------------------------

int KestrelSimulator::Open(int) {
    std::lock_guard<std::mutex> lock(m_mutex);
    CatchUp(m_clock.NowMicros()); // a timed replug may be due
    if (UsbGone())
        return ENOENT;
    if (m_open)
        return EBUSY;
    m_open = true;
    m_stale = false;
    m_framingOk = false;
    m_rx.clear();
    return 0;
}

void KestrelSimulator::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
    m_stale = false;
    m_rx.clear();
    m_rts = m_dtr = false;
    m_packet.clear();
    m_pending.clear();
    m_dataActive = false;
    m_riseSeen = false;
}

bool KestrelSimulator::IsOpen() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

int KestrelSimulator::Usable() {
    if (!m_open)
        return EBADF;
    CatchUp(m_clock.NowMicros()); // first, so that a cable due to go is gone
    if (m_stale || UsbGone())
        return EIO;
    return 0;
}

int KestrelSimulator::GetProperties(SerialProperties& out) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    out = m_options.port;
    return 0;
}

int KestrelSimulator::SetQueueSizes(int rxBytes, int txBytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    return rxBytes > 0 && txBytes > 0 ? 0 : EINVAL;
}

int KestrelSimulator::SetReadTimeout(int firstByteMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    if (firstByteMs < 0)
        return EINVAL;
    m_readTimeoutMs = firstByteMs;
    return 0;
}

int KestrelSimulator::Configure(const SerialFraming& framing) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    // Anything but 8 data bits, SPACE parity and one stop bit turns every byte into noise.
    m_framingOk =
        framing.dataBits == 8 && framing.parity == SerialParity::Space && framing.stopBits == 1;
    return 0;
}

int KestrelSimulator::SetBaud(int baud) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    if (baud < 300 || baud > 921600)
        return EINVAL;
    m_hostBaud = baud;
    return 0;
}

int KestrelSimulator::SetRts(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    if (on != m_rts) {
        m_rts = on;
        if (!m_cablePulled)
            OnRtsEdge(on, m_clock.NowMicros());
    }
    return 0;
}

int KestrelSimulator::SetDtr(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    if (on != m_dtr) {
        m_dtr = on;
        if (!m_cablePulled)
            OnDtrEdge(m_clock.NowMicros());
    }
    return 0;
}

int KestrelSimulator::ReadModemStatus(uint32_t& bits) {
    std::lock_guard<std::mutex> lock(m_mutex);
    bits = 0;
    if (int r = Usable())
        return r;
    if (!m_cablePulled) // an unplugged RS-232 cable reads as all lines low
        bits = (m_cts ? kModemCts : 0) | (m_dsr ? kModemDsr : 0);
    return 0;
}

int KestrelSimulator::PurgeReceive() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    // Bytes still on the wire arrive after the purge, as they would at a real driver.
    const int64_t now = m_clock.NowMicros();
    while (!m_rx.empty() && m_rx.front().ready <= now)
        m_rx.pop_front();
    return 0;
}

int KestrelSimulator::Read(std::span<uint8_t> buffer, size_t& got) {
    got = 0;
    std::unique_lock<std::mutex> lock(m_mutex);
    if (int r = Usable())
        return r;
    int64_t now = m_clock.NowMicros();
    const int64_t deadline = now + int64_t{m_readTimeoutMs} * 1000;
    for (;;) {
        while (got < buffer.size() && !m_rx.empty() && m_rx.front().ready <= now) {
            buffer[got++] = m_rx.front().value;
            m_rx.pop_front();
        }
        if (got > 0 || buffer.empty() || now >= deadline)
            return 0;
        const int64_t wake = std::min(NextWakeUp(), deadline);
        lock.unlock();
        m_clock.SleepMicros(std::max<int64_t>(wake - now, 1));
        lock.lock();
        if (int r = Usable())
            return r;
        now = m_clock.NowMicros();
    }
}

int KestrelSimulator::Write(std::span<const uint8_t> bytes, size_t& written) {
    std::lock_guard<std::mutex> lock(m_mutex);
    written = 0;
    if (int r = Usable())
        return r;
    const int64_t now = m_clock.NowMicros();
    for (uint8_t b : bytes) {
        ++written;
        if (m_cablePulled)
            continue; // into the void
        const int64_t arrival = std::max(now, m_hostTxFree) + ByteMicros(m_hostBaud);
        m_hostTxFree = arrival;
        const int listening = m_dtr ? kResetBaud : m_device.Baud();
        m_events.emplace(arrival,
                         Event{EventKind::DeviceByte, b, !m_framingOk || m_hostBaud != listening});
    }
    return 0;
}

int64_t KestrelSimulator::NextWakeUp() const {
    int64_t next = kNever;
    if (!m_rx.empty())
        next = m_rx.front().ready;
    if (!m_events.empty())
        next = std::min(next, m_events.begin()->first);
    return next;
}

// ---- device side -----------------------------------------------------------------------

void KestrelSimulator::CatchUp(int64_t now) {
    // Line events and timed faults in the order of their times; a fault goes first at a tie, so
    // that a byte due as the cable goes never arrives.
    for (;;) {
        const int64_t due = NextScheduled();
        const int64_t next = m_events.empty() ? kNever : m_events.begin()->first;
        if (next <= now && next < due) {
            const Event event = m_events.begin()->second;
            m_events.erase(m_events.begin());
            Handle(event, next);
        } else if (due <= now) {
            RunScheduled(due);
        } else {
            return;
        }
    }
}

int64_t KestrelSimulator::NextScheduled() const {
    return std::min({m_unplugAt, m_replugAt, m_silentAt});
}

void KestrelSimulator::RunScheduled(int64_t at) {
    if (m_unplugAt <= at) {
        m_unplugAt = kNever;
        PullCable();
    }
    if (m_replugAt <= at) {
        m_replugAt = kNever;
        m_cablePulled = false;
    }
    if (m_silentAt <= at) {
        m_silentAt = kNever;
        m_faults[KestrelSimFault::ReceiveTimeout] = -1;
    }
}

void KestrelSimulator::NoteConnect(int64_t at) {
    if (m_connectSeen)
        return;
    m_connectSeen = true;
    const SimFaultPlan& plan = m_options.faults;
    if (plan.unplugMicros) {
        m_unplugAt = at + *plan.unplugMicros;
        if (plan.replugMicros)
            m_replugAt = m_unplugAt + *plan.replugMicros;
    }
    if (plan.silentMicros)
        m_silentAt = at + *plan.silentMicros;
}

void KestrelSimulator::Handle(const Event& event, int64_t at) {
    switch (event.kind) {
    case EventKind::ToggleCts:
        m_cts = !m_cts;
        break;
    case EventKind::ToggleDsr:
        m_dsr = !m_dsr;
        break;
    case EventKind::DeviceByte:
        OnDeviceByte(event.value, event.garbled, at);
        break;
    }
}

bool KestrelSimulator::Answer(int64_t at) {
    if (TakeFault(KestrelSimFault::MissingHandshake))
        return false;
    const int64_t when =
        std::max(at, m_busyUntil) + (Usb() ? kUsbAnswerMicros : kRs232AnswerMicros);
    m_events.emplace(when, Event{Usb() ? EventKind::ToggleCts : EventKind::ToggleDsr});
    return true;
}

void KestrelSimulator::OnRtsEdge(bool on, int64_t at) {
    if (on) {
        // Every RTS rise opens a new exchange: a packet or a status request.
        m_packet.clear();
        m_packetGarbled = false;
        m_pending.clear();
        m_dataActive = false;
        m_riseSeen = Answer(at);
        return;
    }
    // A rise and fall with no bytes between asks for a status record.
    if (m_riseSeen && m_packet.empty()) {
        DeviceReply reply;
        reply.wire = m_device.StatusWire(std::max(at, m_busyUntil));
        reply.isRecord = true;
        Send(std::move(reply), at);
    }
    m_riseSeen = false;
}

void KestrelSimulator::OnDtrEdge(int64_t at) {
    if (Usb())
        return; // the USB interface sends by itself; DTR clocks nothing
    if (!m_pending.empty()) {
        Emit(m_pending.front(), at, false);
        m_pending.pop_front();
    } else if (m_dataActive) {
        Emit(m_device.NextDataByte(m_data), at, true);
    }
}

void KestrelSimulator::OnDeviceByte(uint8_t value, bool garbled, int64_t at) {
    if (!m_rts || !m_riseSeen || m_packet.size() >= 5)
        return; // outside a packet window the device ignores the line
    m_packet.push_back(value);
    m_packetGarbled = m_packetGarbled || garbled;
    if (!Usb() || m_packet.size() == 5)
        Answer(at);
    if (m_packet.size() == 5)
        ExecutePacket(at);
}

void KestrelSimulator::ExecutePacket(int64_t at) {
    if (m_packetGarbled)
        return;
    const KestrelPacket packet{m_packet[0], m_packet[1], m_packet[2], m_packet[3], m_packet[4]};
    ++m_packetsExecuted;
    if (packet[0] == 0x00 && m_dtr)
        NoteConnect(at); // the host's connect: it sets the link rate
    DeviceReply reply = m_device.Execute(packet, m_dtr, at);
    m_busyUntil = std::max(m_busyUntil, at + reply.busyMicros);
    Send(std::move(reply), at);
}

void KestrelSimulator::Send(DeviceReply reply, int64_t at) {
    if (reply.wire.empty() && !reply.startsData)
        return;
    if (TakeFault(KestrelSimFault::ReceiveTimeout))
        return;
    // The timed plan spoils the records the host asks for by a status request; the records of a
    // data transfer stay sound, its data takes the fault instead (see Emit).
    const bool spoilt =
        reply.isRecord &&
        (TakeFault(KestrelSimFault::StatusChecksum) ||
         (!reply.startsData && m_statusChecksums.Next(m_options.faults.checksumEvery)));
    if (spoilt)
        ++reply.wire.back(); // the checksum byte goes out last
    // Noise hits the first byte a transfer actually sends; a closing one-word USB transfer is
    // never looked at, so it is spared.
    m_freshStream = reply.startsData && reply.data.wordsLeft != 1;
    if (!Usb()) {
        m_pending.assign(reply.wire.begin(), reply.wire.end());
        m_dataActive = reply.startsData;
        m_data = reply.data;
        return;
    }
    const int64_t when = std::max(at, m_busyUntil) + kUsbAnswerMicros;
    for (uint8_t b : reply.wire)
        Emit(b, when, false);
    if (reply.startsData) {
        DataCursor cursor = reply.data;
        while (cursor.wordsLeft > 0)
            Emit(m_device.NextDataByte(cursor), when, true);
    }
}

void KestrelSimulator::Emit(uint8_t value, int64_t at, bool dataByte) {
    if (dataByte && m_freshStream) {
        m_freshStream = false;
        if (TakeFault(KestrelSimFault::DataChecksum) ||
            m_dataChecksums.Next(m_options.faults.checksumEvery))
            value ^= 0x01;
    }
    // A host listening at another rate or framing samples noise.
    if (m_hostBaud != m_device.Baud() || !m_framingOk)
        value ^= 0x5A;
    const int64_t ready = std::max(at, m_deviceTxFree) + ByteMicros(m_device.Baud());
    m_deviceTxFree = ready;
    if (m_open)
        m_rx.push_back({value, ready});
}

bool KestrelSimulator::TakeFault(KestrelSimFault fault) {
    auto it = m_faults.find(fault);
    if (it == m_faults.end())
        return false;
    if (it->second > 0 && --it->second == 0)
        m_faults.erase(it);
    return true;
}

// ---- control and inspection --------------------------------------------------------------

void KestrelSimulator::InjectFault(KestrelSimFault fault, int occurrences) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (fault == KestrelSimFault::PulledCable) {
        PullCable();
        return;
    }
    if (occurrences != 0)
        m_faults[fault] = occurrences;
}

void KestrelSimulator::PullCable() {
    m_cablePulled = true;
    m_events.clear();
    m_pending.clear();
    m_dataActive = false;
    if (Usb() && m_open)
        m_stale = true; // the handle outlives its device; it never works again
}

void KestrelSimulator::ClearFaults() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults.clear();
    m_cablePulled = false;
}

KestrelStatus KestrelSimulator::DeviceStatus() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int64_t now = m_clock.NowMicros();
    CatchUp(now);
    m_device.AdvanceTo(now);
    return m_device.Status();
}

std::vector<uint32_t> KestrelSimulator::DeviceCounts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const int64_t now = m_clock.NowMicros();
    CatchUp(now);
    m_device.AdvanceTo(now);
    return m_device.GroupCounts();
}

void KestrelSimulator::LoadDeviceCounts(const std::vector<uint32_t>& counts) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_device.LoadGroupCounts(counts);
}

void KestrelSimulator::SetCountRate(double countsPerSecond) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_device.AdvanceTo(m_clock.NowMicros());
    m_device.SetCountRate(countsPerSecond);
}

void KestrelSimulator::SetBattery(uint8_t level, bool nicd) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_device.SetBattery(level, nicd);
}

void KestrelSimulator::LockWithCode(uint16_t code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_device.LockWithCode(code);
}

int64_t KestrelSimulator::DeviceClockSeconds() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_device.ClockSeconds(m_clock.NowMicros());
}

uint64_t KestrelSimulator::PacketsExecuted() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_packetsExecuted;
}

} // namespace vorna
