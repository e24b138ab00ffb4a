#include "cli/BatchRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/ConsoleOperator.h"
#include "cli/JsonWriter.h"
#include "irradiance/Lookup.h"
#include "irradiance/Transfer.h"
#include "response/Response.h"
#include "response/ResponseFiles.h"
#include "scans/Instrument.h"
#include "scans/ListLines.h"
#include "scans/Loading.h"
#include "scans/Statistics.h"
#include "shell/Format.h"
#include "shell/Program.h"
#include "shell/SettingsFile.h"

namespace uvlamp::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kNothingComputed = 1;
constexpr int kUsageOrInput = 2;

const char* CommandName(TCommand command) {
    switch (command) {
        case TCommand::Lamps:
            return "lamps";
        case TCommand::Scans:
            return "scans";
        case TCommand::Response:
            return "response";
        case TCommand::Transfer:
            return "transfer";
    }
    return "";
}

class TBatchRun {
  public:
    TBatchRun(const TCliOptions& options, std::ostream& out, std::ostream& err)
        : o_(options), out_(out), err_(err), op_(err, options.Yes, program_.ProgramSettings) {}

    int Run();

  private:
    bool CheckGrids();
    bool Configure();
    bool StartLog();
    bool CheckFiles();
    void Load();
    void ApplyInstrumentConstants();
    bool Deselect();
    void RunCommand();
    void Lamps();
    void Scans();
    void Response();
    void Transfer();
    // A lamp named on the command line, or -1 after telling which option named a missing one.
    int LampIndex(const std::string& option, const std::string& name);
    void Problem(int status, const std::string& text);
    void WriteJson();

    const TCliOptions& o_;
    std::ostream& out_;
    std::ostream& err_;
    TProgram program_;
    TConsoleOperator op_;
    std::filesystem::path directory_;  // of the scan files
    std::vector<std::string> names_;   // their bare names
    TLoadResult load_;
    std::optional<TGrid> responseGrid_;
    std::vector<std::string> lines_;  // lamps and scans: the list lines
    std::vector<std::string> written_;
    std::vector<std::string> problems_;
    int status_ = 0;
};

void TBatchRun::Problem(int status, const std::string& text) {
    problems_.push_back(text);
    err_ << kProgramName << ": " << OneLine(text) << "\n";
    status_ = std::max(status_, status);
}

int TBatchRun::LampIndex(const std::string& option, const std::string& name) {
    const int i = FindLamp(program_.LampList, name);
    if (i < 0) {
        std::string names;
        for (const auto& lamp : program_.LampList) {
            names += (names.empty() ? "" : ", ") + lamp->Name;
        }
        Problem(kUsageOrInput, option + ": no lamp " + name + " in the files read" +
                                   (names.empty() ? "" : " (lamps: " + names + ")"));
    }
    return i;
}

// The grids and the distance are checked before anything is read or logged.
bool TBatchRun::CheckGrids() {
    if (o_.Command == TCommand::Response) {
        responseGrid_ = ReadOutputGrid(o_.Grid[0], o_.Grid[1], o_.Grid[2], op_);
        if (!responseGrid_) {
            Problem(kUsageOrInput, "--grid: not a usable output grid");
            return false;
        }
    } else if (o_.Command == TCommand::Transfer) {
        if (!BuildIrrGrid(o_.Grid[0], o_.Grid[1], o_.Grid[2])) {
            Problem(kUsageOrInput,
                    "--grid: START, END and STEP must be whole numbers of angstroms, STEP not 0");
            return false;
        }
        if (!ParseIrrDistance(o_.Distance)) {
            Problem(kUsageOrInput,
                    "--distance: '" + o_.Distance + "' is not a positive number of centimetres");
            return false;
        }
    }
    return true;
}

bool TBatchRun::Configure() {
    TSettings& s = program_.ProgramSettings;
    if (!o_.SettingsFile.empty()) {
        std::error_code ec;
        if (!fs::is_regular_file(o_.SettingsFile, ec) || !std::ifstream(o_.SettingsFile)) {
            Problem(kUsageOrInput, "--settings: " + o_.SettingsFile + " cannot be read");
            return false;
        }
        ReadSettingsFile(s, o_.SettingsFile);
        // Only the options that shape the calculation come from the settings file.
        s.LogFileName.clear();
    } else {
        // The window's defaults.
        s.LastScans = true;
        s.MaxNumberOfScans = 21;
        s.IrrDirectory = ".";
    }
    if (o_.IrrDirectory) {
        s.IrrDirectory = *o_.IrrDirectory;
    }
    s.UseBBF = s.UseBBF || o_.UseBbf;
    if (o_.LimitScans) {
        s.LimitScans = true;
        s.MaxNumberOfScans = *o_.LimitScans;
        s.LastScans = !o_.FirstScans;
    }
    if (o_.Day) {
        s.SelectJd = true;
        s.SelectedJd = *o_.Day;
    }
    if (o_.TempRange) {
        s.LimitTe = true;
        s.TeFrom = (*o_.TempRange)[0];
        s.TeTo = (*o_.TempRange)[1];
    }
    // The constants belong to the instrument of the files, known from their names.
    for (const std::string& file : o_.Files) {
        const auto n =
            InstrumentIndex(InstrumentNumberOf(FileExtension(fs::path(file).filename().string())));
        if (n) {
            const auto i = static_cast<std::size_t>(*n);
            s.MKIIIs[i] = s.MKIIIs[i] || o_.Mkiii;
            s.NewTs[i] = s.NewTs[i] || o_.NewT;
        }
    }
    return true;
}

