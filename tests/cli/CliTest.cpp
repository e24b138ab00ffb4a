// The batch front end: each command's main path, the options that mirror the window's controls,
// the questions, usage errors and unreadable input. Runs happen in-process in a scratch copy of
// a small station (two lamps, three QL files of instrument 185), as a user would run them there.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "scans/Loading.h"
#include "shell/FileIo.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using test::FileNames;
using test::ReadText;
using test::RunCliInProcess;
using test::WriteFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

const std::vector<std::string> kFiles = {"ql_1007.185", "qlb_1007.185", "ql_1012.185"};

std::vector<std::string> Args(std::vector<std::string> head,
                              const std::vector<std::string>& files = kFiles) {
    head.insert(head.end(), files.begin(), files.end());
    return head;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

class Cli : public ::testing::Test {
  protected:
    Cli() : cwd_(work_.Path()) {
        test::CopyFiles(test::DataPath("response/endtoend/input"), work_.Path());
        before_ = FileNames(work_.Path());
    }

    // The files a run added to the station folder.
    std::vector<std::string> NewFiles() const {
        std::vector<std::string> added;
        for (const std::string& name : FileNames(work_.Path())) {
            if (std::find(before_.begin(), before_.end(), name) == before_.end()) {
                added.push_back(name);
            }
        }
        return added;
    }

    test::TTempDir work_;
    test::TWorkingDirectory cwd_;
    std::vector<std::string> before_;
};

TEST_F(Cli, ListsShowTheLinesOfTheWindowsLists) {
    auto run = RunCliInProcess(Args({"lamps"}));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "1007   4/  4  1.8%\n1012   3/  3  1.1%\n");
    EXPECT_EQ(run.Err, "");

    run = RunCliInProcess(Args({"scans", "--lamp", "1007"}));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out,
              " 1 123'24  14C  2.2%\n 2 123'24  28C -1.0%\n 3 124'24  22C -1.0%\n"
              " 4 124'24  36C -2.2%\n");
    EXPECT_THAT(NewFiles(), IsEmpty());
}

// Each selection option against the scans it must leave selected (days and temperatures of the
// scans as listed above; lamp 1012 has three scans of day 125 at 20, 24 and 27 C).
TEST_F(Cli, SelectionOptionsActAsTheWindowsControls) {
    struct TCase {
        std::vector<std::string> Options;
        std::string Lamp1007, Lamp1012;  // "used/ total"
    } cases[] = {
        {{"--day", "124"}, "2/  4", "0/  3"},
        {{"--temp-range", "15", "26"}, "1/  4", "2/  3"},
        {{"--temp-range", "-5.5", "25.5"}, "2/  4", "2/  3"},
        {{"--limit-scans", "1", "--first"}, "2/  2", "1/  1"},
        {{"--limit-scans", "1"}, "2/  2", "1/  1"},
        {{"--deselect", "1007:2,4"}, "2/  4", "3/  3"},
        {{"--deselect", "1007:1", "--deselect", "1012:3"}, "3/  4", "2/  3"},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> head{"lamps"};
        head.insert(head.end(), c.Options.begin(), c.Options.end());
        const auto run = RunCliInProcess(Args(head));
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_THAT(Lines(run.Out), ElementsAre(StartsWith("1007   " + c.Lamp1007),
                                                StartsWith("1012   " + c.Lamp1012)))
            << c.Options[0];
    }
    // Which scans a limit keeps: the first or the last block of each lamp in a file.
    const auto first =
        RunCliInProcess(Args({"scans", "--lamp", "1007", "--limit-scans", "1", "--first"}));
    const auto last = RunCliInProcess(Args({"scans", "--lamp", "1007", "--limit-scans", "1"}));
    EXPECT_THAT(Lines(first.Out), ElementsAre(HasSubstr("14C"), HasSubstr("22C")));
    EXPECT_THAT(Lines(last.Out), ElementsAre(HasSubstr("28C"), HasSubstr("36C")));
}

// The front end must compute exactly what the core chain computes for the window.
TEST_F(Cli, ResponseWritesTheFilesTheCoreChainWrites) {
    const auto run = RunCliInProcess(
        Args({"response", "--use-bbf", "--log-reference", "1012", "--output", "uvr"}));
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_THAT(NewFiles(),
                ::testing::IsSupersetOf({"uvr_tc", "uvr.log_tc", "uvr.tc", "uvr.tc.relative"}));

    test::TTempDir core;
    test::CopyFiles(test::DataPath("response/endtoend/input"), core.Path());
    TProgram program;
    program.ProgramSettings.IrrDirectory = ".";
    program.ProgramSettings.UseBBF = true;
    TScriptedOperator op;
    {
        test::TWorkingDirectory there(core.Path());
        LoadSelectedFiles(program, op, "", kFiles);
        const auto grid = ReadOutputGrid("2865", "3250", "5", op);
        ASSERT_TRUE(CalculateResponse(program, op).Made);
        op.QueueFile("uvr");
        ASSERT_TRUE(SaveResponseFiles(program, op, *grid, 1).Saved);
    }
    for (const char* name : {"uvr_tc", "uvr.log_tc", "uvr.tc", "uvr.tc.relative"}) {
        EXPECT_EQ(ReadText(work_ / name), ReadText(core / name)) << name;
        EXPECT_FALSE(ReadText(work_ / name).empty()) << name;
    }
}

