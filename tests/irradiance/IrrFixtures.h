#pragma once

#include <memory>
#include <string>
#include <vector>

#include "irradiance/Bbf.h"
#include "irradiance/Irr.h"
#include "scans/Lamp.h"

namespace uvlamp::test {

// A black body of the Planck model: what every fixture lamp emits and every standard describes.
struct TBody {
    double Factor = 1e5;
    double Temperature = 3000;  // kelvin

    double At(double w) const { return PlanckModel(Factor, 14400.0 / Temperature, w); }
    // The record describing this body at a distance, made on a date.
    TBbfRecord Record(double distance = 50, double date = 46000) const;
};

// Wavelengths in angstroms from first to last, both included, in steps.
std::vector<double> Angstroms(double first, double last, double step);

// The count rate per unit of irradiance of the instrument every fixture lamp is measured with.
// It varies with the wavelength, so a transfer only comes out right when the lamps' counts are
// compared at the same wavelength.
double InstrumentResponse(double w);

// A lamp with one selected scan whose averaged counts at 50 cm are the body's irradiance times
// the instrument response at each wavelength (angstroms), its scans dated dateTime.
std::unique_ptr<TLamp> ModelLamp(const std::string& name, const TBody& body,
                                 const std::vector<double>& angstroms, double dateTime = 46000);

// A standard whose current record is the one given, as a lookup leaves it.
std::unique_ptr<TIrr> StandardOf(const TBbfRecord& record);

// The text of an IRR file holding the body's irradiance at the wavelengths (angstroms), certified
// for the distance.
std::string IrrText(const std::string& header, const TBody& body,
                    const std::vector<double>& angstroms, double distance = 50);

// A BBF file holding the records, in the order given.
std::string BbfText(const std::vector<TBbfRecord>& records);

}  // namespace uvlamp::test
