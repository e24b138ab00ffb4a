// The window on a station archive (StationArchive.h), measured as the operator waits for it:
//   BM_SelectArchive  every file of the archive selected and loaded, until the lists are filled;
//   BM_ClickLamp      a click on a QL lamp of the loaded archive, until its scan list and the
//                     scan graphs are drawn.
// The window runs on the offscreen platform unless QT_QPA_PLATFORM names another. The benchmark
// argument "full" picks the archive: 0 the small one (the ctest smoke run), 1 a station's full
// archive, whose QL lamps hold 3,650 scans each. Before anything is timed the archive is loaded
// once through the window and checked; a load that missed a file or a scan ends the program with
// a message instead of being measured.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStringList>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <algorithm>
#include <clocale>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "StationArchive.h"
#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "graphs/ChartView.h"
#include "scans/Lamp.h"
#include "shell/ScriptedOperator.h"

namespace uvlamp::bench {
const char* const kProgramName = "bench_window";
}  // namespace uvlamp::bench

namespace {

namespace fs = std::filesystem;
using uvlamp::app::FromQ;
using uvlamp::app::TMainForm;
using uvlamp::app::ToQ;
using uvlamp::bench::Fail;
using uvlamp::bench::Store;
using uvlamp::bench::TArchive;

// The lamp clicked: the first QL lamp, the first row of the lamp list.
constexpr int kQlLampRow = 0;

// The window with its operator and its settings file, alive while the benchmarks run. It must
// go before the application does, so main owns it.
class TWindow {
  public:
    TWindow() {
        if (!config_.isValid()) {
            Fail("could not create a temporary folder for the settings file");
        }
        uvlamp::app::TMainFormOptions options;
        options.SettingsFile = uvlamp::app::ToPath(config_.filePath("uvlamp.INI"));
        options.Operator = &op_;
        form_ = std::make_unique<TMainForm>(std::move(options));
        form_->show();
        QCoreApplication::processEvents();
    }

    TMainForm& Form() { return *form_; }

    // The archive of a size, listed, selected and loaded in the window and checked; loaded again
    // only when another size was loaded last.
    const TArchive& Load(std::int64_t size) {
        const TArchive& archive = Store().Get(size);
        if (loadedSize_ != size) {
            ShowFolder(archive);
            const std::size_t told = op_.Journal().size();
            SelectAndLoad(archive);
            CheckLoad(archive, told);
            loadedSize_ = size;
        }
        return archive;
    }

    // Selects every file of the archive and clicks the load button, until the lists are drawn.
    void SelectAndLoad(const TArchive& archive) {
        form_->FileListBox1->SelectNames(names_);
        form_->Button1Click();
        QCoreApplication::processEvents();
        form_->LampNames->viewport()->repaint();
        form_->ScanNames->viewport()->repaint();
        benchmark::DoNotOptimize(archive.Names.data());
    }

    // Clicks a lamp and the first of its scans, as the window does when it reselects them, until
    // the scan list and the scan graphs are drawn.
    void ClickLamp(int row) {
        {
            const QSignalBlocker blocker(form_->LampNames);
            form_->LampNames->setCurrentRow(row);
        }
        form_->LampNamesClick();
        {
            const QSignalBlocker blocker(form_->ScanNames);
            form_->ScanNames->setCurrentRow(0);
        }
        form_->ScanNamesClick();
        QCoreApplication::processEvents();
        form_->ScanNames->viewport()->repaint();
        // Only the graph page on top paints; the others return at once, as on the screen.
        for (uvlamp::graphs::TChartView* chart :
             {form_->ScanGraph, form_->RelativeScanGraph, form_->Chart1}) {
            chart->viewport()->repaint();
        }
    }

    // A click on the QL lamp must list all its scans; the first difference ends the program.
    void CheckClick(const TArchive& archive, std::int64_t size) {
        const int expected = uvlamp::bench::kShapes[static_cast<std::size_t>(size)].QlBlocks;
        const std::size_t told = op_.Journal().size();
        ClickLamp(kQlLampRow);
        const std::string where = "clicking lamp " + archive.Lamps[kQlLampRow].Name + ": ";
        if (form_->ScanNames->count() != expected) {
            Fail(where + std::to_string(form_->ScanNames->count()) + " scans listed, expected " +
                 std::to_string(expected));
        }
        CheckSilent(where, told);
    }

