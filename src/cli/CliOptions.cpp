#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include "shell/Format.h"

#ifndef UVLAMP_VERSION
#define UVLAMP_VERSION "unknown"
#endif

namespace uvlamp::cli {

namespace {

constexpr const char* kFooter =
    R"(Run it in the folder that holds the scan files and name them by their bare names.
Exit status: 0 done; 1 the files were read but nothing could be computed or written
(for example no lamp with selected scans and an irradiance standard); 2 a usage error,
or a named file that could not be read or was refused (after doing what can be done
with the others). Messages the window shows in message boxes are written to stderr,
one line each, after their caption.
)";

// Values that the command line gives as text and the window's edit fields would convert.
struct TRawOptions {
    std::string Day;
    std::array<std::string, 2> TempRange;
    std::vector<std::string> Deselect;
    bool Last = false;
    std::vector<std::string> Grid;
};

std::optional<TDeselection> ParseDeselection(const std::string& text) {
    // Lamp names may hold a colon; the positions never do.
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return std::nullopt;
    }
    TDeselection d{text.substr(0, colon), {}};
    std::string_view rest = std::string_view(text).substr(colon + 1);
    while (true) {
        const auto comma = rest.find(',');
        const auto k = ParseDecimalInt(TrimSpace(rest.substr(0, comma)));
        if (!k || *k < 1) {
            return std::nullopt;
        }
        d.Positions.push_back(*k);
        if (comma == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(comma + 1);
    }
    return d;
}

void AddCommonOptions(CLI::App& sub, TCliOptions& o, TRawOptions& raw) {
    sub.add_option("FILE", o.Files, "Scan files (QL, QS, UL, XL), loaded in the order given")
        ->required()
        ->type_name("FILE");
    sub.add_option("--irr-dir", o.IrrDirectory,
                   "Directory of the lamps' IRR and BBF files (default: the current directory)")
        ->type_name("DIR");
    sub.add_flag("--use-bbf", o.UseBbf, "Use BBF files: take a lamp's standard from its BBF file");
    sub.add_flag("--mkiii", o.Mkiii, "The files' instrument is a MKIII");
    sub.add_flag("--new-t", o.NewT, "The files' instrument has the new temperature circuit");
    sub.add_option("--day", raw.Day, "Select only the scans of day of year N")->type_name("N");
    sub.add_option("--temp-range", raw.TempRange,
                   "Select only the scans whose temperature lies between FROM and TO degrees C "
                   "(both excluded)")
        ->type_name("FROM TO");
    auto* limit = sub.add_option("--limit-scans", o.LimitScans,
                                 "Take at most N scans per lamp from each QL file")
                      ->type_name("N");
    auto* first = sub.add_flag("--first", o.FirstScans, "With --limit-scans: keep the first scans");
    auto* last =
        sub.add_flag("--last", raw.Last, "With --limit-scans: keep the last scans (default)");
    first->needs(limit)->excludes(last);
    last->needs(limit);
    sub.add_option("--deselect", raw.Deselect,
                   "After loading, clear the check mark of scans K of lamp LAMP (from 1, in the "
                   "lamp's list order); may be repeated")
        ->type_name("LAMP:K,K,...")
        ->allow_extra_args(false);
    sub.add_option("--log", o.LogFile, "Keep a log in FILE, as the window does (appended)")
        ->type_name("FILE");
    sub.add_option("--settings", o.SettingsFile,
                   "Take the irradiance directory, \"Use BBF files\", the instrument constants and "
                   "the scan limit from the window's settings file FILE; the options above win")
        ->type_name("FILE");
    sub.add_flag("--yes", o.Yes,
                 "Answer Yes to every question (replace existing files, accept another "
                 "instrument); without it every answer is No");
    sub.add_flag("--json", o.Json, "Write a JSON summary of the run on stdout");
    sub.footer(kFooter);
}

void AddGridOption(CLI::App& sub, TRawOptions& raw, const std::string& defaults) {
    sub.add_option("--grid", raw.Grid,
                   "Output wavelengths in angstroms from START to END in steps of STEP (default " +
                       defaults + ")")
        ->expected(3)
        ->allow_extra_args(false)
        ->type_name("START END STEP");
}

// Turns the texts into numbers; a usage error names the option.
std::optional<std::string> Convert(const TRawOptions& raw, TCliOptions& o) {
    if (!raw.Day.empty()) {
        o.Day = ParseDecimalInt(TrimSpace(raw.Day));
        if (!o.Day) {
            return "--day: '" + raw.Day + "' is not a whole number";
        }
    }
    if (!raw.TempRange[0].empty()) {
        std::array<double, 2> range{};
        for (int i = 0; i < 2; ++i) {
            const auto t = ParseDecimalFloat(raw.TempRange[static_cast<std::size_t>(i)]);
            if (!t) {
                return "--temp-range: '" + raw.TempRange[static_cast<std::size_t>(i)] +
                       "' is not a number";
            }
            range[static_cast<std::size_t>(i)] = *t;
        }
        o.TempRange = range;
    }
    for (const std::string& text : raw.Deselect) {
        auto d = ParseDeselection(text);
        if (!d) {
            return "--deselect: '" + text + "' is not LAMP:K,K,... with positions of 1 or more";
        }
        o.Deselect.push_back(std::move(*d));
    }
    if (!raw.Grid.empty()) {
        o.Grid = {raw.Grid[0], raw.Grid[1], raw.Grid[2]};
    }
    return std::nullopt;
}

}  // namespace

TParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                    std::ostream& err) {
    TCliOptions o;
    TRawOptions raw;
    CLI::App app{
        "Turns lamp scans into the instrument's spectral response and new lamp irradiance "
        "files, without a window.",
        kProgramName};
    app.set_version_flag("--version", std::string(kProgramName) + " " + UVLAMP_VERSION);
    app.require_subcommand(1);
    app.footer(kFooter);

    auto* lamps = app.add_subcommand(
        "lamps", "Print the lamp list: one line per lamp, as the window's lamp list shows it");
    AddCommonOptions(*lamps, o, raw);

    auto* scans = app.add_subcommand(
        "scans", "Print the scan list of one lamp, as the window's scan list shows it");
    scans->add_option("--lamp", o.Lamp, "The lamp")->required()->type_name("NAME");
    AddCommonOptions(*scans, o, raw);

    auto* response = app.add_subcommand(
        "response",
        "Calculate the response and save it as \"Save response and log files\" does: NAME (or "
        "NAME_tc), NAME.log (or NAME.log_tc) and, when the temperatures spread over more than "
        "10 degrees, NAME.tc and NAME.tc.relative");
    response->add_option("--output", o.Output, "The response file's name")
        ->required()
        ->type_name("NAME");
    response
        ->add_option("--log-reference", o.LogReference,
                     "The lamp the response log compares the others with (default: the first)")
        ->type_name("LAMP");
    AddGridOption(*response, raw, "2865 3250 5");
    AddCommonOptions(*response, o, raw);

    auto* transfer = app.add_subcommand(
        "transfer",
        "Calculate and save new irradiance files into the current directory, as \"Calculate "
        "and save new irradiance file(s)\" does");
    auto* reference =
        transfer
            ->add_option("--reference", o.Reference,
                         "\"Using lamp\": a new IRR file for every other lamp, from this lamp")
            ->type_name("LAMP");
    auto* target = transfer
                       ->add_option("--target", o.Target,
                                    "\"For lamp\": a new IRR file for this lamp, from the average "
                                    "of the other lamps")
                       ->type_name("LAMP");
    reference->excludes(target);
    transfer
        ->add_option("--distance", o.Distance,
                     "Distance in cm the new files are written for (default 50)")
        ->type_name("CM");
    AddGridOption(*transfer, raw, "2865 3635 35");
    AddCommonOptions(*transfer, o, raw);

    // A mistyped command would otherwise be reported as a missing one.
    const std::string first = argc > 1 ? argv[1] : "-";
    if (first[0] != '-' && first != "lamps" && first != "scans" && first != "response" &&
        first != "transfer") {
        err << kProgramName << ": unknown command '" << first
            << "' (commands: lamps, scans, response, transfer; see --help)\n";
        return {std::nullopt, 2};
    }
    try {
        app.parse(argc, argv);
        if (transfer->parsed() && !o.Reference && !o.Target) {
            throw CLI::RequiredError("transfer needs --reference LAMP or --target LAMP");
        }
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e, out, err);
        return {std::nullopt, status == 0 ? 0 : 2};
    }
    if (const auto problem = Convert(raw, o)) {
        err << kProgramName << ": " << *problem << "\n";
        return {std::nullopt, 2};
    }
    if (lamps->parsed()) {
        o.Command = TCommand::Lamps;
    } else if (scans->parsed()) {
        o.Command = TCommand::Scans;
    } else if (response->parsed()) {
        o.Command = TCommand::Response;
        if (raw.Grid.empty()) {
            o.Grid = {"2865", "3250", "5"};
        }
    } else {
        o.Command = TCommand::Transfer;
        if (raw.Grid.empty()) {
            o.Grid = {"2865", "3635", "35"};
        }
    }
    return {std::move(o), 0};
}

}  // namespace uvlamp::cli
