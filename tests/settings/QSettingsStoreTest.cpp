// The QSettings backend, checked against the reader that batch tools use without Qt.
#include <climits>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "ProfileTestSupport.h"
#include "TestSupport.h"
#include "platform/QSettingsProfileStore.h"
#include "settings/SettingsIniReader.h"

using namespace vorna;

namespace {

// QSettings settles the user's configuration folder on first use, so the private home must be
// in place before any test runs; the user's real settings are never touched.
struct PrivateHome {
    test::TempDir dir;
    PrivateHome() {
        setenv("HOME", dir.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir.path() + "/xdg").c_str(), 1);
    }
};
PrivateHome& privateHome() {
    static PrivateHome home;
    return home;
}
const PrivateHome& kHomeAtStart = privateHome();

constexpr ScreenSize kScreen{1920, 1080};

// Texts that need quoting or escaping in the file, as Windows-1252 bytes.
const std::vector<std::string> kAwkwardTexts = {
    "",
    "\\",
    " lead and trail ",
    "a,b;c=d",
    "@at",
    "@@",
    "quote \" and back\\slash",
    "tab\there\x01"
    "1",
    "line\r\nbreak",
    "\xB5m \x80 \xE9t\xE9 \x9F",
    std::string("nul\0"
                "7",
                5),
    "C:\\Data\\Spectra\\",
    "[section]",
    "; not a comment",
    "%20 %U0041",
};

} // namespace

TEST(QSettingsStore, LivesInTheUsersConfigFolder) {
    QSettingsProfileStore store("Quorix_7");
    EXPECT_EQ(store.FileName(), privateHome().dir.path() + "/xdg/Quorix_7/Lumo.ini");
    EXPECT_EQ(store.FileName(), UserSettingsIniPath("Quorix_7"));
    store.WriteInt("Config", "probe", 1);
    EXPECT_TRUE(store.Flush());
    EXPECT_TRUE(std::filesystem::exists(store.FileName()));
}

TEST(QSettingsStore, ProfileSavedWithQtReadsBackWithAndWithoutQt) {
    for (std::string name : {"Standard", "General", "Lab 2 \xFC", "Night/Shift"}) {
        test::TempDir dir;
        std::string file = dir.file("Lumo.ini");
        ProfileValues saved;
        {
            QSettingsProfileStore store(QSettingsProfileStore::AtPath{file});
            CSProfile p(store, kScreen);
            test::changeEveryValue(p);
            p.acquireMode = 0;
            for (size_t k = 0; k < kAwkwardTexts.size(); ++k)
                p.slots[k % 10].tag = kAwkwardTexts[k];
            p.spectraDirectory = kAwkwardTexts[9];
            p.libraryDirectory = kAwkwardTexts[10];
            p.repeatMeasFilename = kAwkwardTexts[11];
            p.SetProfileName(name);
            ASSERT_TRUE(p.Save());
            saved = p;
        }

        QSettingsProfileStore again(QSettingsProfileStore::AtPath{file});
        CSProfile withQt(again, kScreen);
        withQt.Load();
        EXPECT_EQ(withQt.ProfileName(), name);
        test::expectSameValues(withQt, saved);

        auto plain = LoadSettingsIni(file);
        ASSERT_TRUE(plain.has_value());
        CSProfile withoutQt(*plain, kScreen);
        withoutQt.Load();
        EXPECT_EQ(withoutQt.ProfileName(), name);
        test::expectSameValues(withoutQt, saved);
    }
}

TEST(QSettingsStore, AwkwardTextsAndIntegers) {
    test::TempDir dir;
    std::string file = dir.file("Lumo.ini");
    {
        QSettingsProfileStore store(QSettingsProfileStore::AtPath{file});
        for (size_t k = 0; k < kAwkwardTexts.size(); ++k)
            store.WriteText("S", "t" + std::to_string(k), kAwkwardTexts[k]);
        store.WriteInt("S", "min", INT_MIN);
        store.WriteInt("S", "max", INT_MAX);
        store.WriteText("S", "ten", "10");
        // Before the file is read back, the values are still Qt's own.
        EXPECT_EQ(store.ReadText("S", "max"), "2147483647");
        EXPECT_EQ(store.ReadInt("S", "ten"), 10);
        ASSERT_TRUE(store.Flush());
    }
    QSettingsProfileStore qt(QSettingsProfileStore::AtPath{file});
    MemoryProfileStore plain = *LoadSettingsIni(file);
    for (size_t k = 0; k < kAwkwardTexts.size(); ++k) {
        std::string key = "t" + std::to_string(k);
        EXPECT_EQ(qt.ReadText("S", key), kAwkwardTexts[k]) << k;
        EXPECT_EQ(plain.ReadText("S", key), kAwkwardTexts[k]) << k;
    }
    for (ProfileStore* s : std::initializer_list<ProfileStore*>{&qt, &plain}) {
        EXPECT_EQ(s->ReadInt("S", "min"), INT_MIN);
        EXPECT_EQ(s->ReadInt("S", "max"), INT_MAX);
        EXPECT_EQ(s->ReadInt("S", "ten"), 10);
        EXPECT_EQ(s->ReadInt("S", "t2"), std::nullopt);
        EXPECT_EQ(s->ReadInt("S", "missing"), std::nullopt);
        EXPECT_EQ(s->ReadText("S", "missing"), std::nullopt);
    }
}

