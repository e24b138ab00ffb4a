// Loading a station archive: the whole load (reading, parsing, merging, lamp statistics) against
// the bare reading of the same bytes, and the statistics alone (what every change of the scan
// selection costs).
//
// The archive is written into a temporary folder, the way the instrument writes it (CR LF line
// ends), the first time a size is needed; the folder is removed when the program ends. The
// benchmark argument "full" picks the size: 0 a small archive for the ctest smoke run, 1 the full
// archive of a station (three QL files with ten years of daily scans, 1,000 daily UL files).
// Before anything is timed the archive is loaded once and the result is checked; a load that
// skipped a file or lost scans ends the program with a message instead of being measured.

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "scans/Loading.h"
#include "scans/Statistics.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"

namespace {

namespace fs = std::filesystem;

struct TArchiveShape {
    int QlFiles;   // one lamp each
    int QlBlocks;  // daily scans in each QL file
    int UlFiles;   // one file per day
};

constexpr std::array<TArchiveShape, 2> kShapes{{{1, 100, 10}, {3, 3650, 1000}}};

constexpr int kQlPoints = 24;
constexpr int kQlFirstWavelength = 2900;  // Å
constexpr int kQlStep = 15;
constexpr int kQlFirstYear = 2011;

constexpr int kUlPoints = 150;
constexpr int kUlFirstWavelength = 2900;
constexpr int kUlStep = 5;
constexpr int kUlFirstYear = 2018;
constexpr int kUlLamps = 3;
constexpr int kUlRecordsPerLamp = 2;  // per file; a record holds two scans

constexpr int kDaysPerYear = 365;  // day 366 of leap years is left out

// The lamps of the QL files and of the UL records. They must differ: a lamp's scans must all be
// on one wavelength grid, and the two kinds of file measure on different grids.
std::string QlLampName(int i) {
    return "L100" + std::to_string(i + 1);
}
std::string UlLampName(int i) {
    return "L200" + std::to_string(i + 1);
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "bench_load: %s\n", what.c_str());
    std::exit(EXIT_FAILURE);  // runs the static destructors, so the archive is removed
}

// Appends one formatted line ending in CR LF.
[[gnu::format(printf, 2, 3)]] void Line(std::string& out, const char* format, ...) {
    char buffer[160];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buffer) {
        Fail("a generated line does not fit its buffer");
    }
    out.append(buffer, static_cast<std::size_t>(n));
    out += "\r\n";
}

struct TDate {
    int Year;
    int Month;
    int Day;
};

