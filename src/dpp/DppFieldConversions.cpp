#include "dpp/DppFieldConversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/NumberText.h"
#include "dpp/DppModels.h"
#include "dpp/DppTextParse.h"
#include "dpp/DppTypes.h"

namespace vorna {
namespace {

// A typed number; text that is not one reads as 0, as the pages never reject an entry.
double NumberOf(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    size_t used = 0;
    const std::optional<double> v = ScanDoublePrefix(text, used);
    return v && std::isfinite(*v) ? *v : 0.0;
}

// A double limited to the int range before truncation, so huge entries clamp instead of
// overflowing the conversion.
int TruncToInt(double v) {
    if (!(v == v))
        return 0;
    v = std::clamp(v, -2147483648.0, 2147483647.0);
    return static_cast<int>(std::trunc(v));
}

int FloorToInt(double v) {
    return TruncToInt(std::floor(v));
}

std::string WithoutNegativeZero(std::string text, const char* negativeZero, const char* zero) {
    return text == negativeZero ? std::string(zero) : text;
}

constexpr double kOspreyGainBounds[16] = {1.38,  2.8,   4.4,   5.84,  7.36,  9.17,  10.67, 12.73,
                                          16.01, 19.83, 25.96, 34.11, 42.32, 55.31, 80.34, 127.51};

int EstimateCoarseCode(double total, int deviceType) {
    if (deviceType == static_cast<int>(DppDeviceType::Osprey)) {
        for (int code = 0; code < 16; ++code)
            if (kOspreyGainBounds[code] > total)
                return code;
        return 15;
    }
    if (deviceType == static_cast<int>(DppDeviceType::Plover)) {
        if (!(total > 0))
            return 0;
        return TruncToInt(std::log(total / 4) / std::log(1.2) + 0.005);
    }
    return HeronGainCodeFromValue(total);
}

} // namespace

int ThresholdScaleChannels(int channels) {
    return std::clamp(channels, 256, 8192);
}

int SlowThresholdByteFromFraction(double fraction) {
    if (!(fraction == fraction))
        fraction = 0;
    const double x = std::clamp(fraction, 0.0, 0.2441);
    return std::clamp(FloorToInt(x * 1024 + 0.5), 0, kMaxThresholdByte);
}

int SlowThresholdByteFromPercent(double percent) {
    return SlowThresholdByteFromFraction(percent / 100);
}

int SlowThresholdByteFromChannel(double channel, int channels) {
    return SlowThresholdByteFromFraction(channel / ThresholdScaleChannels(channels));
}

int SlowThresholdChannel(int thresholdByte, int channels) {
    return FloorToInt(static_cast<double>(thresholdByte) * ThresholdScaleChannels(channels) / 1024 +
                      0.5);
}

std::string SlowThresholdPercentText(int thresholdByte) {
    return Format("%.2f%% FS", thresholdByte * 400 / 4096.0);
}

uint32_t DigitsValue(std::string_view text) {
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            continue;
        value = std::min<uint64_t>(value * 10 + static_cast<uint64_t>(c - '0'), UINT32_MAX);
    }
    return static_cast<uint32_t>(value);
}

uint32_t ScaWord(uint32_t lower, uint32_t upper, bool enabled) {
    return std::min<uint32_t>(lower, 0xFFFF) + ((upper & 0x7FFF) << 16) +
           (enabled ? 0x80000000u : 0u);
}

void SetPresetCountWindow(DppConfigRecord& record, uint32_t low, uint32_t high, uint32_t count) {
    record.PresetCount = count;
    record.Sca[7] = ScaWord(low, high, count != 0);
}

double SpectrumOffsetPercent(int16_t offset) {
    if (offset > 0)
        return offset / 32767.0 * 100;
    if (offset < 0)
        return offset / 32768.0 * 100;
    return 0;
}

double SpectrumOffsetChannels(int16_t offset, int channels) {
    if (offset > 0)
        return static_cast<double>(offset) * channels / 32767;
    if (offset < 0)
        return static_cast<double>(offset) * channels / 32768;
    return 0;
}