TEST(QSettingsStore, BothReadersAgreeOnHandEditedFiles) {
    test::TempDir dir;
    std::string file = dir.file("Lumo.ini");
    test::writeFile(file, "\xEF\xBB\xBF; by hand\r\n"
                          "  [ S ]  junk\r\n"
                          "  lead=1\r\n"
                          "\tt = 2 \r\n"
                          "sp=\" 12 \"\r\n"
                          "plus=+12\r\n"
                          "hex=0x10\r\n"
                          "big=99999999999\r\n"
                          "trail=12abc\r\n"
                          "semi=x ; comment\r\n"
                          "quoted=\"1;2\";c\r\n"
                          "mixed=\"a\"b\"c\" d\r\n"
                          "cont=ab\\\r\ncd\r\n"
                          "list=a , b,c\r\n"
                          "qlist=\" a \", b\r\n"
                          "dup=1\r\n"
                          "dup=2\r\n"
                          "esc=\\x41\\101\\q\\u1\r\n"
                          "escspace=a\\t  \r\n"
                          "utf=\xC3\xA9t\xC3\xA9\r\n"
                          "bytes=@ByteArray(ab\\xff)\r\n"
                          "str=@String(zz)\r\n"
                          "inv=@Invalid()\r\n"
                          "at=@Foo\r\n"
                          "at2=@@x\r\n"
                          "[%General]\r\n"
                          "k=g\r\n"
                          "[General]\r\n"
                          "k=top\r\n"
                          "bad line\r\n"
                          "[W\r\n"
                          "w=1\r\n"
                          "[S]\r\n"
                          "late=\"unterminated  \r\n");
    QSettingsProfileStore qt(QSettingsProfileStore::AtPath{file});
    MemoryProfileStore plain = *LoadSettingsIni(file);
    const std::pair<const char*, const char*> keys[] = {
        {"S", "lead"},     {"S", "t"},       {"S", "sp"},      {"S", "plus"},   {"S", "hex"},
        {"S", "big"},      {"S", "trail"},   {"S", "semi"},    {"S", "quoted"}, {"S", "mixed"},
        {"S", "cont"},     {"S", "list"},    {"S", "qlist"},   {"S", "dup"},    {"S", "esc"},
        {"S", "escspace"}, {"S", "utf"},     {"S", "bytes"},   {"S", "str"},    {"S", "inv"},
        {"S", "at"},       {"S", "at2"},     {"General", "k"}, {"", "k"},       {"W", "w"},
        {"S", "late"},     {"S", "missing"},
    };
    for (auto [section, key] : keys) {
        EXPECT_EQ(qt.ReadText(section, key), plain.ReadText(section, key)) << section << "/" << key;
        EXPECT_EQ(qt.ReadInt(section, key), plain.ReadInt(section, key)) << section << "/" << key;
    }
    EXPECT_EQ(plain.ReadInt("S", "sp"), 12);
    EXPECT_EQ(plain.ReadInt("S", "big"), std::nullopt);
}

TEST(QSettingsStore, EmptyFileGivesDefaultsAndRefusedWritesAreNoCrash) {
    test::TempDir dir;
    test::writeFile(dir.file("Lumo.ini"), "");
    QSettingsProfileStore store(QSettingsProfileStore::AtPath{dir.file("Lumo.ini")});
    CSProfile p(store, kScreen);
    p.Load();
    CSProfile defaults(store, kScreen);
    test::expectSameValues(p, defaults);

    // A file below a plain file can never be written; the program carries on regardless.
    test::writeFile(dir.file("plain"), "x");
    QSettingsProfileStore broken(QSettingsProfileStore::AtPath{dir.file("plain/Lumo.ini")});
    CSProfile q(broken, kScreen);
    q.Load();
    q.gainIndex = 6;
    EXPECT_FALSE(q.Save());
    EXPECT_EQ(q.gainIndex, 6);
}
