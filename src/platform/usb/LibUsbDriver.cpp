#include "platform/usb/LibUsbDriver.h"

#include <libusb.h>

#include <algorithm>
#include <cctype>
#include <charconv>

namespace vorna {
namespace {

constexpr uint16_t kEnglishUs = 0x0409;

bool ParseHex16(std::string_view text, uint16_t& value) {
    if (text.empty() || text.size() > 4)
        return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return ec == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<std::vector<UsbId>> ParseUsbIds(std::string_view text) {
    std::vector<UsbId> ids;
    size_t pos = 0;
    auto separator = [](char c) { return c == ',' || std::isspace(static_cast<unsigned char>(c)); };
    while (pos < text.size()) {
        while (pos < text.size() && separator(text[pos]))
            ++pos;
        size_t end = pos;
        while (end < text.size() && !separator(text[end]))
            ++end;
        if (end == pos)
            break;
        std::string_view item = text.substr(pos, end - pos);
        pos = end;
        const size_t colon = item.find(':');
        UsbId id;
        if (colon == std::string_view::npos || !ParseHex16(item.substr(0, colon), id.vendor) ||
            !ParseHex16(item.substr(colon + 1), id.product))
            return std::nullopt;
        ids.push_back(id);
    }
    return ids;
}

std::string StringDescriptorText(const uint8_t* data, size_t length, size_t maxLength) {
    std::string text;
    if (length < 2 || data[1] != LIBUSB_DT_STRING)
        return text;
    const size_t end = std::min<size_t>(length, data[0]);
    for (size_t i = 2; i + 1 < end && text.size() < maxLength; i += 2) {
        const unsigned unit = data[i] | data[i + 1] << 8;
        text += unit <= 0xFF ? static_cast<char>(unit) : '?';
    }
    return text;
}

LibUsbDriver::LibUsbDriver(std::vector<UsbId> ids) : m_ids(std::move(ids)) {
    if (libusb_init(&m_context) != 0)
        m_context = nullptr;
}

LibUsbDriver::~LibUsbDriver() {
    while (!m_devices.empty())
        CloseDevice(m_devices.begin()->first);
    if (m_context)
        libusb_exit(m_context);
}

std::vector<libusb_device*> LibUsbDriver::MatchingDevices() {
    std::vector<libusb_device*> found;
    if (!m_context || m_ids.empty())
        return found;
    libusb_device** list = nullptr;
    const ssize_t n = libusb_get_device_list(m_context, &list);
    for (ssize_t i = 0; i < n; ++i) {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(list[i], &desc) != 0)
            continue;
        const UsbId id{desc.idVendor, desc.idProduct};
        if (std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end())
            found.push_back(libusb_ref_device(list[i]));
    }
    if (list)
        libusb_free_device_list(list, 1);
    return found;
}

void LibUsbDriver::FreeDevices(std::vector<libusb_device*>& devices) {
    for (libusb_device* device : devices)
        libusb_unref_device(device);
    devices.clear();
}

int LibUsbDriver::DeviceCount() {
    auto devices = MatchingDevices();
    const int count = static_cast<int>(devices.size());
    FreeDevices(devices);
    return count;
}

bool LibUsbDriver::ReadEndpoints(libusb_device* device, OpenDeviceEntry& entry) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0 &&
        libusb_get_config_descriptor(device, 0, &config) != 0)
        return false;
    bool ok = false;
    if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor& alt = config->interface[0].altsetting[0];
        entry.interfaceNumber = alt.bInterfaceNumber;
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            entry.endpoints.push_back(alt.endpoint[e].bEndpointAddress);
            entry.types.push_back(alt.endpoint[e].bmAttributes & LIBUSB_TRANSFER_TYPE_MASK);
        }
        ok = true;
    }
    libusb_free_config_descriptor(config);
    return ok;
}

int LibUsbDriver::OpenDevice(int index) {
    auto devices = MatchingDevices();
    int result = -1;
    if (index >= 1 && index <= static_cast<int>(devices.size())) {
        OpenDeviceEntry entry;
        entry.index = index;
        libusb_device* device = devices[static_cast<size_t>(index - 1)];
        if (ReadEndpoints(device, entry) && libusb_open(device, &entry.handle) == 0) {
            libusb_set_auto_detach_kernel_driver(entry.handle, 1);
            if (libusb_claim_interface(entry.handle, entry.interfaceNumber) == 0) {
                result = m_nextHandle++;
                m_devices[result] = std::move(entry);
            } else {
                libusb_close(entry.handle);
            }
        }
    }
    FreeDevices(devices);
    return result;
}

