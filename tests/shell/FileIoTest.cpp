#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "shell/FileIo.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
int FilesIn(const fs::path& dir) {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), {}));
}
#endif

TEST(ReplaceFileText, WritesNewAndReplacesExistingFilesWholeThroughLinks) {
    test::TTempDir dir;
    EXPECT_TRUE(ReplaceFileText(dir / "a.txt", "one\n"));
    EXPECT_EQ(test::ReadFile(dir / "a.txt"), test::NativeText("one\n"));
    EXPECT_TRUE(ReplaceFileText(dir / "a.txt", "two\n\nthree\n"));
    EXPECT_EQ(test::ReadFile(dir / "a.txt"), test::NativeText("two\n\nthree\n"));
#ifndef _WIN32
    fs::create_symlink("a.txt", dir / "link.txt");
    EXPECT_TRUE(ReplaceFileText(dir / "link.txt", "three\n"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(test::ReadText(dir / "a.txt"), "three\n");
    EXPECT_EQ(FilesIn(dir.Path()), 2);
#endif
}

#ifdef _WIN32
TEST(ReplaceFileText, RefusesAFileAnotherProgramHoldsOpenAndLeavesItAsItWas) {
    test::TTempDir dir;
    test::WriteFile(dir / "held.txt", "kept\n");
    {
        test::TFailingWrites held(dir, test::TWriteTrouble::LockedFiles);
        EXPECT_FALSE(ReplaceFileText(dir / "held.txt", "new\n"));
        EXPECT_FALSE(ReplaceFileText(dir / "held.txt", "new\n", true));
        EXPECT_EQ(ReplaceFilesText({{dir / "a.txt", "a\n"}, {dir / "held.txt", "b\n"}}),
                  dir / "held.txt");
    }
    EXPECT_EQ(test::Snapshot(dir.Path()), (test::TFolderSnapshot{{"held.txt", "kept\n"}}));
}

TEST(ReplaceFileText, RefusesAReadOnlyFileAFolderAndADevice) {
    test::TTempDir dir;
    test::WriteFile(dir / "readonly.txt", "kept\n");
    fs::create_directory(dir / "folder");
    fs::permissions(dir / "readonly.txt", fs::perms::owner_read | fs::perms::others_read);
    EXPECT_FALSE(ReplaceFileText(dir / "readonly.txt", "new\n"));
    EXPECT_FALSE(ReplaceFileText(dir / "readonly.txt", "new\n", true));
    EXPECT_FALSE(ReplaceFileText(dir / "folder", "new\n"));
    EXPECT_FALSE(ReplaceFileText("NUL", "new\n", true));
    EXPECT_EQ(ReplaceFilesText({{dir / "a.txt", "a\n"}, {dir / "readonly.txt", "b\n"}}),
              dir / "readonly.txt");
    fs::permissions(dir / "readonly.txt", fs::perms::all);
    EXPECT_EQ(test::Snapshot(dir.Path()),
              (test::TFolderSnapshot{{"folder", "<not a file>"}, {"readonly.txt", "kept\n"}}));
}
#else
TEST(ReplaceFileText, RefusesWhatItMayNotWriteAndLeavesItAsItWas) {
    test::TTempDir dir;
    test::WriteFile(dir / "readonly.txt", "kept\n");
    test::WriteFile(dir / "writable.txt", "kept too\n");
    fs::create_directory(dir / "folder");
    fs::permissions(dir / "readonly.txt", fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(dir / "writable.txt", fs::perms::all);
    {
        test::TOrdinaryUser user(dir);
        EXPECT_FALSE(ReplaceFileText(dir / "readonly.txt", "new\n"));
        EXPECT_FALSE(ReplaceFileText(dir / "folder", "new\n"));
        fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        // A folder that takes no new file: only the explicit fallback writes in place.
        EXPECT_FALSE(ReplaceFileText(dir / "writable.txt", "new\n"));
        EXPECT_EQ(test::ReadText(dir / "writable.txt"), "kept too\n");
        EXPECT_TRUE(ReplaceFileText(dir / "writable.txt", "new\n", true));
        EXPECT_FALSE(ReplaceFileText(dir / "fresh.txt", "new\n", true));
        fs::permissions(dir.Path(), fs::perms::owner_all);
    }
    EXPECT_EQ(test::ReadText(dir / "readonly.txt"), "kept\n");
    EXPECT_EQ(test::ReadText(dir / "writable.txt"), "new\n");
    EXPECT_EQ(FilesIn(dir.Path()), 3);
}
#endif

#ifndef _WIN32
TEST(ReplaceFileText, NeverOpensAPipeOrDeviceToWrite) {
    // A pipe without a reader would hold the program forever; a device is not a file to replace.
    test::TTempDir dir;
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    EXPECT_FALSE(ReplaceFileText(dir / "pipe", "new\n"));
    EXPECT_FALSE(ReplaceFileText(dir / "pipe", "new\n", true));
    EXPECT_EQ(ReplaceFilesText({{dir / "a.txt", "a\n"}, {dir / "pipe", "b\n"}}), dir / "pipe");
    EXPECT_FALSE(ReplaceFileText("/dev/full", "new\n", true));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_TRUE(test::FileNames(dir.Path()).empty());  // no temporary file left
}
#endif

TEST(ResolveNameNoCase, FindsAFileWrittenInAnotherCase) {
    test::TTempDir dir;
    test::WriteFile(dir / "LAMP1007.IRR", "x");
    EXPECT_TRUE(fs::equivalent(ResolveNameNoCase(dir / "lamp1007.irr"), dir / "LAMP1007.IRR"));
    EXPECT_TRUE(fs::equivalent(ResolveNameNoCase(dir / "Lamp1007.Irr"), dir / "LAMP1007.IRR"));
    EXPECT_EQ(ResolveNameNoCase(dir / "lamp1009.irr"), dir / "lamp1009.irr");
    EXPECT_EQ(ResolveNameNoCase(dir / "nofolder" / "a.irr"), dir / "nofolder" / "a.irr");
}

#ifndef _WIN32
// Where the file system tells names apart by case: the name as written, and among names that
// differ only in case the asked one, or else the first in byte order.
TEST(ResolveNameNoCase, NamesTheFileAsWritten) {
    test::TTempDir dir;
    test::WriteFile(dir / "LAMP1007.IRR", "x");
    test::WriteFile(dir / "lamp1008.irr", "x");
    test::WriteFile(dir / "Lamp1008.irr", "x");
    EXPECT_EQ(ResolveNameNoCase(dir / "lamp1007.irr"), dir / "LAMP1007.IRR");
    EXPECT_EQ(ResolveNameNoCase(dir / "lamp1008.irr"), dir / "lamp1008.irr");
    EXPECT_EQ(ResolveNameNoCase(dir / "LAMP1008.IRR"), dir / "Lamp1008.irr");
}
#endif

TEST(SafeFileNamePart, KeepsNamesInsideTheirFolder) {
    const std::pair<const char*, const char*> cases[] = {
        {"1007", "1007"},         {"L1007.a", "L1007.a"}, {"../../etc", "______etc"},
        {"a/b\\c", "a_b_c"},      {"x\ny\tz", "x_y_z"},   {"a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
        {"a..b...c", "a__b___c"},
    };
    for (const auto& [name, safe] : cases) {
        EXPECT_EQ(SafeFileNamePart(name), safe) << name;
    }
}

}  // namespace
}  // namespace uvlamp
