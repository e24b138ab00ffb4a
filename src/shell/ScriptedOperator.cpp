#include "shell/ScriptedOperator.h"

namespace uvlamp {

void TScriptedOperator::Tell(const std::string& text, const std::string& caption) {
    journal_.push_back({TEntry::Kind::Tell, text, caption, ""});
}

bool TScriptedOperator::AskYesNo(const std::string& text, const std::string& caption) {
    bool yes = defaultAnswer_;
    if (!answers_.empty()) {
        yes = answers_.front();
        answers_.pop_front();
    }
    journal_.push_back({TEntry::Kind::Ask, text, caption, yes ? "Yes" : "No"});
    return yes;
}

std::optional<std::string> TScriptedOperator::NextFile(TEntry::Kind kind,
                                                       const TFileDialogRequest& request) {
    std::optional<std::string> path;
    if (!files_.empty()) {
        path = files_.front();
        files_.pop_front();
    }
    journal_.push_back({kind, request.Title, "", path.value_or("")});
    return path;
}

std::optional<std::string> TScriptedOperator::ChooseSaveFile(const TFileDialogRequest& request) {
    return NextFile(TEntry::Kind::SaveDialog, request);
}

std::optional<std::string> TScriptedOperator::ChooseOpenFile(const TFileDialogRequest& request) {
    return NextFile(TEntry::Kind::OpenDialog, request);
}

void TScriptedOperator::BeginBusy() {
    ++busyDepth_;
    if (busyDepth_ > maxBusyDepth_) {
        maxBusyDepth_ = busyDepth_;
    }
}

void TScriptedOperator::EndBusy() {
    --busyDepth_;
}

std::vector<std::string> TScriptedOperator::Messages() const {
    std::vector<std::string> out;
    for (const auto& e : journal_) {
        if (e.What == TEntry::Kind::Tell) {
            out.push_back(e.Text);
        }
    }
    return out;
}

std::vector<std::string> TScriptedOperator::Questions() const {
    std::vector<std::string> out;
    for (const auto& e : journal_) {
        if (e.What == TEntry::Kind::Ask) {
            out.push_back(e.Text);
        }
    }
    return out;
}

}  // namespace uvlamp
