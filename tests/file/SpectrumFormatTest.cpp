// The spectrum file's bytes: what the writer produces, what the reader accepts and extracts.

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumEnvironment.h"
#include "spectrum/SpectrumReader.h"
#include "spectrum/SpectrumWriter.h"

using namespace vorna;
using vorna::test::ScriptedPrompt;

namespace {

// A valid file of 256 channels (gain 0) around the given pieces; `data` lines default to "0".
struct FileText {
    std::string header = "<<LUMO SPECTRUM>>\r\nTAG - S1\r\nDESCRIPTION - test\r\n";
    std::string notes;
    std::string gain = "GAIN - 0\r\n";
    std::string threshold = "THRESHOLD - 10\r\n";
    std::string fields = "LIVE_MODE - 0\r\nPRESET_TIME - 0\r\nLIVE_TIME - 1.000000\r\n"
                         "REAL_TIME - 2.000000\r\nSTART_TIME - t\r\nSERIAL_NUMBER - 7\r\n";
    std::string sections;
    int dataLines = 256;
    std::string firstData = "0";
    std::string tail = "<<END>>\r\n";

    std::string str() const {
        std::string s = header + notes + gain + threshold + fields + sections + "<<DATA>>\r\n";
        for (int i = 0; i < dataLines; ++i)
            s += (i == 0 ? firstData : std::string("0")) + "\r\n";
        return s + tail;
    }
};

bool read(const std::string& bytes, CSpectrum& s, UserPrompt* prompt = nullptr, int eq = 1) {
    SpectrumReadOptions o;
    o.prompt = prompt;
    o.calibEquationType = eq;
    return ReadSpectrum(bytes, s, o);
}

std::string write(CSpectrum& s, int deviceType = 0) {
    SpectrumWriteOptions o;
    o.dppDeviceType = deviceType;
    std::string out;
    WriteSpectrum(s, o, out);
    return out;
}

std::string zeros(int from, int to) {
    std::string s;
    for (int i = from; i < to; ++i)
        s += "0\r\n";
    return s;
}

} // namespace

TEST(SpectrumWriter, WritesTheExactLayout) {
    CSpectrum s;
    s.m_strTag = "Fe55";
    s.m_strDescription = "Source run";
    s.m_strGeneralNotes = "a\r\n\r\nb";
    s.m_strSystemNotes = "sys\r\n"; // a trailing line break writes no empty last line
    s.m_nGain = 0;
    s.m_nThreshold = 12;
    s.m_nLiveMode = 1;
    s.m_nPresetTime = 100;
    s.m_dLiveTime = 12.5;
    s.m_dRealTime = 1.0 / 3.0;
    s.SetStartTime("09/12/2025 10:11:12");
    s.m_nSerialNumber = 1234;
    s.m_calibrate.SetLabel("keV");
    s.m_calibrate.AddPoint(100, 5.9);
    s.m_calibrate.AddPoint(200.25, 6.4912345678);
    s.m_roi.Append(10, 20);
    s.m_roi.Append(5, 8);
    s.AllocateData(256);
    s.m_pData[0] = 2.6;
    s.m_pData[1] = -5;
    s.m_pData[2] = 5e9;
    s.m_pData[3] = NAN;
    s.m_pData[4] = 0.49;
    s.m_pData[5] = 4294967294.6;
    s.m_pData[6] = INFINITY;

    const std::string expected = "<<LUMO SPECTRUM>>\r\n"
                                 "TAG - Fe55\r\n"
                                 "DESCRIPTION - Source run\r\n"
                                 "<gen>a\n<gen>\n<gen>b\n"
                                 "<sys>sys\n"
                                 "GAIN - 0\r\n"
                                 "THRESHOLD - 12\r\n"
                                 "LIVE_MODE - 1\r\n"
                                 "PRESET_TIME - 100\r\n"
                                 "LIVE_TIME - 12.500000\r\n"
                                 "REAL_TIME - 0.333333\r\n"
                                 "START_TIME - 09/12/2025 10:11:12\r\n"
                                 "SERIAL_NUMBER - 1234\r\n"
                                 "<<CALIBRATION>>\r\n"
                                 "LABEL - keV\r\n"
                                 "100 5.9\r\n"
                                 "200.25 6.49123\r\n"
                                 "<<ROI>>\r\n"
                                 "10 20\r\n"
                                 "5 8\r\n"
                                 "<<DATA>>\r\n"
                                 "3\r\n0\r\n4294967295\r\n0\r\n0\r\n4294967295\r\n4294967295\r\n" +
                                 zeros(7, 256) + "<<END>>\r\n";
    EXPECT_EQ(write(s), expected);
    // A DPP selection adds the stored blocks; an Osprey also its boot flags.
    s.m_strDppConfig = "Rise: 9.6uS\r\n";
    s.m_strDppStatus = "Device Type: Osprey\r\n";
    s.m_strBootFlags = "FPGA clock: 80MHz\r\n";
    EXPECT_EQ(write(s, 2),
              expected + "<<DPP CONFIGURATION>>\r\nRise: 9.6uS\r\n<<DPP CONFIGURATION END>>\r\n"
                         "<<DPP STATUS>>\r\nDevice Type: Osprey\r\n<<DPP STATUS END>>\r\n");
    EXPECT_EQ(write(s, 4),
              expected + "<<DPP CONFIGURATION>>\r\nRise: 9.6uS\r\n<<DPP CONFIGURATION END>>\r\n"
                         "<<DPP STATUS>>\r\nDevice Type: Osprey\r\n<<DPP STATUS END>>\r\n"
                         "<<OSPREY BOOT FLAGS>>\r\nFPGA clock: 80MHz\r\n"
                         "<<OSPREY BOOT FLAGS END>>\r\n");
}

