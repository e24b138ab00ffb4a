#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/Operator.h"

namespace uvlamp {

// An operator without a screen: records every message and question, answers questions from a
// queue (then with a default answer) and file dialogs from another queue (then by cancelling).
// Tests use it to drive and observe the core; the batch front end uses it with a fixed answer.
class TScriptedOperator : public TOperator {
  public:
    struct TEntry {
        enum class Kind { Tell, Ask, SaveDialog, OpenDialog };
        Kind What;
        std::string Text;     // message, question or dialog title
        std::string Caption;  // caption of a message box or question
        std::string Answer;   // "Yes"/"No" for questions, the chosen path or "" for dialogs
    };

    explicit TScriptedOperator(bool defaultAnswer = false) : defaultAnswer_(defaultAnswer) {}

    void QueueAnswer(bool yes) { answers_.push_back(yes); }
    void QueueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

    void Tell(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) override;
    void BeginBusy() override;
    void EndBusy() override;

    const std::vector<TEntry>& Journal() const { return journal_; }
    // The texts of the messages told (not questions), in order.
    std::vector<std::string> Messages() const;
    // The texts of the questions asked, in order.
    std::vector<std::string> Questions() const;
    int BusyDepth() const { return busyDepth_; }
    int MaxBusyDepth() const { return maxBusyDepth_; }

  private:
    std::optional<std::string> NextFile(TEntry::Kind kind, const TFileDialogRequest& request);

    bool defaultAnswer_;
    std::deque<bool> answers_;
    std::deque<std::optional<std::string>> files_;
    std::vector<TEntry> journal_;
    int busyDepth_ = 0;
    int maxBusyDepth_ = 0;
};

}  // namespace uvlamp
