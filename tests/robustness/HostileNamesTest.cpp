#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "irradiance/Transfer.h"
#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "scans/Loading.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;

const fs::path kExamples = UVLAMP_EXAMPLES_DIR;

// True when a text holds nothing that would break a line or hide itself: no control characters
// but the tabs and line ends of a text file.
bool IsReadable(const std::string& text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n') || u == 0x7f) {
            return false;
        }
    }
    return true;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

// The example station's UL file, its lamps but the first renamed: a path out of the folder, a
// path with control characters and a terminal escape, and a name of a few pages. A QL file whose
// own name holds a bell, dots and an escape (where the file system takes them).
class HostileNames : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(station_);
        fs::create_directories(out_);
        fs::copy_file(kExamples / "lampL1031.irr", station_ / "lampL1031.irr");
        std::string ul = test::ReadText(kExamples / "ul10624.137");
        ul = Replace(ul, "ln L1032", "ln ../../evil");
        ul = Replace(ul, "ln L1033", "ln a/b\x01\x1b[31mc");
        ul = Replace(ul, "ln L1034", "ln " + std::string(5000, 'X'));
        test::WriteFile(station_ / "ul10624.137", ul);
        fs::copy_file(kExamples / "ql_L1032.137", station_ / qlName_);
        program_.ProgramSettings.IrrDirectory = station_.string();
        program_.ProgramSettings.LastDir = station_.string();
        program_.StartLog((root_ / "log.txt").string());
        const TLoadResult loaded =
            LoadSelectedFiles(program_, op_, station_, {"ul10624.137", qlName_});
        ASSERT_FALSE(loaded.Error) << *loaded.Error;
        ASSERT_EQ(loaded.FilesRead.size(), 2u);
    }

    std::vector<std::string> LampNames() const {
        std::vector<std::string> names;
        for (const auto& lamp : program_.LampList) {
            names.push_back(lamp->Name);
        }
        return names;
    }

    test::TTempDir root_;
    fs::path station_ = root_ / "station";
    fs::path out_ = root_ / "out";
#ifdef _WIN32
    // Windows takes no control character in a file name.
    std::string qlName_ = "ql_..%1b.137";
#else
    std::string qlName_ = "ql_\x07..\x1b.137";
#endif
    TProgram program_;
    TScriptedOperator op_{true};
};

TEST_F(HostileNames, AreShownReadableAndNoLongerThanALine) {
    const std::vector<std::string> names = LampNames();
    ASSERT_EQ(names.size(), 5u);
    for (const std::string& name : names) {
        EXPECT_TRUE(IsReadable(name)) << name;
        EXPECT_LE(name.size(), kMaxLampNameLength + 3);
    }
    // A name is shown as it is written, only its control characters made visible.
    EXPECT_THAT(names, Contains("../../evil"));
    EXPECT_THAT(names, Contains("a/b??[31mc"));
    EXPECT_THAT(names, Contains(std::string(kMaxLampNameLength, 'X') + "..."));
#ifdef _WIN32
    EXPECT_THAT(names, Contains("..%1b"));
#else
    EXPECT_THAT(names, Contains("?..?"));
#endif
}

TEST_F(HostileNames, NeverLeadAFileOutsideItsFolder) {
    const test::TFolderSnapshot before = test::Snapshot(root_.Path());
    // A response (which looks up the standards) and its log, then new IRR files for every lamp
    // from the one with a standard.
    ASSERT_TRUE(CalculateResponse(program_, op_).Made);
    op_.QueueFile((out_ / "resp").string());
    const TResponseSave save = SaveResponseFiles(program_, op_, *OutputGrid(2900, 10, 3600), 0);
    ASSERT_TRUE(save.Saved);
    const auto grid = BuildIrrGrid("2865", "3635", "35");
    ASSERT_TRUE(grid);
    const int reference = FindLamp(program_.LampList, "L1031");
    ASSERT_GE(reference, 0);
    const TTransferResult transfer =
        TransferFromLamp(program_, op_, reference, TTransferOutput{*grid, 50, out_.string()});
    ASSERT_EQ(transfer.Written.size(), 4u);

    // Everything written is a file directly in the output folder, with a name that is one.
    for (const std::string& written : transfer.Written) {
        const fs::path path(written);
        EXPECT_EQ(path.parent_path(), out_) << written;
        EXPECT_TRUE(fs::is_regular_file(path)) << written;
        EXPECT_TRUE(IsReadable(path.filename().string())) << written;
    }
    // Outside it nothing changed but the log, which grew.
    test::TFolderSnapshot after = test::Snapshot(root_.Path());
    std::erase_if(after, [](const auto& entry) { return entry.first.rfind("out", 0) == 0; });
    test::TFolderSnapshot expected = before;
    std::erase_if(expected, [](const auto& entry) { return entry.first.rfind("out", 0) == 0; });
    ASSERT_EQ(after.count("log.txt"), 1u);
    EXPECT_GT(after["log.txt"].size(), expected["log.txt"].size());
    after.erase("log.txt");
    expected.erase("log.txt");
    EXPECT_EQ(after, expected);

    // The log and the response log name the lamps readably.
    program_.StopLog();
    const std::string log = test::ReadText(root_ / "log.txt");
    EXPECT_TRUE(IsReadable(log));
    EXPECT_NE(log.find("../../evil"), std::string::npos);
    const std::string responseLog = test::ReadText(save.Written.at(1));
    EXPECT_TRUE(IsReadable(responseLog));
    EXPECT_NE(responseLog.find("a/b??[31mc"), std::string::npos);
}

}  // namespace
}  // namespace uvlamp