TEST(SpectrumWriter, LiveSpectrumTakesBlocksAndSerialFromTheDevice) {
    struct Device : DppBlockSource {
        std::string ConfigurationBlock() const override { return "Rise: 1.6uS\r\n"; }
        std::string StatusBlock() const override { return "Device Type: Plover\r\n"; }
        std::string BootFlagsBlock() const override { return "Peak detect: Max only\r\n"; }
        int SerialNumber() const override { return 4711; }
    } device;
    CSpectrum s;
    s.m_nGain = 0;
    s.m_nSerialNumber = 5;
    s.m_strDppStatus = "Device Type: Heron\r\n";
    SpectrumWriteOptions o;
    o.dppDeviceType = 4;
    o.dpp = &device;

    std::string stored;
    WriteSpectrum(s, o, stored);
    EXPECT_NE(stored.find("SERIAL_NUMBER - 5\r\n"), std::string::npos);
    EXPECT_NE(stored.find("<<DPP STATUS>>\r\nDevice Type: Heron\r\n"), std::string::npos);

    o.liveBlocks = true;
    std::string live;
    WriteSpectrum(s, o, live);
    EXPECT_EQ(s.m_nSerialNumber, 4711);
    EXPECT_NE(live.find("SERIAL_NUMBER - 4711\r\n"), std::string::npos);
    EXPECT_NE(live.find("<<END>>\r\n<<DPP CONFIGURATION>>\r\nRise: 1.6uS\r\n<<DPP CONFIGURATION "
                        "END>>\r\n<<DPP STATUS>>\r\nDevice Type: Plover\r\n<<DPP STATUS END>>\r\n"
                        "<<OSPREY BOOT FLAGS>>\r\nPeak detect: Max only\r\n<<OSPREY BOOT FLAGS "
                        "END>>\r\n"),
              std::string::npos);
}

