#pragma once
// Conversions between what the DPP property pages show and the configuration fields they edit,
// and the table that lets one edit-with-arrows control serve every numeric field: range, step,
// wrap or stop at the ends, display text and the reading of a committed text.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dpp/DppConfigRecord.h"

namespace vorna {

// --- slow threshold: a byte of 0..250 read as percent of full scale or as a channel ---
constexpr int kMaxThresholdByte = 250;
// The channel count the threshold scale uses: the configured one limited to 256..8192.
int ThresholdScaleChannels(int channels);
int SlowThresholdByteFromFraction(double fraction);
int SlowThresholdByteFromPercent(double percent);
int SlowThresholdByteFromChannel(double channel, int channels);
int SlowThresholdChannel(int thresholdByte, int channels);
// "%.2f%% FS" of b x 400 / 4096.
std::string SlowThresholdPercentText(int thresholdByte);

// --- MCA page ---
// Only the digits of the text count ("12a3" reads 123, no digit reads 0); saturates at 2^32-1.
uint32_t DigitsValue(std::string_view text);
// Lower level (limited to 0..65535), upper level (15 bits) and the enable bit in one word.
uint32_t ScaWord(uint32_t lower, uint32_t upper, bool enabled);
inline uint32_t ScaLower(uint32_t word) {
    return word & 0xFFFF;
}
inline uint32_t ScaUpper(uint32_t word) {
    return (word >> 16) & 0x7FFF;
}
inline bool ScaEnabled(uint32_t word) {
    return (word >> 31) != 0;
}
// The preset-count window is SCA 8; a count of 0 switches it off but keeps the window.
void SetPresetCountWindow(DppConfigRecord& record, uint32_t low, uint32_t high, uint32_t count);

// --- spectrum offset (Osprey): a signed 16-bit value shown as percent and as channels ---
double SpectrumOffsetPercent(int16_t offset);
double SpectrumOffsetChannels(int16_t offset, int channels);
// The typed percent limited to -100..100; -100 gives -32768, +100 gives 32767.
int16_t SpectrumOffsetFromPercent(double percent);

// --- gain ---
// "%.0fx" of the Heron table, "%.2fx" of the Plover or Osprey model.
std::string CoarseGainText(int deviceType, int code);
// The coarse code a typed gain stands for: the Heron thresholds, else the code SetTotalGain
// would choose.
int CoarseCodeFromGain(int deviceType, double gain);
// 6144..10240 for a Plover, 4096..12288 otherwise.
int MinFineGain(int deviceType);
int MaxFineGain(int deviceType);
// "%.4f" of f / 8192, never "-0.0000".
std::string FineGainText(int fine);
struct DppGainChoice {
    int code = 0;
    int fine = 8192;
};
// The coarse code and fine gain whose product comes closest to the total gain T.
DppGainChoice ChooseTotalGain(double total, int deviceType);
// Applies ChooseTotalGain to the record.
void SetTotalGain(DppConfigRecord& record, double total, int deviceType);
// A gain step may land only strictly inside the lowest and highest total gain ("%.3f").
bool TotalGainStepAllowed(double total, int deviceType);

// --- analog settings ---
std::string InputOffsetText(int value);          // "%.3fV" of (v - 2048) / 1000
int InputOffsetFromVolts(double volts);          // 0..4000
std::string OutputOffsetText(int offset);        // "%dmV", integer arithmetic
int OutputOffsetFromText(std::string_view text); // leading integer of mV, 0..125
std::string HighVoltageText(int value, bool directHighVoltage);
int HighVoltageFromVolts(double volts, bool directHighVoltage);
std::string TecText(int value); // "%.1fK"
int TecFromKelvin(double kelvin);
std::string RtdSlowText(int value, bool ospreyClass);
std::string RtdFastText(int value, bool ospreyClass);
// The detector reset lockout entries 0..8 ("Slow - 13.1mS" .. "OFF").
std::vector<std::string> DetResetTexts(bool ospreyFastClock);

// --- baseline restoration ---
// Limited to 63..124 and rounded to a spin position: bits 0..1 always clear, 63 for off.
int NormalizedBlr(int blr);
int BlrSpinPosition(int blr);
int BlrFromSpinPosition(int position);
int BlrWithDownCorrection(int blr, int index);
int BlrWithUpCorrection(int blr, int index);

// --- thresholds and tuning ---
// The firmware byte read as "%d.%02d" of its nibbles, compared as a number (0x3B is 3.11).
bool FirmwareAtLeast(uint8_t firmwareByte, double version);
// Threshold / gain when the gain is at least 1 and the threshold positive, else 0.
double NormalizedThreshold(int threshold, double totalGain);
// Back from the normalised value: limited to 6..250.
int ThresholdFromNormalized(double normalized, double totalGain);

struct SlowThresholdSearch {
    int channel = 0;
    bool tooHigh = false; // the search ended above 245/1024 of full scale and was limited
};
// The lowest channel above the noise in a spectrum taken with the source removed.
SlowThresholdSearch FindSlowThreshold(std::span<const double> counts, int channels);

// --- the field table ---
enum class DppField {
    SlowThresholdPercent,
    FastThreshold,
    CoarseGain,
    FineGain,
    PoleZero,
    InputOffset,
    Tec,
    HighVoltage,
    OutputOffset,
    RtdSlow,
    RtdFast,
};

struct DppFieldContext {
    int deviceType = 0;
    bool directHighVoltage = false;
    int channels = 1024;
};

struct DppFieldSpec {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    bool wrap = true;  // stepping past one end goes to the other, else stops
    bool typed = true; // an edit the user types into (else only arrows and a label)
    std::function<std::string(int)> text;
    // The committed text as a value inside the range (never rejected).
    std::function<int(std::string_view)> read;
    const char* tip = "";
};

DppFieldSpec FieldSpec(DppField field, const DppFieldContext& context);
// The value `direction` steps away (negative down), wrapping or stopping at the ends.
int StepFieldValue(const DppFieldSpec& row, int value, int direction);
int LimitFieldValue(const DppFieldSpec& row, int value);

} // namespace vorna
