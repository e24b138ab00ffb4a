#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>
#include <clocale>
#include <exception>

#include "app/MainForm.h"
#include "app/QtText.h"
#include "shell/SettingsFile.h"

int main(int argc, char** argv) {
    using namespace uvlamp::app;
    QApplication application(argc, argv);
    // Qt adopts the user's locale for the C library too; our files are written with "." as the
    // decimal point whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("uvlamp");
    try {
        TMainFormOptions options;
        options.SettingsFile = uvlamp::SettingsFilePath(
            ToPath(QApplication::applicationFilePath()),
            ToPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
        TMainForm form(std::move(options));
        form.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, ApplicationTitle(), QString::fromStdString(error.what()));
        return 1;
    }
}
