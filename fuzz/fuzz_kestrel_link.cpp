// The Kestrel link fed by a device that answers every handshake at once and otherwise says
// whatever the input says: connect, status, battery, clock and data transfers with their sum
// records, in serial and USB mode. The link must return a code, never crash or hang.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "kestrel/KestrelError.h"
#include "kestrel/KestrelLink.h"
#include "kestrel/SerialLine.h"

using namespace vorna;

namespace {

class ScriptedLine : public SerialLine {
public:
    // Over USB only CTS answers, which is what detection looks for.
    ScriptedLine(const uint8_t* data, size_t size, bool usb)
        : m_data(data), m_size(size), m_answer(usb ? kModemCts : kModemCts | kModemDsr) {}
    int Open(int) override {
        m_open = true;
        return 0;
    }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    int GetProperties(SerialProperties& out) override {
        out = {true, true, true, true, 115200, 0, 0};
        return 0;
    }
    int SetQueueSizes(int, int) override { return 0; }
    int SetReadTimeout(int) override { return 0; }
    int Configure(const SerialFraming&) override { return 0; }
    int SetBaud(int) override { return 0; }
    int SetRts(bool) override { return 0; }
    int SetDtr(bool) override { return 0; }
    int ReadModemStatus(uint32_t& bits) override {
        m_lines ^= m_answer; // every look sees an answer
        bits = m_lines;
        return 0;
    }
    int PurgeReceive() override { return 0; }
    int Read(std::span<uint8_t> buffer, size_t& got) override {
        got = std::min(buffer.size(), m_size - m_pos);
        std::copy_n(m_data + m_pos, got, buffer.begin());
        m_pos += got;
        if (got == 0)
            m_clock->SleepMicros(10000);
        return 0;
    }
    int Write(std::span<const uint8_t> bytes, size_t& written) override {
        written = bytes.size();
        return 0;
    }
    Clock* m_clock = nullptr;

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_open = false;
    uint32_t m_answer;
    uint32_t m_lines = 0;
};

void CheckResult(int r) {
    // Success, a link code of the table, or a system error: nothing else may come out.
    if (r > 101 || r == -36)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const bool usb = data[0] & 1;
    const int start = (data[1] << 8 | data[2]) & 0x3FFF;
    const int count = 1 + (data[0] >> 1) % 64;
    VirtualClock clock;
    ScriptedLine line(data + 3, size - 3, usb);
    line.m_clock = &clock;
    KestrelLink link(line, clock, [] { return std::tm{}; });
    if (usb)
        link.DetectUsb(1);
    int r = link.Connect(1, 115200, KestrelDeviceType::Unknown);
    CheckResult(r);
    if (r != 0)
        return 0;
    std::vector<uint32_t> counts(count);
    CheckResult(link.ReadData(counts, start, count));
    StatusRecord record{};
    CheckResult(link.GetStatus(record));
    int battery = link.GetBattery();
    if (battery > 101)
        __builtin_trap();
    std::string text;
    r = link.ReadClock(text);
    CheckResult(r);
    if (r == 0 && text.size() != 19)
        __builtin_trap();
    return 0;
}