TEST_F(Cli, LogHoldsTheLinesTheWindowWrites) {
    WriteFile(work_ / "run.log", "earlier run\n");
    const auto run = RunCliInProcess(Args({"response", "--use-bbf", "--log", "run.log",
                                           "--temp-range", "-50", "50", "--output", "uvr"}));
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto lines = Lines(ReadText(work_ / "run.log"));
    const auto has = [&](const ::testing::Matcher<std::string>& m) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return m.Matches(l); });
    };
    EXPECT_EQ(lines.front(), "earlier run");  // appended, never truncated
    EXPECT_THAT(lines[3], StartsWith("Logging turned ON on "));
    EXPECT_THAT(lines[4], StartsWith("Program started on "));
    EXPECT_EQ(lines[5], "\t\tTemperature limited between -50.0 and 50.0");
    EXPECT_EQ(lines[6], "\tReading file ql_1007.185: 1 lamp(s), 2 scan(s)");
    EXPECT_EQ(has(::testing::Eq("\t\tResponse calculated.")), 1);
    EXPECT_EQ(has(::testing::Eq("\t\tResponse saved to uvr_tc")), 1);
    EXPECT_EQ(has(::testing::Eq("\t\tResponse log saved to uvr.log_tc")), 1);
    EXPECT_THAT(lines[lines.size() - 2], StartsWith("Program finished on "));
    EXPECT_THAT(lines.back(), StartsWith("Logging turned OFF on "));
}

TEST_F(Cli, TransferInBothModesGivesTheSameTableForASingleReference) {
    auto run = RunCliInProcess(Args({"transfer", "--use-bbf", "--reference", "1007"}));
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    run = RunCliInProcess(Args({"transfer", "--use-bbf", "--target", "1012", "--json"}));
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Out, HasSubstr("\"files_written\": [\n    \"LAMP1012_(avg_1007).irr\"\n  ]"));
    const std::string one = ReadText(work_ / "LAMP1012_(1007).irr");
    EXPECT_THAT(Lines(one), ::testing::SizeIs(2 + 23));  // the default grid: 2865 to 3635 A
    EXPECT_EQ(one, ReadText(work_ / "LAMP1012_(avg_1007).irr"));

    run = RunCliInProcess(Args({"transfer", "--use-bbf", "--reference", "1007", "--grid", "3000",
                                "3100", "50", "--distance", "40", "--yes"}));
    ASSERT_EQ(run.Status, 0) << run.Err;
    const auto lines = Lines(ReadText(work_ / "LAMP1012_(1007).irr"));
    ASSERT_THAT(lines, ::testing::SizeIs(2 + 3));
    EXPECT_THAT(lines[2], StartsWith(" 3000 "));
}

TEST_F(Cli, QuestionsAreAnsweredNoUnlessYesIsGiven) {
    // The save dialog asks about the name chosen, as the window's does.
    WriteFile(work_ / "uvr", "earlier response\n");
    auto run = RunCliInProcess(Args({"response", "--use-bbf", "--output", "uvr"}));
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, HasSubstr("uvr: File already exists. Continue? No"));
    EXPECT_EQ(ReadText(work_ / "uvr"), "earlier response\n");
    EXPECT_FALSE(fs::exists(work_ / "uvr_tc"));

    run = RunCliInProcess(Args({"response", "--use-bbf", "--output", "uvr", "--yes"}));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::exists(work_ / "uvr_tc"));

    WriteFile(work_ / "LAMP1012_(1007).irr", "earlier table\n");
    run = RunCliInProcess(Args({"transfer", "--use-bbf", "--reference", "1007"}));
    EXPECT_EQ(run.Status, 1);
    EXPECT_THAT(run.Err, HasSubstr("LAMP1012_(1007).irr: File already exists. Continue? No"));
    EXPECT_EQ(ReadText(work_ / "LAMP1012_(1007).irr"), "earlier table\n");

    // A file of another instrument is read all the same; only the instrument stays.
    fs::copy_file(work_ / "ql_1012.185", work_ / "ql_1012.186");
    const std::vector<std::string> mixed = {"ql_1007.185", "ql_1012.186"};
    run = RunCliInProcess(Args({"lamps", "--json"}, mixed));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_THAT(run.Err, HasSubstr("This instrument number is different. Continue? No: "
                                   "instrument #185"));
    EXPECT_THAT(run.Out, HasSubstr("\"instrument\": \"185\""));
    EXPECT_THAT(run.Out, HasSubstr("\"name\": \"1012\""));
    run = RunCliInProcess(Args({"lamps", "--json", "--yes"}, mixed));
    EXPECT_THAT(run.Out, HasSubstr("\"instrument\": \"186\""));
}

