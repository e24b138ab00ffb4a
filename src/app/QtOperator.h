#pragma once

#include <QString>

#include "shell/Operator.h"

class QWidget;

namespace uvlamp::app {

// The operator at the screen: message boxes, questions and file dialogs over the window, and
// the hourglass cursor.
class TQtOperator : public TOperator {
  public:
    // errorCaption is the caption of the error message box: the program's title.
    TQtOperator(QWidget* parent, QString errorCaption);

    void Tell(const std::string& text, const std::string& caption) override;
    void ShowError(const std::string& text) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    std::optional<std::string> ChooseSaveFile(const TFileDialogRequest& request) override;
    std::optional<std::string> ChooseOpenFile(const TFileDialogRequest& request) override;
    void BeginBusy() override;
    void EndBusy() override;

  private:
    std::optional<std::string> Choose(const TFileDialogRequest& request, bool save);

    QWidget* parent_;
    QString errorCaption_;
    // A dialog asked without a directory starts where the last one was left.
    QString lastDirectory_;
};

}  // namespace uvlamp::app
