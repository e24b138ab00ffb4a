#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "shell/IniFile.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

using test::ReadText;
using test::TTempDir;
using test::WriteFile;

TEST(ParseIniIntegerTest, AcceptsDecimalAndHexadecimalWithinInt32) {
    struct TCase {
        const char* Text;
        std::optional<std::int32_t> Expected;
    };
    const TCase cases[] = {
        {"21", 21},
        {"  -7", -7},
        {"\t+3", 3},
        {"00012", 12},  // leading zeros are decimal, not octal
        {"$15", 21},
        {"0x15", 21},
        {"0X1f", 31},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0x7FFFFFFF", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"0x80000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"12a", std::nullopt},
        {"$1G", std::nullopt},
        {"1.5", std::nullopt},
        {"- 5", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIniInteger(c.Text), c.Expected) << '"' << c.Text << '"';
    }
}

TEST(IniFileReadTest, AcceptsEveryLineEnd) {
    for (const char* text : {"[A]\nx=1\ny=two\n[B]\nx=3", "[A]\r\nx=1\r\ny=two\r\n[B]\r\nx=3\r\n",
                             "[A]\rx=1\ry=two\r[B]\rx=3\r"}) {
        const TIniFile ini = TIniFile::FromText(text);
        EXPECT_EQ(ini.ReadValue("A", "x"), "1") << text;
        EXPECT_EQ(ini.ReadValue("A", "y"), "two") << text;
        EXPECT_EQ(ini.ReadValue("B", "x"), "3") << text;
        EXPECT_EQ(ini.Text(), "[A]\nx=1\ny=two\n[B]\nx=3\n") << text;
    }
}

