#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scans/File.h"
#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
class TProgram;

// Scan files larger than this are refused unread: no instrument writes them, and reading one
// into memory must never exhaust it.
inline constexpr std::uintmax_t kMaxScanFileBytes = 64u * 1024u * 1024u;

enum class TScanFileKind { None, QL, UL, XL, QS };

// The reader a file name asks for, from the name in lower case: "ql", then "ul", then "xl", then
// "lamp", a later match replacing an earlier one (so "qlamp123.042" is a QS file).
TScanFileKind ClassifyFileName(const std::string& name);
std::unique_ptr<TFile> NewScanFile(TScanFileKind kind);

struct TSkippedFile {
    std::string Name;
    std::string Reason;
};

struct TLoadResult {
    std::vector<std::string> FilesRead;  // in reading order, as in OpenedFiles
    std::vector<TSkippedFile> Skipped;   // selected files not loaded (names readable), and why
    std::vector<std::string> Notes;      // scans left out of files that were loaded
    // The conversion error (a bad time of day, day of year or instrument number) that ended the
    // reading of the files; the files after it were not read.
    std::optional<std::string> Error;
    // The current instrument changed while loading: its flags now apply to the lamps.
    bool InstrumentChanged = false;
};

// Discards the lamps and files loaded before, then reads the selected files (bare names in the
// directory) in order: checks each file's instrument, reads it with the reader its name asks for,
// logs "\tReading file ..." and merges its lamps into the lamp list by name. Then computes every
// lamp's statistics (also when the reading ended early) and returns what happened.
TLoadResult LoadSelectedFiles(TProgram& program, TOperator& op,
                              const std::filesystem::path& directory,
                              const std::vector<std::string>& names);

// Moves the lamps of a file into the lamp list: a lamp of a new name joins the list (unless it
// holds kMaxLamps lamps already: then it is left out with a note), the scans of a lamp whose name
// is there join that lamp (unless on another wavelength grid: then they are left out with a
// note). The file keeps no lamps afterwards.
void MergeLamps(TLampList& list, TFile& file, std::vector<std::string>& notes);

// The bytes of a scan file, read into a buffer that is reused from file to file (it only ever
// grows), or empty with the reason in whyNot.
std::optional<std::string_view> ReadScanFileBytes(const std::filesystem::path& path,
                                                  std::string& buffer, std::string& whyNot);

}  // namespace uvlamp
