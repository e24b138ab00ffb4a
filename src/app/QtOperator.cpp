#include "app/QtOperator.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/QtText.h"

namespace uvlamp::app {

namespace {

// "Response files (*.*)|*.*|Text|*.txt" as the dialog's name filters.
QStringList NameFilters(const std::string& filter) {
    const QStringList parts = ToQ(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        filters << (description.contains('(') ? description : description + " (" + pattern + ")");
    }
    return filters;
}

}  // namespace

TQtOperator::TQtOperator(QWidget* parent, QString errorCaption)
    : parent_(parent), errorCaption_(std::move(errorCaption)) {}

void TQtOperator::Tell(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, ToQ(caption), ToQ(text), QMessageBox::Ok, parent_);
    box.exec();
}

void TQtOperator::ShowError(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, errorCaption_, ToQ(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool TQtOperator::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, ToQ(caption), ToQ(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> TQtOperator::Choose(const TFileDialogRequest& request, bool save) {
    const QString directory =
        request.Directory.empty() ? lastDirectory_ : FromPath(request.Directory);
    QFileDialog dialog(parent_, ToQ(request.Title), directory);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QFileDialog::Options options = dialog.options();
    options.setFlag(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    dialog.setOptions(options);
    if (!request.Filter.empty()) {
        dialog.setNameFilters(NameFilters(request.Filter));
    }
    if (!request.DefaultExt.empty()) {
        dialog.setDefaultSuffix(ToQ(request.DefaultExt));
    }
    if (!request.FileName.empty()) {
        dialog.selectFile(FromPath(request.FileName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    lastDirectory_ = dialog.directory().absolutePath();
    return ToPath(dialog.selectedFiles().constFirst()).string();
}

std::optional<std::string> TQtOperator::ChooseSaveFile(const TFileDialogRequest& request) {
    return Choose(request, true);
}

std::optional<std::string> TQtOperator::ChooseOpenFile(const TFileDialogRequest& request) {
    return Choose(request, false);
}

void TQtOperator::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TQtOperator::EndBusy() {
    QApplication::restoreOverrideCursor();
}

}  // namespace uvlamp::app
