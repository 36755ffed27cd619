#include <gtest/gtest.h>

#include "dpp/DppConfigImage.h"
#include "dpp/DppModels.h"
#include "dpp/DppWirePacket.h"

using namespace vorna;

namespace {

// A record with every field away from its default, so a lost field shows.
DppConfigRecord busyRecord() {
    DppConfigRecord r;
    r.Avg = 3;
    r.FlatTop = 11;
    r.DetReset = 6;
    r.SlowChThreshold = 77;
    r.FastChThreshold = 33;
    r.Offset = 100;
    r.DAC_Enable = 1;
    r.DAC = 2;
    r.MCA = 4;
    r.channels = 256;
    r.MCAEnable = 1;
    r.PUREnable = 1;
    r.Rise = 7;
    r.RTDSlow = 200;
    r.CoarseGain = 13;
    r.RTDOn = 1;
    r.RTDFast = 19;
    r.BLR = 0x24;
    r.Gate = 0xC0;
    r.BufferSelect = 0x20;
    r.AcqMode = 1;
    r.MCSTimebase = 9;
    r.TEC = 0xABC;
    r.HVEnabled = 1;
    r.HV = 0x9D8;
    r.SEL8_5V = 1;
    r.PoleZero = 201;
    r.PloverInputOffset = 0x7FF;
    r.PloverFineGain = 7 * 9000;
    r.InvertEn = 1;
    r.IndLED = 1;
    r.AuxOut = 6;
    r.PresetCount = 0x01020304;
    r.Sca = {1, 0x80000000u, 3, 4, 5, 6, 7, 0xFFFFFFFFu};
    r.ScopeTriggerFalling = 1;
    r.ScopeTriggerPosition = 2;
    return r;
}

} // namespace

TEST(DppConfigImage, FieldBitsFromExamples) {
    DppConfigRecord r;
    r.DetReset = 5;
    DppConfigImage image = BuildImage(r, 2, false);
    EXPECT_EQ(image[1], 0xFD);
    EXPECT_EQ(image[2] & 0x80, 0x80);
    EXPECT_EQ(image[8] & 0x0F, 0x04); // bits 2..3 = 01, bit 0 clear
    r.DetReset = 8;
    image = BuildImage(r, 2, false);
    EXPECT_EQ(image[2] & 0x80, 0);
    EXPECT_EQ(image[8] & 0x0F, 0x01);

    r.PUREnable = 1;
    r.Rise = 8;
    r.FlatTop = 3;
    EXPECT_EQ(BuildImage(r, 2, false)[7], 84);
    r.PUREnable = 0;
    EXPECT_EQ(BuildImage(r, 2, false)[7], 0);

    r.PloverFineGain = 8192;
    r.Rise = 3;
    r.ScopeTriggerPosition = 3;
    image = BuildImage(r, 2, false);
    EXPECT_EQ(image[22], 0xAA); // F = 2730
    EXPECT_EQ(image[23], 0x0A | 0xC0);
}

TEST(DppConfigImage, GainEncodingOfEachFamily) {
    DppConfigRecord r;
    r.CoarseGain = 0; // Osprey code 0 is sent as f = 26
    DppConfigImage osprey = BuildImage(r, 4, false);
    EXPECT_EQ(osprey[10] & 0x20, 0);
    EXPECT_EQ(osprey[14], 0x0E);
    r.InvertEn = 1;
    EXPECT_EQ(BuildImage(r, 4, false)[14], 0x8E);

    DppConfigImage plover{};
    plover[10] = 0x20;
    plover[14] = 0x05;
    DppConfigRecord decoded;
    DecodeImage(plover, 2, decoded);
    EXPECT_EQ(decoded.CoarseGain, 9);

    // Every code of every family survives the trip through the image.
    for (int type : {1, 2, 4}) {
        for (int code = 0; code <= HighestGainCode(type); ++code) {
            DppConfigRecord in;
            in.CoarseGain = code;
            DppConfigRecord out;
            DecodeImage(BuildImage(in, type, false), type, out);
            EXPECT_EQ(out.CoarseGain, code) << "type " << type;
        }
    }

    // A Heron emulation is built in the Plover layout but read in the Heron layout.
    DppConfigRecord emul;
    emul.CoarseGain = 2;
    DppConfigImage image = BuildImage(emul, 3, false);
    EXPECT_EQ(image[10] & 0x60, 0x20);
    EXPECT_EQ(image[14] & 0x0F, 0x02);
    DecodeImage(image, 3, emul);
    EXPECT_EQ(emul.CoarseGain, 1);
}

