// A station archive for the benchmarks: QL files with years of daily scans and daily UL files,
// written into a temporary folder the way the instrument writes them (CR LF line ends). The same
// seed gives the same bytes on every run, so every benchmark program measures the same archive.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace uvlamp::bench {

// The program's name at the start of its failure messages ("bench_load: ..."). Each benchmark
// program that links the archive defines it.
extern const char* const kProgramName;

// Prints "<program>: what" on stderr and ends the program with a failure status. std::exit runs
// the static destructors, so the archives made so far are removed.
[[noreturn]] void Fail(const std::string& what);

struct TArchiveShape {
    int QlFiles;   // one lamp each
    int QlBlocks;  // daily scans in each QL file
    int UlFiles;   // one file per day
};

// Size 0, a small archive for smoke runs; size 1, the full archive of a station: three QL files
// with ten years of daily scans and 1,000 daily UL files.
inline constexpr std::array<TArchiveShape, 2> kShapes{{{1, 100, 10}, {3, 3650, 1000}}};

inline constexpr int kQlPoints = 24;
inline constexpr int kUlPoints = 150;
inline constexpr int kUlLamps = 3;
inline constexpr int kUlRecordsPerLamp = 2;  // per file; a record holds two scans

// The lamps of the QL files and of the UL records. They differ: a lamp's scans must all be on one
// wavelength grid, and the two kinds of file measure on different grids.
std::string QlLampName(int i);
std::string UlLampName(int i);

struct TExpectedLamp {
    std::string Name;
    int Scans;
    int Points;
};

struct TArchive {
    std::filesystem::path Dir;
    std::vector<std::string> Names;  // in the order they were written: the QL files, then UL by day
    std::int64_t Bytes = 0;
    std::vector<TExpectedLamp> Lamps;  // in the order loading the names in that order finds them
    std::int64_t Scans = 0;
};

// Writes the files of the shape into archive.Dir (which must exist) and records them.
void Generate(TArchive& archive, const TArchiveShape& shape);

// The archives made so far, by size, in one temporary folder that goes with the store.
class TArchiveStore {
  public:
    TArchiveStore() = default;
    TArchiveStore(const TArchiveStore&) = delete;
    TArchiveStore& operator=(const TArchiveStore&) = delete;
    ~TArchiveStore();

    // The archive of a size (an index into kShapes), written the first time it is asked for.
    TArchive& Get(std::int64_t size);

  private:
    std::filesystem::path Root();

    std::filesystem::path root_;
    std::array<std::unique_ptr<TArchive>, kShapes.size()> archives_;
};

// The program's store, removed when the program ends.
TArchiveStore& Store();

}  // namespace uvlamp::bench
