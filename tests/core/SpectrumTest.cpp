#include <gtest/gtest.h>

#include "spectrum/CSpectrum.h"

using namespace vorna;

TEST(CSpectrum, SlotDefaultsByListSize) {
    SpectrumSlotDefaults slots;
    CSpectrum live(slots, 0);
    EXPECT_EQ(live.m_strTag, "live_data");
    EXPECT_EQ(live.m_nLineWidth, 1);
    EXPECT_EQ(live.m_crColor, MakeRgb(0, 0, 0));
    EXPECT_EQ(live.m_strFileName, "live_data.mca");
    EXPECT_EQ(live.m_nGain, 2);
    EXPECT_EQ(live.m_bPrintNotes, 1);

    CSpectrum s1(slots, 1);
    EXPECT_EQ(s1.m_strTag, "S1");
    EXPECT_EQ(s1.m_crColor, MakeRgb(0, 128, 0));

    CSpectrum eleventh(slots, 10);
    EXPECT_EQ(eleventh.m_strTag, "S");
    EXPECT_EQ(eleventh.m_nLineWidth, 2);
    EXPECT_EQ(eleventh.m_crColor, MakeRgb(0, 128, 128));

    slots.SetSlot(1, {3, 0x123456, "Sample"});
    CSpectrum over(slots, 1);
    EXPECT_EQ(over.m_strTag, "Sample");
    EXPECT_EQ(over.m_nLineWidth, 3);
}

TEST(CSpectrum, AbsoluteChannelsAndSnapping) {
    CSpectrum s;
    s.m_nGain = 4; // 4096 channels: absolute = c << 2
    EXPECT_EQ(s.ToAbsoluteChannel(100), 400);
    EXPECT_EQ(s.FromAbsoluteChannel(403), 100);
    EXPECT_EQ(s.SnapToChannel(402.5), 100);
    EXPECT_EQ(s.SnapToChannel(403.6), 101);
}

TEST(CSpectrum, LastValidChannelDependsOnDeviceAndSource) {
    CSpectrum s;
    s.m_nChannels = 4096;
    EXPECT_EQ(s.LastValidChannel(0, 1), 3967);
    EXPECT_EQ(s.LastValidChannel(1, 0), 4095); // live spectrum of a DPP
    EXPECT_EQ(s.LastValidChannel(1, 1), 3967); // a file without DPP blocks
    s.m_nDppDeviceCode = 2;
    EXPECT_EQ(s.LastValidChannel(2, 1), 4095);
}

TEST(CSpectrum, EnergyConversionsClamp) {
    CSpectrum s;
    s.m_nChannels = 1024;
    s.m_calibrate.AddPoint(0, 0.0);
    s.m_calibrate.AddPoint(1000, 10.0);
    ASSERT_EQ(s.m_calibrate.Fit(0), 1);
    EXPECT_EQ(s.ChannelToEnergy(-3, true), s.ChannelToEnergy(0, true));
    EXPECT_EQ(s.ChannelToEnergy(1024, true), s.ChannelToEnergy(1023, true));
    EXPECT_EQ(s.EnergyToChannel(5.0, true), 500);
    EXPECT_EQ(s.EnergyToChannel(-1.0, true), 0);
    EXPECT_EQ(s.EnergyToChannel(100.0, true), 1023);
    EXPECT_EQ(s.EnergyToChannel(5.0, false), 5);
}

TEST(CSpectrum, CopiesAndMcsResult) {
    CSpectrum a, b;
    a.m_nChannels = 256;
    a.AllocateData(256);
    a.m_pData[3] = 7;
    a.m_strDescription = "desc";
    a.m_roi.AddSorted(1, 5);
    b.m_nChannels = 512;
    b.AllocateData(512);
    b.CopyFrom(a, false, true); // different counts: no channel copied
    EXPECT_EQ(b.m_pData[3], 0);
    b.CopyFrom(a, true, false);
    EXPECT_EQ(b.m_strDescription, "desc");
    EXPECT_EQ(b.m_roi.GetCount(), 1);
    EXPECT_EQ(b.m_nChannels, 256);

    CSpectrum mcs;
    a.m_strFileName = "run.mca";
    ASSERT_EQ(CSpectrum::MakeMcsResultCopy(&a, &mcs, "/data/spectra"), 1);
    EXPECT_EQ(mcs.m_strFileName, "/data/spectra/Untitled_MCS.mcs");
    EXPECT_EQ(mcs.m_strTag, "Untitled_MCS");
    EXPECT_EQ(mcs.m_strDescription, "MCS Spectrum");
    EXPECT_TRUE(mcs.m_roi.IsEmpty());
    a.m_strFileName = "/runs/x/run.mca";
    CSpectrum::MakeMcsResultCopy(&a, &mcs, "/data/spectra/");
    EXPECT_EQ(mcs.m_strFileName, "/runs/x/Untitled_MCS.mcs");
    EXPECT_EQ(CSpectrum::MakeMcsResultCopy(nullptr, &mcs, ""), 0);
}
