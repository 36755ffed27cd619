#include <filesystem>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/Text.h"
#include "settings/CSProfile.h"
#include "settings/SavedUserProfile.h"
#include "settings/SettingsIniReader.h"

using namespace vorna;

namespace {

std::string text(const MemoryProfileStore& s, const char* section, const char* key) {
    return s.ReadText(section, key).value_or("<missing>");
}

} // namespace

TEST(SettingsIniReader, ReadsWhatQSettingsWrites) {
    // Lines as QSettings 6 lays them out for the values the profile stores.
    auto s = ParseSettingsIni("[Config]\n"
                              "Profile=Lab 2\n"
                              "\n"
                              "[Lab%202]\n"
                              "a=\xC2\xB5\xE2\x82\xAC \xC3\xA9\n"
                              "b=\" lead trail \"\n"
                              "c=\"a,b;c=d\"\n"
                              "d=@@at\n"
                              "e=back\\\\slash \\\"q\\\" tab\\there\\x1\\x31x\n"
                              "f=-5\n"
                              "g=\n"
                              "h=\\\\\n"
                              "newline=a\\nb\\r\\nc\n"
                              "nul=@String(\\0\\x37)\n"
                              "\n"
                              "[%General]\n"
                              "x=1\n"
                              "\n"
                              "[Spa%20ce]\n"
                              "%25per=3\n"
                              "\n"
                              "[a]\n"
                              "b\\c\\key=3\n");
    EXPECT_EQ(text(s, "Config", "Profile"), "Lab 2");
    EXPECT_EQ(text(s, "Lab 2", "a"), "\xB5\x80 \xE9"); // back to Windows-1252
    EXPECT_EQ(text(s, "Lab 2", "b"), " lead trail ");
    EXPECT_EQ(text(s, "Lab 2", "c"), "a,b;c=d");
    EXPECT_EQ(text(s, "Lab 2", "d"), "@at");
    EXPECT_EQ(text(s, "Lab 2", "e"), "back\\slash \"q\" tab\there\x01"
                                     "1x");
    EXPECT_EQ(s.ReadInt("Lab 2", "f"), -5);
    EXPECT_EQ(text(s, "Lab 2", "g"), "");
    EXPECT_EQ(s.ReadInt("Lab 2", "g"), std::nullopt);
    EXPECT_EQ(text(s, "Lab 2", "h"), "\\");
    EXPECT_EQ(text(s, "Lab 2", "newline"), "a\nb\r\nc");
    EXPECT_EQ(text(s, "Lab 2", "nul"), std::string("\0"
                                                   "7",
                                                   2));
    EXPECT_EQ(text(s, "General", "x"), "1");
    EXPECT_EQ(text(s, "Spa ce", "%per"), "3");
    EXPECT_EQ(text(s, "a/b", "c/key"), "3");
}

TEST(SettingsIniReader, HandEditedFiles) {
    auto s = ParseSettingsIni("\xEF\xBB\xBF; written by hand\r\n"
                              "  [ S ]  trailing junk\r\n"
                              "  lead=1\r\n"
                              "\tt = 2 \r\n"
                              "=no key\r\n"
                              "no equals sign\r\n"
                              "semi=x ; comment\r\n"
                              "quoted=\"1;2\";c\r\n"
                              "cont=ab\\\r\ncd\r\n"
                              "list=a , b,c\r\n"
                              "dup=1\r\n"
                              "dup=2\r\n"
                              "oct=\\101\\q\r\n"
                              "bytes=@ByteArray(ab\\xff)\r\n"
                              "inv=@Invalid()\r\n"
                              "at=@Foo\r\n"
                              "[General]\r\n"
                              "top=yes\r\n"
                              "[open\r\n"
                              "k=v\r\n"
                              "[S]\r\n"
                              "late=3");
    EXPECT_EQ(text(s, "S", "lead"), "1");
    EXPECT_EQ(text(s, "S", "t"), "2");
    EXPECT_EQ(text(s, "S", "semi"), "x");
    EXPECT_EQ(text(s, "S", "quoted"), "1;2");
    EXPECT_EQ(text(s, "S", "cont"), "abcd");
    EXPECT_EQ(text(s, "S", "list"), "a,b,c");
    EXPECT_EQ(text(s, "S", "dup"), "2");
    EXPECT_EQ(text(s, "S", "oct"), "A");
    EXPECT_EQ(text(s, "S", "bytes"), "ab\xFF");
    EXPECT_EQ(s.ReadText("S", "inv"), std::nullopt);
    EXPECT_EQ(text(s, "S", "at"), "@Foo");
    EXPECT_EQ(text(s, "", "top"), "yes");
    EXPECT_EQ(text(s, "open", "k"), "v");
    EXPECT_EQ(text(s, "S", "late"), "3");
    EXPECT_EQ(s.Values().size(), 13u);
}

