#pragma once
// The one owner of the opened DPP: counts the attached devices, opens one with its pipes,
// identifies it, and offers the fixed-size transfers and vendor requests the packet protocol is
// built from. The link never shows a message; the controller does.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "dpp/UsbDriver.h"

namespace vorna {

class Clock;

class DppUsbLink {
public:
    static constexpr int kReadTimeoutMs = 100;
    static constexpr int kWriteTimeoutMs = 100;
    static constexpr int kAttempts = 5;
    static constexpr size_t kPacketSize = 64;
    static constexpr size_t kLargeDataSize = 512;
    static constexpr size_t kScopeSize = 512;
    static constexpr int kDescriptorIndex = 3;
    static constexpr int kDescriptorLanguage = 1033;

    DppUsbLink(UsbDriver& driver, Clock& clock) : m_driver(driver), m_clock(clock) {}
    ~DppUsbLink() { Close(); }
    DppUsbLink(const DppUsbLink&) = delete;
    DppUsbLink& operator=(const DppUsbLink&) = delete;

    // Counts; a count of 0 while the device is open closes the link and yields -1.
    int CountDevices();
    int SelectAndOpen(int index);
    int Open();
    void Close();
    bool EnsureOpen();
    bool Identify();

    // Each returns the bytes of the last attempt; the caller compares with what it expected.
    size_t ReadStatus(std::span<uint8_t, kPacketSize> buffer);
    size_t ReadData(std::span<uint8_t> buffer, bool large);
    size_t ReadSpectrum(std::span<uint8_t> buffer);
    size_t ReadScope(std::span<uint8_t, kScopeSize> buffer);
    size_t WriteCommand(std::span<const uint8_t, kPacketSize> buffer);
    void Request(uint8_t code, uint16_t value, uint16_t index = 0);
    double DriverVersion();
    std::string ReadDescriptorText();
    std::string StatusText() const;

    // A timer tick arriving while a transfer runs is skipped.
    bool busy() const { return m_busy; }
    bool isOpen() const { return m_isOpen; }
    bool lastStatusOk() const { return m_lastStatusOk; }
    bool ospreyMode() const { return m_ospreyMode; }
    int deviceCount() const { return m_deviceCount; }
    int deviceIndex() const { return m_deviceIndex; }
    void setDeviceIndex(int index) { m_deviceIndex = index; }
    double firmwareVersion() const { return m_firmwareVersion; }
    double fpgaVersion() const { return m_fpgaVersion; }
    uint32_t serialNumber() const { return m_serialNumber; }
    int deviceType() const { return m_deviceType; }
    const std::string& deviceTypeName() const { return m_deviceTypeName; }
    bool commandOutOpen() const { return m_commandOut >= 0; }
    bool scopeInOpen() const { return m_scopeIn >= 0; }

    // Consecutive short spectrum reads; the protocol layer counts them here.
    int dropouts = 0;

private:
    class BusyScope;
    void WaitWhileBusy();
    size_t ReadPipe(int pipe, std::span<uint8_t> buffer, bool& ok);
    void ClosePipe(int& handle);

    UsbDriver& m_driver;
    Clock& m_clock;
    int m_commandOut = -1;
    int m_dataIn = -1;
    int m_statusIn = -1;
    int m_spectrumIn = -1;
    int m_spare3 = -1;
    int m_spare4 = -1;
    int m_scopeIn = -1;
    int m_device = -1;
    int m_deviceCount = 0;
    bool m_lastStatusOk = false;
    bool m_isOpen = false;
    bool m_busy = false;
    double m_firmwareVersion = 0;
    double m_fpgaVersion = 0;
    bool m_ospreyMode = false;
    uint32_t m_serialNumber = 0;
    int m_deviceType = 0;
    std::string m_deviceTypeName;
    int m_deviceIndex = 1;
};

} // namespace vorna
