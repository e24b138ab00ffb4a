#include <gtest/gtest.h>

#include <cmath>

#include "irradiance/Irr.h"
#include "shell/LogFile.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

TEST(IrrRead, KeepsEveryCompletePairWhateverTheLineEnds) {
    struct TCase {
        const char* Text;
        int Points;
    };
    const TCase cases[] = {
        {"lamp1007\n 50.0\n 2900  0.1000\n 2935  0.2000\n 2970  0.3000\n", 3},
        {"lamp1007\n 50.0\n 2900  0.1000\n 2935  0.2000\n 2970  0.3000", 3},  // no final break
        {"lamp1007\r\n 50.0\r\n 2900  0.1000\r\n 2935  0.2000\r\n 2970  0.3000\r\n", 3},
        {"lamp1007\r 50.0\r 2900  0.1000\r 2935  0.2000\r 2970  0.3000\r", 3},
        {"lamp1007\n50\n2900 0.1 2.935e3 0.2\n\n 2970.0\n0.3\n", 3},  // free format
        {"lamp1007\n 50.0\n 2900  0.1000\n 2935  0.2000\n 2970  0.3000\n 3005\n", 3},  // odd
        {"lamp1007\n 50.0\n 2900  0.1000\n 2935  0.2000\n end 2970  0.3000\n", 2},     // text
        {"lamp1007\n 50.0\n", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        TIrr table("", 0);
        ASSERT_TRUE(table.ReadText(c.Text));
        EXPECT_EQ(table.Name, "LAMP1007");
        EXPECT_EQ(table.Distance, 50);
        ASSERT_EQ(table.NPoints, c.Points);
        for (int i = 1; i <= c.Points; ++i) {
            EXPECT_DOUBLE_EQ(table.Wavelength[i], (2900 + 35 * (i - 1)) / 10000.0);
            EXPECT_DOUBLE_EQ(table.Irradiance[i], 0.1 * i);
        }
    }
}

TEST(IrrRead, TheHeaderIsTheWholeFirstLineSoTheDistanceNeverShifts) {
    TIrr table("", 0);
    ASSERT_TRUE(table.ReadText(
        "Lamp 1007 certified 2019, NIST-traceable, see certificate 12-345\n 45.5\n 2900 0.1\n"));
    EXPECT_EQ(table.Name, "LAMP 1007 CERTIFIED 2019, NIST-TRACEABLE, SEE CERTIFICATE 12-345");
    EXPECT_EQ(table.Distance, 45.5);
    EXPECT_EQ(table.NPoints, 1);
}

TEST(IrrRead, AMissingFileOrDistanceIsReportedAndLeavesTheTable) {
    test::TTempDir dir;
    test::WriteFile(dir / "nodistance.irr", "lamp1007\nfifty\n2900 0.1\n");
    for (const char* name : {"missing.irr", "nodistance.irr"}) {
        SCOPED_TRACE(name);
        const std::string path = (dir / name).string();
        const std::string log = (dir / "log.txt").string();
        TScriptedOperator op;
        TIrr table(path, 0);
        table.Name = "before";
        {
            TLogFile logFile(log);
            EXPECT_FALSE(table.Read(TReport{op, &logFile}));
        }
        EXPECT_EQ(table.Name, "before");
        EXPECT_EQ(table.NPoints, 0);
        ASSERT_EQ(op.Journal().size(), 1u);
        EXPECT_EQ(op.Journal()[0].Caption, path);
        const bool missing = std::string(name) == "missing.irr";
        EXPECT_EQ(op.Journal()[0].Text, missing ? "IRR file not found."
                                                : "The IRR file has no distance on the line after "
                                                  "its header.");
        EXPECT_NE(
            test::ReadText(log).find(missing ? "\t\tIRR file " + path + " not found.\n"
                                             : "\t\tIRR file " + path + " has no distance.\n"),
            std::string::npos);
    }
}

// A table whose current record is a black body of 3000 K holding at 50 cm.
TIrr FittedTable(const std::string& path) {
    TIrr table(path, 46000);
    table.Name = "1007";
    table.Bbf.Current.Distance = 50;
    table.Bbf.Current.Temperature = 3000;
    table.Bbf.Current.Factor = 2000;
    return table;
}

TEST(IrrWrite, WritesTheFittedCurveOnTheGridAtTheRequestedDistance) {
    const TIrr table = FittedTable("");
    const TGrid grid{3, 0.2865, 0.29, 0.3635};
    const double e1 = PlanckModel(2000, 4.8, 0.2865);
    const double e3 = PlanckModel(2000, 4.8, 0.3635);
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "lamp1007\n 50.0\n 2865  %7.4f\n 2900  %7.4f\n 3635  %7.4f\n", e1,
                  PlanckModel(2000, 4.8, 0.29), e3);
    EXPECT_EQ(table.WriteText(grid, 50), expected);
    // Twice the distance: a quarter of the irradiance.
    std::snprintf(expected, sizeof expected, "lamp1007\n100.0\n 2865  %7.4f\n", e1 / 4);
    EXPECT_EQ(table.WriteText(TGrid{1, 0.2865}, 100), expected);
    EXPECT_EQ(table.WriteText(TGrid{0}, 50), "lamp1007\n 50.0\n");
}

