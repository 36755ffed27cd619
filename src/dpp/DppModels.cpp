#include "dpp/DppModels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/NumberText.h"

namespace vorna {
namespace {

constexpr double kRiseStepUs = 0.8;
constexpr double kFlatTopStepUs = 0.1;

double clockScale(bool fastClock) {
    return fastClock ? 0.25 : 1.0;
}

constexpr double kHeronGains[] = {10.8, 20.7, 55.4, 106.2};
constexpr double kOspreyGains[] = {1.00,  2.22,  3.78,  5.26,  6.56,  8.39,  10.10, 11.31,
                                   14.56, 17.77, 22.42, 30.83, 38.18, 47.47, 66.26, 102.01};

} // namespace

int ChannelsFromCode(int code) {
    if (code < 0)
        return 256;
    if (code >= 5)
        return 8192;
    return 256 << (4 - code);
}

double PeakingTimeUs(int rise, int avg, bool fastClock) {
    return rise * kRiseStepUs * std::ldexp(1.0, avg - 1) * clockScale(fastClock);
}

std::vector<double> PeakingTimeList(bool fastClock) {
    std::vector<double> list;
    list.reserve(kPeakingTimeCount);
    for (int k = 0; k < kPeakingTimeCount; ++k)
        list.push_back(PeakingTimeFromIndex(k) * clockScale(fastClock));
    return list;
}

double PeakingTimeFromIndex(int index) {
    if (index < 8)
        return (static_cast<double>(index) + 1.0) * kRiseStepUs;
    return (5 + index % 4) * kRiseStepUs * std::ldexp(1.0, index / 4 - 1);
}

int PeakingTimeIndex(int rise, int avg) {
    int64_t k = rise % 5 + static_cast<int64_t>(rise / 5) * (4 * static_cast<int64_t>(avg) + 1) - 1;
    return static_cast<int>(std::clamp<int64_t>(k, INT32_MIN, INT32_MAX));
}

void ApplyPeakingTime(double t, DppConfigRecord& record) {
    int avg = 0;
    if (t <= 6.4001)
        avg = 1;
    else if (t >= 8 && t <= 12.8001)
        avg = 2;
    else if (t >= 16 && t <= 25.6001)
        avg = 3;
    else if (t >= 32 && t <= 51.2001)
        avg = 4;
    else if (t >= 64 && t <= 102.4001)
        avg = 5;
    else
        return;
    double rise = std::trunc((t + 0.0001) / (kRiseStepUs * std::ldexp(1.0, avg - 1)));
    record.Avg = avg;
    record.Rise = static_cast<int32_t>(std::clamp(rise, -2147483648.0, 2147483647.0));
}

double FlatTopUs(int flatTop, int avg, bool fastClock) {
    return (static_cast<double>(flatTop) + 1.0) * kFlatTopStepUs * std::ldexp(1.0, avg) *
           clockScale(fastClock);
}

std::string FlatTopText(int flatTop, int avg, bool fastClock) {
    double us = FlatTopUs(flatTop, avg, fastClock);
    return Format(fastClock && avg == 1 ? "%.2fuS" : "%.1fuS", us);
}

std::vector<std::string> FlatTopList(int avg, bool fastClock) {
    std::vector<std::string> list;
    for (int n = 0; n < kFlatTopCount; ++n)
        list.push_back(FlatTopText(n, avg, fastClock));
    return list;
}

double HeronCoarseGain(int code) {
    return kHeronGains[std::clamp(code, 0, 3)];
}

double PloverCoarseGain(int code) {
    // The gain stages: a x4.2 or x8.4 input stage, four fine steps, and two switchable x9.33
    // and x4.2 stages. Codes above 15 skip four encodings.
    int64_t c = code > 15 ? static_cast<int64_t>(code) + 4 : code;
    double g = (c & 4) ? 227.0 / 27.0 : 131.0 / 31.0;
    static constexpr double kSteps[] = {1000.0 / 1023.0, 1091.0 / 932.0, 1182.0 / 841.0,
                                        1273.0 / 750.0};
    g *= kSteps[c & 3];
    if (c & 16)
        g *= 28.0 / 3.0;
    if (c & 8)
        g *= 131.0 / 31.0;
    return g;
}

double OspreyCoarseGain(int code) {
    return kOspreyGains[std::clamp(code, 0, 15)];
}

double CoarseGainValue(int deviceType, int code) {
    if (deviceType == 2)
        return PloverCoarseGain(code);
    if (deviceType == 4)
        return OspreyCoarseGain(code);
    return HeronCoarseGain(code);
}

int HighestGainCode(int deviceType) {
    if (deviceType == 2)
        return 27;
    if (deviceType == 4)
        return 15;
    return 3;
}

int HeronGainCodeFromValue(double gain) {
    if (gain < 15.525)
        return 0;
    if (gain < 41.55)
        return 1;
    if (gain < 79.65)
        return 2;
    return 3;
}

double FineGainValue(int ploverFineGain) {
    return ploverFineGain / 8192.0;
}

DppTotalGain TotalGain(const DppConfigRecord& record, int deviceType) {
    double coarse = CoarseGainValue(deviceType, record.CoarseGain);
    std::string fineText = Format("%.4f", FineGainValue(record.PloverFineGain));
    if (fineText == "-0.0000")
        fineText = "0.0000";
    double fine = ScanDouble(fineText).value_or(0.0);
    DppTotalGain total;
    total.text = Format("%.2f", coarse * fine);
    total.value = ScanDouble(total.text).value_or(0.0);
    return total;
}

} // namespace vorna
