// A full response calculation and save as the save button does it, for 5 lamps of 21 QL scans
// each: the lookup of every lamp's standard (reading and fitting its IRR file), the response and
// its temperature dependence, the smoothing and the four files written. A second benchmark adds
// the loading of the five files, since every click reloads what is selected.
//
// The scans have two wavelength ranges (2900 to 3250 A and 3250 to 3625 A in steps of 25 A, 31
// points) and temperatures from 15 to 35 degrees, so the temperature files are written too. Before
// anything is timed the result is checked; a calculation or save that fails ends the program.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "irradiance/Bbf.h"
#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "scans/Loading.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLamps = 5;
constexpr int kScans = 21;

void Fail(const char* what) {
    std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
    std::exit(1);
}

std::vector<double> QlWavelengths() {
    std::vector<double> w;
    for (int a = 2900; a <= 3250; a += 25) {
        w.push_back(a);
    }
    for (int a = 3250; a <= 3625; a += 25) {
        w.push_back(a);
    }
    return w;
}

std::string Format(const char* format, double a, double b) {
    char line[96];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

// 21 daily scans of one lamp: a 3000 K lamp seen through an instrument whose response rises with
// the wavelength and falls by 0.2 % per degree, with a little noise.
std::string QlFile(int lamp, std::mt19937& noise) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const std::vector<double> w = QlWavelengths();
    std::string text;
    for (int s = 0; s < kScans; ++s) {
        const double temperature = 15 + s;
        text += " " + std::to_string(w.size()) + " " + Format("%03.0f%02.0f", 100 + s, 20) +
                Format(" %5.1f %5.1f 2.0 0\n", 50, temperature);
        for (double a : w) {
            const double x = a / 10000;
            const double rate = uvlamp::PlanckModel(1e5 + 1e4 * lamp, 4.8, x) * 300 * x * x *
                                (1 - 0.002 * (temperature - 25)) * (1 + 0.002 * unit(noise));
            text += Format(" %4.0f %10.3f\n", a, rate);
        }
        text += " 12:00\n";
    }
    return text;
}

std::string IrrFile(int lamp) {
    std::string text = "lamp" + std::to_string(1000 + lamp) + "\n 50.0\n";
    for (int a = 2900; a <= 4000; a += 50) {
        text += Format("%5.0f  %.9g\n", a, uvlamp::PlanckModel(1e5 + 1e4 * lamp, 4.8, a / 1e4));
    }
    return text;
}

class TStation {
  public:
    TStation() {
        path_ = fs::temp_directory_path() /
                ("uvlamp-bench-response-" + std::to_string(std::random_device()()));
        fs::create_directories(path_);
        std::mt19937 noise(7);
        for (int i = 0; i < kLamps; ++i) {
            const std::string lamp = std::to_string(1000 + i);
            std::ofstream(path_ / ("ql_" + lamp + ".123")) << QlFile(i, noise);
            std::ofstream(path_ / ("lamp" + lamp + ".irr")) << IrrFile(i);
            Names.push_back("ql_" + lamp + ".123");
        }
    }
    ~TStation() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }
    std::vector<std::string> Names;

  private:
    fs::path path_;
};

const TStation& Station() {
    static const TStation station;
    return station;
}

void Setup(uvlamp::TProgram& program) {
    program.ProgramSettings.IrrDirectory = Station().Path().string();
    program.ProgramSettings.InstrumentNumber = "123";
    program.ProgramSettings.LastDir = Station().Path().string();
}

void Load(uvlamp::TProgram& program, uvlamp::TScriptedOperator& op) {
    const uvlamp::TLoadResult loaded =
        uvlamp::LoadSelectedFiles(program, op, Station().Path(), Station().Names);
    if (loaded.FilesRead.size() != kLamps || program.LampList.size() != kLamps ||
        program.LampList[0]->NUsed != kScans) {
        for (const uvlamp::TSkippedFile& skipped : loaded.Skipped) {
            std::fprintf(stderr, "%s: %s\n", skipped.Name.c_str(), skipped.Reason.c_str());
        }
        Fail(loaded.Error ? loaded.Error->c_str() : "the scans were not loaded");
    }
}

void CalculateAndSave(uvlamp::TProgram& program, uvlamp::TScriptedOperator& op,
                      const uvlamp::TGrid& grid) {
    if (!uvlamp::CalculateResponse(program, op).Made) {
        Fail("no response");
    }
    op.QueueFile((Station().Path() / "response").string());
    if (uvlamp::SaveResponseFiles(program, op, grid, 0).Written.size() != 4) {
        Fail("the four files were not written");
    }
}

void BM_CalculateAndSaveResponse(benchmark::State& state) {
    uvlamp::TProgram program;
    Setup(program);
    uvlamp::TScriptedOperator op;
    const uvlamp::TGrid grid = *uvlamp::OutputGrid(2865, 5, 3625);
    Load(program, op);
    CalculateAndSave(program, op, grid);
    for (auto _ : state) {
        if (state.range(0) != 0) {
            Load(program, op);
        }
        CalculateAndSave(program, op, grid);
    }
    if (!op.Messages().empty()) {
        Fail(op.Messages().front().c_str());
    }
}
BENCHMARK(BM_CalculateAndSaveResponse)
    ->ArgName("load")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
