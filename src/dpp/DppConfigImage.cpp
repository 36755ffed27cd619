#include "dpp/DppConfigImage.h"

#include <algorithm>
#include <cmath>

#include "dpp/DppModels.h"

namespace vorna {
namespace {

uint8_t low8(int64_t v) {
    return static_cast<uint8_t>(v & 0xFF);
}

void putTwelveBits(DppConfigImage& image, size_t at, int32_t value) {
    image[at] = static_cast<uint8_t>((value >> 8) & 0x0F);
    image[at + 1] = low8(value);
}

void putLe32(DppConfigImage& image, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t le32(const DppConfigImage& image, size_t at) {
    return static_cast<uint32_t>(image[at]) | static_cast<uint32_t>(image[at + 1]) << 8 |
           static_cast<uint32_t>(image[at + 2]) << 16 | static_cast<uint32_t>(image[at + 3]) << 24;
}

int twelveBits(const DppConfigImage& image, size_t at) {
    return (image[at] & 0x0F) * 256 + image[at + 1];
}

constexpr int kOspreyEncoding[16] = {26, 27, 0, 1, 2, 4, 5, 6, 7, 8, 9, 11, 12, 14, 15, 17};
constexpr int kOspreyDecoding[18] = {2, 3, 4, 4, 5, 6, 7, 8, 9, 10, 10, 11, 12, 12, 13, 14, 14, 15};

// Plover-layout gain: byte 14 bits 0..1 carry f & 3; byte 10 bit 5 and byte 14 bits 2..3 carry
// the range of f in groups of four.
struct GainBits {
    bool byte10Bit5;
    uint8_t byte14Range; // already shifted to bits 2..3
};

GainBits gainBitsFor(int f) {
    if (f <= 3)
        return {true, 0x0};
    if (f <= 7)
        return {false, 0x0};
    if (f <= 11)
        return {true, 0x4};
    if (f <= 15)
        return {false, 0x4};
    if (f <= 19)
        return {false, 0x8};
    if (f <= 23)
        return {true, 0xC};
    return {false, 0xC};
}

} // namespace

int OspreyGainEncoding(int code) {
    if (code < 0)
        return 26;
    if (code >= 16)
        return 17;
    return kOspreyEncoding[code];
}

int OspreyGainCodeFromEncoding(int f) {
    f = std::clamp(f, 0, 27);
    if (f == 26)
        return 0;
    if (f == 27)
        return 1;
    if (f >= 17)
        return 15;
    return kOspreyDecoding[f];
}

void BuildImage(DppConfigRecord& r, int deviceType, bool directHighVoltage, DppConfigImage& image) {
    // Rise is a divisor of the fine gain and sits in byte 8 and byte 7; correct it before any of
    // them so the image is consistent and building twice gives the same bytes.
    if (r.Rise < 1)
        r.Rise = 1;
    const int64_t rise = r.Rise;
    const int64_t flatTop = r.FlatTop;

    image[1] = 0xFD;
    image[2] = static_cast<uint8_t>(((static_cast<int64_t>(r.Avg) - 1) & 7) | (flatTop & 15) << 3 |
                                    ((r.DetReset >= 4 && r.DetReset <= 7) ? 0x80 : 0));
    image[3] = r.SlowChThreshold;
    image[4] = r.FastChThreshold;
    image[5] = static_cast<uint8_t>((r.DAC_Enable & 1) | (r.Offset & 0x7F) << 1);
    image[6] = static_cast<uint8_t>((r.DAC & 3) | (r.MCA & 7) << 2 | (r.MCAEnable & 1) << 5);
    image[7] = r.PUREnable == 1 ? low8((rise * 19 + flatTop * 4 + 4) / 2) : 0;
    uint8_t b8 = 0;
    if (r.DetReset == 8)
        b8 |= 0x01;
    else if (r.DetReset < 8)
        b8 |= static_cast<uint8_t>((r.DetReset & 3) << 2);
    b8 |= static_cast<uint8_t>((rise & 15) << 4);
    image[8] = b8; // bit 1 (automatic baseline) is never sent
    image[9] = r.RTDSlow;
    image[10] = static_cast<uint8_t>(((r.RTDFast - 4) & 15) | (r.RTDOn & 1) << 4);
    image[11] = static_cast<uint8_t>(r.BLR + 128);
    image[12] = static_cast<uint8_t>((r.AuxOut & 7) | (r.ScopeTriggerFalling & 1) << 3 |
                                     (r.BufferSelect & 0x30) | (r.Gate & 0xC0));

    if (deviceType < 2) {
        if (directHighVoltage)
            putTwelveBits(image, 15, r.HV);
        if (r.CoarseGain >= 0 && r.CoarseGain <= 3)
            image[10] = static_cast<uint8_t>(image[10] + (r.CoarseGain << 5));
    } else {
        image[13] = static_cast<uint8_t>((r.TECEnabled & 1) | 0x02 | 0x04 | (r.PwrCtrl9V & 1) << 3 |
                                         (r.SEL8_5V & 1) << 4 | (r.HVEnabled & 1) << 5 |
                                         (r.IndLED & 1) << 6 | (r.IndBuzzer & 1) << 7);
        int f = deviceType == 4 ? OspreyGainEncoding(r.CoarseGain) : r.CoarseGain;
        GainBits bits = gainBitsFor(f);
        if (bits.byte10Bit5)
            image[10] |= 0x20;
        image[14] = static_cast<uint8_t>((f & 3) | bits.byte14Range | (r.InvertEn & 1) << 7);
        putTwelveBits(image, 15, r.HV);
        putTwelveBits(image, 17, r.TEC);
        putTwelveBits(image, 19, r.PloverInputOffset);
        image[21] = low8(r.PoleZero);
    }

    // The device multiplies the fine gain by Rise again; the small bias keeps exact quotients
    // from falling one short.
    double fq = static_cast<double>(r.PloverFineGain) / static_cast<double>(rise) + 0.00005;
    int64_t f = static_cast<int64_t>(std::trunc(fq));
    image[22] = low8(f);
    image[23] = static_cast<uint8_t>(((f >> 8) & 0x3F) | (r.ScopeTriggerPosition & 3) << 6);

    putLe32(image, 24, r.PresetCount);
    image[28] =
        static_cast<uint8_t>((r.MCSTimebase & 15) | (r.MCSEnable & 1) << 5 | (r.AcqMode & 1) << 7);
    for (size_t k = 0; k < r.Sca.size(); ++k)
        putLe32(image, 32 + 4 * k, r.Sca[k]);

    r.AutoBaseline = 0;
}

DppConfigImage BuildImage(DppConfigRecord& record, int deviceType, bool directHighVoltage) {
    DppConfigImage image{};
    BuildImage(record, deviceType, directHighVoltage, image);
    return image;
}

void DecodeImage(const DppConfigImage& I, int deviceType, DppConfigRecord& r) {
    r.Avg = (I[2] & 7) + 1;
    r.FlatTop = (I[2] >> 3) & 15;
    r.SlowChThreshold = I[3];
    r.FastChThreshold = I[4];
    r.Offset = I[5] >> 1;
    r.DAC_Enable = I[5] & 1;
    r.DAC = I[6] & 3;
    r.MCA = (I[6] >> 2) & 7;
    r.channels = ChannelsFromCode(r.MCA);
    r.MCAEnable = (I[6] >> 5) & 1;
    // Byte 7 only tells whether pile-up rejection is on; byte 8 holds Rise itself.
    r.PUREnable = I[7] != 0 ? 1 : 0;
    r.Rise = I[8] >> 4;
    r.DetReset = (I[8] & 1) ? 8 : static_cast<uint8_t>(((I[2] >> 7) & 1) * 4 + ((I[8] >> 2) & 3));
    r.AutoBaseline = I[8] & 2;
    r.RTDSlow = I[9];
    r.RTDFast = static_cast<uint8_t>((I[10] & 15) + 4);
    r.RTDOn = (I[10] >> 4) & 1;
    r.BLR = I[11] & 0x7F;
    r.Gate = I[12] & 0xC0;
    r.BufferSelect = I[12] & 0x30;
    r.AuxOut = I[12] & 7;
    r.ScopeTriggerFalling = (I[12] >> 3) & 1;
    r.TECEnabled = 1;
    r.PwrCtrl5VA = 1;
    r.FINCH = 1;
    r.PwrCtrl9V = 1;
    r.SEL8_5V = (I[13] >> 4) & 1;
    r.HVEnabled = (I[13] >> 5) & 1;
    r.IndLED = (I[13] >> 6) & 1;
    r.IndBuzzer = I[13] >> 7;

    // The Heron emulation is built in the Plover layout but read back in the Heron layout;
    // the device echoes what it understood, so this asymmetry is how it reports its gain.
    if (deviceType == 2 || deviceType == 4) {
        int b = (I[10] & 0x20) ? 0 : 4;
        int c = I[14] & 3;
        int e = (I[14] & 12) * 2;
        int f = e + b + c - ((I[14] & 8) ? 4 : 0);
        r.CoarseGain = deviceType == 4 ? OspreyGainCodeFromEncoding(f) : f;
    } else {
        r.CoarseGain = (I[10] >> 5) & 3;
    }

    r.InvertEn = I[14] >> 7;
    r.HV = twelveBits(I, 15);
    r.TEC = twelveBits(I, 17);
    r.PloverInputOffset = twelveBits(I, 19);
    r.PoleZero = I[21];
    if (r.Rise < 1)
        r.Rise = 1;
    r.PloverFineGain = I[22] * r.Rise + (I[23] & 0x3F) * 256 * r.Rise;
    r.ScopeTriggerPosition = I[23] >> 6;
    r.PresetCount = le32(I, 24);
    r.MCSTimebase = I[28] & 15;
    r.AcqMode = static_cast<uint8_t>(I[28] >> 7);
    r.MCSEnable = 1;
    for (size_t k = 0; k < r.Sca.size(); ++k)
        r.Sca[k] = le32(I, 32 + 4 * k);
}

} // namespace vorna
