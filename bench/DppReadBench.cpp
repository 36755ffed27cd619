// One data-timer read cycle of an 8192-channel DPP: spectrum transfer through the link, 24-bit
// counts decoded, handed to the live spectrum, status read and decoded. The limit companion is a
// bare copy of the same 24576 spectrum bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "common/Clock.h"
#include "common/UserPrompt.h"
#include "dpp/DppController.h"
#include "dpp/DppDevice.h"
#include "dpp/DppProtocol.h"
#include "dpp/DppUsbLink.h"

using namespace vorna;

namespace {

constexpr int kChannels = 8192;

// A device that answers at once from prepared buffers, so the cycle measures our side only.
class PreparedDriver : public UsbDriver {
public:
    PreparedDriver() : spectrum(kChannels * 3), status(64) {
        std::mt19937 random(5);
        for (auto& b : spectrum)
            b = static_cast<uint8_t>(random());
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

struct Profile : DppProfile {
    int DeviceType() const override { return 2; }
    void SetDeviceType(int) override {}
    void SetDeviceTypeName(const std::string&) override {}
    int DataRefreshMs() const override { return 1000; }
    void SetDataRefreshMs(int) override {}
    bool UseConfigurationStoredInHardware() const override { return false; }
};

// The live spectrum's channel contents are doubles.
struct Live : DppLiveSpectrum {
    std::vector<double> data;
    double total = 0;
    void ReplaceCounts(std::span<const uint32_t> counts, int, double t) override {
        data.assign(counts.begin(), counts.end());
        total = t;
    }
    void SetTimes(double, double, const std::string&) override {}
    void ClearData() override {}
    void Redraw() override {}
};

struct Window : DppWindow {
    bool StartDataTimer(int) override { return true; }
    void StopDataTimer() override {}
    bool DataTimerRunning() const override { return true; }
    void UpdateControls() override {}
    void ShowGain(const std::string&) override {}
    std::string NowText() override { return {}; }
    int ChooseDevice(const DppSelectLabels&) override { return 1; }
};

void BM_DppReadCycle8192(benchmark::State& state) {
    PreparedDriver driver;
    SteadyClock clock;
    DppUsbLink link(driver, clock);
    DppDevice device;
    device.config.MCA = 5;
    device.config.channels = kChannels;
    Profile profile;
    Live live;
    Window window;
    SilentPrompt prompt;
    DppController controller({link, device, profile, live, window, prompt, clock}, {});
    link.Open();
    for (auto _ : state) {
        controller.ReadData();
        benchmark::DoNotOptimize(live.total);
    }
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppReadCycle8192);

void BM_DppDecodeOnly8192(benchmark::State& state) {
    PreparedDriver driver;
    std::vector<uint32_t> counts(kChannels);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeSpectrum(driver.spectrum, kChannels, counts));
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppDecodeOnly8192);

// Limit: copying the transfer's bytes once, the least any read cycle must do.
void BM_DppReadLimitCopy(benchmark::State& state) {
    PreparedDriver driver;
    std::vector<uint8_t> target(driver.spectrum.size());
    for (auto _ : state) {
        std::memcpy(target.data(), driver.spectrum.data(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kChannels * 3);
}
BENCHMARK(BM_DppReadLimitCopy);

} // namespace

BENCHMARK_MAIN();