TEST(SettingsIniReader, UserFileAndProfile) {
    test::TempDir home;
    std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
    setenv("HOME", home.path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserSettingsIniPath("Quorix_7"), home.path() + "/.config/Quorix_7/Lumo.ini");
    setenv("XDG_CONFIG_HOME", (home.path() + "/cfg").c_str(), 1);
    std::string path = UserSettingsIniPath("Quorix");
    EXPECT_EQ(path, home.path() + "/cfg/Quorix/Lumo.ini");

    // No file: every default.
    MemoryProfileStore none = ReadUserSettings("Quorix");
    EXPECT_TRUE(none.Values().empty());

    std::filesystem::create_directories(home.path() + "/cfg/Quorix");
    test::writeFile(path, "[Config]\nProfile=Standard\n\n[Standard]\nbackground_channels=3\n"
                          "library_sens=2.5\nplacement_left=1200\n");
    MemoryProfileStore store = ReadUserSettings("Quorix");
    CSProfile p(store, {});
    p.Load();
    EXPECT_EQ(p.backgroundChannels, 3);
    EXPECT_EQ(p.librarySens, 2.5);
    EXPECT_EQ(p.placementLeft, 1200); // no screen: positions as stored

    // The whole chain a batch tool uses: settings key from the program folder, then the file.
    test::TempDir program;
    SavedUserProfile standard(program.path());
    EXPECT_EQ(standard.SettingsKey(), "Quorix");
    EXPECT_EQ(standard.Profile().backgroundChannels, 3);
    test::writeFile(program.file("VORNATST.INI"), "[QuorixTestUnit]\nUnitNumber=3\n");
    std::filesystem::create_directories(home.path() + "/cfg/Quorix_3");
    test::writeFile(home.path() + "/cfg/Quorix_3/Lumo.ini",
                    "[Config]\nProfile=Bench\n[Bench]\nbackground_channels=9\n");
    SavedUserProfile station(program.path());
    EXPECT_EQ(station.SettingsKey(), "Quorix_3");
    EXPECT_EQ(station.Profile().ProfileName(), "Bench");
    EXPECT_EQ(station.Profile().backgroundChannels, 9);
    EXPECT_EQ(station.Profile().librarySens, 10.0);
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", oldHome.c_str(), 1);
}

TEST(Cp1252Text, Conversions) {
    EXPECT_EQ(Utf8ToCp1252("plain"), "plain");
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC\xC5\xA0\xC3\xBF"), "\x80\x8A\xFF");
    EXPECT_EQ(Utf8ToCp1252("\xC2\x81"), "\x81"); // undefined in Windows-1252: kept as is
    EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), "?");    // a C1 control Windows-1252 cannot hold
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD\xF0\x9F\x98\x80"), "??");
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b\xC3"),
              "a?b?");
    EXPECT_EQ(Utf8ToCp1252("\xE0\x80\x80"), "???"); // overlong
}
