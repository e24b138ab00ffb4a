// BBF files: a file is loaded (which rewrites it), then loaded again: the second load must find
// the records as the first wrote them (values as rounded in the file) with the same other lines,
// and rewrite the file to the same bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "irradiance/Bbf.h"
#include "shell/ScriptedOperator.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One folder per process, so that parallel fuzzing jobs do not share files; removed at exit.
struct TWorkFolder {
    std::filesystem::path Path =
        std::filesystem::temp_directory_path() / ("uvlamp-fuzz-bbf-" + std::to_string(::getpid()));
    TWorkFolder() { std::filesystem::create_directories(Path); }
    ~TWorkFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Path, ec);
    }
};

const std::filesystem::path& WorkFolder() {
    static const TWorkFolder folder;
    return folder.Path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace uvlamp;
    const std::filesystem::path path = WorkFolder() / "lampL1033.bbf";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    TScriptedOperator op;
    TBbf first(0);
    if (!first.Load(path.string(), TReport{op})) {
        return 0;
    }
    const std::string rewritten = ReadAll(path);
    TBbf second(0);
    if (!second.Load(path.string(), TReport{op})) {
        std::abort();  // the rewrite lost every record
    }
    bool same = second.Records.size() == first.Records.size() &&
                second.OtherLines == first.OtherLines &&
                FormatBbfLine(second.Current) == FormatBbfLine(first.Current);
    for (std::size_t i = 0; same && i < first.Records.size(); ++i) {
        same = FormatBbfLine(second.Records[i]) == FormatBbfLine(first.Records[i]);
    }
    if (!same || ReadAll(path) != rewritten) {
        std::abort();  // a rewrite changed what the file holds
    }
    return 0;
}
