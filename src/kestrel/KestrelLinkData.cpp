// Data transfer and clock read: the two requests that receive more than a status record.
#include <algorithm>
#include <vector>

#include "kestrel/KestrelDataBlock.h"
#include "kestrel/KestrelError.h"
#include "kestrel/KestrelLink.h"

namespace vorna {

int KestrelLink::PerformReadData(std::span<uint32_t> counts, int start, int count) {
    if (count < 0 || counts.size() < static_cast<size_t>(count))
        return Code(KestrelError::MissingBuffer);
    StatusRecord record{};
    if (int r = m_port.ReadStatus(record))
        return r;
    if (start < 0 || start >= DecodeStatus(record).Channels())
        return Code(KestrelError::StartBeyondChannels);
    if (count == 0)
        return 0;
    int result = 0;
    for (int half = 0; half < 2 && result == 0; ++half)
        result = TransferHalf(counts, start, count, half);
    if (m_port.UsbMode())
        m_port.SleepMillis(100);
    return result;
}

int KestrelLink::TransferHalf(std::span<uint32_t> counts, int start, int count, int half) {
    int result = 0;
    for (int attempt = 0; attempt < KestrelPort::kAttempts; ++attempt) {
        result = TransferAttempt(counts, start, count, half);
        if (result == 0)
            break;
    }
    return result;
}

// One run over one half: start command, the device's reply record, the data, then the start
// command once more, whose reply carries the sum of every data byte sent.
int KestrelLink::TransferAttempt(std::span<uint32_t> counts, int start, int count, int half) {
    const bool usb = m_port.UsbMode();
    const uint16_t address = DataAddress(start, half);
    const KestrelCommand command =
        usb ? UsbDataCommand(address, count) : SerialDataCommand(address, m_port.BaudDivisor());
    if (int r = m_port.SendPacket(command))
        return r;
    m_port.SleepMillis(5);
    StatusRecord record{};
    if (int r = m_port.ReceiveStatusWithRetries(record))
        return r;
    std::vector<uint8_t> bytes(2 * static_cast<size_t>(count));
    if (int r = m_port.Receive(bytes))
        return r;
    const uint32_t sum = StoreHalves(bytes, half, counts.first(count));
    const KestrelCommand closing = usb ? UsbDataCommand(address, 1) : command;
    if (int r = m_port.SendPacket(closing))
        return r;
    if (int r = m_port.ReceiveStatus(record))
        return r;
    m_port.SleepMillis(20);
    if (RecordDataSum(record) != sum)
        return Code(KestrelError::DataChecksum);
    return usb ? m_port.ReadStatus(record) : 0;
}

int KestrelLink::PerformReadClock(std::span<uint8_t> out) {
    if (out.size() < 20)
        return Code(KestrelError::MissingBuffer);
    int result = 0;
    for (int attempt = 0; attempt < KestrelPort::kAttempts; ++attempt) {
        if (m_port.UsbMode()) {
            if ((result = m_port.PurgeReceive()) != 0)
                continue;
        }
        if ((result = m_port.SendPacket(kClockReadCommand)) != 0)
            continue;
        std::array<uint8_t, 8> clock{};
        if ((result = m_port.Receive(clock)) != 0)
            continue;
        const std::string text = ClockText(clock);
        std::fill(out.begin(), out.begin() + 20, uint8_t{0});
        std::copy(text.begin(), text.end(), out.begin());
        return 0;
    }
    return result;
}

} // namespace vorna
