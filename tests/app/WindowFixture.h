#pragma once

// What the window tests share: a copy of the example station, a settings folder, a scripted
// operator answering the window's questions and dialogs, and a window started on them.
#include <QListWidget>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/MainForm.h"
#include "shell/ScriptedOperator.h"
#include "support/TestSupport.h"

namespace uvlamp::test {

inline const QStringList kQlFiles{"ql_L1031.137", "ql_L1032.137", "ql_L1033.137", "ql_L1034.137"};

// A day count at noon, so that log stamps do not depend on the machine's clock.
inline constexpr double kNoon = 46000.5;

QStringList Items(const QListWidget* list);
// A click on a row of a list, as the operator makes it.
void ClickRow(QListWidget* list, int row);

class TWindowFixture {
  protected:
    // For a test's init and cleanup.
    void SetUpWindow();
    void TearDownWindow();

    std::filesystem::path SettingsPath() const { return config_->Path() / "uvlamp.INI"; }
    // A window started in a folder: the station's, as the run command starts it, by default.
    app::TMainForm& Start(std::optional<std::filesystem::path> in = std::nullopt);
    // The files chosen in the file list, as a click on them loads them.
    void Load(const QStringList& names);

    std::unique_ptr<TTempDir> station_;
    std::unique_ptr<TTempDir> config_;
    std::unique_ptr<TScriptedOperator> op_;
    std::unique_ptr<app::TMainForm> form_;
    std::filesystem::path startDir_;
};

}  // namespace uvlamp::test
