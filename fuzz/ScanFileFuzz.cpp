// One scan-file reader, chosen when the target is built (UVLAMP_FUZZ_SCAN_KIND), fed arbitrary
// bytes: the first byte chooses the settings, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzInput.h"

namespace {

// A name that the reader of the kind takes, with the extension of instrument 042.
constexpr const char* NameFor(uvlamp::TScanFileKind kind) {
    switch (kind) {
        case uvlamp::TScanFileKind::QL:
            return "ql_L1033.042";
        case uvlamp::TScanFileKind::QS:
            return "lampL1033.042";
        case uvlamp::TScanFileKind::UL:
            return "ul12320.042";
        default:
            return "xl12320.042";
    }
}

constexpr uvlamp::TScanFileKind kKind = uvlamp::TScanFileKind::UVLAMP_FUZZ_SCAN_KIND;
constexpr const char* kName = NameFor(kKind);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
    uvlamp::fuzz::ReadScanBytes(kKind, kName, data[0], file);
    return 0;
}