TEST(DppConfigImage, BuildIsRepeatableAndCorrectsRecord) {
    DppConfigRecord r = busyRecord();
    r.AutoBaseline = 1;
    DppConfigImage first = BuildImage(r, 2, false);
    EXPECT_EQ(r.AutoBaseline, 0);
    EXPECT_EQ(first[8] & 0x02, 0);
    EXPECT_EQ(BuildImage(r, 2, false), first);

    // A Rise below 1 is taken as 1 everywhere in the image, the first time already.
    r.Rise = 0;
    DppConfigImage corrected = BuildImage(r, 2, false);
    EXPECT_EQ(r.Rise, 1);
    EXPECT_EQ(corrected[8] >> 4, 1);
    EXPECT_EQ(BuildImage(r, 2, false), corrected);
}

TEST(DppConfigImage, PloverRecordRoundTrip) {
    DppConfigRecord in = busyRecord();
    DppConfigRecord out;
    out.Port = in.Port;
    out.Preset = in.Preset;
    DecodeImage(BuildImage(in, 2, false), 2, out);
    EXPECT_EQ(out, in);

    DppConfigImage image = BuildImage(in, 2, false);
    EXPECT_EQ(image[11], 0x24 + 128);
    EXPECT_EQ(image[12], 0x06 | 0x08 | 0x20 | 0xC0);
    EXPECT_EQ(image[13], 0x01 | 0x06 | 0x08 | 0x10 | 0x20 | 0x40);
    EXPECT_EQ(image[15], 0x09);
    EXPECT_EQ(image[16], 0xD8);
    EXPECT_EQ(image[28], 9 | 0x20 | 0x80);
    EXPECT_EQ(image[35], 0x00);
    EXPECT_EQ(image[39], 0x80);
}

TEST(DppConfigImage, HeronLeavesPloverBytesAlone) {
    DppConfigRecord r = busyRecord();
    r.CoarseGain = 2;
    DppConfigImage image;
    image.fill(0xAA);
    BuildImage(r, 1, false, image);
    for (size_t i : {0, 13, 14, 15, 16, 17, 18, 19, 20, 21, 29, 30, 31})
        EXPECT_EQ(image[i], 0xAA) << "byte " << i;
    EXPECT_EQ(image[10] & 0x60, 2 << 5);
    r.CoarseGain = 4; // not a Heron code: no gain bits
    EXPECT_EQ(BuildImage(r, 1, false)[10] & 0x60, 0);

    // The Heron firmware that takes its high voltage from the image.
    image.fill(0xAA);
    BuildImage(r, 1, true, image);
    EXPECT_EQ(image[15], 0x09);
    EXPECT_EQ(image[16], 0xD8);
    EXPECT_EQ(image[17], 0xAA);
}

TEST(DppWirePacket, PackAndUnpack) {
    DppConfigImage image;
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i + 1);
    DppWirePacket wire = PackWirePacket(image, 0xFF123456);
    EXPECT_EQ(wire[0], 3);   // image byte 2
    EXPECT_EQ(wire[10], 13); // image byte 12
    EXPECT_EQ(wire[11], 0x56);
    EXPECT_EQ(wire[12], 0x34);
    EXPECT_EQ(wire[13], 0x12);
    EXPECT_EQ(wire[14], 14); // image byte 13
    EXPECT_EQ(wire[29], 29); // image byte 28
    EXPECT_EQ(wire[30], 0);
    EXPECT_EQ(wire[31], 0);
    EXPECT_EQ(wire[32], 33);
    EXPECT_EQ(wire[63], 64);

    DppConfigImage back;
    back.fill(0xEE);
    EXPECT_EQ(UnpackWirePacket(wire, back), 0x123456u);
    EXPECT_EQ(back[0], 0);
    EXPECT_EQ(back[1], 0xFD);
    for (size_t i = 2; i <= 28; ++i)
        EXPECT_EQ(back[i], image[i]);
    for (size_t i : {29, 30, 31})
        EXPECT_EQ(back[i], 0xEE); // never on the wire
    for (size_t i = 32; i < 64; ++i)
        EXPECT_EQ(back[i], image[i]);
}