int16_t SpectrumOffsetFromPercent(double percent) {
    if (!(percent == percent))
        percent = 0;
    const double x = std::clamp(percent, -100.0, 100.0) / 100;
    const double v = x > 0 ? x * 32767 : x * 32768;
    return static_cast<int16_t>(std::clamp(TruncToInt(v), -32768, 32767));
}

std::string CoarseGainText(int deviceType, int code) {
    if (IsPloverClass(deviceType))
        return Format("%.2fx", CoarseGainValue(deviceType, code));
    return Format("%.0fx", HeronCoarseGain(code));
}

int CoarseCodeFromGain(int deviceType, double gain) {
    if (!IsPloverClass(deviceType))
        return HeronGainCodeFromValue(gain);
    return ChooseTotalGain(gain, deviceType).code;
}

int MinFineGain(int deviceType) {
    return deviceType == static_cast<int>(DppDeviceType::Plover) ? 6144 : 4096;
}

int MaxFineGain(int deviceType) {
    return deviceType == static_cast<int>(DppDeviceType::Plover) ? 10240 : 12288;
}

std::string FineGainText(int fine) {
    return WithoutNegativeZero(Format("%.4f", fine / 8192.0), "-0.0000", "0.0000");
}

DppGainChoice ChooseTotalGain(double total, int deviceType) {
    const int highest = HighestGainCode(deviceType);
    const int estimate = std::clamp(EstimateCoarseCode(total, deviceType), 0, highest);
    auto misfit = [&](int code) {
        return std::fabs(1 - total / CoarseGainValue(deviceType, code));
    };
    // The estimate wins ties, then the lower neighbour.
    int best = estimate;
    double bestMisfit = misfit(estimate);
    for (int code : {estimate - 1, estimate + 1}) {
        if (code < 0 || code > highest)
            continue;
        if (double m = misfit(code); m < bestMisfit) {
            best = code;
            bestMisfit = m;
        }
    }
    const double fine =
        ScanDouble(Format("%.4f", total / CoarseGainValue(deviceType, best))).value_or(0.0);
    DppGainChoice choice;
    choice.code = best;
    choice.fine =
        std::clamp(FloorToInt(fine * 8192 + 0.5), MinFineGain(deviceType), MaxFineGain(deviceType));
    return choice;
}

void SetTotalGain(DppConfigRecord& record, double total, int deviceType) {
    const DppGainChoice choice = ChooseTotalGain(total, deviceType);
    record.CoarseGain = choice.code;
    record.PloverFineGain = choice.fine;
}

bool TotalGainStepAllowed(double total, int deviceType) {
    auto rounded = [](double v) { return ScanDouble(Format("%.3f", v)).value_or(0.0); };
    const double lowest =
        rounded(MinFineGain(deviceType) / 8192.0 * CoarseGainValue(deviceType, 0));
    const double highest = rounded(MaxFineGain(deviceType) / 8192.0 *
                                   CoarseGainValue(deviceType, HighestGainCode(deviceType)));
    return total > lowest && total < highest;
}

std::string InputOffsetText(int value) {
    return Format("%.3fV", (value - 2048) / 1000.0);
}

int InputOffsetFromVolts(double volts) {
    return std::clamp(TruncToInt(volts * 1000 + 2048), 0, 4000);
}

std::string OutputOffsetText(int offset) {
    int64_t v = 2 * static_cast<int64_t>(offset);
    if (v >= 127)
        v -= 256;
    return Format("%lldmV", static_cast<long long>(v * 16000 / 4096));
}

int OutputOffsetFromText(std::string_view text) {
    const int mv = std::clamp(dpptext::DecimalInt(text), -500, 492);
    const double x = mv / 16.0 * 4096 / 1000 / 2;
    int o = static_cast<int>(std::round(x)); // half away from zero
    if (o < 0)
        o += 128;
    return std::clamp(o, 0, 125);
}

std::string HighVoltageText(int value, bool directHighVoltage) {
    const double volts = value * (directHighVoltage ? 1800.0 : 3000.0) / 4096;
    return WithoutNegativeZero(Format("%.1fV", volts), "-0.0V", "0.0V");
}