TEST(SpectrumReader, ReadingThenWritingGivesIdenticalBytes) {
    for (int gain = 0; gain <= 6; ++gain) {
        for (int deviceType : {0, 1, 2, 4}) {
            CSpectrum s;
            s.m_strTag = "_T" + std::to_string(gain);
            s.m_strDescription = "gain " + std::to_string(gain) + " \xE9\xB5"; // CP1252 bytes
            s.m_strGeneralNotes = "first\r\n\r\nthird";
            s.m_strOtherNotes = "other";
            s.m_nGain = gain;
            s.m_nThreshold = -3;
            s.m_dLiveTime = 1e7 + 0.1234567;
            s.m_dRealTime = 0.0000004;
            s.SetStartTime("a start time longer than twenty");
            s.m_calibrate.SetLabel("keV");
            s.m_calibrate.AddPoint(1e-7, 123456789);
            s.m_calibrate.AddPoint(-2.5, 1);
            s.m_calibrate.AddPoint(3, 1e300);
            s.m_roi.Append(3, 9);
            s.m_roi.Append(1, 2);
            s.AllocateData(CSpectrum::ChannelsForGain(gain));
            for (size_t i = 0; i < s.m_pData.size(); ++i)
                s.m_pData[i] = static_cast<double>((i * 7919u) % 100000u) * 1.37;
            s.m_strDppConfig = "Device Type: Heron\r\nRise: 1uS\r\n\r\nno colon here\r\n";
            s.m_strDppStatus = "Device Type: Osprey\r\n  Fast_Count :  12 \r\n";
            s.m_strBootFlags = "FPGA clock: 80MHz\r\n";
            const std::string first = write(s, deviceType);

            CSpectrum back;
            ASSERT_TRUE(read(first, back)) << "gain " << gain << " device " << deviceType;
            EXPECT_EQ(write(back, deviceType), first) << "gain " << gain;
            // Values and texts come back as written, not merely the same bytes.
            EXPECT_EQ(back.m_strGeneralNotes, s.m_strGeneralNotes);
            EXPECT_EQ(back.m_szStartTime, "a start time longer ");
            EXPECT_EQ(back.m_pData[1], std::floor(7919 * 1.37 + 0.5));
            if (deviceType > 0) {
                EXPECT_EQ(back.m_strDppStatus, s.m_strDppStatus);
                EXPECT_EQ(back.m_nDppDeviceCode, 4);
            }
        }
    }
}

