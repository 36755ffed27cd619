#include <gtest/gtest.h>

#include "common/NumberText.h"
#include "common/Text.h"

using namespace vorna;

TEST(CText, FormatsIgnoreTheProcessLocale) {
    EXPECT_EQ(Format("%lf", 1.5), "1.500000");
    EXPECT_EQ(Format("%lg %lg", 100.25, 6.4), "100.25 6.4");
    EXPECT_EQ(Format("%1.2f", 1234.567), "1234.57");
    std::string long_text = Format("%s", std::string(1000, 'x').c_str());
    EXPECT_EQ(long_text.size(), 1000u);
}

TEST(CText, ScanIntFollowsPercentI) {
    EXPECT_EQ(ScanInt("  42"), 42);
    EXPECT_EQ(ScanInt("-7 rest"), -7);
    EXPECT_EQ(ScanInt("0x1A"), 26);
    EXPECT_EQ(ScanInt("010"), 8);
    EXPECT_EQ(ScanInt("09"), 0); // octal stops at 9
    EXPECT_FALSE(ScanInt("abc").has_value());
    EXPECT_FALSE(ScanInt("").has_value());
    int a = 0, b = 0;
    EXPECT_EQ(ScanTwoInts("10 20", a, b), 2);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 20);
    EXPECT_EQ(ScanTwoInts("10", a, b), 1);
}

TEST(CText, ScanDoubleIsLocaleFree) {
    EXPECT_EQ(ScanDouble("1.5"), 1.5);
    EXPECT_EQ(ScanDouble(" 2.6\r"), 2.6);
    EXPECT_FALSE(ScanDouble("x").has_value());
    double x = 0, y = 0;
    EXPECT_EQ(ScanTwoDoubles("100.5 6.4", x, y), 2);
    EXPECT_EQ(x, 100.5);
    EXPECT_EQ(y, 6.4);
    EXPECT_EQ(ScanTwoDoubles("7", x, y), 1);
}

TEST(TextCodec, Windows1252ToUtf8) {
    EXPECT_EQ(Cp1252ToUtf8("abc"), "abc");
    EXPECT_EQ(Cp1252ToUtf8("\xB0"
                           "C"),
              "\xC2\xB0"
              "C");
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}
