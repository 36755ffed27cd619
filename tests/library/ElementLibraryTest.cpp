#include <gtest/gtest.h>

#include "TestSupport.h"
#include "analysis/ElementLibrary.h"

namespace vorna {
namespace {

using test::ScriptedPrompt;
using test::TempDir;
using test::writeFile;

std::vector<std::pair<double, std::string>> linesOf(const ElementLibrary& lib) {
    std::vector<std::pair<double, std::string>> out;
    for (const ElementLine& l : lib.Lines())
        out.emplace_back(l.energy, l.name);
    return out;
}

TEST(ElementLibrary, ReadsLinesInEnergyOrderWithNamesAfterTheComma) {
    using Lines = std::vector<std::pair<double, std::string>>;
    const Lines expected = {{5.90, "Mn Ka"}, {6.40, "Fe Ka"}, {7.06, "Fe Kb"}};
    ElementLibrary lib;
    lib.LoadFromBytes("; K lines of iron and manganese\n6.40, Fe Ka\n5.90,Mn Ka\n7.06 , Fe Kb\n");
    EXPECT_EQ(linesOf(lib), expected);
    // CR LF line ends and a last line without a line end read the same.
    lib.LoadFromBytes("; K lines\r\n6.40, Fe Ka\r\n5.90,Mn Ka\r\n7.06 , Fe Kb");
    EXPECT_EQ(linesOf(lib), expected);

    // Every other line adds one, even an empty one; only a ';' in the first column comments.
    lib.LoadFromBytes("Fe\n\n  8.05,\tCu Ka \n , Zn\n ;not a comment\n1e1 junk, La L\n");
    EXPECT_EQ(
        linesOf(lib),
        (Lines{{0.0, ""}, {0.0, ""}, {0.0, "Zn"}, {0.0, ""}, {8.05, "Cu Ka "}, {10.0, "La L"}}));
    // A "nan" energy reads as no number; it must not break the order.
    lib.LoadFromBytes("nan, X\n2, Y\n1, Z\n");
    EXPECT_EQ(linesOf(lib), (Lines{{0.0, "X"}, {1.0, "Z"}, {2.0, "Y"}}));
}

TEST(ElementLibrary, MatchTakesTheNearestLineWithinTheTolerance) {
    ElementLibrary lib;
    lib.LoadFromBytes("6.40, Fe Ka\n5.90, Mn Ka\n7.06, Fe Kb\n");
    // Tolerance 0.15 × 10 = 1.5: all three lie within it, 6.40 is the nearest.
    EXPECT_EQ(lib.Match(6.41, 0.15, 10.0), 1);
    EXPECT_EQ(lib.Match(7.0, 0.15, 10.0), 2);
    EXPECT_EQ(lib.Match(6.41, 0.15, 0.05), -1);
    EXPECT_EQ(lib.Match(6.41, 0.0, 10.0), -1);

    // A line exactly the tolerance away does not match (binary-exact numbers: T = 1).
    lib.LoadFromBytes("5.0, Low\n7.0, High\n");
    EXPECT_EQ(lib.Match(6.0, 0.25, 4.0), -1);
    EXPECT_EQ(lib.Match(6.0, 0.25, 4.25), 0); // equal distances: the first wins

    // Equal energies: the line earlier in the file wins.
    lib.LoadFromBytes("6.0, First\n3.0, Other\n6.0, Second\n");
    ASSERT_EQ(lib.GetCount(), 3);
    EXPECT_EQ(lib.Line(1).name, "First");
    EXPECT_EQ(lib.Line(2).name, "Second");
    EXPECT_EQ(lib.Match(6.01, 0.1, 1.0), 1);

    EXPECT_EQ(ElementMatchText(lib, true, 6.01, 0.1, 1.0), "First");
    EXPECT_EQ(ElementMatchText(lib, true, 9.0, 0.1, 1.0), "No match");
    EXPECT_EQ(ElementMatchText(lib, false, 6.01, 0.1, 1.0), "None");
    EXPECT_EQ(ElementMatchText(ElementLibrary(), true, 6.01, 0.1, 1.0), "None");
}

TEST(ElementLibrary, WindowListsTheLinesAroundTheCursor) {
    ElementLibrary lib;
    lib.LoadFromBytes("6.40, Fe Ka\n5.90, Mn Ka\n7.06, Fe Kb\n8.0, Ni\n2.0, S\n");
    lib.SetDisplayName("xrf.lib");
    EXPECT_EQ(LibraryWindowTitle(lib), "Library - xrf.lib");
    EXPECT_EQ(lib.LinesAround(6.5, 0.5), (std::vector<int>{2}));
    // Both ends are included.
    EXPECT_EQ(lib.LinesAround(7.0, 1.0), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(lib.LinesAround(3.0, 1.0), (std::vector<int>{0}));
    EXPECT_TRUE(lib.LinesAround(4.0, 0.5).empty());

    auto rows = LibraryWindowRows(lib, 7.0, 1.0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].energy, "6.40");
    EXPECT_EQ(rows[0].element, "Fe Ka");
    EXPECT_EQ(rows[2].energy, "8");
    EXPECT_EQ(rows[2].element, "Ni");
}

TEST(ElementLibrary, AutomaticLoadFollowsTheProfileSettings) {
    TempDir dir;
    writeFile(dir.file("k.lib"), "6.40, Fe Ka\n5.90, Mn Ka\n");
    ElementLibrary lib;
    ScriptedPrompt prompt;

    // Nothing happens, and nothing is said, unless the settings name a real file name.
    for (const LibraryAutoLoadSettings& s :
         {LibraryAutoLoadSettings{false, dir.path() + "/", "k.lib"},
          LibraryAutoLoadSettings{true, dir.path(), ""},
          LibraryAutoLoadSettings{true, dir.path() + "/", "*.lib"}})
        EXPECT_EQ(AutoLoadLibrary(lib, s, &prompt), LibraryLoadResult::NotAttempted);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_FALSE(lib.IsLoaded());

    EXPECT_EQ(AutoLoadLibrary(lib, {true, dir.path() + "/", "missing.lib"}, &prompt),
              LibraryLoadResult::Failed);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], "Invalid Library path or file - " + dir.path() + "/missing.lib.");

