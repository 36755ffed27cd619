#pragma once
// The small models behind some configuration fields: channel count, peaking time, flat top and
// gain. Shared by the image, the configuration texts and the property pages.

#include <string>
#include <vector>

#include "dpp/DppConfigRecord.h"

namespace vorna {

// 4096, 2048, 1024, 512, 256 for codes 0..4; 8192 from 5 on; 256 below 0.
int ChannelsFromCode(int code);

// Peaking time in microseconds: Rise x 0.8 us x 2^(Avg - 1), a quarter of that with the
// 80 MHz clock.
double PeakingTimeUs(int rise, int avg, bool fastClock);
constexpr int kPeakingTimeCount = 24;
// The selectable peaking times (0.8 .. 6.4, then 8.0 .. 102.4 us in four octaves), scaled.
std::vector<double> PeakingTimeList(bool fastClock);
// Entry k of the unscaled list; indexes outside 0..23 follow the same formula.
double PeakingTimeFromIndex(int index);
// List index of a (Rise, Avg) pair.
int PeakingTimeIndex(int rise, int avg);
// Sets Avg and Rise for an unscaled list time; a time between the octaves changes nothing.
void ApplyPeakingTime(double timeUs, DppConfigRecord& record);

// Flat top n = 0..15 in microseconds: (n + 1) x 0.1 us x 2^Avg, scaled like the peaking time.
double FlatTopUs(int flatTop, int avg, bool fastClock);
// "%.2fuS" when the 80 MHz clock runs with Avg 1 (the steps are finer than 0.1), else "%.1fuS".
std::string FlatTopText(int flatTop, int avg, bool fastClock);
constexpr int kFlatTopCount = 16;
std::vector<std::string> FlatTopList(int avg, bool fastClock);

// Coarse gain by code for each family; codes outside a table are clamped to it.
double HeronCoarseGain(int code);  // Heron and Heron emulation, 0..3
double PloverCoarseGain(int code); // 0..27
double OspreyCoarseGain(int code); // 0..15
// The gain model of the device type (Plover, Osprey, otherwise Heron).
double CoarseGainValue(int deviceType, int code);
// 3 for Heron and Heron emulation, 27 for Plover, 15 for Osprey.
int HighestGainCode(int deviceType);
// A Heron coarse gain given as a number, to its code.
int HeronGainCodeFromValue(double gain);
// PloverFineGain / 8192.
double FineGainValue(int ploverFineGain);

// The total gain shown by the gain controls: text "%.2f" and the value it reads as.
struct DppTotalGain {
    std::string text;
    double value = 0;
};
// Coarse gain of the type's model times the fine gain rounded to four decimals.
DppTotalGain TotalGain(const DppConfigRecord& record, int deviceType);

} // namespace vorna
