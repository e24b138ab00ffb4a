#include "cli/ConsoleOperator.h"

#include <filesystem>
#include <system_error>

#include "shell/Settings.h"

namespace uvlamp::cli {

namespace {

constexpr const char* kInstrumentQuestion = "This instrument number is different. Continue?";
constexpr const char* kExistsQuestion = "File already exists. Continue?";

std::string WithCaption(const std::string& text, const std::string& caption) {
    return caption.empty() ? OneLine(text) : OneLine(caption) + ": " + OneLine(text);
}

}  // namespace

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

void TConsoleOperator::Tell(const std::string& text, const std::string& caption) {
    journal_.push_back({text, caption, std::nullopt});
    err_ << WithCaption(text, caption) << "\n";
}

bool TConsoleOperator::AskYesNo(const std::string& text, const std::string& caption) {
    journal_.push_back({text, caption, yes_});
    std::string line = WithCaption(text, caption);
    if (yes_) {
        line += " Yes (--yes).";
    } else if (text == kInstrumentQuestion) {
        line += " No: instrument #" + settings_.InstrumentNumber +
                " and its constants stay in force; the file is read all the same (--yes "
                "answers Yes).";
    } else if (text == kExistsQuestion) {
        line += " No: the file was left as it was (--yes replaces it).";
    } else {
        line += " No (--yes answers Yes).";
    }
    err_ << line << "\n";
    return yes_;
}

std::optional<std::string> TConsoleOperator::ChooseSaveFile(const TFileDialogRequest& request) {
    if (!saveFile_) {
        return std::nullopt;
    }
    std::string path = *saveFile_;
    std::error_code ec;
    if (request.ConfirmOverwrite && std::filesystem::exists(path, ec)) {
        // The dialog's own overwrite question.
        if (!AskYesNo(kExistsQuestion, path)) {
            declinedOverwrite_ = true;
            return std::nullopt;
        }
    }
    return path;
}

std::optional<std::string> TConsoleOperator::ChooseOpenFile(const TFileDialogRequest&) {
    return std::nullopt;
}

}  // namespace uvlamp::cli
