#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "shell/Operator.h"

namespace uvlamp {
struct TSettings;
}

namespace uvlamp::cli {

// The operator of a batch run: every message box becomes one line on the error stream after its
// caption, every question is answered with the fixed answer of the command line (and the line
// says what a No left alone), and the save dialog picks the name given on the command line.
class TConsoleOperator : public TOperator {
  public:
    struct TEntry {
        std::string Text;
        std::string Caption;
        std::optional<bool> Answer;  // set for questions
    };

    TConsoleOperator(std::ostream& err, bool yes, const TSettings& settings)
        : err_(err), yes_(yes), settings_(settings) {}

    // The name the next save dialog chooses; without one the dialog is cancelled.
    void SetSaveFile(std::string path) { saveFile_ = std::move(path); }

    void Tell(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) override;
    void BeginBusy() override {}
    void EndBusy() override {}

    // Every message and question, in order.
    const std::vector<TEntry>& Journal() const { return journal_; }
    // True when a save dialog was cancelled because its file exists and the answer was No.
    bool DeclinedOverwrite() const { return declinedOverwrite_; }

  private:
    std::ostream& err_;
    bool yes_;
    const TSettings& settings_;
    std::optional<std::string> saveFile_;
    std::vector<TEntry> journal_;
    bool declinedOverwrite_ = false;
};

// One line of text: line breaks of a message become spaces.
std::string OneLine(std::string text);

}  // namespace uvlamp::cli
