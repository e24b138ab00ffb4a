// The whole response chain on a fixture whose answer is known from the physics it was made with:
// loading scan files, the lamps' standards (an IRR file fitted with a black body, a BBF file),
// the response and its temperature coefficient, and the save with its four files. The expected
// files come from tests/data/response/endtoend/make_expected.py, which computes them from the
// model of the scans, not from this program; that script says how.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "scans/Loading.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr double kNow = 45450.5;  // the fixed clock: noon of 7 June 2024, after every scan
const std::vector<std::string> kScanFiles = {"ql_1007.185", "qlb_1007.185", "ql_1012.185"};
const std::string kChosen = "uvr12524.185";  // the name given in the save dialog
constexpr int kReferenceLamp = 1;            // the log's columns relative to lamp 1012

// A line cut into text and numbers. A number is a decimal fraction (digits, a point, digits,
// optionally signed) standing on its own: not part of a word or a name such as ql_1007.185. It
// carries the blanks before it, so that its field width is compared too. Whole numbers
// (wavelengths, days, dates, times, rounded temperatures) stay text: they are exact.
struct TPiece {
    bool Number = false;
    std::string Text;
};

bool WordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
}

bool Digit(const std::string& s, std::size_t i) {
    return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) != 0;
}

// The end of the number starting at i, or i when none starts there.
std::size_t NumberEnd(const std::string& s, std::size_t i) {
    if (i > 0 && WordChar(s[i - 1])) {
        return i;
    }
    std::size_t j = i;
    if (s[j] == '-' || s[j] == '+') {
        ++j;
    }
    const std::size_t digits = j;
    while (Digit(s, j)) {
        ++j;
    }
    if (j == digits || j >= s.size() || s[j] != '.' || !Digit(s, j + 1)) {
        return i;
    }
    ++j;
    while (Digit(s, j)) {
        ++j;
    }
    return j < s.size() && WordChar(s[j]) ? i : j;
}

std::vector<TPiece> Pieces(const std::string& line) {
    std::vector<TPiece> pieces{{false, ""}};
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t end = NumberEnd(line, i);
        if (end == i) {
            if (pieces.back().Number) {
                pieces.push_back({false, ""});
            }
            pieces.back().Text += line[i++];
            continue;
        }
        std::string& text = pieces.back().Text;
        const std::size_t blanks = text.size() - (text.find_last_not_of(' ') + 1);
        std::string field = text.substr(text.size() - blanks) + line.substr(i, end - i);
        text.erase(text.size() - blanks);
        pieces.push_back({true, field});
        i = end;
    }
    return pieces;
}

int Decimals(const std::string& number) {
    return static_cast<int>(number.size() - number.find('.') - 1);
}

// Why two lines differ, or "" when they agree. The tolerance of a number is one unit in its last
// printed decimal, or 1e-6 of its value when that is larger. The expected value is exact; the
// program's differs by its own arithmetic, which can turn the last printed digit over but never
// by more: its smoothing errs by under 1e-7, and the black body it fits to the IRR file by under
// 1e-6 of the irradiance, which the fixture's magnitudes keep below a fifth of every last printed
// digit. A wrong formula, range, degree or lamp standard moves the numbers by tenths of a percent
// or more: many units. "-0.00" and "0.00" are the same number.
std::string LineDifference(const std::string& expected, const std::string& actual) {
    const auto e = Pieces(expected);
    const auto a = Pieces(actual);
    if (e.size() != a.size()) {
        return "different layout";
    }
    for (std::size_t k = 0; k < e.size(); ++k) {
        if (e[k].Number != a[k].Number) {
            return "different layout";
        }
        if (!e[k].Number) {
            if (e[k].Text != a[k].Text) {
                return "text \"" + a[k].Text + "\" instead of \"" + e[k].Text + "\"";
            }
            continue;
        }
        if (e[k].Text.size() != a[k].Text.size() || Decimals(e[k].Text) != Decimals(a[k].Text)) {
            return "field \"" + a[k].Text + "\" formatted unlike \"" + e[k].Text + "\"";
        }
        const double ev = std::strtod(e[k].Text.c_str(), nullptr);
        const double av = std::strtod(a[k].Text.c_str(), nullptr);
        const double tolerance =
            std::max(std::pow(10.0, -Decimals(e[k].Text)), 1e-6 * std::fabs(ev));
        if (std::fabs(av - ev) > tolerance * (1 + 1e-6)) {  // slack for the binary fractions
            return "number " + a[k].Text + " instead of " + e[k].Text;
        }
    }
    return "";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    if (!text.empty() && text.back() != '\n') {
        lines.push_back("<no line end>");
    }
    return lines;
}

