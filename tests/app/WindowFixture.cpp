#include "WindowFixture.h"

#include <QtTest/QtTest>

#include "app/Browsers.h"

namespace uvlamp::test {

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
}

void ClickRow(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void TWindowFixture::SetUpWindow() {
    startDir_ = std::filesystem::current_path();
    station_ = std::make_unique<TTempDir>();
    config_ = std::make_unique<TTempDir>();
    CopyFiles(UVLAMP_EXAMPLES_DIR, station_->Path());
    op_ = std::make_unique<TScriptedOperator>(true);
}

void TWindowFixture::TearDownWindow() {
    form_.reset();
    std::filesystem::current_path(startDir_);
    op_.reset();
    station_.reset();
    config_.reset();
}

app::TMainForm& TWindowFixture::Start(std::optional<std::filesystem::path> in) {
    std::filesystem::current_path(in ? *in : station_->Path());
    app::TMainFormOptions options;
    options.SettingsFile = SettingsPath();
    options.Operator = op_.get();
    options.Clock = [] { return kNoon; };
    form_ = std::make_unique<app::TMainForm>(std::move(options));
    form_->show();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(form_.get())); }();
    return *form_;
}

void TWindowFixture::Load(const QStringList& names) {
    form_->FileListBox1->SelectNames(names);
    form_->Button1Click();
}

}  // namespace uvlamp::test