TEST(IniFileReadTest, FindsKeysOnlyInTheirSectionIgnoringCase) {
    const TIniFile ini = TIniFile::FromText(
        "Orphan=0\n"
        "; LimitScans=9\n"
        "[global]\n"
        "  limitscans  =  yes please  \n"
        "Empty=\n"
        "no equals sign\n"
        "=nameless\n"
        "[ Other ]\n"
        "Key=other\n");
    EXPECT_EQ(ini.ReadValue("GLOBAL", "LimitScans"), "yes please");
    EXPECT_EQ(ini.ReadValue("Global", "Empty"), "");
    EXPECT_EQ(ini.ReadValue("Global", "Key"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("Other", "key"), "other");
    EXPECT_EQ(ini.ReadValue("Missing", "Key"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("", "Orphan"), std::nullopt);
    EXPECT_EQ(ini.ReadString("Global", "Nope", "fallback"), "fallback");
    EXPECT_EQ(ini.ReadString("Global", "Empty", "fallback"), "");
}

TEST(IniFileReadTest, ReadsIntegersAndBoolsWithDefaults) {
    const TIniFile ini =
        TIniFile::FromText("[S]\nHex=0x15\nDollar=$15\nBad=abc\nEmpty=\nTwo=2\nZero=0\nMinus=-1\n");
    EXPECT_EQ(ini.ReadInteger("S", "Hex", 7), 21);
    EXPECT_EQ(ini.ReadInteger("S", "Dollar", 7), 21);
    EXPECT_EQ(ini.ReadInteger("S", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Empty", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "Missing", 7), 7);
    EXPECT_TRUE(ini.ReadBool("S", "Two", false));
    EXPECT_TRUE(ini.ReadBool("S", "Minus", false));
    EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
    EXPECT_TRUE(ini.ReadBool("S", "Bad", true));
    EXPECT_FALSE(ini.ReadBool("S", "Bad", false));
    EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST(IniFileReadTest, CutsLongValues) {
    const std::string longValue(TIniFile::kMaxValueLength + 10, 'v');
    const TIniFile ini = TIniFile::FromText("[S]\nLong=" + longValue + "\n");
    EXPECT_EQ(ini.ReadValue("S", "Long"), longValue.substr(0, TIniFile::kMaxValueLength));
}

TEST(IniFileWriteTest, ReplacesInPlaceAppendsToSectionOrAddsSection) {
    TIniFile ini = TIniFile::FromText(
        "; settings\n"
        "[Global]\n"
        "LIMITSCANS = 0\n"
        "Unknown=keep me\n"
        "\n"
        "; end of global\n"
        "[Extra]\n"
        "A=1\n");
    ini.WriteBool("global", "LimitScans", true);
    ini.WriteInteger("Global", "MaxNumberOfScans", -21);
    ini.WriteString("Global", "Dir", "c:\\data");
    ini.WriteBool("MKIIIs", "033", true);
    ini.WriteString("mkiiis", "034", "x");
    EXPECT_EQ(ini.Text(),
              "; settings\n"
              "[Global]\n"
              "LIMITSCANS=1\n"
              "Unknown=keep me\n"
              "MaxNumberOfScans=-21\n"
              "Dir=c:\\data\n"
              "\n"
              "; end of global\n"
              "[Extra]\n"
              "A=1\n"
              "[MKIIIs]\n"
              "033=1\n"
              "034=x\n");
}

TEST(IniFileWriteTest, KeyGoesRightAfterAnEmptySectionHeader) {
    TIniFile ini = TIniFile::FromText("[Empty]\n; note\n[Next]\n");
    ini.WriteString("Empty", "Key", "v");
    EXPECT_EQ(ini.Text(), "[Empty]\nKey=v\n; note\n[Next]\n");
}

TEST(IniFileWriteTest, LineBreaksCannotSplitAValueIntoNewLines) {
    TIniFile ini;
    ini.WriteString("S", "Key", "first\n[Injected]\nKey=2");
    ini.WriteString("S", "Other", "a\rb");
    EXPECT_EQ(ini.Text(), "[S]\nKey=first\nOther=a\n");
}

TEST(IniFileSaveTest, WritesTextAndReplacesAnExistingFile) {
    TTempDir dir;
    const auto path = dir / "uvlamp.INI";
    EXPECT_TRUE(TIniFile::Load(path).value().Text().empty());

    TIniFile ini = TIniFile::FromText("[S]\r\nA=1\r\n");
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(test::ReadFile(path), test::NativeText("[S]\nA=1\n"));
    ini.WriteString("S", "A", "2");
    ASSERT_TRUE(ini.Save(path));
    EXPECT_EQ(TIniFile::Load(path).value().ReadValue("S", "A"), "2");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(IniFileSaveTest, FailsWhenTheFileCannotBeCreated) {
    TTempDir dir;
    WriteFile(dir / "plain", "not a directory");
    const TIniFile ini = TIniFile::FromText("[S]\nA=1\n");
    EXPECT_FALSE(ini.Save(dir / "plain" / "uvlamp.INI"));
    EXPECT_FALSE(ini.Save(dir / "missing" / "uvlamp.INI"));
    std::filesystem::create_directory(dir / "sub");
    EXPECT_FALSE(ini.Save(dir / "sub"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
    EXPECT_EQ(ReadText(dir / "plain"), "not a directory");
}

#ifndef _WIN32
TEST(IniFileSaveTest, WritesThroughASymbolicLink) {
    TTempDir dir;
    WriteFile(dir / "real.INI", "[S]\nA=1\n");
    std::filesystem::create_symlink(dir / "real.INI", dir / "link.INI");
    const TIniFile ini = TIniFile::FromText("[S]\nA=2\n");
    ASSERT_TRUE(ini.Save(dir / "link.INI"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.INI"));
    EXPECT_EQ(ReadText(dir / "real.INI"), "[S]\nA=2\n");
}

TEST(IniFileSaveTest, RespectsReadOnlyFilesAndDirectories) {
    namespace fs = std::filesystem;
    TTempDir dir;
    test::TOrdinaryUser user(dir);
    const auto locked = dir / "locked";
    WriteFile(locked / "writable.INI", "[S]\nA=1\n");
    WriteFile(locked / "readonly.INI", "[S]\nA=1\n");
    WriteFile(dir / "readonly.INI", "[S]\nA=1\n");
    fs::permissions(locked / "readonly.INI", fs::perms::owner_read);
    fs::permissions(dir / "readonly.INI", fs::perms::owner_read);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);

    const TIniFile ini = TIniFile::FromText("[S]\nA=2\n");
    EXPECT_TRUE(ini.Save(locked / "writable.INI"));
    EXPECT_FALSE(ini.Save(locked / "readonly.INI"));
    EXPECT_FALSE(ini.Save(locked / "new.INI"));
    // A read-only file is not replaced even where its directory would allow it.
    EXPECT_FALSE(ini.Save(dir / "readonly.INI"));
    fs::permissions(locked, fs::perms::owner_all);

    EXPECT_EQ(ReadText(locked / "writable.INI"), "[S]\nA=2\n");
    EXPECT_EQ(ReadText(locked / "readonly.INI"), "[S]\nA=1\n");
    EXPECT_EQ(ReadText(dir / "readonly.INI"), "[S]\nA=1\n");
    EXPECT_FALSE(fs::exists(locked / "new.INI"));
}
#endif

}  // namespace
}  // namespace uvlamp
