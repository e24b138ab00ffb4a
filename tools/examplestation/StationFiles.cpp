#include "StationFiles.h"

#include <cstdarg>
#include <cstdio>

namespace examplestation {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    text.resize(text.size() - 1);
    return text;
}

namespace {

std::string TimeOfDay(int seconds) {
    return Format("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

std::string RawPointsText(const std::vector<TRawPoint>& points) {
    std::string text;
    for (const TRawPoint& p : points) {
        text += Format("%6d %5.0f %d %9.0f\n", p.Step, p.Wavelength, p.Slit, p.Counts);
    }
    return text;
}

// The part of a UL or XL record up to and including its first scan.
std::string RawHeaderAndFirstScan(const TRawRecord& r) {
    std::string text;
    text += Format("Integration time is %.4f seconds per cycle\n", r.IntegrationTime);
    text += Format("dt %.2e\n", r.DeadTime);
    text += Format("cy %d\n", r.Cycles);
    text += Format("le %d\n", static_cast<int>(r.Up.size()));
    text += "ln " + r.Lamp + "\n";
    text += Format("di %.1f\n", r.Distance);
    text += Format("dh %d %d %02d\n", r.Day, r.Month, r.Year % 100);
    text += r.Comment + "\n";
    text += Format("%.3f %.3f ", r.Reading1, r.Reading2) + r.TempReading + "\n";
    text += Format("pr %.1f\n", r.Pr);
    text += Format("DARK %.0f\n", r.Dark);
    text += RawPointsText(r.Up);
    return text;
}

}  // namespace

std::string QlBlockText(const TQlBlock& b) {
    std::string text = Format("%d %03d%02d %.1f %.1f %.0f 0\n", static_cast<int>(b.Rates.size()),
                              b.DayOfYear, b.Year % 100, b.Distance, b.Temperature, b.Dark);
    for (std::size_t i = 0; i < b.Rates.size(); ++i) {
        text += Format("%4.0f %10.1f\n", b.Wavelengths[i], b.Rates[i]);
    }
    text += TimeOfDay(b.Seconds) + "\n";
    return text;
}

std::string QsBlockText(const TQsBlock& b) {
    std::string text = Format("%03d%02d %.1f %.1f %.0f\n", b.DayOfYear, b.Year % 100, b.Distance,
                              b.Temperature, b.Dark);
    for (std::size_t i = 0; i < b.Rates.size(); ++i) {
        text += Format(i == 0 ? "%.1f" : " %.1f", b.Rates[i]);
    }
    text += "\n" + TimeOfDay(b.Seconds) + "\n";
    return text;
}

std::string XlRecordText(const TRawRecord& record) {
    return RawHeaderAndFirstScan(record) + "end\n";
}

std::string UlRecordText(const TRawRecord& record) {
    return RawHeaderAndFirstScan(record) + Format("DARK %.0f\n", record.DarkDown) +
           RawPointsText(record.Down) + "end\n";
}

std::string IrrText(const std::string& header, double distance,
                    const std::vector<double>& wavelengths, const std::vector<double>& irradiance) {
    std::string text = header + "\n" + Format("%5.1f\n", distance);
    for (std::size_t i = 0; i < wavelengths.size(); ++i) {
        text += Format("%5.0f  %7.4f\n", wavelengths[i], irradiance[i]);
    }
    return text;
}

std::string BbfLineText(const TBlackBodyRecord& r) {
    return Format(
        "Distance = %.1f Temperature = %10.4f Factor = %10.3f RMS = %10.4f  Date = %.0f %s %s\n",
        r.Distance, r.Temperature, r.Factor, r.Rms, r.Date, "", r.Remark.c_str());
}

std::string ResponseFileText(const std::vector<double>& wavelengths,
                             const std::vector<double>& values) {
    std::string text;
    for (std::size_t i = 0; i < wavelengths.size(); ++i) {
        text += Format("%7.0f %9.3f\n", wavelengths[i], values[i]);
    }
    return text;
}

std::string TruthText(const TTruth& t) {
    std::string text;
    for (const std::string& c : t.Comments) {
        text += "# " + c + "\n";
    }
    text += "instrument " + t.Instrument + "\n";
    text += Format("tc_per_degree %.6f\n", t.TempCoefficient);
    text += Format("mean_temperature %.3f\n", t.MeanTemperature);
    text += "response\n";
    for (std::size_t i = 0; i < t.Wavelengths.size(); ++i) {
        text += Format("%.0f %.9g\n", t.Wavelengths[i], t.Response[i]);
    }
    text += "end\n";
    for (const TTruth::TLampIrradiance& lamp : t.Lamps) {
        text += "irradiance " + lamp.Name + "\n";
        for (std::size_t i = 0; i < t.Wavelengths.size(); ++i) {
            text += Format("%.0f %.9g\n", t.Wavelengths[i], lamp.Irradiance[i]);
        }
        text += "end\n";
    }
    return text;
}

}  // namespace examplestation
