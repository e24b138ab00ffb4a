#include <gtest/gtest.h>

#include "scans/Instrument.h"
#include "shell/Errors.h"
#include "shell/ScriptedOperator.h"
#include "shell/Settings.h"

namespace uvlamp {
namespace {

TEST(CheckInstrument, TheFirstInstrumentIsTakenAndAnotherOneAskedFor) {
    TSettings settings;
    TScriptedOperator op;
    EXPECT_EQ(CheckInstrument(settings, op, ".042", "ql1.042"), TInstrumentCheck::Changed);
    EXPECT_EQ(settings.InstrumentNumber, "042");
    EXPECT_EQ(CheckInstrument(settings, op, ".042", "ql2.042"), TInstrumentCheck::Same);
    EXPECT_TRUE(op.Questions().empty());

    op.QueueAnswer(false);
    EXPECT_EQ(CheckInstrument(settings, op, ".118", "ql3.118"), TInstrumentCheck::Kept);
    EXPECT_EQ(settings.InstrumentNumber, "042");
    op.QueueAnswer(true);
    EXPECT_EQ(CheckInstrument(settings, op, ".118", "ql3.118"), TInstrumentCheck::Changed);
    EXPECT_EQ(settings.InstrumentNumber, "118");
    ASSERT_EQ(op.Questions().size(), 2u);
    EXPECT_EQ(op.Questions()[0], "This instrument number is different. Continue?");
    EXPECT_EQ(op.Journal()[0].Caption, "");
}

TEST(CheckInstrument, AnExtensionWithoutAnInstrumentNumberEndsTheLoading) {
    TSettings settings;
    TScriptedOperator op(true);
    settings.InstrumentNumber = "042";
    for (const char* extension : {".abc", ".", "", ".-12"}) {
        try {
            CheckInstrument(settings, op, extension, "qlfile");
            FAIL() << extension;
        } catch (const TConversionError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("qlfile: '", 0), 0u) << e.what();
        }
        EXPECT_EQ(settings.InstrumentNumber, "042");
    }
}

TEST(InstrumentIndex, ThreeDigitNumbersOnly) {
    EXPECT_EQ(InstrumentIndex("000"), 0);
    EXPECT_EQ(InstrumentIndex("042"), 42);
    EXPECT_EQ(InstrumentIndex("999"), 999);
    EXPECT_FALSE(InstrumentIndex("1000"));
    EXPECT_FALSE(InstrumentIndex("-1"));
    EXPECT_FALSE(InstrumentIndex(""));
    EXPECT_EQ(FileExtension("ql12320.042"), ".042");
    EXPECT_EQ(FileExtension("dir.x/ql"), "");
}

TEST(CurrentFlags, FollowTheCurrentInstrument) {
    TSettings settings;
    settings.MKIIIs[0] = true;
    EXPECT_FALSE(CurrentIsMKIII(settings));  // no instrument yet
    settings.InstrumentNumber = "000";
    EXPECT_TRUE(CurrentIsMKIII(settings));  // entry 0 is an instrument like any other
    settings.NewTs[999] = true;
    settings.InstrumentNumber = "999";
    EXPECT_TRUE(CurrentHasNewT(settings));
    EXPECT_FALSE(CurrentIsMKIII(settings));
}

TLampList LampOf(TScanKind kind, const std::vector<double>& angstroms, double reading) {
    TLampList lamps;
    lamps.push_back(std::make_unique<TLamp>("L"));
    const int n = static_cast<int>(angstroms.size());
    std::unique_ptr<TScan> s;
    switch (kind) {
        case TScanKind::QL:
            s = std::make_unique<TQLScan>(n, lamps[0].get(), nullptr);
            break;
        case TScanKind::UL:
            s = std::make_unique<TULScan>(n, lamps[0].get(), nullptr);
            break;
        default:
            s = std::make_unique<TXLScan>(n, lamps[0].get(), nullptr);
            break;
    }
    for (int i = 1; i <= n; ++i) {
        s->Wavelength[i] = angstroms[static_cast<std::size_t>(i - 1)] / 10000;
    }
    s->TempReading = reading;
    s->Temperature = 99;
    lamps[0]->Scans.push_back(std::move(s));
    return lamps;
}

TEST(UpdateTemperatures, UlAndXlScansFollowTheCircuitQlScansKeepTheirs) {
    for (TScanKind kind : {TScanKind::UL, TScanKind::XL}) {
        auto lamps = LampOf(kind, {2900}, 2.5);
        UpdateTemperatures(lamps, true);
        EXPECT_DOUBLE_EQ(lamps[0]->Scans[0]->Temperature, 2.5 * 18.64 - 33.27);
        UpdateTemperatures(lamps, false);
        EXPECT_EQ(lamps[0]->Scans[0]->Temperature, 10.5);
    }
    auto ql = LampOf(TScanKind::QL, {2900}, 2.5);
    UpdateTemperatures(ql, true);
    EXPECT_EQ(ql[0]->Scans[0]->Temperature, 99);
}

TEST(UpdateSplitIndices, TheSecondRangeBeginsAtTheLastPointAtOrBelowTheBoundary) {
    struct Case {
        std::vector<double> angstroms;
        bool mkiii;
        int split;
    };
    for (const Case& c :
         {Case{{3450, 3500, 3505, 3510}, true, 3}, Case{{3450, 3500, 3505, 3510}, false, 0},
          Case{{3200, 3255, 3260}, false, 2}, Case{{3600, 3650}, true, 0},
          Case{{2900, 3250}, true, 3}, Case{{2900, 3250}, false, 3}}) {
        auto lamps = LampOf(TScanKind::QL, c.angstroms, 0);
        UpdateSplitIndices(lamps, c.mkiii);
        EXPECT_EQ(lamps[0]->Scans[0]->SplitIndex, c.split) << c.angstroms.front() << c.mkiii;
    }
}

}  // namespace
}  // namespace uvlamp