TEST_F(Cli, UsageErrorsNameTheOptionAndDoNothing) {
    struct TCase {
        std::vector<std::string> Args;
        std::string Says;
    } cases[] = {
        {{}, "A subcommand is required"},
        {{"lamps"}, "FILE is required"},
        {{"frobnicate", "ql_1007.185"}, "unknown command 'frobnicate'"},
        {Args({"response"}), "--output is required"},
        {Args({"response", "--output", "r", "--grid", "2865", "x", "5"}),
         "'x' is not a valid floating point value"},
        {Args({"response", "--output", "r", "--log-reference", "9999"}),
         "--log-reference: no lamp 9999 in the files read (lamps: 1007, 1012)"},
        {Args({"transfer"}), "transfer needs --reference LAMP or --target LAMP"},
        {Args({"transfer", "--reference", "1007", "--target", "1012"}), "excludes"},
        {Args({"transfer", "--reference", "1007", "--grid", "2865", "3635", "0"}), "--grid"},
        {Args({"transfer", "--reference", "1007", "--distance", "-5"}), "--distance: '-5'"},
        {Args({"transfer", "--target", "9999"}), "--target: no lamp 9999"},
        {Args({"scans", "--lamp", "9999"}), "--lamp: no lamp 9999"},
        {Args({"lamps", "--deselect", "1007:0"}), "--deselect: '1007:0'"},
        {Args({"lamps", "--deselect", "1007:2,x"}), "--deselect: '1007:2,x'"},
        {Args({"lamps", "--deselect", "1007:9"}), "lamp 1007 has 4 scan(s); there is no scan 9"},
        {Args({"lamps", "--deselect", "9999:1"}), "--deselect: no lamp 9999"},
        {Args({"lamps", "--first"}), "--first requires --limit-scans"},
        {Args({"lamps", "--day", "x"}), "--day: 'x' is not a whole number"},
        {Args({"lamps", "--temp-range", "a", "30"}), "--temp-range: 'a' is not a number"},
        {Args({"lamps", "--settings", "missing.ini"}), "--settings: missing.ini cannot be read"},
        {Args({"lamps", "--log", "nowhere/x.log"}), "--log: nowhere/x.log cannot be written"},
        {{"lamps", "ql_1007.185", "sub/ql_1012.185"}, "must all be in one folder"},
    };
    for (const TCase& c : cases) {
        const auto run = RunCliInProcess(c.Args);
        const std::string what = c.Args.empty() ? "(none)" : c.Args[0] + " ... " + c.Says;
        EXPECT_EQ(run.Status, 2) << what;
        EXPECT_THAT(run.Err, HasSubstr(c.Says)) << what;
        EXPECT_EQ(run.Out, "") << what;
        EXPECT_THAT(NewFiles(), IsEmpty()) << what;
    }
}

TEST_F(Cli, UnreadableFilesAreNamedAndNothingIsWritten) {
    WriteFile(work_ / "ql_bad.185", "this is not a scan\n");
    before_ = FileNames(work_.Path());
    const std::vector<std::string> files = {"ql_1007.185", "ql_bad.185", "ql_missing.185",
                                            "qlb_1007.185", "ql_1012.185"};
    auto run = RunCliInProcess(Args({"response", "--use-bbf", "--output", "uvr"}, files));
    EXPECT_EQ(run.Status, 2);
    EXPECT_THAT(run.Err, HasSubstr("ql_bad.185: holds no scan that could be read"));
    EXPECT_THAT(run.Err, HasSubstr("ql_missing.185: could not be opened"));
    EXPECT_THAT(run.Err, HasSubstr("nothing was calculated or written"));
    EXPECT_THAT(NewFiles(), IsEmpty());

    // The lists still show what the other files hold; the summary says what was not read.
    run = RunCliInProcess(Args({"lamps"}, files));
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "1007   4/  4  1.8%\n1012   3/  3  1.1%\n");
    run = RunCliInProcess(Args({"lamps", "--json"}, files));
    EXPECT_THAT(run.Out, HasSubstr("\"exit_status\": 2,"));
    EXPECT_THAT(run.Out,
                HasSubstr("{\n      \"name\": \"ql_bad.185\",\n      \"reason\": \"holds no "
                          "scan that could be read\"\n    }"));
    EXPECT_THAT(run.Out, HasSubstr("\"scans_used\": 4,\n      \"scans_total\": 4,"));
}

