#pragma once

#include <optional>
#include <string>

namespace uvlamp {

// What to show in a file dialog.
struct TFileDialogRequest {
    std::string Title;
    std::string Directory;   // where the dialog starts; empty for the current directory
    std::string FileName;    // name proposed in the dialog
    std::string Filter;      // e.g. "Response files (*.*)|*.*"; empty for no filter
    std::string DefaultExt;  // added when the operator types a name without extension
    bool ConfirmOverwrite = false;
};

// The operator at the screen, as the core sees them: message boxes, Yes/No questions, file
// dialogs and the busy cursor. The window implements it with real dialogs, the batch front end
// from its command line, tests from a script. Nothing in the core talks to a person otherwise.
class TOperator {
  public:
    virtual ~TOperator() = default;

    // A message box with an OK button.
    virtual void Tell(const std::string& text, const std::string& caption) = 0;
    // The error message box for an error that ended an operation (a text that is not a number,
    // a file that could not be written); the program goes on.
    virtual void ShowError(const std::string& text) { Tell(text, "Error"); }
    // A message box with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
    // A save or open dialog; empty when the operator cancels.
    virtual std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) = 0;
    virtual std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) = 0;
    // The hourglass cursor; calls nest. Use TBusyScope rather than calling these directly.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
};

// Shows the busy cursor for the lifetime of the scope.
class TBusyScope {
  public:
    explicit TBusyScope(TOperator& op) : op_(op) { op_.BeginBusy(); }
    ~TBusyScope() { op_.EndBusy(); }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

  private:
    TOperator& op_;
};

}  // namespace uvlamp