TEST(SpectrumReader, HeaderRulesAndFailures) {
    FileText base;
    CSpectrum s;
    ASSERT_TRUE(read(base.str(), s));
    EXPECT_EQ(s.m_nThreshold, 10);
    EXPECT_EQ(s.m_nChannels, 256);
    EXPECT_EQ(s.m_nSerialNumber, 7);
    EXPECT_DOUBLE_EQ(s.m_dRealTime, 2.0);

    FileText noThreshold;
    noThreshold.threshold.clear();
    ASSERT_TRUE(read(noThreshold.str(), s));
    EXPECT_EQ(s.m_nThreshold, 99999);

    FileText lfOnly; // LF line endings are read as well as CR LF
    std::string lf;
    for (char c : lfOnly.str())
        if (c != '\r')
            lf += c;
    EXPECT_TRUE(read(lf, s));

    FileText hexGain; // "%i": hexadecimal and octal gain codes
    hexGain.gain = "GAIN - 0x1\r\n";
    hexGain.dataLines = 512;
    ASSERT_TRUE(read(hexGain.str(), s));
    EXPECT_EQ(s.m_nGain, 1);
    EXPECT_EQ(s.m_nChannels, 512);

    FileText badFields; // values that do not convert leave the field as it was
    badFields.fields = "LIVE_MODE - x\r\nPRESET_TIME - 0\r\nLIVE_TIME - ?\r\n"
                       "REAL_TIME - 2.5\r\nSTART_TIME - \r\nSERIAL_NUMBER - none\r\n";
    CSpectrum fresh;
    ASSERT_TRUE(read(badFields.str(), fresh));
    EXPECT_EQ(fresh.m_nLiveMode, 0);
    EXPECT_EQ(fresh.m_dLiveTime, 0.0);
    EXPECT_EQ(fresh.m_nSerialNumber, 0);

    auto fails = [](const std::string& bytes) {
        CSpectrum t;
        bool ok = read(bytes, t);
        EXPECT_FALSE(t.HasData()); // a failed read keeps no channel data
        return !ok;
    };
    FileText blankLine;
    blankLine.notes = "\r\n";
    EXPECT_TRUE(fails(blankLine.str())) << "blank line between DESCRIPTION and GAIN";
    FileText wrongOrder;
    wrongOrder.notes = "<sys>s\n<gen>g\n";
    EXPECT_TRUE(fails(wrongOrder.str())) << "<sys> before <gen>";
    FileText gain7;
    gain7.gain = "GAIN - 7\r\n";
    EXPECT_TRUE(fails(gain7.str()));
    FileText gainText;
    gainText.gain = "GAIN - two\r\n";
    EXPECT_TRUE(fails(gainText.str()));
    FileText shortData;
    shortData.dataLines = 255;
    shortData.tail.clear();
    EXPECT_TRUE(fails(shortData.str())) << "GAIN 0 needs 256 data lines";
    FileText sectionInData;
    sectionInData.dataLines = 255;
    EXPECT_TRUE(fails(sectionInData.str())) << "<<END>> before the last channel";
    FileText missingField;
    missingField.fields = "LIVE_MODE - 0\r\nLIVE_TIME - 1\r\n";
    EXPECT_TRUE(fails(missingField.str()));
    FileText calibrationEof;
    calibrationEof.sections = "<<CALIBRATION>>\r\nLABEL - keV\r\n1 2\r\n";
    std::string cut = calibrationEof.str();
    EXPECT_TRUE(fails(cut.substr(0, cut.find("<<DATA>>"))));
    EXPECT_TRUE(fails(""));
    EXPECT_TRUE(fails("<<LUMO SPECTRUM>>\r\n"));
    EXPECT_TRUE(fails("<<LUMO SPECTRUM>> \r\nTAG - S1\r\n"));
    std::string upToSerial = base.str().substr(0, base.str().find("<<DATA>>"));
    EXPECT_TRUE(fails(upToSerial)) << "the file ends after SERIAL_NUMBER";

    for (const char* tag : {"1abc", "a-b", "", "a b"}) {
        FileText badTag;
        badTag.header = std::string("<<LUMO SPECTRUM>>\r\nTAG - ") + tag + "\r\nDESCRIPTION - \r\n";
        ScriptedPrompt prompt;
        CSpectrum t;
        EXPECT_FALSE(read(badTag.str(), t, &prompt)) << tag;
        ASSERT_EQ(prompt.messages.size(), 1u) << tag;
        EXPECT_EQ(prompt.messages[0], "Invalid Tag!");
    }
}

TEST(SpectrumReader, NotesKeepTheirOrderAndLines) {
    FileText f;
    f.notes = "<gen>a\n<gen>\n<gen>b\n<sys>\n<sys>s2\n<not>n1\r\n<not>n2\n";
    CSpectrum s;
    ASSERT_TRUE(read(f.str(), s));
    EXPECT_EQ(s.m_strGeneralNotes, "a\r\n\r\nb");
    EXPECT_EQ(s.m_strSystemNotes, "s2") << "an empty first notes line is dropped";
    EXPECT_EQ(s.m_strOtherNotes, "n1\r\nn2");
    const std::string out = write(s);
    EXPECT_NE(out.find("DESCRIPTION - test\r\n<gen>a\n<gen>\n<gen>b\n<sys>s2\n<not>n1\n<not>n2\n"
                       "GAIN - 0\r\n"),
              std::string::npos);

    // A lone CR or LF in a notes text still starts a new prefixed line.
    s.m_strGeneralNotes = "x\ry\nz";
    EXPECT_NE(write(s).find("<gen>x\n<gen>y\n<gen>z\n<sys>"), std::string::npos);

    // Empty lines before the first or after the last line would be dropped by the next read,
    // so a saved file would not save again to the same bytes; they are not written.
    s.m_strGeneralNotes = "\r\r\n\rkept\r\n\r\nalso\r\n\r\n";
    const std::string first = write(s);
    EXPECT_NE(first.find("DESCRIPTION - test\r\n<gen>kept\n<gen>\n<gen>also\n<sys>"),
              std::string::npos);
    CSpectrum back;
    ASSERT_TRUE(read(first, back, nullptr, 0));
    EXPECT_EQ(write(back), first);
}