int HighVoltageFromVolts(double volts, bool directHighVoltage) {
    const double h = directHighVoltage ? volts * 4096 / 1800 : volts * 4096 / 1500 / 2;
    return std::clamp(FloorToInt(h), 0, 4000);
}

std::string TecText(int value) {
    return WithoutNegativeZero(Format("%.1fK", value * 300 / 4096.0), "-0.0K", "0.0K");
}

int TecFromKelvin(double kelvin) {
    return std::clamp(TruncToInt(kelvin * 4096 / 300), 2458, 4095);
}

std::string RtdSlowText(int value, bool ospreyClass) {
    if (ospreyClass)
        return Format("RTD Ratio=%.1f%%", value / 64.0 * 100);
    return Format("RTD Threshold=%.2f%% FS", value * 100 / 512.0);
}

std::string RtdFastText(int value, bool ospreyClass) {
    if (ospreyClass)
        return Format("RTD Slow Thresh=%.0f%% FS", (value - 4) * 16 / 512.0 * 100);
    return Format("RTD Fast HWHM=%d", value);
}

std::vector<std::string> DetResetTexts(bool ospreyFastClock) {
    static const char* const kTimes[10] = {"13.1mS", "6.55mS", "3.28mS", "1.64mS", "819uS",
                                           "410uS",  "205uS",  "102uS",  "51.2uS", "25.6uS"};
    const int first = ospreyFastClock ? 2 : 0;
    std::vector<std::string> texts;
    for (int i = 0; i < 8; ++i)
        texts.push_back(std::string(i < 4 ? "Slow - " : "Fast - ") + kTimes[first + i]);
    texts.emplace_back("OFF");
    return texts;
}

int BlrSpinPosition(int blr) {
    return blr >= 64 && blr <= 124 ? (blr >> 2) - 15 : 0;
}

int BlrFromSpinPosition(int position) {
    return position >= 1 && position <= 16 ? 60 + 4 * position : 63;
}

int NormalizedBlr(int blr) {
    return BlrFromSpinPosition(BlrSpinPosition(std::clamp(blr, 63, 124)));
}

int BlrWithDownCorrection(int blr, int index) {
    return NormalizedBlr((blr & 0x4F) + (index & 3) * 16);
}

int BlrWithUpCorrection(int blr, int index) {
    return NormalizedBlr((blr & 0x73) + (index & 3) * 4);
}

bool FirmwareAtLeast(uint8_t firmwareByte, double version) {
    // Compared as the text reads: 3.11 against 3.11 must not fail on the last binary digit.
    return DppVersionValue(firmwareByte) + 1e-9 >= version;
}

double NormalizedThreshold(int threshold, double totalGain) {
    if (totalGain >= 1 && threshold > 0)
        return threshold / totalGain;
    return 0;
}

int ThresholdFromNormalized(double normalized, double totalGain) {
    return std::clamp(FloorToInt(normalized * totalGain + 0.5), 6, 250);
}

SlowThresholdSearch FindSlowThreshold(std::span<const double> counts, int channels) {
    channels = std::clamp(channels, 1, static_cast<int>(counts.size()));
    auto at = [&](int c) { return counts[static_cast<size_t>(c)]; };
    const int start = static_cast<int>(std::floor(0.24 * channels));
    double top = 0;
    for (int c = start; c < channels; ++c)
        top = std::max(top, at(c));
    int t = start;
    while (t > 0 && at(t - 1) <= top)
        --t;
    if (t > 1 && t < start - 1)
        ++t;
    for (int i = 0; i < 3; ++i)
        if (at(t) > top && t < start - 1)
            ++t;
    SlowThresholdSearch result;
    const int lowest = FloorToInt(6.0 * channels / 1024 + 0.5);
    const int highest = FloorToInt(245.0 * channels / 1024 + 0.5);
    t = std::max(t, lowest);
    if (t > highest) {
        t = highest;
        result.tooHigh = true;
    }
    result.channel = t;
    return result;
}