TDate DateOfDay(int year, int dayOfYear) {
    using namespace std::chrono;
    const year_month_day date{sys_days{std::chrono::year{year} / January / 1} +
                              days{dayOfYear - 1}};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

class TNoise {
  public:
    explicit TNoise(unsigned seed) : engine_(seed) {}
    // Uniform in [-1, 1).
    double Next() { return unit_(engine_); }
    int Below(int n) { return static_cast<int>(engine_() % static_cast<unsigned>(n)); }

  private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> unit_{-1.0, 1.0};
};

// A QL file: one lamp, one block of 24 points per day for `blocks` days from 1 January of the
// first year, 365 days a year.
std::string MakeQlFile(int lamp, int blocks, TNoise& noise) {
    std::string text;
    text.reserve(static_cast<std::size_t>(blocks) * (kQlPoints + 2) * 16);
    for (int b = 0; b < blocks; ++b) {
        const int year = kQlFirstYear + b / kDaysPerYear;
        const int day = b % kDaysPerYear + 1;
        const double season = std::sin(2 * 3.14159265358979 * day / kDaysPerYear);
        const double temperature = 20.0 + 3.0 * season + 0.5 * noise.Next();
        Line(text, " %d %03d%02d  %.1f  %.1f  %.1f   0", kQlPoints, day, year % 100, 50.0,
             temperature, 2.0 + 0.5 * noise.Next());
        for (int k = 0; k < kQlPoints; ++k) {
            // About 1e4 to 8e4 counts per second, a little lower when the lamp is warmer.
            const double base =
                1.0e4 * std::pow(8.0, k / double(kQlPoints - 1)) * (1.0 + 0.05 * lamp);
            const double rate =
                base * (1.0 - 0.003 * (temperature - 20.0)) * (1.0 + 0.005 * noise.Next());
            Line(text, " %d  %.1f", kQlFirstWavelength + kQlStep * k, rate);
        }
        Line(text, " %02d:%02d:%02d", noise.Below(24), noise.Below(60), noise.Below(60));
    }
    return text;
}

void AppendUlPoint(std::string& text, int index, double rawCounts) {
    Line(text, "  %d  %d  0  %.0f", index, kUlFirstWavelength + kUlStep * (index - 1), rawCounts);
}

// A UL file of one day: two records for each of the three lamps, each record a scan with
// increasing and one with decreasing wavelength.
std::string MakeUlFile(const TDate& date, TNoise& noise) {
    std::string text;
    text.reserve(kUlLamps * kUlRecordsPerLamp * (2 * kUlPoints + 14) * 24);
    std::array<double, kUlPoints + 1> raw{};
    for (int record = 0; record < kUlLamps * kUlRecordsPerLamp; ++record) {
        const int lamp = record % kUlLamps;
        const double reading = 2.80 + 0.05 * noise.Next();  // about 15 °C
        Line(text, "Integration time is 0.1147 seconds per cycle");
        Line(text, "dt 2.9e-08");
        Line(text, "cy 4");
        Line(text, "le %d", kUlPoints);
        Line(text, "ln %s", UlLampName(lamp).c_str());
        Line(text, "di 50.0");
        Line(text, "dh %d %d %02d", date.Day, date.Month, date.Year % 100);
        Line(text, " Lamp test");
        Line(text, " 120.0 130.0 %.2f", reading);
        Line(text, "pr 1013");
        for (int i = 1; i <= kUlPoints; ++i) {
            // Count rates rising from 1e3 to 1e6 per second over the range, as a lamp's do from
            // 2900 to 3645 Å; 4 cycles of 0.1147 s each.
            const double rate = 1.0e3 * std::pow(10.0, 3.0 * (i - 1) / double(kUlPoints - 1));
            raw[i] = 25 + rate * 0.1147 * (0.9 - 0.02 * lamp) * (1.0 + 0.005 * noise.Next());
        }
        Line(text, "DARK 25");
        for (int i = 1; i <= kUlPoints; ++i) {
            AppendUlPoint(text, i, raw[i]);
        }
        Line(text, "DARK 26");
        for (int i = kUlPoints; i >= 1; --i) {
            AppendUlPoint(text, i, raw[i] * (1.0 + 0.002 * noise.Next()));
        }
        Line(text, "end");
    }
    return text;
}

struct TExpectedLamp {
    std::string Name;
    int Scans;
    int Points;
};

struct TArchive {
    fs::path Dir;
    std::vector<std::string> Names;  // in the order a directory listing shows them
    std::int64_t Bytes = 0;
    std::vector<TExpectedLamp> Lamps;  // in the order loading finds them
    std::int64_t Scans = 0;
    uvlamp::TProgram Loaded;  // the archive loaded once and checked
};

void Configure(uvlamp::TSettings& settings) {
    settings.TeFrom = -50;
    settings.TeTo = 50;
}

void WriteFile(TArchive& archive, const std::string& name, const std::string& text) {
    std::ofstream out(archive.Dir / name, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        Fail("could not write " + (archive.Dir / name).string());
    }
    archive.Names.push_back(name);
    archive.Bytes += static_cast<std::int64_t>(text.size());
}

void Generate(TArchive& archive, const TArchiveShape& shape) {
    TNoise noise(12345);
    for (int q = 0; q < shape.QlFiles; ++q) {
        WriteFile(archive, "ql_" + QlLampName(q) + ".042", MakeQlFile(q, shape.QlBlocks, noise));
        archive.Lamps.push_back({QlLampName(q), shape.QlBlocks, kQlPoints});
    }
    for (int u = 0; u < shape.UlFiles; ++u) {
        const int year = kUlFirstYear + u / kDaysPerYear;
        const int day = u % kDaysPerYear + 1;
        char name[32];
        std::snprintf(name, sizeof name, "ul%03d%02d.042", day, year % 100);
        WriteFile(archive, name, MakeUlFile(DateOfDay(year, day), noise));
    }
    for (int l = 0; l < kUlLamps; ++l) {
        archive.Lamps.push_back({UlLampName(l), shape.UlFiles * kUlRecordsPerLamp * 2, kUlPoints});
    }
    for (const auto& lamp : archive.Lamps) {
        archive.Scans += lamp.Scans;
    }
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

// The archives made so far, by size, in one temporary folder that goes at the end of the program.
class TArchiveStore {
  public:
    TArchiveStore() = default;
    TArchiveStore(const TArchiveStore&) = delete;
    TArchiveStore& operator=(const TArchiveStore&) = delete;
    ~TArchiveStore() {
        for (auto& archive : archives_) {
            archive.reset();
        }
        if (!root_.empty()) {
            std::error_code ec;
            fs::remove_all(root_, ec);
        }
    }

    TArchive& Get(std::int64_t size) {
        if (size < 0 || size >= static_cast<std::int64_t>(kShapes.size())) {
            Fail("no archive of size " + std::to_string(size));
        }
        auto& archive = archives_[static_cast<std::size_t>(size)];
        if (!archive) {
            archive = Make(kShapes[static_cast<std::size_t>(size)], "size" + std::to_string(size));
        }
        return *archive;
    }

  private:
    fs::path Root() {
        if (root_.empty()) {
            std::random_device random;
            const fs::path temp = fs::temp_directory_path();
            for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
                const fs::path candidate = temp / ("uvlamp-bench-" + std::to_string(random()));
                std::error_code ec;
                if (fs::create_directory(candidate, ec)) {
                    root_ = candidate;
                }
            }
            if (root_.empty()) {
                Fail("could not create a temporary folder in " + temp.string());
            }
        }
        return root_;
    }

    std::unique_ptr<TArchive> Make(const TArchiveShape& shape, const std::string& folder) {
        auto archive = std::make_unique<TArchive>();
        archive->Dir = Root() / folder;
        fs::create_directory(archive->Dir);
        Generate(*archive, shape);
        Configure(archive->Loaded.ProgramSettings);
        uvlamp::TScriptedOperator op;
        const auto result =
            uvlamp::LoadSelectedFiles(archive->Loaded, op, archive->Dir, archive->Names);
        Check(*archive, result, archive->Loaded, op);
        return archive;
    }

    fs::path root_;
    std::array<std::unique_ptr<TArchive>, kShapes.size()> archives_;
};

TArchiveStore& Store() {
    static TArchiveStore store;
    return store;
}

void BM_LoadArchive(benchmark::State& state) {
    const TArchive& archive = Store().Get(state.range(0));
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
    const TArchive& archive = Store().Get(state.range(0));
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
    TArchive& archive = Store().Get(state.range(0));
    uvlamp::TProgram& program = archive.Loaded;
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
