// The time word of a QL block: the parser alone, whose times must lie within the day and read
// back from their own "h:m:s" text, and the word inside a block of a QL file, where a word that
// is not a time ends the reading with a message naming the file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzInput.h"
#include "shell/DayCount.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace uvlamp;
    const std::string_view word(reinterpret_cast<const char*>(data), size);
    if (const auto time = ParseTimeOfDay(word)) {
        const double seconds = *time * 86400;
        if (!(seconds >= 0 && seconds < 86400) || std::abs(seconds - std::round(seconds)) > 1e-6) {
            std::abort();  // not a whole second of the day
        }
        const long whole = std::lround(seconds);
        char text[32];
        std::snprintf(text, sizeof text, "%ld:%ld:%ld", whole / 3600, whole / 60 % 60, whole % 60);
        const auto again = ParseTimeOfDay(text);
        if (!again || *again != *time) {
            std::abort();  // the time does not read back from its own text
        }
    }
    std::string block = "7 10024 50.0 26.0 5 0\n";
    for (int i = 0; i < 7; ++i) {
        block += std::to_string(2900 + 10 * i) + " " + std::to_string(100 + i) + "\n";
    }
    block += word;
    block += "\n7 10024 50.0 26.0 5 0\n";
    fuzz::ReadScanBytes(TScanFileKind::QL, "ql_L1033.042", 0, block);
    return 0;
}