void ExpectSameFile(const fs::path& expectedPath, const fs::path& actualPath) {
    SCOPED_TRACE(actualPath.string());
    ASSERT_TRUE(fs::exists(actualPath)) << "not written";
    const auto expected = Lines(test::ReadText(expectedPath));
    const auto actual = Lines(test::ReadText(actualPath));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(actual.size(), expected.size()) << "number of lines";
    int shown = 0;
    for (std::size_t i = 0; i < std::min(expected.size(), actual.size()) && shown < 12; ++i) {
        const std::string why = LineDifference(expected[i], actual[i]);
        if (!why.empty()) {
            ++shown;
            ADD_FAILURE() << actualPath.filename().string() << " line " << i + 1 << ": " << why
                          << "\n  expected: " << expected[i] << "\n  actual:   " << actual[i];
        }
    }
}

// Every file under a folder with its bytes, by its path relative to the folder.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), folder).generic_string()] =
                test::ReadText(entry.path());
        }
    }
    return files;
}

// Makes a folder the current one for a scope: what the program writes by a relative name lands
// there, where it can be seen.
class TCurrentFolder {
  public:
    explicit TCurrentFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~TCurrentFolder() { fs::current_path(previous_); }
    TCurrentFolder(const TCurrentFolder&) = delete;
    TCurrentFolder& operator=(const TCurrentFolder&) = delete;

  private:
    fs::path previous_;
};

// The operator's run: the scan files and the lamps' IRR and BBF files copied into one folder,
// "Use BBF files" on, a log; the three files loaded, then the save button's work with the
// default grid.
class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        fixtureBefore = Contents(Fixture());
        for (const auto& entry : fs::directory_iterator(Fixture() / "input")) {
            test::WriteFile(work / entry.path().filename().string(), test::ReadText(entry.path()));
        }
        TSettings& settings = program.ProgramSettings;
        settings.IrrDirectory = work.Path().string();
        settings.UseBBF = true;
        settings.LastDir = work.Path().string();
        program.Clock = [] { return kNow; };
        program.StartLog(LogPath().string());

        load = LoadSelectedFiles(program, op, work.Path(), kScanFiles);
        const auto grid = ReadOutputGrid("2865", "3250", "5", op);
        ASSERT_TRUE(grid);
        calculation = CalculateResponse(program, op);
        op.QueueFile(Chosen());
        save = SaveResponseFiles(program, op, *grid, kReferenceLamp);
    }

    static fs::path Fixture() { return test::DataPath("response/endtoend"); }
    std::string Chosen() const { return (work / kChosen).string(); }
    fs::path LogPath() const { return work / "uvlamp.log"; }

    test::TTempDir work;
    test::TTempDir elsewhere;  // the current folder meanwhile
    TCurrentFolder current{elsewhere.Path()};
    std::map<std::string, std::string> fixtureBefore;
    TProgram program;
    TScriptedOperator op;
    TLoadResult load;
    TResponseCalculation calculation;
    TResponseSave save;
};

TEST_F(EndToEnd, WritesTheFilesCheckedByHand) {
    EXPECT_EQ(load.FilesRead, kScanFiles);
    EXPECT_THAT(load.Skipped, IsEmpty());
    EXPECT_THAT(load.Notes, IsEmpty());
    EXPECT_FALSE(load.Error);
    EXPECT_TRUE(calculation.Made);
    EXPECT_THAT(calculation.NotAveraged, IsEmpty());
    EXPECT_TRUE(save.Saved);
    EXPECT_THAT(op.Messages(), IsEmpty());
    EXPECT_THAT(op.Questions(), IsEmpty());
    for (const char* suffix : {"_tc", ".log_tc", ".tc", ".tc.relative"}) {
        ExpectSameFile(Fixture() / "expected" / (kChosen + suffix), Chosen() + suffix);
    }
}

