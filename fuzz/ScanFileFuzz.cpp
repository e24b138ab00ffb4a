// One scan-file reader, chosen when the target is built (UVLAMP_FUZZ_SCAN_KIND), fed arbitrary
// bytes: the first byte chooses the settings, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzInput.h"

namespace {

#define UVLAMP_FUZZ_SCAN_FILE_QL "ql_L1033.042"
#define UVLAMP_FUZZ_SCAN_FILE_QS "lampL1033.042"
#define UVLAMP_FUZZ_SCAN_FILE_UL "ul12320.042"
#define UVLAMP_FUZZ_SCAN_FILE_XL "xl12320.042"
#define UVLAMP_FUZZ_JOIN(a, b) a##b
#define UVLAMP_FUZZ_FILE(kind) UVLAMP_FUZZ_JOIN(UVLAMP_FUZZ_SCAN_FILE_, kind)

constexpr uvlamp::TScanFileKind kKind = uvlamp::TScanFileKind::UVLAMP_FUZZ_SCAN_KIND;
constexpr const char* kName = UVLAMP_FUZZ_FILE(UVLAMP_FUZZ_SCAN_KIND);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    uvlamp::fuzz::ReadScanBytes(kKind, kName, data[0], file);
    return 0;
}
