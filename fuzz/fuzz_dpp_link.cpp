// Device answers of any shape through the whole DPP link: connect, start, data-timer reads,
// device watch and a scope read, with every bulk read served from the fuzz input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/Clock.h"
#include "common/UserPrompt.h"
#include "dpp/DppController.h"
#include "dpp/DppDevice.h"
#include "dpp/DppUsbLink.h"

using namespace vorna;

namespace {

// One device whose answers come from the input; it is unplugged when the input runs out.
class ScriptedDriver : public UsbDriver {
public:
    explicit ScriptedDriver(std::span<const uint8_t> input) : m_in(input) {}
    int DeviceCount() override { return m_pos < m_in.size() ? 1 : 0; }
    int OpenDevice(int index) override { return index == 1 ? 0 : -1; }
    void CloseDevice(int) override {}
    int PipeOpen(int, int pipe) override { return pipe; }
    void PipeClose(int) override {}
    bool PipeRead(int, std::span<uint8_t> buffer, size_t& transferred, int) override {
        const size_t length = (Take() | Take() << 8) % (buffer.size() + 1);
        const bool ok = (Take() & 1) != 0;
        for (size_t i = 0; i < length; ++i)
            buffer[i] = static_cast<uint8_t>(Take());
        transferred = length;
        return ok;
    }
    bool PipeWrite(int, std::span<const uint8_t> buffer, size_t& transferred, int) override {
        transferred = buffer.size();
        return true;
    }
    bool VendorRequestOut(int, uint8_t, uint16_t, uint16_t) override { return true; }
    bool DriverVersion(int, int& major, int& minor) override {
        major = Take();
        minor = Take();
        return true;
    }
    std::string StringDescriptor(int, int, int, size_t maxLength) override {
        std::string text;
        for (size_t n = Take() % (maxLength + 1); n > 0; --n)
            text += static_cast<char>(Take());
        return text;
    }

private:
    unsigned Take() { return m_pos < m_in.size() ? m_in[m_pos++] : 0; }
    std::span<const uint8_t> m_in;
    size_t m_pos = 0;
};

struct Profile : DppProfile {
    int type = 2;
    int refresh = 1000;
    int DeviceType() const override { return type; }
    void SetDeviceType(int t) override { type = t; }
    void SetDeviceTypeName(const std::string&) override {}
    int DataRefreshMs() const override { return refresh; }
    void SetDataRefreshMs(int ms) override { refresh = ms; }
    bool UseConfigurationStoredInHardware() const override { return false; }
};

struct Live : DppLiveSpectrum {
    void ReplaceCounts(std::span<const uint32_t> counts, int channels, double total) override {
        double sum = 0;
        for (uint32_t c : counts)
            sum += c;
        if (channels < 0 || channels > DppDevice::kMaxChannels ||
            counts.size() != static_cast<size_t>(channels) || sum != total)
            __builtin_trap();
    }
    void SetTimes(double, double, const std::string&) override {}
    void ClearData() override {}
    void Redraw() override {}
};

struct Window : DppWindow {
    bool running = false;
    bool StartDataTimer(int) override { return running = true; }
    void StopDataTimer() override { running = false; }
    bool DataTimerRunning() const override { return running; }
    void UpdateControls() override {}
    void ShowGain(const std::string&) override {}
    std::string NowText() override { return "01/01/2026 00:00:00"; }
    int ChooseDevice(const DppSelectLabels&) override { return 1; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ScriptedDriver driver({data + 1, size - 1});
    VirtualClock clock;
    DppUsbLink link(driver, clock);
    DppDevice device;
    Profile profile;
    profile.type = 1 + data[0] % 4;
    Live live;
    Window window;
    SilentPrompt prompt;
    DppController controller({link, device, profile, live, window, prompt, clock},
                             {"/nonexistent-vorna-fuzz", "Quorix", ""});
    controller.OnConnect();
    controller.StartAcquisition();
    for (int tick = 0; tick < 12; ++tick) {
        controller.OnDataTimer();
        if (link.dropouts > DppController::kMaxDropouts &&
            controller.state() != DppLinkState::Disconnected)
            __builtin_trap();
    }
    controller.OnWatchTimer();
    DppScopeTrace trace{};
    controller.ReadScope(trace);
    (void)link.ReadDescriptorText();
    (void)link.DriverVersion();
    return 0;
}
