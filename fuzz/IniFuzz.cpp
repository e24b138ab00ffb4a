// The settings file: whatever it holds, the settings read from it, written back into it and read
// again are the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/IniFile.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace uvlamp;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TIniFile ini = TIniFile::FromText(text);
    TSettings first;
    ReadSettings(first, ini);
    WriteSettings(first, ini);
    TSettings second;
    ReadSettings(second, TIniFile::FromText(ini.Text()));
    if (!(second == first)) {
        std::abort();  // saving the settings changed them
    }
    return 0;
}