void LibUsbDriver::CloseDevice(int deviceHandle) {
    auto it = m_devices.find(deviceHandle);
    if (it == m_devices.end())
        return;
    std::erase_if(m_pipes, [&](const auto& pipe) { return pipe.second.device == deviceHandle; });
    libusb_release_interface(it->second.handle, it->second.interfaceNumber);
    libusb_close(it->second.handle);
    m_devices.erase(it);
}

int LibUsbDriver::PipeOpen(int index, int pipe) {
    for (const auto& [handle, entry] : m_devices) {
        if (entry.index != index)
            continue;
        if (pipe < 0 || pipe >= static_cast<int>(entry.endpoints.size()))
            return -1;
        const int pipeHandle = m_nextHandle++;
        m_pipes[pipeHandle] = {handle, entry.endpoints[static_cast<size_t>(pipe)],
                               entry.types[static_cast<size_t>(pipe)]};
        return pipeHandle;
    }
    return -1;
}

void LibUsbDriver::PipeClose(int pipeHandle) {
    m_pipes.erase(pipeHandle);
}

bool LibUsbDriver::Transfer(int pipeHandle, uint8_t* data, size_t length, size_t& transferred,
                            int timeoutMs) {
    transferred = 0;
    auto pipe = m_pipes.find(pipeHandle);
    if (pipe == m_pipes.end())
        return false;
    auto device = m_devices.find(pipe->second.device);
    if (device == m_devices.end())
        return false;
    libusb_device_handle* handle = device->second.handle;
    int actual = 0;
    const auto len = static_cast<int>(length);
    const auto timeout = static_cast<unsigned>(std::max(timeoutMs, 0));
    const int rc =
        pipe->second.type == LIBUSB_TRANSFER_TYPE_INTERRUPT
            ? libusb_interrupt_transfer(handle, pipe->second.endpoint, data, len, &actual, timeout)
            : libusb_bulk_transfer(handle, pipe->second.endpoint, data, len, &actual, timeout);
    transferred = static_cast<size_t>(std::max(actual, 0));
    // A stalled endpoint stays halted until cleared; clear it so the next attempt can pass.
    if (rc == LIBUSB_ERROR_PIPE)
        libusb_clear_halt(handle, pipe->second.endpoint);
    return rc == 0;
}

bool LibUsbDriver::PipeRead(int pipeHandle, std::span<uint8_t> buffer, size_t& transferred,
                            int timeoutMs) {
    auto pipe = m_pipes.find(pipeHandle);
    if (pipe == m_pipes.end() || (pipe->second.endpoint & LIBUSB_ENDPOINT_IN) == 0) {
        transferred = 0;
        return false;
    }
    return Transfer(pipeHandle, buffer.data(), buffer.size(), transferred, timeoutMs);
}

bool LibUsbDriver::PipeWrite(int pipeHandle, std::span<const uint8_t> buffer, size_t& transferred,
                             int timeoutMs) {
    auto pipe = m_pipes.find(pipeHandle);
    if (pipe == m_pipes.end() || (pipe->second.endpoint & LIBUSB_ENDPOINT_IN) != 0) {
        transferred = 0;
        return false;
    }
    // libusb takes a mutable pointer for both directions; an OUT transfer does not write to it.
    std::vector<uint8_t> copy(buffer.begin(), buffer.end());
    return Transfer(pipeHandle, copy.data(), copy.size(), transferred, timeoutMs);
}

bool LibUsbDriver::VendorRequestOut(int deviceHandle, uint8_t request, uint16_t value,
                                    uint16_t index) {
    auto device = m_devices.find(deviceHandle);
    if (device == m_devices.end())
        return false;
    return libusb_control_transfer(device->second.handle, kVendorOutRequestType, request, value,
                                   index, nullptr, 0, kControlTimeoutMs) >= 0;
}

bool LibUsbDriver::DriverVersion(int deviceHandle, int& major, int& minor) {
    if (m_devices.find(deviceHandle) == m_devices.end())
        return false;
    const libusb_version* version = libusb_get_version();
    major = version->major;
    minor = version->minor;
    return true;
}

std::string LibUsbDriver::StringDescriptor(int deviceHandle, int index, int language,
                                           size_t maxLength) {
    auto device = m_devices.find(deviceHandle);
    if (device == m_devices.end())
        return {};
    // Language 1033 is US English.
    const uint16_t langid = language == 1033 ? kEnglishUs : static_cast<uint16_t>(language);
    uint8_t data[255] = {};
    const int n = libusb_get_string_descriptor(device->second.handle, static_cast<uint8_t>(index),
                                               langid, data, sizeof data);
    if (n < 2)
        return {};
    return StringDescriptorText(data, static_cast<size_t>(n), maxLength);
}

} // namespace vorna
