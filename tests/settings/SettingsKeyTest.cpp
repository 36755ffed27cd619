#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/SettingsKey.h"

using namespace vorna;
using vorna::test::TempDir;

TEST(SettingsKey, FromTheTestUnitFile) {
    TempDir dir;
    TestUnitInfo none = ReadTestUnit(dir.path());
    EXPECT_FALSE(none.filePresent);
    EXPECT_EQ(ChooseSettingsKey(dir.path()), "Quorix");

    test::writeFile(dir.file("VORNATST.INI"), "[QuorixTestUnit]\r\n"
                                              "UnitNumber=7\r\n"
                                              "TestDeviceType=Plover\r\n"
                                              "TestDeviceSerialNumber=123456\r\n");
    TestUnitInfo unit = ReadTestUnit(dir.path());
    EXPECT_TRUE(unit.filePresent);
    EXPECT_EQ(unit.unitNumber, "7");
    EXPECT_EQ(unit.testDeviceType, "Plover");
    EXPECT_EQ(unit.testDeviceSerialNumber, "123456");
    EXPECT_EQ(ChooseSettingsKey(dir.path()), "Quorix_7");

    // Present but empty: the ordinary key.
    test::writeFile(dir.file("VORNATST.INI"), "[QuorixTestUnit]\r\nUnitNumber=\r\n");
    EXPECT_TRUE(ReadTestUnit(dir.path()).filePresent);
    EXPECT_EQ(ChooseSettingsKey(dir.path()), "Quorix");
}

TEST(SettingsKey, FileNameCaseAndHostileUnitNumbers) {
    TempDir dir;
    // Copied from a system where names ignore case, the file keeps working.
    test::writeFile(dir.file("VornaTst.ini"), "[quorixtestunit]\nunitnumber = A12 \n");
    EXPECT_EQ(ChooseSettingsKey(dir.path()), "Quorix_A12");

    test::writeFile(dir.file("VornaTst.ini"), "[QuorixTestUnit]\nUnitNumber=../../etc\n");
    EXPECT_EQ(ChooseSettingsKey(dir.path()), "Quorix_.._.._etc");

    test::writeFile(dir.file("VornaTst.ini"),
                    "[QuorixTestUnit]\nUnitNumber=" + std::string(300, '9') + "\n");
    EXPECT_EQ(ChooseSettingsKey(dir.path()), "Quorix_" + std::string(255, '9'));

    EXPECT_EQ(ChooseSettingsKey(dir.file("no-such-folder")), "Quorix");
}
