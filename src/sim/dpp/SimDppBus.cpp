#include "sim/dpp/SimDppBus.h"

#include <algorithm>
#include <stdexcept>

#include "common/Clock.h"

namespace vorna {

SimDpp& SimDppBus::Plug(SimDppModel model, uint32_t serialNumber, uint64_t seed) {
    m_slots.push_back({std::make_unique<SimDpp>(model, serialNumber, m_clock, seed), true});
    return *m_slots.back().device;
}

int SimDppBus::SlotOfIndex(int index) const {
    int seen = 0;
    for (size_t slot = 0; slot < m_slots.size(); ++slot)
        if (m_slots[slot].plugged && ++seen == index)
            return static_cast<int>(slot);
    return -1;
}

void SimDppBus::Unplug(int position) {
    const int slot = SlotOfIndex(position);
    if (slot >= 0)
        m_slots[static_cast<size_t>(slot)].plugged = false;
}

void SimDppBus::Replug(SimDpp& device) {
    for (auto& slot : m_slots)
        if (slot.device.get() == &device)
            slot.plugged = true;
}

SimDpp& SimDppBus::Device(int position) {
    const int slot = SlotOfIndex(position);
    if (slot < 0)
        throw std::out_of_range("no simulated DPP at that position");
    return *m_slots[static_cast<size_t>(slot)].device;
}

SimDpp* SimDppBus::Plugged(int slot) {
    if (slot < 0 || slot >= static_cast<int>(m_slots.size()))
        return nullptr;
    auto& s = m_slots[static_cast<size_t>(slot)];
    return s.plugged ? s.device.get() : nullptr;
}

int SimDppBus::DeviceCount() {
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.plugged; }));
}

int SimDppBus::OpenDevice(int index) {
    return SlotOfIndex(index);
}

void SimDppBus::CloseDevice(int) {}

int SimDppBus::PipeOpen(int index, int pipe) {
    const int slot = SlotOfIndex(index);
    if (slot < 0 || pipe < 0 || pipe >= kPipesPerDevice)
        return -1;
    return slot * kPipesPerDevice + pipe;
}

void SimDppBus::PipeClose(int) {}

bool SimDppBus::PipeRead(int pipeHandle, std::span<uint8_t> buffer, size_t& transferred,
                         int timeoutMs) {
    transferred = 0;
    if (duringTransfer)
        duringTransfer();
    SimDpp* device = pipeHandle >= 0 ? Plugged(pipeHandle / kPipesPerDevice) : nullptr;
    if (!device)
        return false;
    const int pipe = pipeHandle % kPipesPerDevice;
    std::vector<uint8_t> answer;
    if ((pipe == 2 && spectrumTimeouts > 0 && spectrumTimeouts--) ||
        !device->Read(pipe, buffer.size(), answer)) {
        // Nothing came: the host waited its whole time-out.
        m_clock.SleepMillis(timeoutMs);
        return false;
    }
    std::copy(answer.begin(), answer.end(), buffer.begin());
    transferred = answer.size();
    return true;
}

bool SimDppBus::PipeWrite(int pipeHandle, std::span<const uint8_t> buffer, size_t& transferred,
                          int timeoutMs) {
    transferred = 0;
    SimDpp* device = pipeHandle >= 0 ? Plugged(pipeHandle / kPipesPerDevice) : nullptr;
    if (!device || !device->Write(pipeHandle % kPipesPerDevice, buffer)) {
        m_clock.SleepMillis(timeoutMs);
        return false;
    }
    transferred = buffer.size();
    return true;
}

bool SimDppBus::VendorRequestOut(int deviceHandle, uint8_t request, uint16_t value,
                                 uint16_t index) {
    SimDpp* device = Plugged(deviceHandle);
    if (!device)
        return false;
    ++vendorRequests;
    device->VendorRequest(request, value, index);
    return true;
}

bool SimDppBus::DriverVersion(int deviceHandle, int& major, int& minor) {
    if (!Plugged(deviceHandle))
        return false;
    major = 1;
    minor = 0;
    return true;
}

std::string SimDppBus::StringDescriptor(int deviceHandle, int, int, size_t maxLength) {
    SimDpp* device = Plugged(deviceHandle);
    if (!device)
        return {};
    std::string text = device->Descriptor();
    if (text.size() > maxLength)
        text.resize(maxLength);
    return text;
}

} // namespace vorna
