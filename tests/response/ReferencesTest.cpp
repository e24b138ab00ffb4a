#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "response/References.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ReadResponseFile, ReadsEveryLineOfTwoNumbersWithAnyLineEnd) {
    struct TCase {
        const char* Name;
        const char* Text;
    };
    // The same three pairs written as saved, with each kind of line end, a header and text lines
    // between them, and no line end after the last.
    const TCase cases[] = {
        {"as saved", "   2865   123.456\n   2870  1234.500\n   2875     0.001\n"},
        {"CR LF, no end", "   2865   123.456\r\n   2870  1234.500\r\n   2875     0.001"},
        {"CR", "   2865   123.456\r   2870  1234.500\r   2875     0.001\r"},
        {"header and notes",
         "WL Resp\n2865 123.456\nnote: 2 lamps\n\n2870 1234.5 extra\n2875\t1e-3\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        test::TTempDir dir;
        test::WriteFile(dir / "resp", c.Text);
        TScan scan(1, nullptr, nullptr);
        ASSERT_TRUE(ReadResponseFile(scan, (dir / "resp").string()));
        ASSERT_EQ(scan.NPoints, 3);
        EXPECT_EQ(scan.Wavelength[1], 0.2865);
        EXPECT_EQ(scan.Wavelength[3], 0.2875);
        EXPECT_EQ(scan.Counts[1], 123.456);
        EXPECT_EQ(scan.Counts[2], 1234.5);
        EXPECT_EQ(scan.Counts[3], 0.001);
        EXPECT_EQ(scan.SplitIndex, 4);  // one range
    }
}

TEST(ReadResponseFile, LeavesTheScanAsItWasWhenThereIsNothingToRead) {
    test::TTempDir dir;
    test::WriteFile(dir / "text", "no numbers here\n2865\n");
    TScan scan(2, nullptr, nullptr);
    scan.Counts[2] = 7;
    std::string whyNot;
    EXPECT_FALSE(ReadResponseFile(scan, (dir / "text").string(), &whyNot));
    EXPECT_EQ(whyNot, "holds no wavelength and value pairs");
    EXPECT_FALSE(ReadResponseFile(scan, (dir / "missing").string(), &whyNot));
    EXPECT_EQ(whyNot, "could not be opened");
    EXPECT_EQ(scan.NPoints, 2);
    EXPECT_EQ(scan.Counts[2], 7);
}

TEST(References, LiveAsLongAsTheirSourcesDo) {
    test::TTempDir dir;
    test::WriteFile(dir / "ref", "2900 10\n2905 11\n");
    TProgram program;
    TScriptedOperator op;
    program.OpenedFiles.push_back(std::make_unique<TFile>());
    TFile* file = program.OpenedFiles.back().get();
    program.LampList.push_back(std::make_unique<TLamp>("A"));
    program.LampList[0]->Scans.push_back(std::make_unique<TScan>(2, nullptr, file));

    ASSERT_TRUE(LoadFileReference(program, (dir / "ref").string()));
    EXPECT_EQ(program.FileReference->File, file);  // the instrument's smoothing applies to it
    EXPECT_EQ(program.FileReference->NPoints, 2);
    EXPECT_FALSE(LoadFileReference(program, (dir / "missing").string()));
    EXPECT_EQ(program.FileReference, nullptr);

    ASSERT_TRUE(LoadUvresResponse(program, op, (dir / "ref").string()));
    EXPECT_EQ(program.UvresResponse->File, nullptr);
    EXPECT_EQ(program.UvresResponse->Counts[2], 11);
    EXPECT_THAT(op.Messages(), IsEmpty());

    // Loading scan files again ends the response and the file reference, not the UVRES one.
    ASSERT_TRUE(LoadFileReference(program, (dir / "ref").string()));
    program.CurrentResponse = std::make_unique<TScan>(1, program.LampList[0].get(), file);
    program.ClearLoaded();
    EXPECT_EQ(program.CurrentResponse, nullptr);
    EXPECT_EQ(program.FileReference, nullptr);
    ASSERT_NE(program.UvresResponse, nullptr);

    // A UVRES file that cannot be read leaves none, the earlier one included, and says why.
    test::WriteFile(dir / "empty", "");
    EXPECT_FALSE(LoadUvresResponse(program, op, (dir / "empty").string()));
    EXPECT_EQ(program.UvresResponse, nullptr);
    EXPECT_FALSE(LoadUvresResponse(program, op, (dir / "missing").string()));
    EXPECT_THAT(op.Messages(), ElementsAre("The UVRES file " + (dir / "empty").string() +
                                               " holds no wavelength and value pairs.",
                                           "The UVRES file " + (dir / "missing").string() +
                                               " could not be opened."));
}

}  // namespace
}  // namespace uvlamp