  private:
    // Points the directory list at the archive and lists every file in it.
    void ShowFolder(const TArchive& archive) {
        const std::string where = "showing " + archive.Dir.string() + ": ";
        if (!form_->DirectoryListBox1->SetDirectory(uvlamp::app::FromPath(archive.Dir))) {
            Fail(where + "the directory list cannot enter it");
        }
        const int all = form_->FilterComboBox1->findText(QStringLiteral("All"));
        if (all < 0) {
            Fail(where + "the filter list has no entry \"All\"");
        }
        form_->FilterComboBox1->setCurrentIndex(all);
        form_->FilterComboBox1Change();
        QCoreApplication::processEvents();

        // The list shows the names sorted without regard to case.
        names_.clear();
        for (const std::string& name : archive.Names) {
            names_ << ToQ(name);
        }
        names_.sort(Qt::CaseInsensitive);
        QStringList listed;
        for (int i = 0; i < form_->FileListBox1->count(); ++i) {
            listed << form_->FileListBox1->item(i)->text();
        }
        if (listed != names_) {
            Fail(where + "the file list shows " + std::to_string(listed.size()) + " file(s) of " +
                 std::to_string(names_.size()) + " with mask " +
                 FromQ(form_->FileListBox1->Mask()));
        }
    }

    // Everything a correct load of the archive must show; the first difference ends the program.
    void CheckLoad(const TArchive& archive, std::size_t told) {
        const std::string where = "loading " + archive.Dir.string() + " in the window: ";
        if (form_->FileListBox1->SelectedNames() != names_) {
            Fail(where + std::to_string(form_->FileListBox1->SelectedNames().size()) +
                 " file(s) selected of " + std::to_string(names_.size()));
        }
        const uvlamp::TProgram& program = form_->Program;
        QStringList read;
        for (const auto& file : program.OpenedFiles) {
            read << ToQ(file->FileName);
        }
        if (read != names_) {
            Fail(where + std::to_string(read.size()) + " file(s) read of " +
                 std::to_string(names_.size()) +
                 "; the status bar says: " + FromQ(form_->StatusMessage->text()));
        }
        CheckSilent(where, told);
        if (program.LampList.size() != archive.Lamps.size() ||
            form_->LampNames->count() != static_cast<int>(archive.Lamps.size())) {
            Fail(where + std::to_string(program.LampList.size()) + " lamps loaded, " +
                 std::to_string(form_->LampNames->count()) + " listed, expected " +
                 std::to_string(archive.Lamps.size()));
        }
        for (std::size_t i = 0; i < archive.Lamps.size(); ++i) {
            const uvlamp::bench::TExpectedLamp& expected = archive.Lamps[i];
            const uvlamp::TLamp& lamp = *program.LampList[i];
            const QString line = form_->LampNames->item(static_cast<int>(i))->text();
            const std::string which = where + "lamp " + lamp.Name + ": ";
            if (lamp.Name != expected.Name || !line.startsWith(ToQ(expected.Name))) {
                Fail(which + "expected lamp " + expected.Name + " here, listed as " + FromQ(line));
            }
            if (static_cast<int>(lamp.Scans.size()) != expected.Scans ||
                lamp.NPoints != expected.Points) {
                Fail(which + std::to_string(lamp.Scans.size()) + " scans of " +
                     std::to_string(lamp.NPoints) + " points, expected " +
                     std::to_string(expected.Scans) + " of " + std::to_string(expected.Points));
            }
        }
    }

    // The window neither told nor asked the operator anything since `told` entries.
    void CheckSilent(const std::string& where, std::size_t told) {
        if (op_.Journal().size() != told) {
            Fail(where + "the operator was told or asked: " + op_.Journal()[told].Text);
        }
    }

    uvlamp::TScriptedOperator op_{true};
    QTemporaryDir config_;
    std::unique_ptr<TMainForm> form_;
    QStringList names_;  // the archive's names as the file list shows them
    std::int64_t loadedSize_ = -1;
};

TWindow* window = nullptr;

void BM_SelectArchive(benchmark::State& state) {
    const TArchive& archive = window->Load(state.range(0));
    // Each load also frees the one before, as every click of the operator's does.
    for (auto _ : state) {
        window->SelectAndLoad(archive);
    }
    state.SetBytesProcessed(state.iterations() * archive.Bytes);
    state.SetItemsProcessed(state.iterations() * archive.Scans);
    state.counters["files"] = static_cast<double>(archive.Names.size());
}

void BM_ClickLamp(benchmark::State& state) {
    const TArchive& archive = window->Load(state.range(0));
    window->CheckClick(archive, state.range(0));
    for (auto _ : state) {
        window->ClickLamp(kQlLampRow);
    }
    state.counters["scans"] =
        static_cast<double>(archive.Lamps[static_cast<std::size_t>(kQlLampRow)].Scans);
}

BENCHMARK(BM_SelectArchive)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickLamp)
    ->ArgName("full")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    QApplication application(argc, argv);
    // Qt adopts the user's locale for the C library too; the window reads and writes numbers
    // with "." as the decimal point whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    // The window makes the folder it shows the current one; the archive goes at the end.
    const fs::path startDir = fs::current_path();
    {
        TWindow bench;
        window = &bench;
        benchmark::RunSpecifiedBenchmarks();
        window = nullptr;
    }
    std::error_code ec;
    fs::current_path(startDir, ec);
    benchmark::Shutdown();
    return 0;
}
