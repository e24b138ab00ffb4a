#include <gtest/gtest.h>

#include <cmath>

#include "irradiance/Bbf.h"
#include "shell/LogFile.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

TBbfRecord Record(double date, double temperature, std::string remark = "") {
    TBbfRecord r;
    r.Distance = 50;
    r.Temperature = temperature;
    r.Factor = 2345.678;
    r.Rms = 0.0123;
    r.Date = date;
    r.Remark = std::move(remark);
    return r;
}

TEST(BbfLine, HasTheFixedLayoutAndReadsBackAsWritten) {
    const TBbfRecord r = Record(45000, 3012.34567, "");
    EXPECT_EQ(FormatBbfLine(r),
              "Distance = 50.0 Temperature =  3012.3457 Factor =   2345.678 RMS =     0.0123  "
              "Date = 45000  \n");
    TBbfRecord back;
    ASSERT_TRUE(
        ParseBbfLine("Distance = 50.0 Temperature =  3012.3457 Factor =   2345.678 RMS = "
                     "    0.0123  Date = 45000   two blanks kept  ",
                     back));
    EXPECT_EQ(back.Temperature, 3012.3457);
    EXPECT_EQ(back.Date, 45000);
    // The two blanks the writer puts before a remark are not part of it.
    EXPECT_EQ(back.Remark, " two blanks kept  ");
    // Written values are rounded by the format; rounded values survive unchanged.
    std::string line = FormatBbfLine(back);
    line.pop_back();
    TBbfRecord again;
    ASSERT_TRUE(ParseBbfLine(line, again));
    EXPECT_EQ(again, back);
    // Blanks in the pattern match any white space, also none.
    ASSERT_TRUE(ParseBbfLine("Distance=50 Temperature=3000 Factor=1 RMS=0 Date=45000", back));
    EXPECT_EQ(back.Remark, "");
    // The file holds whole days; a hand-edited fraction is read as the day written back.
    ASSERT_TRUE(ParseBbfLine("Distance=50 Temperature=3000 Factor=1 RMS=0 Date=4400.0123", back));
    EXPECT_EQ(back.Date, 4400);
    ASSERT_TRUE(ParseBbfLine("Distance=50 Temperature=3000 Factor=1 RMS=0 Date=4400.7", back));
    EXPECT_EQ(back.Date, 4401);
    for (const char* bad : {"", "Distance = 50.0 Temperature = 3000", "# lamp 1007",
                            "Distance = 50.0 Temperature = nan Factor = 1 RMS = 0  Date = 1"}) {
        EXPECT_FALSE(ParseBbfLine(bad, back)) << bad;
    }
}

TEST(BbfIrradiance, IsThePlanckModelWith14400) {
    TBbf bbf(0);
    bbf.Current.Temperature = 3000;
    bbf.Current.Factor = 1;
    EXPECT_DOUBLE_EQ(bbf.IrradianceAt(0.3), 1 / (std::pow(0.3, 5) * (std::exp(16.0) - 1)));
    EXPECT_NEAR(bbf.IrradianceAt(0.3), 4.6e-5, 0.05e-5);
}

TEST(BbfSelect, TakesTheLatestRecordDatedBeforeTheScans) {
    const double d = 45000;
    TBbf bbf(0);
    bbf.Records = {Record(d - 30, 1), Record(d, 2), Record(d + 30, 3)};
    const std::pair<double, double> cases[] = {{d + 0.4, 2}, {d, 1},      {d - 31, 1},
                                               {d - 30, 1},  {d + 31, 3}, {d + 30.5, 3}};
    for (const auto& [t, temperature] : cases) {
        bbf.SelectForDate(t);
        EXPECT_EQ(bbf.Current.Temperature, temperature) << "t = " << t;
    }
    TBbf empty(7);
    empty.SelectForDate(d);
    EXPECT_EQ(empty.Current.Date, 7);
}

class BbfFile : public ::testing::Test {
  protected:
    std::string Load(const std::string& text, bool* loaded = nullptr) {
        test::WriteFile(path_, text);
        TBbf bbf(46000);
        const bool ok = bbf.Load(path_.string(), TReport{op_, &log_});
        if (loaded != nullptr) {
            *loaded = ok;
        }
        last_ = bbf;
        return test::ReadText(path_);
    }
    std::string LogText() const { return test::ReadText(dir_ / "log.txt"); }

    test::TTempDir dir_;
    std::filesystem::path path_ = dir_ / "lamp1007.bbf";
    TScriptedOperator op_;
    TLogFile log_{(dir_ / "log.txt").string()};
    TBbf last_{0};
};

TEST_F(BbfFile, IsRewrittenSortedWithOneRecordPerDate) {
    const std::string text = FormatBbfLine(Record(45100, 3100)) +
                             FormatBbfLine(Record(45000, 3000, "first")) +
                             FormatBbfLine(Record(45100, 3101, "same date, later line")) +
                             FormatBbfLine(Record(45050, 3050));
    bool loaded = false;
    const std::string rewritten = Load(text, &loaded);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(rewritten, FormatBbfLine(Record(45000, 3000, "first")) +
                             FormatBbfLine(Record(45050, 3050)) +
                             FormatBbfLine(Record(45100, 3101, "same date, later line")));
    EXPECT_EQ(last_.Records.size(), 3u);
    EXPECT_EQ(last_.Current, Record(45100, 3101, "same date, later line"));
    EXPECT_EQ(last_.FileName, path_.string());
    EXPECT_NE(LogText().find("Updating " + path_.string() + ".\n"), std::string::npos);
}

