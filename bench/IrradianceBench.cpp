// The irradiance work of one response calculation: the black-body fit of one lamp's table, and
// the lookup of the standards of ten lamps (reading and fitting their IRR files, or with "Use BBF
// files" loading and rewriting their BBF files).
//
// The tables are a realistic 23-point certificate, 2900 to 4000 A in steps of 50 A, of a black
// body with a small, fixed ripple so the fit has work to do. Before anything is timed the result
// is checked; a fit or a lookup that fails ends the program with a message.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "irradiance/Fitbb.h"
#include "irradiance/Irr.h"
#include "irradiance/Lookup.h"
#include "shell/Program.h"
#include "shell/ScriptedOperator.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLamps = 10;

void Fail(const char* what) {
    std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
    std::exit(1);
}

// lamp + name, the distance, and 23 points of a 3000 K black body with a ripple of 0.3 %.
std::string IrrText(const std::string& name, double factor) {
    std::string text = "lamp" + name + "\n 50.0\n";
    for (int i = 0; i < 23; ++i) {
        const double w = (2900 + 50 * i) / 10000.0;
        const double e = uvlamp::PlanckModel(factor, 4.8, w) * (1 + 0.003 * std::sin(i));
        char line[64];
        std::snprintf(line, sizeof line, "%5.0f  %7.4f\n", w * 10000, e);
        text += line;
    }
    return text;
}

class TIrrFolder {
  public:
    TIrrFolder() {
        path_ = fs::temp_directory_path() /
                ("uvlamp-bench-irr-" + std::to_string(std::random_device()()));
        fs::create_directories(path_);
        for (int i = 0; i < kLamps; ++i) {
            std::ofstream(path_ / ("lamp" + std::to_string(1000 + i) + ".irr"))
                << IrrText(std::to_string(1000 + i), 1500 + 100 * i);
        }
    }
    ~TIrrFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

  private:
    fs::path path_;
};

const TIrrFolder& Folder() {
    static const TIrrFolder folder;
    return folder;
}

void BM_FitBlackBody(benchmark::State& state) {
    uvlamp::TIrr table("", 0);
    if (!table.ReadText(IrrText("1000", 2000)) || table.NPoints != 23) {
        Fail("the table was not read");
    }
    uvlamp::TScriptedOperator op;
    std::mt19937 random(5489u);
    for (auto _ : state) {
        uvlamp::TBbf bbf(0);
        if (bbf.FitFromIrr(table, false, uvlamp::TReport{op}, random) !=
                uvlamp::TBbf::TFit::Fitted ||
            std::fabs(bbf.Current.Temperature - 3000) > 30) {
            Fail("the fit failed");
        }
        benchmark::DoNotOptimize(bbf.Current);
    }
}
BENCHMARK(BM_FitBlackBody)->Unit(benchmark::kMillisecond);

void BM_LookupTenLamps(benchmark::State& state) {
    uvlamp::TProgram program;
    program.ProgramSettings.IrrDirectory = Folder().Path().string();
    program.ProgramSettings.UseBBF = state.range(0) != 0;
    for (int i = 0; i < kLamps; ++i) {
        auto lamp = std::make_unique<uvlamp::TLamp>(std::to_string(1000 + i));
        lamp->Average.DateTime = 46000;
        program.LampList.push_back(std::move(lamp));
    }
    uvlamp::TScriptedOperator op;
    // The first lookup makes the BBF files when they are used; the timed ones load them.
    uvlamp::LookupAllIrradiance(program, op);
    for (auto _ : state) {
        uvlamp::LookupAllIrradiance(program, op);
    }
    for (const auto& lamp : program.LampList) {
        if (!lamp->Irr || !op.Messages().empty()) {
            Fail("a lamp got no standard");
        }
    }
}
BENCHMARK(BM_LookupTenLamps)->ArgName("bbf")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
