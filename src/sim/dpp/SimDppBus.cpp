#include "sim/dpp/SimDppBus.h"

#include <algorithm>
#include <stdexcept>

#include "common/Clock.h"
#include "dpp/DppPipes.h"

namespace vorna {

SimDpp& SimDppBus::Plug(SimDppModel model, uint32_t serialNumber, uint64_t seed,
                        SimFaultPlan faults) {
    Slot slot;
    slot.device = std::make_unique<SimDpp>(model, serialNumber, m_clock, seed);
    slot.faults = faults;
    m_slots.push_back(std::move(slot));
    return *m_slots.back().device;
}

void SimDppBus::RunFaults() {
    const int64_t now = m_clock.NowMicros();
    for (Slot& slot : m_slots) {
        if (slot.unplugAt <= now) {
            slot.unplugAt = INT64_MAX;
            slot.plugged = false;
        }
        if (slot.replugAt <= now) {
            slot.replugAt = INT64_MAX;
            slot.plugged = true;
        }
    }
}

bool SimDppBus::Silent(int slot) const {
    return m_slots[static_cast<size_t>(slot)].silentAt <= m_clock.NowMicros();
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
    RunFaults();
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](const Slot& s) { return s.plugged; }));
}

int SimDppBus::OpenDevice(int index) {
    RunFaults();
    const int found = SlotOfIndex(index);
    if (found < 0)
        return found;
    Slot& slot = m_slots[static_cast<size_t>(found)];
    if (!slot.opened) {
        slot.opened = true;
        const int64_t now = m_clock.NowMicros();
        if (slot.faults.unplugMicros) {
            slot.unplugAt = now + *slot.faults.unplugMicros;
            if (slot.faults.replugMicros)
                slot.replugAt = slot.unplugAt + *slot.faults.replugMicros;
        }
        if (slot.faults.silentMicros)
            slot.silentAt = now + *slot.faults.silentMicros;
    }
    return found;
}

void SimDppBus::CloseDevice(int) {}

int SimDppBus::PipeOpen(int index, int pipe) {
    RunFaults();
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
    RunFaults();
    const int slot = pipeHandle >= 0 ? pipeHandle / kPipesPerDevice : -1;
    SimDpp* device = Plugged(slot);
    if (!device)
        return false;
    const int pipe = pipeHandle % kPipesPerDevice;
    std::vector<uint8_t> answer;
    if ((pipe == 2 && spectrumTimeouts > 0 && spectrumTimeouts--) || Silent(slot) ||
        !device->Read(pipe, buffer.size(), answer)) {
        // Nothing came: the host waited its whole time-out.
        m_clock.SleepMillis(timeoutMs);
        return false;
    }
    Slot& s = m_slots[static_cast<size_t>(slot)];
    if (!answer.empty() && s.shortReads.Next(s.faults.shortEvery))
        answer.pop_back();
    // The configuration readback is the one transfer the host verifies, so that is where a
    // DPP's spoilt transfer shows.
    const int dataPipe = device->ospreyMode() ? dpppipe::kOspreyData : dpppipe::kData;
    if (pipe == dataPipe && answer.size() == SimDpp::kPacketSize &&
        s.spoiltReadbacks.Next(s.faults.checksumEvery))
        answer[0] ^= 0xFF;
    std::copy(answer.begin(), answer.end(), buffer.begin());
    transferred = answer.size();
    return true;
}

bool SimDppBus::PipeWrite(int pipeHandle, std::span<const uint8_t> buffer, size_t& transferred,
                          int timeoutMs) {
    transferred = 0;
    RunFaults();
    const int slot = pipeHandle >= 0 ? pipeHandle / kPipesPerDevice : -1;
    SimDpp* device = Plugged(slot);
    if (!device || Silent(slot) || !device->Write(pipeHandle % kPipesPerDevice, buffer)) {
        m_clock.SleepMillis(timeoutMs);
        return false;
    }
    transferred = buffer.size();
    return true;
}

bool SimDppBus::VendorRequestOut(int deviceHandle, uint8_t request, uint16_t value,
                                 uint16_t index) {
    RunFaults();
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