    // A folder without its trailing separator still finds the file.
    EXPECT_EQ(AutoLoadLibrary(lib, {true, dir.path(), "k.lib"}, &prompt),
              LibraryLoadResult::Loaded);
    EXPECT_EQ(lib.GetCount(), 2);
    EXPECT_EQ(lib.DisplayName(), "k.lib");
    EXPECT_EQ(prompt.messages.size(), 1u);

    // The profile's Windows defaults name no folder: the file is looked for in the per-user data
    // folder, not as "\k.lib" in the working directory.
    for (const char* unset : {"", "\\"}) {
        lib.Clear();
        EXPECT_EQ(AutoLoadLibrary(lib, {true, unset, "k.lib", dir.path() + "/"}, &prompt),
                  LibraryLoadResult::Loaded);
        EXPECT_EQ(lib.GetCount(), 2);
    }
    EXPECT_EQ(prompt.messages.size(), 1u);
}

TEST(ElementLibrary, ReloadAfterThePreferences) {
    TempDir dir;
    writeFile(dir.file("k.lib"), "6.40, Fe Ka\n");
    ElementLibrary lib;
    ScriptedPrompt prompt;
    LibraryAutoLoadSettings s{true, dir.path(), "k.lib"};
    EXPECT_EQ(ReloadLibraryAfterPreferences(lib, true, false, s, &prompt),
              "Library Load Successful...");
    EXPECT_EQ(lib.GetCount(), 1);
    EXPECT_EQ(ReloadLibraryAfterPreferences(lib, false, false, s, &prompt), "");
    EXPECT_EQ(lib.GetCount(), 1);
    EXPECT_EQ(ReloadLibraryAfterPreferences(lib, false, true, s, &prompt), "");
    EXPECT_FALSE(lib.IsLoaded());
    s.file = "missing.lib";
    EXPECT_EQ(ReloadLibraryAfterPreferences(lib, true, false, s, &prompt),
              "Library Load Failed...");
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Invalid Library path or file - " +
                                                        dir.path() + "/missing.lib."});
}

TEST(ElementLibrary, LoadCommandClearsTheLibraryWhenTheFileCannotBeRead) {
    TempDir dir;
    writeFile(dir.file("a.lib"), "1.0, A\n");
    ElementLibrary lib;
    ScriptedPrompt prompt;
    ASSERT_TRUE(LoadLibraryFile(lib, dir.file("a.lib"), &prompt));
    EXPECT_EQ(lib.DisplayName(), "a.lib");
    EXPECT_EQ(lib.GetCount(), 1);

    EXPECT_FALSE(LoadLibraryFile(lib, dir.file("gone.lib"), &prompt));
    EXPECT_FALSE(lib.IsLoaded());
    ASSERT_EQ(prompt.messages.size(), 1u);
    // The system's reason follows (its wording depends on the system's language).
    const std::string lead = "Can not read the file " + dir.file("gone.lib") + ". ";
    EXPECT_EQ(prompt.messages[0].substr(0, lead.size()), lead);
    EXPECT_GT(prompt.messages[0].size(), lead.size());
}

} // namespace
} // namespace vorna
