#pragma once
// A USB bus of simulated DPPs behind the UsbDriver port: devices in plug order, each with its
// pipes; unplugging one makes its handles fail as a vanished device's do. A device plugged with a
// fault plan unplugs, comes back, falls silent or spoils transfers by itself as the clock runs.

#include <functional>
#include <memory>
#include <vector>

#include "dpp/UsbDriver.h"
#include "sim/SimFaultPlan.h"
#include "sim/dpp/SimDpp.h"

namespace vorna {

class SimDppBus : public UsbDriver {
public:
    explicit SimDppBus(Clock& clock) : m_clock(clock) {}

    // Plugs a device in at the end of the bus; the reference stays valid for the bus's life.
    // `faults` count from the host's first open of this device.
    SimDpp& Plug(SimDppModel model, uint32_t serialNumber, uint64_t seed, SimFaultPlan faults = {});
    // Unplugs the device at `position` (1-based among those plugged in).
    void Unplug(int position);
    // Plugs a device back at its old place in the order.
    void Replug(SimDpp& device);
    SimDpp& Device(int position);

    // Called inside every bulk read, while the host's transfer is in flight.
    std::function<void()> duringTransfer;
    // Bulk reads on the spectrum pipe that time out instead of answering, counted down.
    int spectrumTimeouts = 0;
    int vendorRequests = 0;

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
    struct Slot {
        std::unique_ptr<SimDpp> device;
        bool plugged = true;
        SimFaultPlan faults;
        bool opened = false; // the host has opened it once: the plan's times run
        int64_t unplugAt = INT64_MAX;
        int64_t replugAt = INT64_MAX;
        int64_t silentAt = INT64_MAX;
        EveryNth shortReads;
        EveryNth spoiltReadbacks;
    };
    static constexpr int kPipesPerDevice = 8;
    // Slot of the index-th plugged device, or -1.
    int SlotOfIndex(int index) const;
    SimDpp* Plugged(int slot);
    // Brings every device's timed faults up to the clock.
    void RunFaults();
    bool Silent(int slot) const;

    Clock& m_clock;
    std::vector<Slot> m_slots;
};

} // namespace vorna