TEST(IrrWrite, AsksBeforeReplacingAndNeverLeavesAHalfWrittenFile) {
    test::TTempDir dir;
    const std::string path = (dir / "LAMP1007_(1008).irr").string();
    const TGrid grid{2, 0.29, 0.3};
    const TIrr table = FittedTable(path);
    TScriptedOperator op;
    EXPECT_EQ(table.Write(grid, 50, TReport{op}), TIrrWrite::Written);
    EXPECT_EQ(test::ReadText(path), table.WriteText(grid, 50));
    EXPECT_TRUE(op.Questions().empty());

    test::WriteFile(path, "earlier file\n");
    op.QueueAnswer(false);
    EXPECT_EQ(table.Write(grid, 50, TReport{op}), TIrrWrite::Declined);
    EXPECT_EQ(test::ReadText(path), "earlier file\n");
    ASSERT_EQ(op.Journal().size(), 1u);
    EXPECT_EQ(op.Journal()[0].Text, "File already exists. Continue?");
    EXPECT_EQ(op.Journal()[0].Caption, path);

    op.QueueAnswer(true);
    EXPECT_EQ(table.Write(grid, 50, TReport{op}), TIrrWrite::Written);
    EXPECT_EQ(test::ReadText(path), table.WriteText(grid, 50));

    // Not fitted, or no sensible distance: nothing is written or asked.
    TIrr unfitted(path, 46000);
    EXPECT_EQ(unfitted.Write(grid, 50, TReport{op}), TIrrWrite::NotFitted);
    EXPECT_EQ(table.Write(grid, 0, TReport{op}), TIrrWrite::BadDistance);
    EXPECT_EQ(table.Write(grid, -50, TReport{op}), TIrrWrite::BadDistance);
    EXPECT_EQ(op.Journal().size(), 2u);
    EXPECT_EQ(test::ReadText(path), table.WriteText(grid, 50));
}

TEST(IrrWrite, NeverWritesAFileWhoseValuesAreNotNumbers) {
    // A certificate's absurd distance makes the converted values overflow: "inf" in a file
    // would make it one no reader takes back.
    test::TTempDir dir;
    const std::string path = (dir / "LAMP1007_(1008).irr").string();
    TIrr table = FittedTable(path);
    table.Bbf.Current.Distance = 5.3e179;
    TScriptedOperator op(true);
    EXPECT_EQ(table.Write(TGrid{2, 0.29, 0.3}, 50, TReport{op}), TIrrWrite::NotFinite);
    EXPECT_EQ(op.Messages(),
              std::vector<std::string>{"File " + path +
                                       " could not be saved: its irradiances would not be finite "
                                       "numbers."});
    EXPECT_TRUE(test::FileNames(dir.Path()).empty());
}

TEST(IrrWrite, AFailedWriteIsToldByNameAndChangesNoFile) {
    // A new file and one over an earlier file (which may itself be written: only its folder or
    // the disk refuses), in a read-only folder and on a full disk.
    for (const test::TWriteTrouble trouble : test::WriteTroubles()) {
        for (const bool earlier : {false, true}) {
            if (!earlier && !test::StopsNewFiles(trouble)) {
                continue;  // nothing holds a file that is not there yet
            }
            SCOPED_TRACE(std::string(test::TroubleName(trouble)) + (earlier ? ", earlier" : ""));
            test::TTempDir dir;
            const std::string path = (dir / "LAMP1007_(1008).irr").string();
            if (earlier) {
                test::WriteFile(path, "earlier file\n");
                std::filesystem::permissions(path, std::filesystem::perms::all);
            }
            const test::TFolderSnapshot before = test::Snapshot(dir.Path());
            TScriptedOperator op(true);
            {
                test::TFailingWrites failing(dir, trouble);
                EXPECT_EQ(FittedTable(path).Write(TGrid{2, 0.29, 0.3}, 50, TReport{op}),
                          TIrrWrite::Failed);
            }
            EXPECT_EQ(op.Messages(),
                      std::vector<std::string>{"File " + path + " could not be saved."});
            EXPECT_EQ(test::Snapshot(dir.Path()), before);
        }
    }
}

}  // namespace
}  // namespace uvlamp