TEST_F(Cli, NoLampWithAStandardMeansNothingComputed) {
    fs::create_directory(work_ / "empty");
    const auto run = RunCliInProcess(Args({"response", "--irr-dir", "empty", "--output", "uvr"}));
    EXPECT_EQ(run.Status, 1);
    // The folder as given, joined to the name by the system's separator.
    EXPECT_THAT(run.Err, HasSubstr(std::string("empty") + kPathSeparator + "lamp1007.irr"));
    EXPECT_THAT(run.Err, HasSubstr("no response could be calculated"));
    EXPECT_THAT(NewFiles(), IsEmpty());
}

TEST_F(Cli, SettingsFileSuppliesTheCalculationOptions) {
    fs::create_directory(work_ / "irr");
    for (const char* name : {"lamp1007.irr", "lamp1012.bbf"}) {
        fs::rename(work_ / name, work_ / "irr" / name);
    }
    WriteFile(work_ / "uvlamp.ini",
              "[Global]\nIrrDirectory=irr\nUseBBF=1\nLimitScans=1\nMaxNumberOfScans=1\n"
              "LastScans=0\nLogFileName=never.log\n");
    before_ = FileNames(work_.Path());
    auto run = RunCliInProcess(Args({"lamps", "--settings", "uvlamp.ini"}));
    EXPECT_EQ(run.Out, "1007   2/  2  0.0%\n1012   1/  1  0.0%\n");
    run = RunCliInProcess(Args({"response", "--settings", "uvlamp.ini", "--output", "uvr"}));
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_FALSE(fs::exists(work_ / "never.log"));  // only --log starts a log
    // An option on the command line wins over the file.
    run = RunCliInProcess(
        Args({"response", "--settings", "uvlamp.ini", "--irr-dir", ".", "--output", "uvr2"}));
    EXPECT_EQ(run.Status, 1);
}

// The constants are flags of the instrument the files name: the temperature circuit changes the
// temperatures of UL scans, the MKIII boundary where the response's second range begins.
TEST(CliInstrument, ConstantsApplyToTheFilesInstrument) {
    test::TTempDir station;
    test::CopyFiles(UVLAMP_EXAMPLES_DIR, station.Path());
    test::TWorkingDirectory cwd(station.Path());
    const auto oldCircuit = RunCliInProcess({"scans", "--lamp", "L1031", "ul10624.137"});
    const auto newCircuit = RunCliInProcess({"scans", "--lamp", "L1031", "--new-t", "ul10624.137"});
    ASSERT_EQ(oldCircuit.Status, 0) << oldCircuit.Err;
    EXPECT_THAT(Lines(oldCircuit.Out), ElementsAre(HasSubstr(" 29C"), HasSubstr(" 29C")));
    EXPECT_THAT(Lines(newCircuit.Out), ElementsAre(Not(HasSubstr(" 29C")), Not(HasSubstr(" 29C"))));

    const std::vector<std::string> ql = {"ql_L1031.137", "ql_L1032.137"};
    ASSERT_EQ(RunCliInProcess(Args({"response", "--output", "plain"}, ql)).Status, 0);
    ASSERT_EQ(RunCliInProcess(Args({"response", "--mkiii", "--output", "mkiii"}, ql)).Status, 0);
    EXPECT_NE(ReadText(station / "plain_tc"), ReadText(station / "mkiii_tc"));
}

TEST(CliProgram, ReportsItsVersionAndExitStatus) {
    const std::string exe = UVLAMP_CLI_EXE;
    test::TTempDir dir;
    const std::string out = (dir / "out.txt").string();
    EXPECT_EQ(test::RunCommand("\"" + exe + "\" --version > \"" + out + "\""), 0);
    EXPECT_THAT(ReadText(out), StartsWith("uvlamp-cli "));
    EXPECT_EQ(test::RunCommand("\"" + exe + "\" lamps 2> \"" + out + "\""), 2);
    EXPECT_THAT(ReadText(out), HasSubstr("FILE is required"));
    EXPECT_EQ(test::RunCommand("\"" + exe + "\" response --help > \"" + out + "\""), 0);
    EXPECT_THAT(ReadText(out), HasSubstr("--log-reference"));
}

}  // namespace
}  // namespace uvlamp
