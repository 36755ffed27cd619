#pragma once
// One open spectrum: header block, channel contents, times, ROIs, calibration, DPP texts,
// flags and its own lock.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "spectrum/CCalibrate.h"
#include "spectrum/CRoi.h"
#include "spectrum/CSpectraArray.h"
#include "spectrum/SpectrumEnvironment.h"
#include "spectrum/SpectrumHeader.h"

namespace vorna {

class CSpectrum;

// A compiled expression that computes a derived spectrum's contents.
class SpectrumProgram {
public:
    virtual ~SpectrumProgram() = default;
    // Computes channels 0..N-1 of `target` into its m_pData; false when the result is not valid.
    virtual bool Run(CSpectrum& target) = 0;
};

// What the plot and the spectra list draw a spectrum's contour with: made from the header's width
// and colour when the spectrum is built and when it joins the list, remade by whoever changes
// them later.
struct SpectrumPen {
    int32_t width = 1;
    uint32_t color = 0; // 0x00BBGGRR
};

// The 27 values picked from a file's DPP blocks, by the name of their line.
enum class DppValue : int {
    DeviceType,
    SerialNumber,
    Firmware,
    Fpga,
    FastCount,
    SlowCount,
    AccumulationTime,
    DeadTime,
    HvVolt,
    TecTemp,
    BoardTemp,
    Rise,
    FastThreshold,
    SlowThreshold,
    CoarseGain,
    FineGain,
    AcquisitionMode,
    BootDeviceMode,
    BootConfigurationState,
    Rs232BaudRate,
    FpgaClock,
    HvPolarity,
    AdcInvert,
    SpectrumOffset,
    FastChannelShaping,
    McaChannel,
    PeakDetect,
    Count
};
constexpr int kDppValueCount = static_cast<int>(DppValue::Count);
// The line name of each value ("Device Type", "Serial Number", ...).
const char* DppValueName(DppValue v);

// Scoped access to one spectrum: holds its lock for as long as the view lives.
template <class S> class SpectrumAccess {
public:
    explicit SpectrumAccess(S& spectrum) : m_spectrum(&spectrum), m_guard(spectrum.m_lock) {}
    S* operator->() const { return m_spectrum; }
    S& operator*() const { return *m_spectrum; }

private:
    S* m_spectrum;
    std::unique_lock<std::recursive_mutex> m_guard;
};

// Threads: the public operations below take the spectrum's lock themselves. Code that reads or
// changes the record's fields of a spectrum other threads can reach (one in a CSpectraList) does
// so through Lock(), whose view keeps the lock until it goes out of scope. Never hold two
// spectrum locks at once; release a spectrum's lock before taking the list lock.
class CSpectrum : public SpectrumHeader {
public:
    using Locked = SpectrumAccess<CSpectrum>;
    using ConstLocked = SpectrumAccess<const CSpectrum>;
    static constexpr int kAbsoluteChannels = 16384;
    static constexpr double kMaxStoredCount = 4294967295.0;

    // Header from the slot defaults of `listSize` (the number of spectra already open).
    explicit CSpectrum(const SpectrumSlotDefaults& slots = SpectrumSlotDefaults(),
                       int listSize = 0);
    // Header copied from `header`.
    explicit CSpectrum(const SpectrumHeader& header);
    virtual ~CSpectrum();
    CSpectrum(const CSpectrum&) = delete;
    CSpectrum& operator=(const CSpectrum&) = delete;

    Locked Lock() { return Locked(*this); }
    ConstLocked Lock() const { return ConstLocked(*this); }

    SpectrumHeader& Header() { return *this; }
    const SpectrumHeader& Header() const { return *this; }

    // --- channel scale ---
    static int ChannelsForGain(int gain) { return 256 << gain; }
    int ToAbsoluteChannel(int c) const { return c << (6 - m_nGain); }
    int FromAbsoluteChannel(int a) const { return a >> (6 - m_nGain); }
    // Nearest integer of a display position, then from the absolute scale.
    int SnapToChannel(double x) const;

    // Allocates N zeroed channels; false (and "Can not allocate memory!" through the prompt
    // when one is given) when memory runs out.
    bool AllocateData(int channels, UserPrompt* prompt = nullptr);
    void FreeData();
    bool HasData() const { return !m_pData.empty(); }

