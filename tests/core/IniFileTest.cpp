#include <gtest/gtest.h>

#include "common/IniFile.h"

using namespace vorna;

TEST(IniFile, PrivateProfileLookups) {
    auto ini = IniFile::Parse("; test station\r\n"
                              "[QuorixTestUnit]\r\n"
                              "  UnitNumber = 7 \r\n"
                              "Empty=\r\n"
                              "garbage line\r\n"
                              "[Detectors]\n"
                              "Demo=demo.cfg\n"
                              "Other=\"x.cfg\"\n"
                              "demo=shadowed.cfg\n");
    EXPECT_EQ(ini.GetString("quorixtestunit", "unitnumber"), "7");
    EXPECT_EQ(ini.GetString("QuorixTestUnit", "Empty", "dflt"), "");
    EXPECT_EQ(ini.GetString("QuorixTestUnit", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.GetInt("QuorixTestUnit", "UnitNumber", -1), 7);
    EXPECT_EQ(ini.GetInt("QuorixTestUnit", "Missing", -1), -1);
    EXPECT_EQ(ini.GetString("Detectors", "Demo"), "demo.cfg");
    EXPECT_EQ(ini.GetString("Detectors", "Other"), "x.cfg");
    EXPECT_EQ(ini.Keys("Detectors"), (std::vector<std::string>{"Demo", "Other", "demo"}));
    EXPECT_EQ(ini.Sections().size(), 2u);
    EXPECT_TRUE(ini.Keys("Nope").empty());
    EXPECT_FALSE(IniFile::Load("/nonexistent/VORNATST.INI").has_value());
}
