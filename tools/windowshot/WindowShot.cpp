// uvlamp-window-shot OUT.png STATION [FILE...] [--lamp ROW] [--scan ROW] [--tab TITLE]
//     [--size WxH] [--uvres FILE] [--reference ROW] [--per-degree] [--response [--average]]
//
// Starts the window in the folder STATION with a throwaway settings file, loads the files named
// (as if selected in the file list), chooses a lamp and a scan (with a UVRES file, a reference
// scan, per degree), optionally calculates the response (and draws it relative to the average)
// and shows a page, then saves a picture of the window as the screen shows it and ends.
// Run it under xvfb-run for the real window system; messages and questions are answered on the
// terminal (every question with Yes).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/Browsers.h"
#include "app/MainForm.h"
#include "app/QtText.h"
#include "response/References.h"
#include "shell/ScriptedOperator.h"

namespace {

int Usage() {
    std::cerr << "usage: uvlamp-window-shot OUT.png STATION [FILE...] [--lamp ROW] [--scan ROW]"
                 " [--tab TITLE] [--size WxH] [--uvres FILE] [--reference ROW] [--per-degree]"
                 " [--response [--average]]\n";
    return 2;
}

void Settle() {
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(25);
    }
}

}  // namespace

int main(int argc, char** argv) {
    using namespace uvlamp::app;
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QStringList args = QApplication::arguments().mid(1);
    if (args.size() < 2) {
        return Usage();
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    const QString station = args.takeFirst();
    QStringList files;
    int lamp = -1;
    int scan = 0;
    QString tab;
    QSize size(805, 440);
    bool response = false;
    QString uvres;
    int reference = -1;
    bool perDegree = false;
    bool average = false;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == "--lamp" && !args.isEmpty()) {
            lamp = args.takeFirst().toInt();
        } else if (arg == "--scan" && !args.isEmpty()) {
            scan = args.takeFirst().toInt();
        } else if (arg == "--tab" && !args.isEmpty()) {
            tab = args.takeFirst();
        } else if (arg == "--size" && !args.isEmpty()) {
            const QStringList wh = args.takeFirst().split('x');
            if (wh.size() != 2) {
                return Usage();
            }
            size = QSize(wh[0].toInt(), wh[1].toInt());
        } else if (arg == "--response") {
            response = true;
        } else if (arg == "--uvres" && !args.isEmpty()) {
            uvres = args.takeFirst();
        } else if (arg == "--reference" && !args.isEmpty()) {
            reference = args.takeFirst().toInt();
        } else if (arg == "--per-degree") {
            perDegree = true;
        } else if (arg == "--average") {
            average = true;
        } else if (arg.startsWith("--")) {
            return Usage();
        } else {
            files << arg;
        }
    }

    QTemporaryDir config;
    std::filesystem::current_path(ToPath(station));
    uvlamp::TScriptedOperator op(true);
    TMainFormOptions options;
    options.SettingsFile = ToPath(config.filePath("uvlamp.INI"));
    options.Operator = &op;
    TMainForm form(std::move(options));
    form.resize(size);
    form.show();
    Settle();
    // The IRR files of a station usually sit beside its scans.
    form.SelectIrrDir->SetDirectory(QDir(station).absolutePath());
    form.FileListBox1->SelectNames(files);
    form.Button1Click();
    if (lamp >= 0 && lamp < form.LampNames->count()) {
        form.LampNames->setCurrentRow(lamp);
        form.ScanNames->setCurrentRow(scan);
    }
    if (!uvres.isEmpty()) {
        uvlamp::LoadUvresResponse(form.Program, op, ToPath(uvres).string());
    }
    if (reference >= 0) {
        form.PlotScanRelativeTo->setCurrentIndex(reference);
    }
    // Checking "T" draws the scan again; otherwise it is drawn here, with what was set above.
    if (perDegree) {
        form.PerDegree->setChecked(true);
    } else {
        form.ScanNamesClick();
    }
    if (response) {
        form.CalcResponseClick();
        if (average) {
            form.RelativeToAvg->setChecked(true);
        }
    }
    if (!tab.isEmpty()) {
        for (QTabWidget* tabs : {form.Tabs, form.PageControl1}) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->tabText(i) == tab) {
                    tabs->setCurrentIndex(i);
                }
            }
        }
    }
    Settle();
    const QRect frame = form.frameGeometry();
    const QPixmap picture =
        form.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    for (const auto& entry : op.Journal()) {
        std::cerr << entry.Caption << ": " << entry.Text << "\n";
    }
    if (!picture.save(out, "PNG")) {
        std::cerr << "uvlamp-window-shot: cannot write " << out.toStdString() << "\n";
        return 1;
    }
    std::cout << out.toStdString() << "\n";
    return 0;
}
