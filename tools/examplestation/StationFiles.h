// The texts of the station's files, written from the descriptions of their formats. Numbers are
// formatted with snprintf in the "C" locale (the generator never changes it), lines end in "\n".
#pragma once

#include <string>
#include <vector>

namespace examplestation {

#if defined(__GNUC__)
#define EXAMPLESTATION_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define EXAMPLESTATION_PRINTF_FORMAT
#endif

// printf into a std::string.
std::string Format(const char* format, ...) EXAMPLESTATION_PRINTF_FORMAT;

// One block of a quick lamp-scan (QL) file: count rates as measured at the block's distance.
struct TQlBlock {
    int DayOfYear = 0;
    int Year = 0;
    double Distance = 0;              // cm
    double Temperature = 0;           // degrees Celsius, one decimal
    double Dark = 0;                  // dark rate, counts per second
    std::vector<double> Wavelengths;  // angstroms
    std::vector<double> Rates;        // counts per second
    int Seconds = 0;                  // time of day
};
std::string QlBlockText(const TQlBlock& block);

// One block of a short lamp-scan (QS) file: eleven rates at the fixed wavelengths.
struct TQsBlock {
    int DayOfYear = 0;
    int Year = 0;
    double Distance = 0;
    double Temperature = 0;
    double Dark = 0;
    std::vector<double> Rates;  // 11 of them
    int Seconds = 0;
};
std::string QsBlockText(const TQsBlock& block);

// One point of a raw lamp scan: motor step, wavelength (angstroms), slit, raw counts summed
// over the cycles.
struct TRawPoint {
    int Step = 0;
    double Wavelength = 0;
    int Slit = 0;
    double Counts = 0;
};

// One record of a detailed lamp-scan file (UL or XL).
struct TRawRecord {
    double IntegrationTime = 0;  // seconds per cycle
    double DeadTime = 0;         // seconds
    int Cycles = 0;
    std::string Lamp;
    double Distance = 0;  // cm
    int Day = 0;
    int Month = 0;
    int Year = 0;
    std::string Comment;
    double Reading1 = 0;
    double Reading2 = 0;
    std::string TempReading;  // the temperature sensor's raw value, already formatted
    double Pr = 0;
    double Dark = 0;
    std::vector<TRawPoint> Up;  // increasing wavelength
    // UL records only: the scan back, listed from the last wavelength down to the first.
    double DarkDown = 0;
    std::vector<TRawPoint> Down;
};
std::string XlRecordText(const TRawRecord& record);
std::string UlRecordText(const TRawRecord& record);

// An irradiance certificate: header line, distance, one line per wavelength (angstroms).
std::string IrrText(const std::string& header, double distance,
                    const std::vector<double>& wavelengths, const std::vector<double>& irradiance);

// One black-body record line: the amplitude and temperature of the Planck model (B = 14400 / T,
// wavelengths in micrometres) at a distance, with the fit's mean relative deviation and the date
// as a whole day count.
struct TBlackBodyRecord {
    double Distance = 0;
    double Temperature = 0;
    double Factor = 0;
    double Rms = 0;
    double Date = 0;
    std::string Remark;
};
std::string BbfLineText(const TBlackBodyRecord& record);

// A response file: wavelength (angstroms) and value, one pair a line.
std::string ResponseFileText(const std::vector<double>& wavelengths,
                             const std::vector<double>& values);

// The truth file: what the station's files were made from.
struct TTruth {
    std::vector<std::string> Comments;
    std::string Instrument;
    double TempCoefficient = 0;
    double MeanTemperature = 0;
    std::vector<double> Wavelengths;  // angstroms
    std::vector<double> Response;     // at the mean temperature
    struct TLampIrradiance {
        std::string Name;
        std::vector<double> Irradiance;  // at the reference distance
    };
    std::vector<TLampIrradiance> Lamps;
};
std::string TruthText(const TTruth& truth);

}  // namespace examplestation