TEST_F(BbfFile, RecordsOfOneWrittenDateAreOneRecordBeforeAndAfterTheRewrite) {
    // Two dates that differ only by a fraction would be written as one day: the second load
    // would then merge records the first kept apart.
    const std::string text =
        "Distance = 50.0 Temperature = 3000 Factor = 1 RMS = 0  Date = 4400.0123 first\n"
        "Distance = 50.0 Temperature = 3001 Factor = 1 RMS = 0  Date = 4400 second\n";
    const std::string rewritten = Load(text);
    ASSERT_EQ(last_.Records.size(), 1u);
    EXPECT_EQ(last_.Current.Temperature, 3001);
    EXPECT_EQ(Load(rewritten), rewritten);
    EXPECT_EQ(last_.Records.size(), 1u);
}

TEST_F(BbfFile, RemarksAndOtherLinesSurviveRepeatedLoads) {
    const std::string original = "# lamp 1007, certificate 12-345\n" +
                                 FormatBbfLine(Record(45050, 3050, "  recalibrated, see log")) +
                                 "a line that is not a record\n\n" +
                                 FormatBbfLine(Record(45000, 3000, "from IRR"));
    std::string text = Load(original);
    const std::string expected = FormatBbfLine(Record(45000, 3000, "from IRR")) +
                                 FormatBbfLine(Record(45050, 3050, "  recalibrated, see log")) +
                                 "# lamp 1007, certificate 12-345\n" +
                                 "a line that is not a record\n";
    EXPECT_EQ(text, expected);
    for (int i = 0; i < 3; ++i) {
        text = Load(text);
        EXPECT_EQ(text, expected) << "load " << i + 2;
    }
    EXPECT_EQ(last_.Current.Remark, "  recalibrated, see log");
}

TEST_F(BbfFile, WithoutARecordIsNotAttachedAndTheFitIsAddedToIt) {
    bool loaded = true;
    EXPECT_EQ(Load("# nothing measured yet\n", &loaded), "# nothing measured yet\n");
    EXPECT_FALSE(loaded);
    EXPECT_EQ(last_.FileName, "");
    EXPECT_NE(LogText().find("File " + path_.string() + " holds no record.\n"), std::string::npos);

    last_.Current = Record(46000, 3000);
    last_.CreateFile(path_.string(), TReport{op_, &log_});
    EXPECT_EQ(test::ReadText(path_),
              FormatBbfLine(Record(46000, 3000)) + "# nothing measured yet\n");
    EXPECT_NE(LogText().find("Creating " + path_.string() + ".\n"), std::string::npos);

    TBbf missing(46000);
    EXPECT_FALSE(missing.Load((dir_ / "none.bbf").string(), TReport{op_, &log_}));
    EXPECT_NE(LogText().find("File " + (dir_ / "none.bbf").string() + " not found.\n"),
              std::string::npos);
    EXPECT_TRUE(op_.Journal().empty());
}

// A read-only file, as an ordinary user sees it on Unix and everyone on Windows.
TEST_F(BbfFile, ThatCannotBeRewrittenIsToldLoggedAndLeftAsItWas) {
    const std::string text =
        FormatBbfLine(Record(45100, 3100)) + FormatBbfLine(Record(45000, 3000));
    test::WriteFile(path_, text);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read |
                                            std::filesystem::perms::others_read);
    std::filesystem::permissions(dir_ / "log.txt", std::filesystem::perms::all);
    TBbf bbf(46000);
    {
        test::TOrdinaryUser user(dir_);
        EXPECT_TRUE(bbf.Load(path_.string(), TReport{op_, &log_}));
    }
    EXPECT_EQ(test::ReadText(path_), text);
    EXPECT_EQ(bbf.FileName, "");
    EXPECT_EQ(bbf.Current.Date, 45100);
    EXPECT_EQ(op_.Messages(),
              std::vector<std::string>{"File " + path_.string() + " could not be saved."});
    const std::string log = LogText();
    EXPECT_NE(log.find("File " + path_.string() + " could not be saved.\nUpdating .\n"),
              std::string::npos);
}

TEST(BbfRewrite, AFailedRewriteIsToldByNameAndLeavesTheFileAsItWas) {
    const std::string text =
        FormatBbfLine(Record(45100, 3100)) + "# kept\n" + FormatBbfLine(Record(45000, 3000));
    for (const test::TWriteTrouble trouble : test::WriteTroubles()) {
        SCOPED_TRACE(test::TroubleName(trouble));
        test::TTempDir dir;
        const std::filesystem::path path = dir / "lamp1007.bbf";
        test::WriteFile(path, text);
        std::filesystem::permissions(path, std::filesystem::perms::all);
        TScriptedOperator op;
        TBbf bbf(46000);
        {
            test::TFailingWrites failing(dir, trouble);
            // The records are read and in use; only the sorted file could not be written.
            EXPECT_TRUE(bbf.Load(path.string(), TReport{op}));
        }
        EXPECT_EQ(bbf.Current.Date, 45100);
        EXPECT_EQ(op.Messages(),
                  std::vector<std::string>{"File " + path.string() + " could not be saved."});
        EXPECT_EQ(test::Snapshot(dir.Path()), (test::TFolderSnapshot{{"lamp1007.bbf", text}}));
    }
}

}  // namespace
}  // namespace uvlamp
