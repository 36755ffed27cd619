#pragma once
// Where the connected DPP's readings land: the live spectrum at position 0 of the spectra list
// (channel count, counts, totals with the ROI statistics, times), and the three blocks a saved
// live spectrum carries.

#include <functional>

#include "dpp/DppControllerPorts.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CSpectraList;
struct DppDevice;

class DppLiveTarget : public DppLiveSpectrum {
public:
    // `redraw` repaints the plot and the info pane; it runs after each read.
    DppLiveTarget(CSpectraList& list, std::function<void()> redraw);

    // The live spectrum takes the device's channel count (256..16384, a power of two times
    // 256); a count it cannot show leaves it unchanged.
    void ReplaceCounts(std::span<const uint32_t> counts, int channels, double total) override;
    void SetTimes(double realTime, double liveTime, const std::string& startTime) override;
    void ClearData() override;
    void Redraw() override;

    // The gain index (0..6) of a channel count, or -1.
    static int GainIndexForChannels(int channels);

private:
    CSpectraList& m_list;
    std::function<void()> m_redraw;
};

// The device's configuration, status and boot-flag texts for the spectrum writer. The live
// spectrum only ever holds counts read into this image, so after a disconnect (an unplug, the
// sixth dropout) the last values still describe the data and are kept. A device image that never
// held a status (no serial number, never connected) gives empty blocks.
class DppDeviceBlocks : public DppBlockSource {
public:
    DppDeviceBlocks(const DppDevice& device, std::function<bool()> connected)
        : m_device(device), m_connected(std::move(connected)) {}
    std::string ConfigurationBlock() const override;
    std::string StatusBlock() const override;
    std::string BootFlagsBlock() const override;
    int SerialNumber() const override;

private:
    bool Known() const;

    const DppDevice& m_device;
    std::function<bool()> m_connected;
};

} // namespace vorna