TEST(SpectrumReader, DataCalibrationAndRois) {
    FileText f;
    f.firstData = "2.6";
    f.sections = "<<CALIBRATION>>\r\nLABEL - keV\r\n100 1.0\r\nnot a point\r\n\r\n300\r\n"
                 "nan 5\r\n200 2.0\r\n"
                 "<<ROI>>\r\n50 60\r\n10 20\r\n200 255\r\n200 256\r\n-1 5\r\n30 30\r\n40 35\r\n"
                 "junk\r\n";
    CSpectrum s;
    ASSERT_TRUE(read(f.str(), s, nullptr, 0));
    EXPECT_DOUBLE_EQ(s.m_pData[0], 2.6);
    EXPECT_DOUBLE_EQ(s.m_dTotalCounts, 2.6);
    EXPECT_NE(write(s).find("<<DATA>>\r\n3\r\n"), std::string::npos) << "2.6 is stored as 3";

    // Lines without two finite numbers add no point; the two points fit linearly.
    ASSERT_EQ(s.m_calibrate.GetCount(), 2);
    EXPECT_EQ(s.m_calibrate.Label(), "keV");
    EXPECT_TRUE(s.m_calibrate.IsCalibrated());
    EXPECT_NEAR(s.m_calibrate.B(), 0.01, 1e-12);

    // File order is kept; ROIs reaching channel N, negative or without width are skipped.
    ASSERT_EQ(s.m_roi.GetCount(), 3);
    EXPECT_EQ(s.m_roi[0].start, 50);
    EXPECT_EQ(s.m_roi[1].start, 10);
    EXPECT_EQ(s.m_roi[2].end, 255);

    // Channel values: blanks, signs, exponents, trailing text; nothing that is not decimal.
    EXPECT_EQ(ParseChannelValue("  42"), 42.0);
    EXPECT_EQ(ParseChannelValue("+1.5e2"), 150.0);
    EXPECT_EQ(ParseChannelValue("-5"), -5.0);
    EXPECT_EQ(ParseChannelValue(".25x"), 0.25);
    EXPECT_EQ(ParseChannelValue("12abc"), 12.0);
    EXPECT_EQ(ParseChannelValue("123456789012345678901"), 123456789012345678901.0);
    EXPECT_EQ(ParseChannelValue("1e999"), HUGE_VAL);
    EXPECT_EQ(ParseChannelValue(""), 0.0);
    EXPECT_EQ(ParseChannelValue("inf"), 0.0);
    EXPECT_EQ(ParseChannelValue("nan"), 0.0);
    EXPECT_EQ(ParseChannelValue("+-5"), 0.0);
    EXPECT_EQ(ParseChannelValue("0x10"), 0.0);
}

