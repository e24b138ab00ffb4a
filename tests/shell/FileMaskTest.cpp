#include <gtest/gtest.h>

#include <string>

#include "shell/FileMask.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;

struct TMaskCase {
    const char* name;
    const char* mask;
    bool matches;
};

TEST(MatchesMask, FollowsTheRulesOfFileLists) {
    const TMaskCase cases[] = {
        // The filters of the file list against names as stations write them.
        {"QL12524.185", "ql??????.???", true},
        {"ql_L1031.137", "ql??????.???", true},
        {"ql12524.1850", "ql??????.???", false},
        {"ql1252412.185", "ql??????.???", false},
        {"ql12524", "ql??????.???", false},
        {"XL11324.137", "xl?????.???", true},
        {"ul11324.137", "ul?????.???", true},
        {"ul11324.137", "xl?????.???", false},
        {"LAMP1031.137", "lamp????.???", true},
        {"lamp1031.137", "ql??????.???", false},
        {"ql12524.185", "ql??????.*", true},
        {"ql12524.185", "ql??????.137", false},
        // "All": QL, UL and XL files, not QS files.
        {"ql_L1031.137", "?l*.*", true},
        {"UL11324.137", "?l*.*", true},
        {"xl11324.137", "?l*.*", true},
        {"lamp1031.137", "?l*.*", false},
        // A "?" that is followed by a literal must take exactly one character.
        {"ab", "a?b", false},
        {"axb", "a?b", true},
        {"axyb", "a?b", false},
        {"ab", "a??", true},
        {"a", "a??", true},
        {"abcd", "a??", false},
        // Stars: empty runs, several stars, a star at either end.
        {"", "*", true},
        {"", "", true},
        {"a", "", false},
        {"abc", "a*c", true},
        {"ac", "a*c", true},
        {"abcb", "a*c", false},
        {"x.y.z", "*.z", true},
        {"name.txt", "*", true},
        {"name.txt", "*.*", true},
        // ".*" at the end also takes a name without any extension, but not a wrong stem.
        {"readme", "*.*", true},
        {"ql12524", "ql*.*", true},
        {"ul12524", "ql*.*", false},
        {"readme", "*.txt", false},
        // Letters match in either case; other characters only themselves.
        {"Lamp1031.IRR", "LAMP????.irr", true},
        {"lamp1031_irr", "lamp????.irr", false},
    };
    for (const TMaskCase& c : cases) {
        EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches)
            << "name \"" << c.name << "\", mask \"" << c.mask << "\"";
    }
}

// A backtracking matcher would take longer than the age of the universe here; the test's time
// limit catches one.
TEST(MatchesMask, DecidesManyStarsThatAlmostMatch) {
    const std::string name(2000, 'a');
    std::string mask;
    for (int i = 0; i < 200; ++i)
        mask += "*a";
    mask += "b";
    EXPECT_FALSE(MatchesMask(name, mask));
    EXPECT_TRUE(MatchesMask(name + "b", mask));
}

TEST(ChangeMaskExtension, ReplacesEverythingAfterTheFirstDot) {
    EXPECT_EQ(ChangeMaskExtension("ql??????.???", "*"), "ql??????.*");
    EXPECT_EQ(ChangeMaskExtension("?l*.*", "185"), "?l*.185");
    EXPECT_EQ(ChangeMaskExtension("a.b.c", "185"), "a.185");
    EXPECT_EQ(ChangeMaskExtension("lamp", "185"), "185");
    EXPECT_EQ(ChangeMaskExtension("ql.", ""), "ql.");
}

TEST(ListMatchingFiles, ListsMatchingFilesSortedWithoutRegardToCase) {
    test::TTempDir dir;
    for (const char* name : {"ql12524.185", "QL11111.185", "ql_L1031.137", "Ql00001.185",
                             "lamp1031.137", "ql12524.1850", "QL22222.185"}) {
        test::WriteFile(dir / name, "x");
    }
    // Folders and broken links are not files, whatever their names; a link to a file is.
    fs::create_directory(dir / "ql99999.185");
    std::vector<std::string> expected{"Ql00001.185", "QL11111.185", "ql12524.185", "QL22222.185",
                                      "ql_L1031.137"};
#ifndef _WIN32
    // (Links on Windows need a privilege that station PCs do not give.)
    fs::create_symlink("missing", dir / "ql88888.185");
    fs::create_symlink("ql12524.185", dir / "ql77777.185");
    expected.insert(expected.end() - 1, "ql77777.185");
#endif

    EXPECT_EQ(ListMatchingFiles(dir.Path(), "ql??????.???"), expected);
    EXPECT_EQ(ListMatchingFiles(dir.Path(), "ql??????.137"),
              (std::vector<std::string>{"ql_L1031.137"}));
    EXPECT_EQ(ListMatchingFiles(dir.Path(), "xl?????.???"), std::vector<std::string>{});
    EXPECT_EQ(ListMatchingFiles(dir / "missing", "*"), std::vector<std::string>{});
    EXPECT_EQ(ListMatchingFiles(dir / "lamp1031.137", "*"), std::vector<std::string>{});
}

#ifndef _WIN32
// Only where the file system tells such names apart.
TEST(ListMatchingFiles, PutsNamesThatDifferOnlyInCaseInByteOrder) {
    test::TTempDir dir;
    for (const char* name : {"b.txt", "a.txt", "A.txt", "B.txt"})
        test::WriteFile(dir / name, "");
    EXPECT_EQ(ListMatchingFiles(dir.Path(), "*.txt"),
              (std::vector<std::string>{"A.txt", "a.txt", "B.txt", "b.txt"}));
}
#endif

}  // namespace
}  // namespace uvlamp
