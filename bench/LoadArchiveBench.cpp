// Loading a station archive: the whole load (reading, parsing, merging, lamp statistics) against
// the bare reading of the same bytes, and the statistics alone (what every change of the scan
// selection costs).
//
// The archive (StationArchive.h) is written into a temporary folder, the way the instrument
// writes it (CR LF line ends), the first time a size is needed; the folder is removed when the
// program ends. The benchmark argument "full" picks the size: 0 a small archive for the ctest
// smoke run, 1 the full archive of a station (three QL files with ten years of daily scans, 1,000
// daily UL files).
// Before anything is timed the archive is loaded once and the result is checked; a load that
// skipped a file or lost scans ends the program with a message instead of being measured.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "StationArchive.h"
#include "scans/Loading.h"
#include "scans/Statistics.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"

namespace uvlamp::bench {
const char* const kProgramName = "bench_load";
}  // namespace uvlamp::bench

namespace {

using uvlamp::bench::Fail;
using uvlamp::bench::Store;
using uvlamp::bench::TArchive;
using uvlamp::bench::TExpectedLamp;

void Configure(uvlamp::TSettings& settings) {
    settings.TeFrom = -50;
    settings.TeTo = 50;
}

// Everything a correct load of the archive must show; the first difference ends the program.
void Check(const TArchive& archive, const uvlamp::TLoadResult& result,
           const uvlamp::TProgram& program, const uvlamp::TScriptedOperator& op) {
    const std::string where = "loading " + archive.Dir.string() + ": ";
    if (result.Error) {
        Fail(where + "error: " + *result.Error);
    }
    if (!result.Skipped.empty()) {
        Fail(where + std::to_string(result.Skipped.size()) + " file(s) skipped, the first " +
             result.Skipped.front().Name + " " + result.Skipped.front().Reason);
    }
    if (result.FilesRead != archive.Names) {
        Fail(where + std::to_string(result.FilesRead.size()) + " file(s) read of " +
             std::to_string(archive.Names.size()));
    }
    if (!result.Notes.empty()) {
        Fail(where + "note: " + result.Notes.front());
    }
    if (!op.Journal().empty()) {
        Fail(where + "the operator was told or asked: " + op.Journal().front().Text);
    }
    if (program.ProgramSettings.InstrumentNumber != "042") {
        Fail(where + "instrument '" + program.ProgramSettings.InstrumentNumber + "', not 042");
    }
    if (program.LampList.size() != archive.Lamps.size()) {
        Fail(where + std::to_string(program.LampList.size()) + " lamps, expected " +
             std::to_string(archive.Lamps.size()));
    }
    for (std::size_t i = 0; i < archive.Lamps.size(); ++i) {
        const TExpectedLamp& expected = archive.Lamps[i];
        const uvlamp::TLamp& lamp = *program.LampList[i];
        const std::string which = where + "lamp " + lamp.Name + ": ";
        if (lamp.Name != expected.Name) {
            Fail(which + "expected lamp " + expected.Name + " here");
        }
        if (static_cast<int>(lamp.Scans.size()) != expected.Scans || lamp.NUsed != expected.Scans) {
            Fail(which + std::to_string(lamp.Scans.size()) + " scans, " +
                 std::to_string(lamp.NUsed) + " used, expected " + std::to_string(expected.Scans));
        }
        if (lamp.NPoints != expected.Points) {
            Fail(which + std::to_string(lamp.NPoints) + " points, expected " +
                 std::to_string(expected.Points));
        }
        // The generated scans scatter by well under 10 % around a positive mean.
        if (!(lamp.MaxRelStd > 0 && lamp.MaxRelStd < 0.1)) {
            Fail(which + "largest relative deviation " + std::to_string(lamp.MaxRelStd));
        }
        for (int p = 1; p <= lamp.NPoints; ++p) {
            if (!(lamp.Average.Counts[p] > 0 && std::isfinite(lamp.Average.Counts[p]))) {
                Fail(which + "average count rate " + std::to_string(lamp.Average.Counts[p]) +
                     " at point " + std::to_string(p));
            }
        }
    }
}

// The archive of a size with its load: loaded once and checked the first time it is asked for,
// before anything is timed.
struct TLoadedArchive {
    const TArchive& Archive;
    uvlamp::TProgram Loaded;
};

TLoadedArchive& Loaded(std::int64_t size) {
    const TArchive& archive = Store().Get(size);
    // Made after the store, so it goes before the store removes the files.
    static std::array<std::unique_ptr<TLoadedArchive>, uvlamp::bench::kShapes.size()> loaded;
    auto& entry = loaded[static_cast<std::size_t>(size)];
    if (!entry) {
        entry = std::make_unique<TLoadedArchive>(archive);
        Configure(entry->Loaded.ProgramSettings);
        uvlamp::TScriptedOperator op;
        const auto result =
            uvlamp::LoadSelectedFiles(entry->Loaded, op, archive.Dir, archive.Names);
        Check(archive, result, entry->Loaded, op);
    }
    return *entry;
}

void BM_LoadArchive(benchmark::State& state) {
    const TArchive& archive = Loaded(state.range(0)).Archive;
    for (auto _ : state) {
        auto program = std::make_unique<uvlamp::TProgram>();
        Configure(program->ProgramSettings);
        uvlamp::TScriptedOperator op;
        auto result = uvlamp::LoadSelectedFiles(*program, op, archive.Dir, archive.Names);
        benchmark::DoNotOptimize(result.FilesRead.data());
        benchmark::DoNotOptimize(program->LampList.data());
        // Freeing the loaded lamps belongs to the next load's ClearLoaded, not to this one.
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * archive.Bytes);
    state.SetItemsProcessed(state.iterations() * archive.Scans);
    state.counters["archive_bytes"] = static_cast<double>(archive.Bytes);
    state.counters["files"] = static_cast<double>(archive.Names.size());
}

void BM_BareRead(benchmark::State& state) {
    const TArchive& archive = Loaded(state.range(0)).Archive;
    std::int64_t bytesRead = 0;
    for (auto _ : state) {
        bytesRead = 0;
        for (const std::string& name : archive.Names) {
            std::ifstream in(archive.Dir / name, std::ios::binary | std::ios::ate);
            if (!in) {
                Fail("could not open " + (archive.Dir / name).string());
            }
            std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
            in.seekg(0);
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            bytesRead += in.gcount();
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    if (bytesRead != archive.Bytes) {
        Fail("read " + std::to_string(bytesRead) + " bytes of " + std::to_string(archive.Bytes));
    }
    state.SetBytesProcessed(state.iterations() * archive.Bytes);
}

void BM_Statistics(benchmark::State& state) {
    TLoadedArchive& loaded = Loaded(state.range(0));
    const TArchive& archive = loaded.Archive;
    uvlamp::TProgram& program = loaded.Loaded;
    for (auto _ : state) {
        uvlamp::CalculateAverages(program.LampList, program.ProgramSettings, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * archive.Scans);
}

BENCHMARK(BM_LoadArchive)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareRead)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Statistics)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
