#include "response/Response.h"

#include <algorithm>

#include "irradiance/Lookup.h"
#include "response/Temperature.h"
#include "shell/Program.h"

namespace uvlamp {

bool IsContributing(const TLamp& lamp) {
    return lamp.NUsed != 0 && lamp.Response != nullptr;
}

bool SharesWavelengths(const TScan& lampResponse, const TScan& response) {
    return SameFirstWavelengths(lampResponse, response, response.NPoints);
}

TAverageResult AverageResponse(const TLampList& lamps, std::unique_ptr<TScan>& response) {
    TAverageResult result;
    if (lamps.empty()) {
        return result;
    }
    TLamp& first = *lamps.front();
    const int n = first.NPoints;
    if (n <= 0) {
        return result;
    }
    response.reset();
    auto made =
        std::make_unique<TScan>(n, &first, first.Scans.empty() ? nullptr : first.Scans[0]->File);

    // Points are combined by index, so only lamps measured on the first contributing lamp's
    // wavelengths may take part; the others are named for the operator instead.
    std::vector<const TLamp*> averaged;
    for (const auto& lamp : lamps) {
        if (!IsContributing(*lamp)) {
            continue;
        }
        const TScan& r = *lamp->Response;
        if (result.Baseline == nullptr) {
            if (r.NPoints >= n) {
                result.Baseline = lamp.get();
                averaged.push_back(lamp.get());
            } else {
                result.NotAveraged.push_back(lamp.get());
            }
            continue;
        }
        if (SameFirstWavelengths(r, *result.Baseline->Response, n)) {
            averaged.push_back(lamp.get());
        } else {
            result.NotAveraged.push_back(lamp.get());
        }
    }
    if (averaged.empty()) {
        return result;
    }

    const double r = static_cast<double>(averaged.size());
    for (int d = 1; d <= n; ++d) {
        double sum = 0;
        double slope = 0;
        double at25 = 0;
        for (const TLamp* lamp : averaged) {
            sum += lamp->Response->Counts[d];
            slope += lamp->TSlopeScan.Counts[d];
            at25 += lamp->At25CScan.Counts[d];
        }
        made->Counts[d] = sum / r;
        made->TSlope[d] = slope / r;
        made->At25C[d] = at25 / r;
        made->TCoef[d] = made->At25C[d] == 0 ? 0 : 100 * made->TSlope[d] / made->At25C[d];
    }
    const TScan& last = *averaged.back()->Response;
    for (int d = 1; d <= n; ++d) {
        made->Wavelength[d] = last.Wavelength[d];
    }
    // A lamp with more points than the first lamp may split after the points averaged.
    made->SplitIndex = std::clamp(last.SplitIndex, 0, n + 1);
    FitTemperatureCoefficient(*made);

    response = std::move(made);
    result.Made = true;
    return result;
}

TResponseCalculation CalculateResponse(TProgram& program, TOperator& op) {
    LookupAllIrradiance(program, op);
    ApplyAllIrradiance(program.LampList, op);
    const TAverageResult average = AverageResponse(program.LampList, program.CurrentResponse);
    TResponseCalculation result;
    result.Made = average.Made;
    if (!average.Made) {
        return result;
    }
    result.Baseline = average.Baseline->Name;
    for (const TLamp* lamp : average.NotAveraged) {
        result.NotAveraged.push_back(lamp->Name);
        if (const TLogFile* log = program.Log()) {
            log->WriteLine("\t\tLamp " + lamp->Name +
                           " is not in the response: its wavelengths differ from those of lamp " +
                           result.Baseline + ".");
        }
    }
    if (const TLogFile* log = program.Log()) {
        log->WriteLine("\t\tResponse calculated.");
    }
    return result;
}

}  // namespace uvlamp
