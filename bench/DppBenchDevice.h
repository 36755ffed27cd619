#pragma once
// A DPP for the read-cycle benchmarks: it answers at once from prepared buffers (a spectrum of
// 3 bytes per channel and a status packet), so a cycle measures the program's side only; with
// a profile and a main window that ask nothing.

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "dpp/DppControllerPorts.h"
#include "dpp/UsbDriver.h"

namespace vorna::bench {

class PreparedDriver : public UsbDriver {
public:
    // `counts`: one value per channel, stored as the device sends it (24 bits, low byte first).
    explicit PreparedDriver(const std::vector<uint32_t>& counts)
        : spectrum(counts.size() * 3), status(64) {
        for (size_t c = 0; c < counts.size(); ++c) {
            spectrum[3 * c] = static_cast<uint8_t>(counts[c]);
            spectrum[3 * c + 1] = static_cast<uint8_t>(counts[c] >> 8);
            spectrum[3 * c + 2] = static_cast<uint8_t>(counts[c] >> 16);
        }
        status[13] = 0x4F;
        status[14] = 1;
        status[23] = 0x80;
    }
    int DeviceCount() override { return 1; }
    int OpenDevice(int) override { return 0; }
    void CloseDevice(int) override {}
    int PipeOpen(int, int pipe) override { return pipe; }
    void PipeClose(int) override {}
    bool PipeRead(int pipe, std::span<uint8_t> buffer, size_t& transferred, int) override {
        const auto& answer = pipe == 2 ? spectrum : status;
        transferred = std::min(answer.size(), buffer.size());
        std::memcpy(buffer.data(), answer.data(), transferred);
        return true;
    }
    bool PipeWrite(int, std::span<const uint8_t> b, size_t& transferred, int) override {
        transferred = b.size();
        return true;
    }
    bool VendorRequestOut(int, uint8_t, uint16_t, uint16_t) override { return true; }
    bool DriverVersion(int, int&, int&) override { return false; }
    std::string StringDescriptor(int, int, int, size_t) override { return {}; }

    std::vector<uint8_t> spectrum;
    std::vector<uint8_t> status;
};

// A Plover with the default refresh.
struct BenchProfile : DppProfile {
    int DeviceType() const override { return 2; }
    void SetDeviceType(int) override {}
    void SetDeviceTypeName(const std::string&) override {}
    int DataRefreshMs() const override { return 1000; }
    void SetDataRefreshMs(int) override {}
    bool UseConfigurationStoredInHardware() const override { return false; }
};

// An acquisition under way; the first device is chosen.
struct BenchWindow : DppWindow {
    bool StartDataTimer(int) override { return true; }
    void StopDataTimer() override {}
    bool DataTimerRunning() const override { return true; }
    void UpdateControls() override {}
    void ShowGain(const std::string&) override {}
    std::string NowText() override { return {}; }
    int ChooseDevice(const DppSelectLabels&) override { return 1; }
};

} // namespace vorna::bench