    // --- copies ---
    void CopyFrom(const CSpectrum& src, bool header, bool data);
    // The MCS result copy; returns 0 when a spectrum is missing, else 1.
    static int MakeMcsResultCopy(const CSpectrum* src, CSpectrum* target,
                                 const std::string& spectraDirectory);

    // --- totals and conversions ---
    // Last channel that totals, statistics and autoscale use.
    int LastValidChannel(int dppDeviceType, int activePosition) const;
    // Sum over 0..LastValidChannel, then every ROI's statistics through the environment's
    // recompute callable.
    void UpdateTotals(const SpectrumEnvironment& env, int activePosition);
    // Takes the calibration and/or ROI table of a template spectrum; with contents present the
    // totals (and with them the new ROIs' statistics) are recomputed.
    void TakeTables(const CSpectrum& templ, bool calibration, bool roi,
                    const SpectrumEnvironment& env, int activePosition);
    // Becomes the record read back from its file: header, tables and contents (moved out of
    // `original`, so the buffer follows the file's channel count), valid, totals recomputed. A
    // derived spectrum loses its program. `keepOwnTag` keeps the present tag.
    void RevertTo(CSpectrum& original, bool keepOwnTag, const SpectrumEnvironment& env,
                  int activePosition);
    double ChannelToEnergy(double channel, bool calibrateEnable) const;
    int EnergyToChannel(double value, bool calibrateEnable) const;

    // --- evaluation and redraw requests ---
    void RequestEvaluation(const SpectrumEnvironment& env);
    void RequestDisplayUpdate(const SpectrumEnvironment& env);
    // Runs the program; returns the new valid flag. Exceptions leave the spectrum invalid.
    bool Evaluate(const SpectrumEnvironment& env, int activePosition, bool isActive);

    // Takes a compiled program, its expression text and its operands (the links are replaced);
    // the update worker runs the program under the same lock.
    void SetProgram(std::unique_ptr<SpectrumProgram> program, const std::string& expression,
                    const std::vector<CSpectrum*>& operands);
    // A new pen from m_nLineWidth and m_crColor.
    void RemakePen();
    SpectrumPen Pen() const;

    // Sets the hidden flag and returns the one it replaces.
    int ExchangeHidden(int hidden);

    // "Quorix VORNA     " + file name + "     " + description.
    std::string Title() const;

    // DPP value strings.
    std::string& DppValueText(DppValue v) { return m_dppValues[static_cast<size_t>(v)]; }
    const std::string& DppValueText(DppValue v) const {
        return m_dppValues[static_cast<size_t>(v)];
    }
    void ClearDppTexts();

    // Start time text, at most 20 significant characters.
    void SetStartTime(const std::string& text) { m_szStartTime = text.substr(0, 20); }

    // --- the record ---
    int32_t m_nChannels = 0;
    int32_t m_nThreshold = 0;
    std::vector<double> m_pData; // empty = not allocated
    CCalibrate m_calibrate;
    CRoi m_roi;
    CSpectraArray m_linked;
    std::unique_ptr<SpectrumProgram> m_pProgram;
    int32_t m_nLiveMode = 0;
    int32_t m_bEvalPending = 0;
    int32_t m_bValid = 0;
    int32_t m_bDisplayValid = 0;
    int32_t m_bHidden = 0;
    int32_t m_bRedrawPending = 0;
    std::string m_szStartTime;
    double m_dLiveTime = 0.0;
    double m_dRealTime = 0.0;
    int32_t m_nPresetTime = 0;
    int32_t m_nSerialNumber = 0;
    double m_dTotalCounts = 0.0;
    std::string m_strDppConfig;
    std::string m_strDppStatus;
    std::string m_strBootFlags;
    int32_t m_bClock80MHz = 0;
    int32_t m_nDppDeviceCode = 0;
    SpectrumPen m_pPen;

private:
    friend class SpectrumAccess<CSpectrum>;
    friend class SpectrumAccess<const CSpectrum>;

    void ResetRecord();

    // Guards contents and flags against the update worker; reached through Lock() only.
    mutable std::recursive_mutex m_lock;

    std::array<std::string, kDppValueCount> m_dppValues;
};

} // namespace vorna