DppFieldSpec FieldSpec(DppField field, const DppFieldContext& context) {
    const int type = context.deviceType;
    const bool direct = context.directHighVoltage;
    auto integer = [](int lo, int hi) {
        return [lo, hi](std::string_view t) { return std::clamp(dpptext::DecimalInt(t), lo, hi); };
    };
    auto decimal = [](int v) { return Format("%d", v); };
    DppFieldSpec s;
    switch (field) {
    case DppField::SlowThresholdPercent:
        s = {0,
             kMaxThresholdByte,
             context.channels <= 256 ? 2 : 1,
             true,
             true,
             SlowThresholdPercentText,
             [](std::string_view t) { return SlowThresholdByteFromPercent(NumberOf(t)); },
             "Slow channel threshold in percent of full scale (at most 24.41%)"};
        break;
    case DppField::FastThreshold:
        s = {0, 250, 1, true, true, decimal, integer(0, 250), "Fast channel threshold (0 to 250)"};
        break;
    case DppField::CoarseGain: {
        const int highest = HighestGainCode(type);
        s = {0,
             highest,
             1,
             true,
             true,
             [type](int code) { return CoarseGainText(type, code); },
             [type, highest](std::string_view t) {
                 return std::clamp(CoarseCodeFromGain(type, NumberOf(t)), 0, highest);
             },
             "Coarse gain; type a gain to choose the nearest step"};
        break;
    }
    case DppField::FineGain: {
        const int lo = MinFineGain(type), hi = MaxFineGain(type);
        s = {lo,
             hi,
             1,
             true,
             true,
             FineGainText,
             [lo, hi](std::string_view t) {
                 return std::clamp(FloorToInt(NumberOf(t) * 8192 + 0.5), lo, hi);
             },
             "Fine gain, multiplies the coarse gain"};
        break;
    }
    case DppField::PoleZero:
        s = {0,
             250,
             1,
             true,
             true,
             [](int v) { return v == 0 ? std::string("OFF") : Format("%d", v); },
             integer(0, 250),
             "Pole zero adjustment (0 is off)"};
        break;
    case DppField::InputOffset:
        s = {0,
             4000,
             5,
             true,
             true,
             InputOffsetText,
             [](std::string_view t) { return InputOffsetFromVolts(NumberOf(t)); },
             "Input offset in volts (-2.048 to 1.952)"};
        break;
    case DppField::Tec:
        s = {2458,
             4095,
             1,
             true,
             true,
             TecText,
             [](std::string_view t) { return TecFromKelvin(NumberOf(t)); },
             "Detector cooler set point in kelvin"};
        break;
    case DppField::HighVoltage:
        s = {0,
             4000,
             1,
             true,
             true,
             [direct](int v) { return HighVoltageText(v, direct); },
             [direct](std::string_view t) { return HighVoltageFromVolts(NumberOf(t), direct); },
             "Detector high voltage in volts"};
        break;
    case DppField::OutputOffset:
        s = {0,
             125,
             1,
             true,
             true,
             OutputOffsetText,
             OutputOffsetFromText,
             "Offset of the analog output in millivolts"};
        break;
    case DppField::RtdSlow: {
        const bool osprey = IsOspreyClass(type);
        s = {0,
             250,
             1,
             false,
             false,
             [osprey](int v) { return RtdSlowText(v, osprey); },
             integer(0, 250),
             "Rise time discrimination slow threshold"};
        break;
    }
    case DppField::RtdFast: {
        const bool osprey = IsOspreyClass(type);
        s = {4,
             19,
             1,
             false,
             false,
             [osprey](int v) { return RtdFastText(v, osprey); },
             integer(4, 19),
             "Rise time discrimination fast setting"};
        break;
    }
    }
    return s;
}

int LimitFieldValue(const DppFieldSpec& row, int value) {
    return std::clamp(value, row.minimum, row.maximum);
}

int StepFieldValue(const DppFieldSpec& row, int value, int direction) {
    const int64_t next = static_cast<int64_t>(LimitFieldValue(row, value)) +
                         static_cast<int64_t>(direction) * row.step;
    if (next > row.maximum)
        return row.wrap ? row.minimum : row.maximum;
    if (next < row.minimum)
        return row.wrap ? row.maximum : row.minimum;
    return static_cast<int>(next);
}

} // namespace vorna