TEST_F(EndToEnd, NamesTheFilesForTheTemperatureSpreadAndLogsTheSave) {
    const std::string n = Chosen();
    EXPECT_THAT(save.Written,
                UnorderedElementsAre(n + "_tc", n + ".log_tc", n + ".tc", n + ".tc.relative"));
    const auto lines = Lines(test::ReadText(LogPath()));
    const auto calculated = std::find(lines.begin(), lines.end(), "\t\tResponse calculated.");
    ASSERT_NE(calculated, lines.end());
    EXPECT_THAT(std::vector<std::string>(calculated + 1, lines.end()),
                ElementsAre("\t\tResponse saved to " + n + "_tc",
                            "\t\tResponse log saved to " + n + ".log_tc"));
}

TEST_F(EndToEnd, WritesNothingOutsideItsFolder) {
    EXPECT_THAT(Contents(elsewhere.Path()), IsEmpty());
    EXPECT_EQ(Contents(Fixture()), fixtureBefore);
    std::vector<std::string> names;
    for (const auto& file : Contents(work.Path())) {
        names.push_back(file.first);
    }
    // The inputs, the log, the BBF file made from the IRR file, and the four saved files.
    EXPECT_THAT(names, UnorderedElementsAre("ql_1007.185", "qlb_1007.185", "ql_1012.185",
                                            "lamp1007.irr", "lamp1012.bbf", "lamp1007.bbf",
                                            "uvlamp.log", kChosen + "_tc", kChosen + ".log_tc",
                                            kChosen + ".tc", kChosen + ".tc.relative"));
}

// The comparison must let through only the rounding of the last printed digit.
TEST(EndToEndComparison, ToleratesOnlyTheLastPrintedDigit) {
    struct TCase {
        const char* Expected;
        const char* Actual;
        bool Same;
    };
    const TCase cases[] = {
        {"   3250   415.446", "   3250   415.446", true},
        {"   3250   415.446", "   3250   415.447", true},   // one unit
        {"   3250   415.446", "   3250   415.448", false},  // two units
        {"   3250   415.446", "   3250   417.523", false},  // 0.5 %
        {"   3250   415.446", "   3255   415.446", false},  // a wavelength is exact
        {"   3250   415.446", "   3250  415.446", false},   // spacing
        {"   3250   415.446", "   3250   415.45", false},   // decimals
        {"   3250   415.446", "   3250   415.446 ", false},
        {" 3250    415.45    415.45     0.00     0.0%|   3.81% |",
         " 3250    415.45    415.45    -0.00    -0.0%|   3.81% |", true},
        {" 3250    415.45    415.45     0.00     0.0%|   3.81% |",
         " 3250    415.45    415.45     0.00     0.0%|   3.81%  |", false},
        {" 3250    415.45    415.45     0.00     0.0%|   3.81% |",
         " 3250    415.45    415.45     0.00     0.0|    3.81% |", false},
        {"   3250 -0.00189668", "   3250 -0.00189669", true},
        {"   3250 -0.00189668", "   3250 -0.00189768", false},
        {"   1884.58", "   1884.59", true},
        {"Julian day 123  date: May 2, 2024 09:15:00 T= 14C",
         "Julian day 123  date: May 2, 2024 09:15:01 T= 14C", false},
        {"Julian day 123  date: May 2, 2024 09:15:00 T= 14C",
         "Julian day 123  date: May 2, 2024 09:15:00 T= 15C", false},
        {"Processed files: ql_1007.185 qlb_1007.185", "Processed files: ql_1007.186 qlb_1007.185",
         false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Expected) + " | " + c.Actual);
        EXPECT_EQ(LineDifference(c.Expected, c.Actual).empty(), c.Same);
    }
}

}  // namespace
}  // namespace uvlamp
