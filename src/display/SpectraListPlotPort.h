#pragma once
// The plot's view of the program's spectra list: the active spectrum, its ROIs through the ROI
// operations (with their repaints), and the shared settings of the list's environment.

#include <functional>

#include "display/PlotScene.h"
#include "display/PlotSpectrumPort.h"

namespace vorna {

class CSpectraList;
class CSpectrum;
struct RoiContext;

class SpectraListPlotPort : public PlotSpectrumPort, public SpectrumDrawSource {
public:
    explicit SpectraListPlotPort(CSpectraList& list) : m_list(list) {}

    // The acquisition controller's state (3 while a Kestrel acquires); 0 until set.
    void SetAcquisitionStateSource(std::function<int()> source) { m_acqState = std::move(source); }

    int ActiveGain() const override;
    double CountAt(int channel) const override;
    double MaxCount(int lo, int hi) const override;
    double ChannelToValue(int channel) const override;
    int ValueToChannel(double value) const override;
    std::string UnitLabel() const override;

    int RoiCount() const override;
    RoiRange Roi(int index) const override;
    int FindRoi(int channel) const override;
    int AddRoi(int start, int end) override;
    void DeleteRoi(int index) override;
    int ModifyRoi(int index, int start, int end) override;
    void ClearRois() override;
    void SelectRoiAt(double position) override;
    void SelectNextRoi() override;
    void SelectPreviousRoi() override;
    void ResetActiveHeader() override;

    bool CalibrateEnabled() const override;
    bool ShowRoi() const override;
    bool ShowAllRoi() const override;
    int DeviceType() const override;
    int AcquisitionState() const override { return m_acqState ? m_acqState() : 0; }

    // Under the list lock, each spectrum under its own lock while it is visited.
    void VisitSpectra(const std::function<void(const SpectrumDrawView&)>& visit) const override;

    bool AnyRedrawPending() const override;
    void RequestRedrawAll() override;

private:
    template <typename F> void WithActive(F f);

    CSpectraList& m_list;
    std::function<int()> m_acqState;
};

} // namespace vorna