bool TBatchRun::StartLog() {
    if (o_.LogFile.empty()) {
        return true;
    }
    // The window loses log lines silently; a log asked for on the command line that cannot be
    // written is an error before any work is done.
    if (!std::ofstream(o_.LogFile, std::ios::app)) {
        Problem(kUsageOrInput, "--log: " + o_.LogFile + " cannot be written");
        return false;
    }
    program_.StartLog(o_.LogFile);
    const TLogFile& log = *program_.Log();
    log.WriteLine("Program started on " + log.Stamp());
    if (o_.TempRange) {
        log.WriteLine("\t\tTemperature limited between " +
                      FormatFloat("##0.0", (*o_.TempRange)[0]) + " and " +
                      FormatFloat("##0.0", (*o_.TempRange)[1]));
    }
    return true;
}

// The window lists the files of one directory; so does the command line.
bool TBatchRun::CheckFiles() {
    for (std::size_t i = 0; i < o_.Files.size(); ++i) {
        const fs::path path(o_.Files[i]);
        if (i == 0) {
            directory_ = path.parent_path();
        } else if (path.parent_path() != directory_) {
            Problem(kUsageOrInput, "FILE: the scan files must all be in one folder (" +
                                       o_.Files[0] + ", " + o_.Files[i] + ")");
            return false;
        }
        names_.push_back(path.filename().string());
    }
    return true;
}

void TBatchRun::Load() {
    load_ = LoadSelectedFiles(program_, op_, directory_, names_);
    for (const TSkippedFile& skipped : load_.Skipped) {
        Problem(kUsageOrInput, skipped.Name + ": " + skipped.Reason);
    }
    for (const std::string& note : load_.Notes) {
        err_ << kProgramName << ": " << OneLine(note) << "\n";
    }
    if (load_.Error) {
        Problem(kUsageOrInput, *load_.Error + "; the files after it were not read");
    }
}

// Loading applies the instrument's MKIII boundary to UL and XL scans only; QL scans keep the
// split their repeated wavelength gives. Saying --mkiii is the operator ticking "MKIII" once the
// files are loaded, which applies the boundary to every scan. The averages are recomputed at
// once, so that they, and the response made from them, split where the scans now do.
void TBatchRun::ApplyInstrumentConstants() {
    if (o_.Mkiii && CurrentIsMKIII(program_.ProgramSettings)) {
        UpdateSplitIndices(program_.LampList, true);
        for (const auto& lamp : program_.LampList) {
            UpdateStatistics(*lamp, program_.ProgramSettings);
        }
    }
}

bool TBatchRun::Deselect() {
    for (const TDeselection& d : o_.Deselect) {
        const int i = LampIndex("--deselect", d.Lamp);
        if (i < 0) {
            return false;
        }
        TLamp& lamp = *program_.LampList[static_cast<std::size_t>(i)];
        for (const int k : d.Positions) {
            if (k > static_cast<int>(lamp.Scans.size())) {
                Problem(kUsageOrInput, "--deselect: lamp " + d.Lamp + " has " +
                                           std::to_string(lamp.Scans.size()) +
                                           " scan(s); there is no scan " + std::to_string(k));
                return false;
            }
            lamp.Scans[static_cast<std::size_t>(k - 1)]->Selected = false;
        }
        // As unticking a scan in the scan list: that lamp's statistics follow at once.
        UpdateStatistics(lamp, program_.ProgramSettings);
    }
    return true;
}

void TBatchRun::Lamps() {
    lines_ = LampListLines(program_.LampList);
}

void TBatchRun::Scans() {
    const int i = LampIndex("--lamp", o_.Lamp);
    if (i >= 0) {
        lines_ = ScanListLines(*program_.LampList[static_cast<std::size_t>(i)]);
    }
}

void TBatchRun::Response() {
    int reference = 0;
    if (o_.LogReference) {
        reference = LampIndex("--log-reference", *o_.LogReference);
        if (reference < 0) {
            return;
        }
    }
    const TResponseCalculation calculation = CalculateResponse(program_, op_);
    for (const std::string& name : calculation.NotAveraged) {
        err_ << kProgramName << ": lamp " << name
             << " is not in the response: its wavelengths differ from those of lamp "
             << calculation.Baseline << "\n";
    }
    if (!calculation.Made) {
        Problem(kNothingComputed,
                "no response could be calculated: no lamp has selected scans and an irradiance "
                "standard");
        return;
    }
    op_.SetSaveFile(o_.Output);
    const TResponseSave save = SaveResponseFiles(program_, op_, *responseGrid_, reference);
    written_ = save.Written;
    if (!save.Saved) {
        Problem(kNothingComputed, op_.DeclinedOverwrite()
                                      ? o_.Output + " exists; nothing was saved"
                                      : "the response files could not all be saved");
    }
}

