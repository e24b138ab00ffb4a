#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "scans/File.h"
#include "shell/ScriptedOperator.h"
#include "shell/Settings.h"

namespace uvlamp::test {

// Scan files held in memory, read by the real readers through a read context.
struct TMemoryFiles {
    std::map<std::string, std::string> Files;
    TSettings Settings;
    TScriptedOperator Operator;
    TReadContext Context{Settings,
                         Operator,
                         [this](const std::string& name) -> std::optional<std::string_view> {
                             auto it = Files.find(name);
                             if (it == Files.end()) {
                                 return std::nullopt;
                             }
                             return it->second;
                         },
                         {}};

    // Reads one file with a reader of type F; the file object is returned whatever the result.
    template <class F>
    std::unique_ptr<F> Read(const std::string& name, const std::string& text, bool* ok = nullptr) {
        Files[name] = text;
        auto file = std::make_unique<F>();
        const bool result = file->Read(name, Context);
        if (ok != nullptr) {
            *ok = result;
        }
        return file;
    }
};

// One QL block: n points from the wavelengths given (Å) with rates rate0, rate0 + step, ...
std::string QlBlock(const std::string& dayYear, double distance, double temperature,
                    const std::vector<double>& wavelengths, double rate0, double step,
                    const std::string& time, const char* eol = "\r\n");
// Wavelengths from first to last (Å) in steps.
std::vector<double> Grid(double first, double last, double step);

// One UL or XL record (XL: reversedRaw empty). Raw counts per point in increasing wavelength
// order; the reversed half lists them from the last point to the first.
struct TRecord {
    std::string Lamp = "L1";
    double IntegrationTime = 0.5;
    double DeadTime = 0;
    int Cycles = 10;
    double Distance = 50;
    std::string Date = "2 5 20";  // day month yy
    std::string Comment = "lamp test";
    double TempReading = 2.5;
    std::vector<double> Wavelengths = {2900, 2905, 2910};
    std::vector<double> Raw = {1010, 2010, 3010};
    double Dark = 10;
    std::vector<double> ReversedRaw;  // UL only: raw counts of the second half, by point
    std::string Closing = "end";
};
std::string Record(const TRecord& r, const char* eol = "\r\n");

}  // namespace uvlamp::test
