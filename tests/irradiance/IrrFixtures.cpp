#include "irradiance/IrrFixtures.h"

#include <cmath>

#include "shell/Format.h"

namespace uvlamp::test {

TBbfRecord TBody::Record(double distance, double date) const {
    TBbfRecord record;
    record.Distance = distance;
    record.Temperature = Temperature;
    record.Factor = Factor;
    record.Date = date;
    return record;
}

std::vector<double> Angstroms(double first, double last, double step) {
    std::vector<double> w;
    const int n = static_cast<int>(std::lround((last - first) / step)) + 1;
    for (int i = 0; i < n; ++i) {
        w.push_back(first + i * step);
    }
    return w;
}

double InstrumentResponse(double w) {
    return 2000 * (1 + 8 * (w - 0.28));
}

std::unique_ptr<TLamp> ModelLamp(const std::string& name, const TBody& body,
                                 const std::vector<double>& angstroms, double dateTime) {
    auto lamp = std::make_unique<TLamp>(name);
    const int n = static_cast<int>(angstroms.size());
    lamp->NPoints = n;
    lamp->ResizeDerived();
    auto scan = std::make_unique<TScan>(n, lamp.get(), nullptr);
    scan->Selected = true;
    lamp->Scans.push_back(std::move(scan));
    lamp->NUsed = 1;
    TScan& average = lamp->Average;
    average.Distance = 50;
    average.DateTime = dateTime;
    for (int i = 1; i <= n; ++i) {
        const double w = angstroms[static_cast<std::size_t>(i - 1)] / 10000;
        average.Wavelength[i] = w;
        average.Counts[i] = body.At(w) * InstrumentResponse(w);
    }
    return lamp;
}

std::unique_ptr<TIrr> StandardOf(const TBbfRecord& record) {
    auto irr = std::make_unique<TIrr>("", record.Date);
    irr->Bbf.Current = record;
    irr->Distance = record.Distance;
    return irr;
}

std::string IrrText(const std::string& header, const TBody& body,
                    const std::vector<double>& angstroms, double distance) {
    std::string text = header + "\n" + Sprintf("%5.1f\n", distance);
    for (double a : angstroms) {
        text += Sprintf("%5.0f  %.9g\n", a, body.At(a / 10000));
    }
    return text;
}

std::string BbfText(const std::vector<TBbfRecord>& records) {
    std::string text;
    for (const TBbfRecord& record : records) {
        text += FormatBbfLine(record);
    }
    return text;
}

}  // namespace uvlamp::test
