#include "irradiance/Lookup.h"

#include "irradiance/Irr.h"
#include "shell/FileIo.h"
#include "shell/Operator.h"
#include "shell/Program.h"

namespace uvlamp {

namespace {

std::string LampFilePath(const std::string& directory, const std::string& lampName,
                         const char* extension) {
    std::string name = "lamp" + SafeFileNamePart(lampName) + extension;
    return directory.empty() ? name : directory + kPathSeparator + name;
}

void TellAndLog(const TReport& report, const std::string& text) {
    report.Operator.Tell(text, "Error!");
    report.LogLine("\t\t" + text);
}

}  // namespace

std::string IrrFilePath(const std::string& directory, const std::string& lampName) {
    return LampFilePath(directory, lampName, ".irr");
}

std::string BbfFilePath(const std::string& directory, const std::string& lampName) {
    return LampFilePath(directory, lampName, ".bbf");
}

bool LookupIrradiance(TProgram& program, TLamp& lamp, TOperator& op) {
    const TSettings& settings = program.ProgramSettings;
    const TReport report{op, program.Log()};
    const std::string irrPath =
        ResolveNameNoCase(IrrFilePath(settings.IrrDirectory, lamp.Name)).string();
    lamp.Irr = std::make_unique<TIrr>(irrPath, program.Today());
    TIrr& table = *lamp.Irr;
    TBbf& bbf = table.Bbf;
    if (settings.UseBBF) {
        const std::string bbfPath =
            ResolveNameNoCase(BbfFilePath(settings.IrrDirectory, lamp.Name)).string();
        if (bbf.Load(bbfPath, report)) {
            bbf.SelectForDate(lamp.Average.DateTime);
        }
    }
    std::string source = bbf.FileName;
    if (!settings.UseBBF || bbf.FileName.empty()) {
        source = irrPath;
        if (!table.Read(report)) {
            lamp.Irr.reset();
        } else {
            switch (bbf.FitFromIrr(table, settings.UseBBF, report, program.Random)) {
                case TBbf::TFit::Fitted:
                    break;
                case TBbf::TFit::TooFewPoints:
                    TellAndLog(report, "Lamp " + lamp.Name + ": the IRR file " + irrPath +
                                           " has fewer than 3 points from 2895 to 4000 A;"
                                           " no black body can be fitted to it.");
                    lamp.Irr.reset();
                    break;
                case TBbf::TFit::Failed:
                    TellAndLog(report, "Lamp " + lamp.Name +
                                           ": the black-body fit of the IRR file " + irrPath +
                                           " did not converge.");
                    lamp.Irr.reset();
                    break;
            }
        }
    }
    if (lamp.Irr && !IsUsableStandard(bbf.Current)) {
        TellAndLog(report, "Lamp " + lamp.Name + ": the black-body record taken from " + source +
                               " has no positive temperature, factor and distance;"
                               " it cannot serve as the lamp's standard.");
        lamp.Irr.reset();
    }
    if (!lamp.Irr) {
        // A response made with an earlier standard no longer holds.
        lamp.Response.reset();
        return false;
    }
    return true;
}

void LookupAllIrradiance(TProgram& program, TOperator& op) {
    for (auto& lamp : program.LampList) {
        LookupIrradiance(program, *lamp, op);
    }
}

bool ApplyIrradiance(TLamp& lamp, TOperator& op) {
    if (!lamp.Irr) {
        return false;
    }
    lamp.Response.reset();
    if (lamp.NUsed == 0) {
        return false;
    }
    const TBbf& bbf = lamp.Irr->Bbf;
    if (!IsUsableStandard(bbf.Current)) {
        op.Tell("Lamp " + lamp.Name + " has no usable irradiance standard.", "Error!");
        return false;
    }
    const TScan& average = lamp.Average;
    auto response = std::make_unique<TScan>(lamp.NPoints, &lamp,
                                            lamp.Scans.empty() ? nullptr : lamp.Scans[0]->File);
    response->SplitIndex = average.SplitIndex;
    const double d = bbf.Current.Distance;
    const double distance = average.Distance;
    const double f = distance * distance / (d * d);
    for (int i = 1; i <= lamp.NPoints; ++i) {
        const double w = average.Wavelength[i];
        const double e = bbf.IrradianceAt(w);
        response->Counts[i] = average.Counts[i] / e * f;
        lamp.TSlopeScan.Counts[i] = lamp.TSlopeCounts[i] / e * f;
        lamp.At0CScan.Counts[i] = lamp.At0CCounts[i] / e * f;
        lamp.At25CScan.Counts[i] = lamp.At25CCounts[i] / e * f;
        response->Wavelength[i] = w;
    }
    lamp.Response = std::move(response);
    return true;
}

void ApplyAllIrradiance(TLampList& lamps, TOperator& op) {
    for (auto& lamp : lamps) {
        if (lamp->Irr) {
            ApplyIrradiance(*lamp, op);
        }
    }
}

bool LookupReferenceLamp(TProgram& program, int index, TOperator& op) {
    if (index < 0 || index >= static_cast<int>(program.LampList.size())) {
        return false;
    }
    return LookupIrradiance(program, *program.LampList[static_cast<std::size_t>(index)], op);
}

}  // namespace uvlamp
