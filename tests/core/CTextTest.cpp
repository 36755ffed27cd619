#include <gtest/gtest.h>

#include "common/CText.h"
#include "common/TextCodec.h"

using namespace vorna;

TEST(CText, FormatsIgnoreTheProcessLocale) {
    EXPECT_EQ(cFormat("%lf", 1.5), "1.500000");
    EXPECT_EQ(cFormat("%lg %lg", 100.25, 6.4), "100.25 6.4");
    EXPECT_EQ(cFormat("%1.2f", 1234.567), "1234.57");
    std::string long_text = cFormat("%s", std::string(1000, 'x').c_str());
    EXPECT_EQ(long_text.size(), 1000u);
}

TEST(CText, ScanIntFollowsPercentI) {
    EXPECT_EQ(scanInt("  42"), 42);
    EXPECT_EQ(scanInt("-7 rest"), -7);
    EXPECT_EQ(scanInt("0x1A"), 26);
    EXPECT_EQ(scanInt("010"), 8);
    EXPECT_EQ(scanInt("09"), 0); // octal stops at 9
    EXPECT_FALSE(scanInt("abc").has_value());
    EXPECT_FALSE(scanInt("").has_value());
    int a = 0, b = 0;
    EXPECT_EQ(scanTwoInts("10 20", a, b), 2);
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 20);
    EXPECT_EQ(scanTwoInts("10", a, b), 1);
}

TEST(CText, ScanDoubleIsLocaleFree) {
    EXPECT_EQ(scanDouble("1.5"), 1.5);
    EXPECT_EQ(scanDouble(" 2.6\r"), 2.6);
    EXPECT_FALSE(scanDouble("x").has_value());
    double x = 0, y = 0;
    EXPECT_EQ(scanTwoDoubles("100.5 6.4", x, y), 2);
    EXPECT_EQ(x, 100.5);
    EXPECT_EQ(y, 6.4);
    EXPECT_EQ(scanTwoDoubles("7", x, y), 1);
}

TEST(TextCodec, Windows1252ToUtf8) {
    EXPECT_EQ(cp1252ToUtf8("abc"), "abc");
    EXPECT_EQ(cp1252ToUtf8("\xB0"
                           "C"),
              "\xC2\xB0"
              "C");
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}
