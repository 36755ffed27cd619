#include "dpp/DppUsbLink.h"

#include <algorithm>
#include <vector>

#include "common/Clock.h"
#include "common/NumberText.h"
#include "common/Text.h"
#include "dpp/DppPipes.h"
#include "dpp/DppTypes.h"

namespace vorna {
namespace {

// Longest a call waits for another transfer to finish before going ahead anyway; only a timer
// tick re-entering a transfer could hold the flag, and it gives up instead of waiting.
constexpr int kBusyWaitLimitMs = 1000;

} // namespace

class DppUsbLink::BusyScope {
public:
    explicit BusyScope(DppUsbLink& link) : m_link(link) {
        m_link.WaitWhileBusy();
        m_link.m_busy = true;
    }
    ~BusyScope() { m_link.m_busy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DppUsbLink& m_link;
};

void DppUsbLink::WaitWhileBusy() {
    for (int waited = 0; m_busy && waited < kBusyWaitLimitMs; ++waited)
        m_clock.SleepMillis(1);
}

int DppUsbLink::CountDevices() {
    int count;
    {
        BusyScope scope(*this);
        count = m_driver.DeviceCount();
    }
    if (count == 0 && m_commandOut >= 0) {
        Close();
        m_deviceCount = -1;
        return -1;
    }
    m_deviceCount = count;
    return count;
}

int DppUsbLink::SelectAndOpen(int index) {
    m_deviceIndex = index;
    return Open();
}

int DppUsbLink::Open() {
    m_deviceCount = 0;
    if (m_commandOut >= 0)
        return m_deviceCount;
    if (CountDevices() <= 0)
        return CountDevices();
    {
        BusyScope scope(*this);
        m_device = m_driver.OpenDevice(m_deviceIndex);
        m_commandOut = m_driver.PipeOpen(m_deviceIndex, dpppipe::kCommand);
        m_statusIn = m_driver.PipeOpen(m_deviceIndex, dpppipe::kStatus);
        m_spectrumIn = m_driver.PipeOpen(m_deviceIndex, dpppipe::kSpectrum);
    }
    std::array<uint8_t, kPacketSize> status{};
    ReadStatus(status);
    m_ospreyMode = m_lastStatusOk && status[13] >= kOspreyFirmwareByte;
    {
        BusyScope scope(*this);
        if (m_ospreyMode) {
            m_dataIn = m_driver.PipeOpen(m_deviceIndex, dpppipe::kOspreyData);
        } else {
            m_spare3 = m_driver.PipeOpen(m_deviceIndex, dpppipe::kSpare3);
            m_spare4 = m_driver.PipeOpen(m_deviceIndex, dpppipe::kSpare4);
            m_dataIn = m_driver.PipeOpen(m_deviceIndex, dpppipe::kData);
            m_scopeIn = m_driver.PipeOpen(m_deviceIndex, dpppipe::kScope);
        }
    }
    m_isOpen = true;
    return CountDevices();
}

void DppUsbLink::ClosePipe(int& handle) {
    if (handle >= 0)
        m_driver.PipeClose(handle);
    handle = -1;
}

void DppUsbLink::Close() {
    if (m_commandOut >= 0) {
        BusyScope scope(*this);
        if (m_device >= 0)
            m_driver.CloseDevice(m_device);
        m_device = -1;
        ClosePipe(m_commandOut);
        ClosePipe(m_dataIn);
        ClosePipe(m_statusIn);
        ClosePipe(m_spectrumIn);
        ClosePipe(m_spare3);
        ClosePipe(m_spare4);
        ClosePipe(m_scopeIn);
        m_isOpen = false;
    }
    m_deviceCount = 0;
}

bool DppUsbLink::EnsureOpen() {
    if (CountDevices() > 0 && m_commandOut >= 0)
        return true;
    Close();
    Open();
    return m_deviceCount > 0 && m_commandOut >= 0;
}

bool DppUsbLink::Identify() {
    m_deviceType = 0;
    m_serialNumber = 0;
    m_ospreyMode = false;
    if (CountDevices() <= 0)
        return false;
    std::array<uint8_t, kPacketSize> s{};
    if (ReadStatus(s) == kPacketSize) {
        m_fpgaVersion = DppVersionValue(s[8]);
        m_firmwareVersion = DppVersionValue(s[13]);
        m_ospreyMode = m_firmwareVersion >= 5.0;
        m_deviceType = ((s[23] >> 7) & 1) + 2 * (m_ospreyMode ? 1 : 0) + 1;
        m_serialNumber = static_cast<uint32_t>(s[14]) | static_cast<uint32_t>(s[15]) << 8 |
                         static_cast<uint32_t>(s[16]) << 16 | static_cast<uint32_t>(s[17]) << 24;
    }
    m_deviceTypeName = DppDeviceTypeName(m_deviceType);
    return true;
}

size_t DppUsbLink::ReadPipe(int pipe, std::span<uint8_t> buffer, bool& ok) {
    // One byte more than expected, so a device that sends too much shows up as a wrong count.
    std::vector<uint8_t> scratch(buffer.size() + 1);
    size_t transferred = 0;
    ok = false;
    BusyScope scope(*this);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        transferred = 0;
        bool success = m_driver.PipeRead(pipe, scratch, transferred, kReadTimeoutMs);
        transferred = std::min(transferred, scratch.size());
        if (success && transferred == buffer.size()) {
            ok = true;
            break;
        }
    }
    std::copy_n(scratch.begin(), std::min(transferred, buffer.size()), buffer.begin());
    return transferred;
}

size_t DppUsbLink::ReadStatus(std::span<uint8_t, kPacketSize> buffer) {
    if (m_statusIn < 0) {
        m_lastStatusOk = false;
        return 0;
    }
    bool ok = false;
    size_t n = ReadPipe(m_statusIn, buffer, ok);
    m_lastStatusOk = ok;
    return n;
}

size_t DppUsbLink::ReadData(std::span<uint8_t> buffer, bool large) {
    if (large && !m_ospreyMode)
        return 0;
    size_t want = large ? kLargeDataSize : kPacketSize;
    if (m_dataIn < 0 || buffer.size() < want)
        return 0;
    bool ok = false;
    return ReadPipe(m_dataIn, buffer.first(want), ok);
}

size_t DppUsbLink::ReadSpectrum(std::span<uint8_t> buffer) {
    if (m_spectrumIn < 0)
        return 0;
    bool ok = false;
    return ReadPipe(m_spectrumIn, buffer, ok);
}

size_t DppUsbLink::ReadScope(std::span<uint8_t, kScopeSize> buffer) {
    if (m_busy || m_ospreyMode || m_scopeIn < 0)
        return 0;
    bool ok = false;
    return ReadPipe(m_scopeIn, buffer, ok);
}

size_t DppUsbLink::WriteCommand(std::span<const uint8_t, kPacketSize> buffer) {
    if (m_commandOut < 0)
        return 0;
    size_t transferred = 0;
    BusyScope scope(*this);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        transferred = 0;
        if (m_driver.PipeWrite(m_commandOut, buffer, transferred, kWriteTimeoutMs) &&
            transferred == kPacketSize)
            break;
    }
    return transferred;
}

void DppUsbLink::Request(uint8_t code, uint16_t value, uint16_t index) {
    if (m_deviceCount <= 0 || m_device < 0)
        return;
    BusyScope scope(*this);
    m_driver.VendorRequestOut(m_device, code, value, index);
}

double DppUsbLink::DriverVersion() {
    if (!m_isOpen || m_busy)
        return 0;
    int major = 0;
    int minor = 0;
    {
        BusyScope scope(*this);
        if (!m_driver.DriverVersion(m_device, major, minor))
            return 0;
    }
    // "%d.%03d" read back as a number, without a round trip through the locale.
    return major + minor / 1000.0;
}

std::string DppUsbLink::ReadDescriptorText() {
    if (!m_isOpen || m_busy)
        return {};
    std::string text;
    {
        BusyScope scope(*this);
        text = m_driver.StringDescriptor(m_device, kDescriptorIndex, kDescriptorLanguage, 65);
    }
    if (text.size() > 64)
        text.resize(64);
    return std::string(Trim(text));
}

std::string DppUsbLink::StatusText() const {
    if (m_deviceCount < 0)
        return "USB closed";
    return Format("%s%d%s", "USB (", m_deviceCount, " detected)");
}

} // namespace vorna
