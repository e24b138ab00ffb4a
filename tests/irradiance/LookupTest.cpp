#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "irradiance/IrrFixtures.h"
#include "irradiance/Lookup.h"
#include "shell/FileIo.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr double kNow = 46123.75;  // the fixtures' clock: today is day 46123
const test::TBody kBody{1e5, 3000};

// A program whose IRR and BBF files live in a fresh folder, logging into that folder.
struct TLookupSetup {
    test::TTempDir Dir;
    TProgram Program;
    TScriptedOperator Op;

    explicit TLookupSetup(bool useBbf) {
        Program.ProgramSettings.IrrDirectory = Dir.Path().string();
        Program.ProgramSettings.UseBBF = useBbf;
        Program.Clock = [] { return kNow; };
        Program.StartLog(LogPath().string());
    }

    fs::path LogPath() const { return Dir / "log.txt"; }
    std::string IrrPath(const std::string& name = "1007") const {
        return IrrFilePath(Program.ProgramSettings.IrrDirectory, name);
    }
    std::string BbfPath(const std::string& name = "1007") const {
        return BbfFilePath(Program.ProgramSettings.IrrDirectory, name);
    }
    void WriteIrr(const test::TBody& body = kBody, double distance = 50) const {
        test::WriteFile(IrrPath(),
                        test::IrrText("lamp1007", body, test::Angstroms(2500, 4500, 50), distance));
    }
    TLamp& AddLamp(const std::string& name, double dateTime = 46000) {
        Program.LampList.push_back(
            test::ModelLamp(name, kBody, test::Angstroms(2900, 3600, 50), dateTime));
        return *Program.LampList.back();
    }
    // The log's lines without its banners and empty lines.
    std::vector<std::string> LoggedLines() const {
        std::vector<std::string> lines;
        std::istringstream in(test::ReadText(LogPath()));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.rfind("Logging turned", 0) != 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

TEST(LampFilePaths, JoinTheFolderAndNeverLeaveIt) {
    const std::string sep(1, kPathSeparator);
    EXPECT_EQ(IrrFilePath("irr", "1007"), "irr" + sep + "lamp1007.irr");
    EXPECT_EQ(BbfFilePath("irr", "1007"), "irr" + sep + "lamp1007.bbf");
    EXPECT_EQ(IrrFilePath("", "1007"), "lamp1007.irr");
    for (const char* name : {"../1007", "a/b", "..", "x\\y", "c\nd", "e\x01"}) {
        SCOPED_TRACE(name);
        for (const std::string& path : {IrrFilePath("irr", name), BbfFilePath("irr", name)}) {
            const fs::path p(path);
            EXPECT_EQ(p.parent_path(), fs::path("irr"));
            EXPECT_EQ(p.filename().string().rfind("lamp", 0), 0u);
            EXPECT_EQ(path.find_first_of("\n\x01"), std::string::npos);
        }
    }
}

TEST(LookupIrradiance, LogsAndTellsWhatEachSituationComesTo) {
    struct TCase {
        const char* Name;
        bool UseBbf;
        bool Irr;
        bool Bbf;
        std::vector<std::string> Log;  // {irr} and {bbf} stand for the paths
        bool Missing;                  // the operator is told that the IRR file is not found
    };
    const TCase cases[] = {
        {"plain IRR", false, true, false, {}, false},
        {"plain, no IRR", false, false, false, {"\t\tIRR file {irr} not found."}, true},
        {"BBF present", true, false, true, {"Updating {bbf}."}, false},
        {"BBF made from the IRR",
         true,
         true,
         false,
         {"File {bbf} not found.", "Creating {bbf}."},
         false},
        {"neither",
         true,
         false,
         false,
         {"File {bbf} not found.", "\t\tIRR file {irr} not found."},
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLookupSetup s(c.UseBbf);
        if (c.Irr) {
            s.WriteIrr();
        }
        if (c.Bbf) {
            test::WriteFile(s.BbfPath(), test::BbfText({kBody.Record(50, 45000)}));
        }
        TLamp& lamp = s.AddLamp("1007");
        EXPECT_EQ(LookupIrradiance(s.Program, lamp, s.Op), !c.Missing);
        EXPECT_EQ(lamp.Irr != nullptr, !c.Missing);
        std::vector<std::string> expected;
        for (const std::string& line : c.Log) {
            expected.push_back(
                ReplaceAll(ReplaceAll(line, "{irr}", s.IrrPath()), "{bbf}", s.BbfPath()));
        }
        EXPECT_EQ(s.LoggedLines(), expected);
        if (c.Missing) {
            ASSERT_EQ(s.Op.Journal().size(), 1u);
            EXPECT_EQ(s.Op.Journal()[0].Text, "IRR file not found.");
            EXPECT_EQ(s.Op.Journal()[0].Caption, s.IrrPath());
        } else {
            EXPECT_THAT(s.Op.Messages(), IsEmpty());
            EXPECT_NEAR(lamp.Irr->Bbf.Current.Temperature, 3000, 0.05);
        }
        EXPECT_EQ(fs::exists(s.BbfPath()), c.Bbf || (c.UseBbf && c.Irr));
    }
}

TEST(LookupIrradiance, AMadeBbfFileHoldsTodaysFitAndServesTheNextLookupAlone) {
    TLookupSetup s(true);
    s.WriteIrr(test::TBody{2e5, 3200}, 30);
    TLamp& lamp = s.AddLamp("1007");
    ASSERT_TRUE(LookupIrradiance(s.Program, lamp, s.Op));
    const TBbfRecord made = lamp.Irr->Bbf.Current;
    EXPECT_EQ(made.Date, 46123);
    EXPECT_EQ(made.Distance, 30);
    EXPECT_NEAR(made.Temperature, 3200, 0.05);
    EXPECT_NEAR(made.Factor / 2e5, 1, 1e-4);
    EXPECT_EQ(test::ReadText(s.BbfPath()), FormatBbfLine(made));

    // The IRR file is gone: only the BBF file can give the second lookup its standard.
    fs::remove(s.IrrPath());
    lamp.Irr.reset();
    ASSERT_TRUE(LookupIrradiance(s.Program, lamp, s.Op));
    EXPECT_THAT(s.Op.Messages(), IsEmpty());
    EXPECT_EQ(lamp.Irr->Bbf.FileName, s.BbfPath());
    EXPECT_EQ(lamp.Irr->Bbf.Current.Date, 46123);
    EXPECT_NEAR(lamp.Irr->Bbf.Current.Temperature, made.Temperature, 1e-4);
    EXPECT_EQ(s.LoggedLines().back(), "Updating " + s.BbfPath() + ".");
}

TEST(LookupIrradiance, TakesTheLatestRecordBeforeTheScans) {
    struct TCase {
        double DateTime;
        double Temperature;
    };
    // Records of 2900 K, 3000 K and 3100 K made on days 100, 200 and 300.
    const TCase cases[] = {{50, 2900},    {100, 2900}, {150.5, 2900}, {200, 2900},
                           {200.5, 3000}, {300, 3000}, {301, 3100},   {1e6, 3100}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.DateTime);
        TLookupSetup s(true);
        test::WriteFile(s.BbfPath(), test::BbfText({test::TBody{1e5, 3100}.Record(50, 300),
                                                    test::TBody{1e5, 2900}.Record(50, 100),
                                                    test::TBody{1e5, 3000}.Record(50, 200)}));
        TLamp& lamp = s.AddLamp("1007", c.DateTime);
        ASSERT_TRUE(LookupIrradiance(s.Program, lamp, s.Op));
        EXPECT_EQ(lamp.Irr->Bbf.Current.Temperature, c.Temperature);
        EXPECT_THAT(s.Op.Journal(), IsEmpty());
    }
}

TEST(LookupIrradiance, FindsTheFilesInAnyLetterCase) {
    TLookupSetup plain(false);
    test::WriteFile(plain.Dir / "LAMP1007.IRR",
                    test::IrrText("LAMP1007", kBody, test::Angstroms(2500, 4500, 50)));
    TLamp& a = plain.AddLamp("1007");
    ASSERT_TRUE(LookupIrradiance(plain.Program, a, plain.Op));
    EXPECT_NEAR(a.Irr->Bbf.Current.Temperature, 3000, 0.05);

    TLookupSetup withBbf(true);
    test::WriteFile(withBbf.Dir / "Lamp1007.Bbf", test::BbfText({kBody.Record(40, 45000)}));
    TLamp& b = withBbf.AddLamp("1007");
    ASSERT_TRUE(LookupIrradiance(withBbf.Program, b, withBbf.Op));
    EXPECT_EQ(b.Irr->Bbf.Current.Distance, 40);
#ifndef _WIN32
    EXPECT_EQ(a.Irr->FileName, (plain.Dir / "LAMP1007.IRR").string());
    EXPECT_EQ(b.Irr->Bbf.FileName, (withBbf.Dir / "Lamp1007.Bbf").string());
#endif
    EXPECT_THAT(plain.Op.Journal(), IsEmpty());
    EXPECT_THAT(withBbf.Op.Journal(), IsEmpty());

    // A BBF file made beside an upper-case IRR file is found by the next lookup all the same.
    TLookupSetup made(true);
    test::WriteFile(made.Dir / "LAMP1007.IRR",
                    test::IrrText("LAMP1007", kBody, test::Angstroms(2500, 4500, 50), 35));
    TLamp& c = made.AddLamp("1007");
    ASSERT_TRUE(LookupIrradiance(made.Program, c, made.Op));
    fs::remove(made.Dir / "LAMP1007.IRR");
    c.Irr.reset();
    ASSERT_TRUE(LookupIrradiance(made.Program, c, made.Op));
    EXPECT_EQ(c.Irr->Bbf.Current.Distance, 35);
    EXPECT_EQ(c.Irr->Bbf.Current.Date, 46123);
    EXPECT_THAT(made.Op.Journal(), IsEmpty());
}

TEST(LookupIrradiance, ALampEndingWithoutAStandardLosesItsResponseToo) {
    struct TCase {
        const char* Name;
        bool UseBbf;
        std::string IrrFile;  // empty for none
        std::string BbfFile;  // empty for none
        bool NamesBbf;        // the message names the BBF file rather than the IRR file
    };
    TBbfRecord cold = kBody.Record(50, 45000);
    cold.Temperature = 0;
    TBbfRecord nowhere = kBody.Record(50, 45000);
    nowhere.Distance = 0;
    const TCase cases[] = {
        {"no IRR file", false, "", "", false},
        {"two points to fit", false, test::IrrText("x", kBody, {2900, 3000, 4100}), "", false},
        {"record of 0 K", true, "", test::BbfText({cold}), true},
        {"record at 0 cm", true, "", test::BbfText({nowhere}), true},
        // The IRR file is fine, but a BBF file stands in for it.
        {"record of 0 K beside an IRR file", true,
         test::IrrText("x", kBody, test::Angstroms(2500, 4500, 50)), test::BbfText({cold}), true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TLookupSetup s(c.UseBbf);
        if (!c.IrrFile.empty()) {
            test::WriteFile(s.IrrPath(), c.IrrFile);
        }
        if (!c.BbfFile.empty()) {
            test::WriteFile(s.BbfPath(), c.BbfFile);
        }
        TLamp& lamp = s.AddLamp("1007");
        // What an earlier lookup and apply left.
        lamp.Irr = test::StandardOf(kBody.Record());
        lamp.Response = std::make_unique<TScan>(lamp.NPoints, &lamp, nullptr);

        EXPECT_FALSE(LookupIrradiance(s.Program, lamp, s.Op));
        EXPECT_EQ(lamp.Irr, nullptr);
        EXPECT_EQ(lamp.Response, nullptr);
        ASSERT_EQ(s.Op.Journal().size(), 1u);
        const auto& told = s.Op.Journal()[0];
        if (c.IrrFile.empty() && !c.UseBbf) {
            EXPECT_EQ(told.Text, "IRR file not found.");
            EXPECT_EQ(told.Caption, s.IrrPath());
        } else {
            EXPECT_THAT(told.Text, HasSubstr("1007"));
            EXPECT_THAT(told.Text, HasSubstr(c.NamesBbf ? s.BbfPath() : s.IrrPath()));
        }
    }
}

TEST(LookupAllIrradiance, LooksUpEveryLampAndTellsOfEachMissingFile) {
    TLookupSetup s(false);
    s.WriteIrr();
    TLamp& a = s.AddLamp("1007");
    TLamp& b = s.AddLamp("1008");
    TLamp& c = s.AddLamp("1009");
    LookupAllIrradiance(s.Program, s.Op);
    EXPECT_NE(a.Irr, nullptr);
    EXPECT_EQ(b.Irr, nullptr);
    EXPECT_EQ(c.Irr, nullptr);
    EXPECT_THAT(s.Op.Messages(), ElementsAre("IRR file not found.", "IRR file not found."));
    ASSERT_EQ(s.Op.Journal().size(), 2u);
    EXPECT_EQ(s.Op.Journal()[0].Caption, s.IrrPath("1008"));
    EXPECT_EQ(s.Op.Journal()[1].Caption, s.IrrPath("1009"));
}

TEST(LookupReferenceLamp, OnlyALampWithAStandardCanStayTheReference) {
    struct TCase {
        int Index;
        bool Kept;
        bool Told;
    };
    // Lamp 0 has an IRR file, lamp 1 has none.
    const TCase cases[] = {
        {0, true, false}, {1, false, true}, {-1, false, false}, {2, false, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Index);
        TLookupSetup s(false);
        s.WriteIrr();
        s.AddLamp("1007");
        s.AddLamp("1008");
        EXPECT_EQ(LookupReferenceLamp(s.Program, c.Index, s.Op), c.Kept);
        if (c.Told) {
            EXPECT_THAT(s.Op.Messages(), ElementsAre("IRR file not found."));
        } else {
            EXPECT_THAT(s.Op.Journal(), IsEmpty());
        }
    }
}

// A lamp measured through the fixture instrument with a standard of the same body certified at
// 25 cm: its response at 50 cm is four times the instrument response.
std::unique_ptr<TLamp> LampWithStandardAt25() {
    auto lamp = test::ModelLamp("1007", kBody, test::Angstroms(2900, 3600, 50));
    lamp->Irr = test::StandardOf(kBody.Record(25));
    for (int i = 1; i <= lamp->NPoints; ++i) {
        const double counts = lamp->Average.Counts[i];
        lamp->TSlopeCounts[i] = -0.01 * counts;
        lamp->At0CCounts[i] = 1.2 * counts;
        lamp->At25CCounts[i] = 0.9 * counts;
    }
    return lamp;
}

TEST(ApplyIrradiance, DividesTheCountsByTheStandardAtTheLampsDistance) {
    auto lamp = LampWithStandardAt25();
    TScriptedOperator op;
    for (int pass = 1; pass <= 2; ++pass) {
        SCOPED_TRACE(pass);
        ASSERT_TRUE(ApplyIrradiance(*lamp, op));
        ASSERT_NE(lamp->Response, nullptr);
        ASSERT_EQ(lamp->Response->NPoints, lamp->NPoints);
        for (int i = 1; i <= lamp->NPoints; ++i) {
            const double w = lamp->Average.Wavelength[i];
            const double r = 4 * test::InstrumentResponse(w);
            EXPECT_EQ(lamp->Response->Wavelength[i], w);
            EXPECT_NEAR(lamp->Response->Counts[i] / r, 1, 1e-12);
            EXPECT_NEAR(lamp->TSlopeScan.Counts[i] / (-0.01 * r), 1, 1e-12);
            EXPECT_NEAR(lamp->At0CScan.Counts[i] / (1.2 * r), 1, 1e-12);
            EXPECT_NEAR(lamp->At25CScan.Counts[i] / (0.9 * r), 1, 1e-12);
        }
    }
    EXPECT_THAT(op.Journal(), IsEmpty());
}

TEST(ApplyIrradiance, NeedsAStandardAndSelectedScans) {
    TScriptedOperator op;
    TLampList lamps;
    lamps.push_back(LampWithStandardAt25());  // gets a response
    lamps.push_back(LampWithStandardAt25());  // no selected scans: loses its response
    lamps.push_back(LampWithStandardAt25());  // no standard: left alone
    lamps[1]->NUsed = 0;
    lamps[2]->Irr.reset();
    for (auto& lamp : lamps) {
        lamp->Response = std::make_unique<TScan>(lamp->NPoints, lamp.get(), nullptr);
        lamp->TSlopeScan.Counts[1] = 7;
    }
    const TScan* untouched = lamps[2]->Response.get();

    ApplyAllIrradiance(lamps, op);
    EXPECT_NEAR(lamps[0]->Response->Counts[1] / (4 * test::InstrumentResponse(0.29)), 1, 1e-12);
    EXPECT_EQ(lamps[1]->Response, nullptr);
    EXPECT_EQ(lamps[2]->Response.get(), untouched);
    EXPECT_EQ(lamps[2]->TSlopeScan.Counts[1], 7);

    EXPECT_FALSE(ApplyIrradiance(*lamps[1], op));
    EXPECT_FALSE(ApplyIrradiance(*lamps[2], op));
    EXPECT_EQ(lamps[2]->Response.get(), untouched);
    EXPECT_THAT(op.Journal(), IsEmpty());
}

}  // namespace
}  // namespace uvlamp