void TBatchRun::Transfer() {
    const bool forLamp = o_.Target.has_value();
    const int index =
        LampIndex(forLamp ? "--target" : "--reference", forLamp ? *o_.Target : *o_.Reference);
    if (index < 0) {
        return;
    }
    // As the response calculation does, so that every reference has its standard.
    LookupAllIrradiance(program_, op_);
    TTransferRequest request;
    request.UsingAverage = forLamp;
    (forLamp ? request.TargetIndex : request.ReferenceIndex) = index;
    request.StartText = o_.Grid[0];
    request.EndText = o_.Grid[1];
    request.StepText = o_.Grid[2];
    request.DistanceText = o_.Distance;
    written_ = CalculateIrradiance(program_, op_, request).Written;
    if (written_.empty()) {
        Problem(kNothingComputed, "no irradiance file was written");
    }
}

void TBatchRun::RunCommand() {
    switch (o_.Command) {
        case TCommand::Lamps:
            Lamps();
            break;
        case TCommand::Scans:
            Scans();
            break;
        case TCommand::Response:
            Response();
            break;
        case TCommand::Transfer:
            Transfer();
            break;
    }
}

void TBatchRun::WriteJson() {
    TJsonWriter j;
    j.BeginObject();
    j.Key("command").String(CommandName(o_.Command));
    j.Key("exit_status").Integer(status_);
    j.Key("files_read").BeginArray();
    for (const std::string& name : load_.FilesRead) {
        j.String(name);
    }
    j.EndArray();
    j.Key("files_skipped").BeginArray();
    for (const TSkippedFile& skipped : load_.Skipped) {
        j.BeginObject().Key("name").String(skipped.Name).Key("reason").String(skipped.Reason);
        j.EndObject();
    }
    j.EndArray();
    j.Key("notes").BeginArray();
    for (const std::string& note : load_.Notes) {
        j.String(note);
    }
    j.EndArray();
    j.Key("instrument").String(program_.ProgramSettings.InstrumentNumber);
    j.Key("lamps").BeginArray();
    for (const auto& lamp : program_.LampList) {
        j.BeginObject();
        j.Key("name").String(lamp->Name);
        j.Key("scans_used").Integer(lamp->NUsed);
        j.Key("scans_total").Integer(static_cast<long long>(lamp->Scans.size()));
        j.Key("max_rel_std_percent").Number(lamp->MaxRelStd * 100);
        j.EndObject();
    }
    j.EndArray();
    if (o_.Command == TCommand::Lamps || o_.Command == TCommand::Scans) {
        j.Key("lines").BeginArray();
        for (const std::string& line : lines_) {
            j.String(line);
        }
        j.EndArray();
    }
    j.Key("files_written").BeginArray();
    for (const std::string& name : written_) {
        j.String(name);
    }
    j.EndArray();
    j.Key("messages").BeginArray();
    for (const TConsoleOperator::TEntry& entry : op_.Journal()) {
        j.BeginObject().Key("caption").String(entry.Caption).Key("text").String(entry.Text);
        if (entry.Answer) {
            j.Key("answer").String(*entry.Answer ? "Yes" : "No");
        }
        j.EndObject();
    }
    j.EndArray();
    j.Key("errors").BeginArray();
    for (const std::string& problem : problems_) {
        j.String(problem);
    }
    j.EndArray();
    j.EndObject();
    out_ << j.Text();
}

int TBatchRun::Run() {
    if (CheckFiles() && CheckGrids() && Configure() && StartLog()) {
        Load();
        const bool computes = o_.Command == TCommand::Response || o_.Command == TCommand::Transfer;
        if (status_ != 0 && computes) {
            // A response or an irradiance file made without some of the files asked for is not
            // the one asked for: the problems are reported and nothing is written.
            Problem(kUsageOrInput, "nothing was calculated or written");
        } else {
            ApplyInstrumentConstants();
            if (Deselect()) {
                RunCommand();
            }
        }
        if (const TLogFile* log = program_.Log()) {
            log->WriteLine("Program finished on " + log->Stamp());
        }
    }
    if (o_.Json) {
        WriteJson();
    } else {
        for (const std::string& line : lines_) {
            out_ << line << "\n";
        }
    }
    return status_;
}

}  // namespace

int RunBatch(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    TBatchRun run(options, out, err);
    return run.Run();
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const TParsedCommandLine parsed = ParseCommandLine(argc, argv, out, err);
    if (!parsed.Options) {
        return parsed.ExitStatus;
    }
    return RunBatch(*parsed.Options, out, err);
}

}  // namespace uvlamp::cli
