#include <gtest/gtest.h>

#include <cmath>

#include "external/CompanionGate.h"
#include "external/FpMessages.h"
#include "external/FpText.h"

using namespace vorna;

using Fields = std::vector<std::string>;

TEST(CompanionText, ListFieldsDropBlanksReadSemicolonsAndKeepEmptyFields) {
    EXPECT_EQ(SplitListFields("10; 20 ;-5"), (Fields{"10", "20", "-5"}));
    EXPECT_EQ(SplitListFields("a,,b"), (Fields{"a", "", "b"}));
    EXPECT_EQ(SplitListFields("1,"), (Fields{"1", ""}));
    EXPECT_EQ(SplitListFields("my run.mca; tag"), (Fields{"myrun.mca", "tag"}));
    EXPECT_TRUE(SplitListFields("").empty());
    EXPECT_TRUE(SplitListFields(" \t ").empty());
}

TEST(CompanionText, FieldNumbersReadLikeTheCLibraryAndNeverOverflow) {
    EXPECT_EQ(FieldInteger("12abc"), 12);
    EXPECT_EQ(FieldInteger("-5"), -5);
    EXPECT_EQ(FieldInteger("+7"), 7);
    EXPECT_EQ(FieldInteger("3.9"), 3);
    EXPECT_EQ(FieldInteger(""), 0);
    EXPECT_EQ(FieldInteger("x1"), 0);
    EXPECT_EQ(FieldInteger("99999999999999999999999"), std::numeric_limits<long long>::max());
    EXPECT_DOUBLE_EQ(FieldNumber("5.9keV"), 5.9);
    EXPECT_DOUBLE_EQ(FieldNumber(""), 0.0);
}

TEST(CompanionText, CalibrationRequestsParseOrAreRefusedWhole) {
    auto r = ParseCalibrationRequest("2:keV:1:100,5.9;200,11.8;");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->count, 2);
    EXPECT_EQ(r->label, "keV");
    EXPECT_EQ(r->group, 1);
    ASSERT_EQ(r->points.size(), 2u);
    EXPECT_DOUBLE_EQ(r->points[1].channel, 200);
    EXPECT_DOUBLE_EQ(r->points[1].energy, 11.8);

    // A missing number reads as 0; an entry without its ";" is missing.
    r = ParseCalibrationRequest("1:eV:0:,7;");
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->points[0].channel, 0.0);
    ASSERT_TRUE(ParseCalibrationRequest("0:keV:1:"));
    EXPECT_TRUE(ParseCalibrationRequest("0:keV:1:")->points.empty());
    ASSERT_TRUE(ParseCalibrationRequest("1::1:1,2;"));
    EXPECT_TRUE(ParseCalibrationRequest("1::1:1,2;")->label.empty());

    EXPECT_FALSE(ParseCalibrationRequest(""));
    EXPECT_FALSE(ParseCalibrationRequest("2:keV:1"));                   // header cut short
    EXPECT_FALSE(ParseCalibrationRequest("3:keV:1:100,5.9;200,11.8;")); // fewer entries
    EXPECT_FALSE(ParseCalibrationRequest("1:keV:1:nan,5.9;"));
    EXPECT_FALSE(ParseCalibrationRequest("1:keV:1:100,inf;"));
    // A huge count with a short text is refused without building its points.
    EXPECT_FALSE(ParseCalibrationRequest("2000000000:keV:1:1,1;"));
}

TEST(CompanionText, SaveRequestsTakeOneToThreeFieldsWithDefaults) {
    auto r = ParseSaveRequest("run1");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "run1");
    EXPECT_EQ(r->tag, "UnknownTag");
    EXPECT_EQ(r->description, "No Description");
    r = ParseSaveRequest("run1,,");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->tag, "UnknownTag");
    EXPECT_EQ(r->description, "");
    r = ParseSaveRequest(",t;d");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, "");
    EXPECT_EQ(r->tag, "t");
    EXPECT_FALSE(ParseSaveRequest(""));
    EXPECT_FALSE(ParseSaveRequest("a,b,c,d"));
}

TEST(CompanionText, FileNamesFollowTheSpectraFolder) {
    EXPECT_EQ(SpectrumPathForName("run1", "/data/"), "/data/run1.mca");
    EXPECT_EQ(SpectrumPathForName("/other/run1.mcs", "/data/"), "/other/run1.mcs");
    EXPECT_EQ(FolderOfPath("/other/run1.mcs"), "/other/");
    EXPECT_EQ(FolderOfPath("run1"), "");
    EXPECT_EQ(DotsFileName("fe55.mca", "/data/"), "/data/fe55_1.mca");
    EXPECT_EQ(DotsFileName("/a.b/fe55", "/data/"), "/a.b/fe55_1");
    EXPECT_EQ(CleanCompanionText("ABCDEFGHIJKLMNOP", 12), "ABCDEFGHIJKL");
    EXPECT_EQ(CleanCompanionText("a\r\nb", -1), "a  b");
}

TEST(CompanionText, CountsAnswerAsWholeNumbersEvenPastTheIntRange) {
    EXPECT_EQ(JoinCounts({10, 20.7, 0}, 4096), "10,20,0");
    EXPECT_EQ(CountText(4294967295.0), "4294967295");
    EXPECT_EQ(JoinCounts(std::vector<double>(5000, 1.0), 4096).size(), 4096u * 2 - 1);
    EXPECT_EQ(GText(1e-7), "1e-07");
}

TEST(CompanionText, CommandTablesTellDataCommandsAndAnsweringCodes) {
    for (uint32_t c : {1u, 2u, 3u, 4u, 5u, 9u, 10u, 11u, 13u, 19u, 29u, 30u, 31u, 32u})
        EXPECT_TRUE(IsListedDataCode(c)) << c;
    for (uint32_t c : {0u, 6u, 12u, 33u, 100u})
        EXPECT_FALSE(IsListedDataCode(c)) << c;
    EXPECT_TRUE(DataCodeAnswersFailure(32));
    EXPECT_FALSE(DataCodeAnswersFailure(13));
    for (int c : {1, 2, 3, 5, 12, 14, 18, 19, 21, 23, 99})
        EXPECT_TRUE(CommandNeedsS1(c)) << c;
    for (int c : {0, -1, 20, 22, 24, 25, 26, 27, 28, 33})
        EXPECT_FALSE(CommandNeedsS1(c)) << c;
}

TEST(CompanionGate, OnlyTheSameUserWithAModestTextGetsThrough) {
    EXPECT_TRUE(CompanionCallerAllowed(1000u, 1000u));
    EXPECT_FALSE(CompanionCallerAllowed(1001u, 1000u));
    EXPECT_FALSE(CompanionCallerAllowed(0u, 1000u)); // not even root
    EXPECT_FALSE(CompanionCallerAllowed(std::nullopt, 1000u));
    EXPECT_TRUE(CompanionTextAllowed(kMaxCompanionText));
    EXPECT_FALSE(CompanionTextAllowed(kMaxCompanionText + 1));
}
