#pragma once

#include <string>

#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
class TProgram;

// Where a lamp's IRR and BBF files are: directory + separator + "lamp" + name + ".irr"/".bbf",
// joined as they are (a directory ending in a separator gives two, which file systems accept).
// The name is made safe for a file name first; an empty directory means the current one.
std::string IrrFilePath(const std::string& directory, const std::string& lampName);
std::string BbfFilePath(const std::string& directory, const std::string& lampName);

// Attaches a fresh irradiance standard to the lamp: the record of its BBF file valid at the date
// of its scans (with "Use BBF files", when that file exists), else the black body fitted to its
// IRR file. When the lamp ends with no usable standard the operator has been told why, and its
// Irr and Response are null. True when the lamp has a standard.
bool LookupIrradiance(TProgram& program, TLamp& lamp, TOperator& op);
// LookupIrradiance for every lamp, in list order.
void LookupAllIrradiance(TProgram& program, TOperator& op);

// Makes the lamp's Response (its averaged counts per unit of irradiance at the reference
// distance) and converts its regression scans the same way, from the count values of the last
// statistics run. A lamp without a standard is left alone; one with no selected scans loses its
// Response. True when a Response was made.
bool ApplyIrradiance(TLamp& lamp, TOperator& op);
// ApplyIrradiance for every lamp with a standard, in list order.
void ApplyAllIrradiance(TLampList& lamps, TOperator& op);

// The choice of a reference lamp for a transfer: looks up the standard of the lamp at index of the
// lamp list. False when there is no such lamp or it has no standard: it cannot stay the reference.
bool LookupReferenceLamp(TProgram& program, int index, TOperator& op);

}  // namespace uvlamp
