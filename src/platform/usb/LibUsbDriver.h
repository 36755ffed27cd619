#pragma once
// The UsbDriver port on libusb-1.0. DPPs are the attached devices whose vendor and product IDs
// are in the configured list; pipe n of a device is the n-th endpoint of its first interface.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dpp/UsbDriver.h"

struct libusb_context;
struct libusb_device;
struct libusb_device_handle;

namespace vorna {

struct UsbId {
    uint16_t vendor = 0;
    uint16_t product = 0;
    bool operator==(const UsbId&) const = default;
};

// "vvvv:pppp" pairs in hexadecimal, separated by commas or blanks; nothing when any is malformed.
std::optional<std::vector<UsbId>> ParseUsbIds(std::string_view text);

// The text of a USB string descriptor (length byte, type 3, UTF-16LE code units): characters
// outside 8 bits become '?', at most `maxLength` of them.
std::string StringDescriptorText(const uint8_t* data, size_t length, size_t maxLength);

class LibUsbDriver : public UsbDriver {
public:
    // Vendor request out: vendor type, "other" recipient.
    static constexpr uint8_t kVendorOutRequestType = 0x43;
    static constexpr unsigned kControlTimeoutMs = 1000;

    explicit LibUsbDriver(std::vector<UsbId> ids);
    ~LibUsbDriver() override;
    LibUsbDriver(const LibUsbDriver&) = delete;
    LibUsbDriver& operator=(const LibUsbDriver&) = delete;

    // False when libusb could not start (no USB support on this system).
    bool ok() const { return m_context != nullptr; }

    int DeviceCount() override;
    int OpenDevice(int index) override;
    void CloseDevice(int deviceHandle) override;
    int PipeOpen(int index, int pipe) override;
    void PipeClose(int pipeHandle) override;
    bool PipeRead(int pipeHandle, std::span<uint8_t> buffer, size_t& transferred,
                  int timeoutMs) override;
    bool PipeWrite(int pipeHandle, std::span<const uint8_t> buffer, size_t& transferred,
                   int timeoutMs) override;
    bool VendorRequestOut(int deviceHandle, uint8_t request, uint16_t value,
                          uint16_t index) override;
    bool DriverVersion(int deviceHandle, int& major, int& minor) override;
    std::string StringDescriptor(int deviceHandle, int index, int language,
                                 size_t maxLength) override;

private:
    struct OpenDeviceEntry {
        libusb_device_handle* handle = nullptr;
        int index = 0;
        int interfaceNumber = 0;
        std::vector<uint8_t> endpoints; // addresses, in descriptor order
        std::vector<uint8_t> types;     // transfer types, same order
    };
    struct Pipe {
        int device = -1;
        uint8_t endpoint = 0;
        uint8_t type = 0;
    };
    // The matching devices in bus order, each referenced; release with FreeDevices.
    std::vector<libusb_device*> MatchingDevices();
    static void FreeDevices(std::vector<libusb_device*>& devices);
    bool ReadEndpoints(libusb_device* device, OpenDeviceEntry& entry);
    bool Transfer(int pipeHandle, uint8_t* data, size_t length, size_t& transferred, int timeoutMs);

    std::vector<UsbId> m_ids;
    libusb_context* m_context = nullptr;
    std::map<int, OpenDeviceEntry> m_devices;
    std::map<int, Pipe> m_pipes;
    int m_nextHandle = 0;
};

} // namespace vorna