TEST(SpectrumReader, DppBlocks) {
    FileText endOnly;
    CSpectrum s;
    s.m_nDppDeviceCode = 3;
    s.m_strDppStatus = "stale";
    ASSERT_TRUE(read(endOnly.str(), s)) << "a file ending right after <<END>>";
    EXPECT_EQ(s.m_nDppDeviceCode, 0);
    EXPECT_TRUE(s.m_strDppStatus.empty());

    FileText f;
    f.tail = "<<END>>\r\n"
             "  <<DPP CONFIGURATION>>\t\r\n"
             "Device Type: Heron\r\n"
             "Rise: 9.6uS\r\n"
             "Fast Threshold : 12.5 \r\n"
             "Coarse_Gain: 20x\r\n"
             "Top: 0.8uS\r\n"
             "<<DPP CONFIGURATION END>>\r\n"
             "<<DPP STATUS>>\r\n"
             "DEVICE TYPE: plover\r\n"
             "Serial Number: 12345\r\n"
             "Dead Time: 1.5%\r\n"
             "HV_Volt: -110V\r\n"
             "<<DPP STATUS END>>\r\n"
             "<<OSPREY BOOT FLAGS>>\r\n"
             "FPGA clock: 80mhz\r\n"
             "MCA channel: Slow channel (normal operation)\r\n"
             "<<OSPREY BOOT FLAGS END>>\r\n";
    ASSERT_TRUE(read(f.str(), s));
    EXPECT_EQ(s.m_nDppDeviceCode, 2) << "lower-case plover";
    EXPECT_EQ(s.DppValueText(DppValue::DeviceType), "plover");
    EXPECT_EQ(s.DppValueText(DppValue::Rise), "9.6uS");
    EXPECT_EQ(s.DppValueText(DppValue::FastThreshold), "12.5");
    EXPECT_EQ(s.DppValueText(DppValue::CoarseGain), "20x");
    EXPECT_EQ(s.DppValueText(DppValue::SerialNumber), "12345");
    EXPECT_EQ(s.DppValueText(DppValue::HvVolt), "-110V");
    EXPECT_EQ(s.DppValueText(DppValue::FpgaClock), "80mhz");
    EXPECT_EQ(s.DppValueText(DppValue::McaChannel), "Slow channel (normal operation)");
    EXPECT_EQ(s.m_bClock80MHz, 1);
    EXPECT_EQ(s.m_strDppConfig, "Device Type: Heron\r\nRise: 9.6uS\r\nFast Threshold : 12.5 \r\n"
                                "Coarse_Gain: 20x\r\nTop: 0.8uS\r\n");

    const struct {
        const char* type;
        int code;
    } codes[] = {{"Heron", 1}, {"HERONEMUL", 3}, {"osprey", 4}, {"PloverEmul", 4}, {"Skua", 2}};
    for (const auto& c : codes) {
        FileText t;
        t.tail = std::string("<<END>>\r\n<<DPP CONFIGURATION>>\r\n<<DPP CONFIGURATION END>>\r\n"
                             "<<DPP STATUS>>\r\nDevice Type: ") +
                 c.type + "\r\n<<DPP STATUS END>>\r\n";
        ASSERT_TRUE(read(t.str(), s));
        EXPECT_EQ(s.m_nDppDeviceCode, c.code) << c.type;
    }
    FileText configOnly;
    configOnly.tail = "<<END>>\r\n<<DPP CONFIGURATION>>\r\nDevice Type: heron\r\n<";
    ASSERT_TRUE(read(configOnly.str(), s));
    EXPECT_EQ(s.m_nDppDeviceCode, 1);

    // A missing marker is looked for no further: the status block is expected on the next line.
    FileText skipped;
    skipped.tail = "<<END>>\r\nsomething\r\n<<DPP STATUS>>\r\nDevice Type: Osprey\r\n<\r\n";
    ASSERT_TRUE(read(skipped.str(), s));
    EXPECT_EQ(s.m_nDppDeviceCode, 4);
    EXPECT_TRUE(s.m_strDppConfig.empty());

    FileText statusEof;
    statusEof.tail = "<<END>>\r\n<<DPP CONFIGURATION>>\r\n<\r\n<<DPP STATUS>>\r\nFPGA: 1\r\n";
    EXPECT_FALSE(read(statusEof.str(), s));
    FileText bootEof;
    bootEof.tail = "<<END>>\r\n<<DPP CONFIGURATION>>\r\n<\r\n<<DPP STATUS>>\r\n<\r\n"
                   "<<OSPREY BOOT FLAGS>>\r\nFPGA clock: 80MHz\r\n";
    ASSERT_TRUE(read(bootEof.str(), s)) << "an unfinished boot flags block still loads";
    EXPECT_TRUE(s.m_strBootFlags.empty());
}
