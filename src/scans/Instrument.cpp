#include "scans/Instrument.h"

#include "scans/File.h"
#include "shell/Errors.h"
#include "shell/Format.h"
#include "shell/Operator.h"
#include "shell/Settings.h"

namespace uvlamp {

std::optional<int> InstrumentIndex(const std::string& number) {
    const auto value = ParseDecimalInt(number);
    if (!value || *value < 0 || *value >= kInstrumentTableSize) {
        return std::nullopt;
    }
    return value;
}

bool CurrentIsMKIII(const TSettings& settings) {
    const auto n = InstrumentIndex(settings.InstrumentNumber);
    return n && settings.MKIIIs[static_cast<std::size_t>(*n)];
}

bool CurrentHasNewT(const TSettings& settings) {
    const auto n = InstrumentIndex(settings.InstrumentNumber);
    return n && settings.NewTs[static_cast<std::size_t>(*n)];
}

std::string FileExtension(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    return fileName.substr(dot);
}

std::string InstrumentNumberOf(const std::string& extension) {
    return extension.size() > 1 ? extension.substr(1, 3) : std::string();
}

TInstrumentCheck CheckInstrument(TSettings& settings, TOperator& op, const std::string& extension,
                                 const std::string& fileName) {
    const std::string number = InstrumentNumberOf(extension);
    if (number == settings.InstrumentNumber) {
        return TInstrumentCheck::Same;
    }
    if (!settings.InstrumentNumber.empty() &&
        !op.AskYesNo("This instrument number is different. Continue?", "")) {
        return TInstrumentCheck::Kept;
    }
    if (!InstrumentIndex(number)) {
        throw TConversionError(ReadableFileName(fileName) + ": '" + ReadableText(number, 3) +
                               "' is not a valid instrument number");
    }
    settings.InstrumentNumber = number;
    return TInstrumentCheck::Changed;
}

double CircuitTemperature(double reading, bool newCircuit) {
    if (newCircuit) {
        return reading * kNewCircuitSlope + kNewCircuitOffset;
    }
    return reading * kOldCircuitSlope + kOldCircuitOffset + kOldCircuitCorrection;
}

void UpdateTemperatures(TLampList& lamps, bool newCircuit) {
    for (auto& lamp : lamps) {
        for (auto& scan : lamp->Scans) {
            if (scan->Kind() == TScanKind::UL || scan->Kind() == TScanKind::XL) {
                scan->Temperature = CircuitTemperature(scan->TempReading, newCircuit);
            }
        }
    }
}

int SplitIndexFor(const TScan& scan, bool mkiii) {
    const double boundary = mkiii ? kMkiiiBoundary : kOtherBoundary;
    for (int i = 1; i <= scan.NPoints; ++i) {
        if (scan.Wavelength[i] > boundary) {
            return i - 1;
        }
    }
    return scan.NPoints + 1;
}

void UpdateSplitIndices(TLampList& lamps, bool mkiii) {
    for (auto& lamp : lamps) {
        for (auto& scan : lamp->Scans) {
            scan->SplitIndex = SplitIndexFor(*scan, mkiii);
        }
    }
}

}  // namespace uvlamp
