#pragma once
// The USB layer the DPP link runs on: count the DPPs attached, open one by index, open its pipes
// by number, move bytes with a time-out, send vendor requests without data. The program's backend
// is libusb; the simulators stand behind the same port.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vorna {

class UsbDriver {
public:
    virtual ~UsbDriver() = default;

    // DPPs attached now (0 when none).
    virtual int DeviceCount() = 0;
    // Opens device `index` (1-based); a handle >= 0, or -1.
    virtual int OpenDevice(int index) = 0;
    virtual void CloseDevice(int deviceHandle) = 0;
    // Opens pipe `pipe` (0..6) of device `index` (1-based, not the handle); a handle >= 0, or -1.
    virtual int PipeOpen(int index, int pipe) = 0;
    virtual void PipeClose(int pipeHandle) = 0;
    // True on success; `transferred` is set in every case.
    virtual bool PipeRead(int pipeHandle, std::span<uint8_t> buffer, size_t& transferred,
                          int timeoutMs) = 0;
    virtual bool PipeWrite(int pipeHandle, std::span<const uint8_t> buffer, size_t& transferred,
                           int timeoutMs) = 0;
    // A vendor request to the device, direction out, no data stage.
    virtual bool VendorRequestOut(int deviceHandle, uint8_t request, uint16_t value,
                                  uint16_t index) = 0;
    virtual bool DriverVersion(int deviceHandle, int& major, int& minor) = 0;
    // String descriptor `index` in language `language` as 8-bit text, at most `maxLength` bytes;
    // empty when the device has none.
    virtual std::string StringDescriptor(int deviceHandle, int index, int language,
                                         size_t maxLength) = 0;
};

} // namespace vorna
