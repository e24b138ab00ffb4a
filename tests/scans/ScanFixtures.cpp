#include "scans/ScanFixtures.h"

#include "shell/Format.h"

namespace uvlamp::test {

std::string QlBlock(const std::string& dayYear, double distance, double temperature,
                    const std::vector<double>& wavelengths, double rate0, double step,
                    const std::string& time, const char* eol) {
    std::string s = Sprintf(" %d %s %5.1f %5.1f 2.0 0%s", static_cast<int>(wavelengths.size()),
                            dayYear.c_str(), distance, temperature, eol);
    double rate = rate0;
    for (double w : wavelengths) {
        s += Sprintf(" %4.0f %10.3f%s", w, rate, eol);
        rate += step;
    }
    return s + " " + time + eol;
}

std::vector<double> Grid(double first, double last, double step) {
    std::vector<double> g;
    for (double w = first; w <= last + 1e-9; w += step) {
        g.push_back(w);
    }
    return g;
}

std::string Record(const TRecord& r, const char* eol) {
    std::string s;
    s += Sprintf("Integration time is %g seconds per cycle%s", r.IntegrationTime, eol);
    s += Sprintf("dt %g%scy %d%sle %d%sln %s%sdi %g%sdh %s%s", r.DeadTime, eol, r.Cycles, eol,
                 static_cast<int>(r.Wavelengths.size()), eol, r.Lamp.c_str(), eol, r.Distance, eol,
                 r.Date.c_str(), eol);
    s += " " + r.Comment + eol;
    s += Sprintf(" 120.0 130.0 %g%spr 1013%s", r.TempReading, eol, eol);
    s += Sprintf("DARK %g%s", r.Dark, eol);
    for (std::size_t i = 0; i < r.Wavelengths.size(); ++i) {
        s += Sprintf(" %d %g 0 %g%s", static_cast<int>(i + 1), r.Wavelengths[i], r.Raw[i], eol);
    }
    if (!r.ReversedRaw.empty()) {
        s += Sprintf("DARK %g%s", r.Dark, eol);
        for (std::size_t k = r.Wavelengths.size(); k-- > 0;) {
            s += Sprintf(" %d %g 0 %g%s", static_cast<int>(k + 1), r.Wavelengths[k],
                         r.ReversedRaw[k], eol);
        }
    }
    return s + r.Closing + eol;
}

}  // namespace uvlamp::test
