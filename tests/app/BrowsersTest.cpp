#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/Browsers.h"
#include "app/UpDown.h"

namespace uvlamp::app {
namespace {

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

QStringList Texts(const QListWidget& list) {
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts.append(list.item(row)->text());
    return texts;
}

QListWidgetItem* ItemWithPath(const QListWidget& list, const QString& path) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->data(Qt::UserRole).toString() == path)
            return list.item(row);
    }
    return nullptr;
}

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; parent && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name)
            return parent->child(i);
    }
    return nullptr;
}

void Click(QAbstractItemView& view, const QRect& rect,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, modifiers, rect.center());
}

}  // namespace

class TBrowsersTest : public QObject {
    Q_OBJECT

  private slots:
    // A fresh folder for each test.
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        root_ = QDir::cleanPath(dir_->path());
    }

    void FileListFiltersSortsAndRereadsOnChange() {
        for (const char* name : {"QL12524.185", "ql_L1031.137", "Ql00001.185", "lamp1031.137",
                                 "ql12524.1850", "xl11324.137"}) {
            Touch(root_ + "/" + name);
        }
        QVERIFY(QDir(root_).mkdir("ql99999.185"));
        TFileListBox list;
        QSignalSpy read(&list, &TFileListBox::ListRead);
        QSignalSpy made(&list, &TFileListBox::SelectionMade);

        list.SetDirectory(root_ + "/sub/..");
        QCOMPARE(list.Directory(), root_);
        list.SetMask("ql??????.???");
        QCOMPARE(read.count(), 2);
        QCOMPARE(Texts(list), (QStringList{"Ql00001.185", "QL12524.185", "ql_L1031.137"}));
        list.SetMask("ql??????.???");
        list.SetDirectory(root_);
        QCOMPARE(read.count(), 2);

        list.SelectNames({"ql_L1031.137", "Ql00001.185", "unknown.185"});
        QCOMPARE(list.SelectedNames(), (QStringList{"Ql00001.185", "ql_L1031.137"}));
        list.SetMask("?l*.*");
        QCOMPARE(read.count(), 3);
        QVERIFY(list.SelectedNames().isEmpty());
        QCOMPARE(Texts(list), (QStringList{"Ql00001.185", "QL12524.185", "ql12524.1850",
                                           "ql_L1031.137", "xl11324.137"}));

        list.SelectNames({"xl11324.137"});
        list.Refresh();
        QCOMPARE(read.count(), 4);
        QVERIFY(list.SelectedNames().isEmpty());
        list.SetDirectory(root_ + "/missing");
        QCOMPARE(read.count(), 5);
        QCOMPARE(list.count(), 0);
        QCOMPARE(made.count(), 0);
    }

    void FileListReportsOnlyTheOperatorsSelections() {
        for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
            Touch(root_ + "/" + name);
        TFileListBox list;
        list.SetDirectory(root_);
        QSignalSpy read(&list, &TFileListBox::ListRead);
        QSignalSpy made(&list, &TFileListBox::SelectionMade);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(read.count(), 1);  // the first display reads the list again

        Click(list, list.visualItemRect(list.item(1)));
        QCOMPARE(made.count(), 1);
        QCOMPARE(list.SelectedNames(), QStringList{"b.txt"});
        Click(list, list.visualItemRect(list.item(3)), Qt::ControlModifier);
        QCOMPARE(made.count(), 2);
        QCOMPARE(list.SelectedNames(), (QStringList{"b.txt", "d.txt"}));
        QTest::keyClick(&list, Qt::Key_Up);
        QCOMPARE(made.count(), 3);
        QCOMPARE(list.SelectedNames(), QStringList{"c.txt"});

        // A drag across three files is one choice.
        QTest::mousePress(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(list.item(0)).center());
        QTest::mouseMove(list.viewport(), list.visualItemRect(list.item(1)).center());
        QTest::mouseMove(list.viewport(), list.visualItemRect(list.item(2)).center());
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {},
                            list.visualItemRect(list.item(2)).center());
        QCOMPARE(list.SelectedNames(), (QStringList{"a.txt", "b.txt", "c.txt"}));
        QCOMPARE(made.count(), 4);

        list.SelectNames({"d.txt"});
        list.Refresh();
        list.SetMask("a*");
        QCOMPARE(made.count(), 4);
        QCOMPARE(read.count(), 3);
    }

    void DirectoryListEntersFoldersAndRefusesMissingOnes() {
        for (const char* name : {"Beta", "alpha", ".hidden", "alpha/inner"}) {
            QVERIFY(QDir(root_).mkpath(name));
        }
        Touch(root_ + "/file.txt");
        TDirectoryListBox list;
        QSignalSpy changed(&list, &TDirectoryListBox::DirectoryChanged);
        QVERIFY(list.SetDirectory(root_ + "/alpha/../"));
        QCOMPARE(list.Directory(), root_);
        QCOMPARE(changed.count(), 1);
        QVERIFY(list.SetDirectory(root_));
        QCOMPARE(changed.count(), 1);

        // The ancestors from the root, the folder shown current, then its visible subfolders.
        const QStringList parts = root_.split('/', Qt::SkipEmptyParts);
        QCOMPARE(list.count(), 1 + parts.size() + 2);
        QCOMPARE(list.item(0)->data(Qt::UserRole).toString(), QString("/"));
        QCOMPARE(list.currentItem()->data(Qt::UserRole).toString(), root_);
        QCOMPARE(Texts(list).mid(1 + parts.size()), (QStringList{"alpha", "Beta"}));

        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QListWidgetItem* alpha = ItemWithPath(list, root_ + "/alpha");
        QVERIFY(alpha);
        list.scrollToItem(alpha);
        // A double click as the window system delivers it: press, release, double click, release.
        const QPoint at = list.visualItemRect(alpha).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().at(0).toString(), root_ + "/alpha");
        QCOMPARE(list.Directory(), root_ + "/alpha");
        QCOMPARE(Texts(list).last(), QString("inner"));

        // Enter on an ancestor goes back up.
        list.setCurrentItem(ItemWithPath(list, root_));
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.Directory(), root_);
        QCOMPARE(changed.count(), 3);

        for (const QString& bad : {root_ + "/missing", root_ + "/file.txt", QString()}) {
            QVERIFY2(!list.SetDirectory(bad), qPrintable(bad));
        }
        QCOMPARE(list.Directory(), root_);
        QCOMPARE(changed.count(), 3);
    }

    void DirectoryTreeOpensTheChainAndReportsEachChoiceOnce() {
        QVERIFY(QDir(root_).mkpath("a/b/c"));
        QVERIFY(QDir(root_).mkpath("a/B2"));
        QVERIFY(QDir(root_).mkpath("a/.hid"));
        TDirectoryTree tree;
        QSignalSpy changed(&tree, &TDirectoryTree::DirectoryChanged);
        QVERIFY(tree.SetDirectory(root_ + "/a/b"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().at(0).toString(), root_ + "/a/b");
        QCOMPARE(tree.Directory(), root_ + "/a/b");
        QTreeWidgetItem* b = tree.currentItem();
        QVERIFY(b);
        QCOMPARE(b->text(0), QString("b"));
        QCOMPARE(b->data(0, Qt::UserRole).toString(), root_ + "/a/b");
        for (QTreeWidgetItem* up = b->parent(); up; up = up->parent())
            QVERIFY(up->isExpanded());
        QCOMPARE(b->parent()->childCount(), 2);  // "b" and "B2"; hidden folders are left out
        QVERIFY(ChildNamed(b->parent(), "B2"));

        // Subfolders are read when a folder opens.
        QCOMPARE(b->childCount(), 0);
        b->setExpanded(true);
        QVERIFY(ChildNamed(b, "c"));

        QVERIFY(tree.SetDirectory(root_ + "/a/b"));
        QVERIFY(!tree.SetDirectory(root_ + "/a/missing"));
        QCOMPARE(changed.count(), 1);
        tree.SetDrive("/");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tree.Drive(), QString("/"));
        QCOMPARE(tree.Directory(), root_ + "/a/b");

        // A hidden folder can still be chosen by name.
        QVERIFY(tree.SetDirectory(root_ + "/a/.hid"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(tree.currentItem()->text(0), QString(".hid"));

        QVERIFY(tree.SetDirectory(root_ + "/a/b"));
        QCOMPARE(changed.count(), 3);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QTreeWidgetItem* c = ChildNamed(tree.currentItem(), "c");
        QVERIFY(c);
        tree.currentItem()->setExpanded(true);
        tree.scrollToItem(c);
        Click(tree, tree.visualItemRect(c));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.last().at(0).toString(), root_ + "/a/b/c");
        QCOMPARE(tree.Directory(), root_ + "/a/b/c");
    }

    void UpDownClampsWritesTheFieldAndStepsFromTypedText() {
        QLineEdit edit;
        TUpDown upDown;
        upDown.SetRange(0, 100);
        upDown.SetPosition(21);
        upDown.SetAssociate(&edit);
        QCOMPARE(edit.text(), QString("21"));
        QSignalSpy moved(&upDown, &TUpDown::PositionChanged);
        QSignalSpy typed(&edit, &QLineEdit::textChanged);

        upDown.SetPosition(150);
        QCOMPARE(upDown.Position(), 100);
        QCOMPARE(edit.text(), QString("100"));
        QCOMPARE(typed.count(), 1);
        upDown.SetPosition(-5);
        QCOMPARE(edit.text(), QString("0"));
        QCOMPARE(moved.count(), 2);
        QCOMPARE(moved.last().at(0).toInt(), 0);

        QToolButton* up = nullptr;
        QToolButton* down = nullptr;
        for (QToolButton* button : upDown.findChildren<QToolButton*>()) {
            (button->arrowType() == Qt::UpArrow ? up : down) = button;
        }
        QVERIFY(up && down);
        struct TStepCase {
            const char* text;
            QToolButton* button;
            int position;
        };
        // Position before each step is the one the previous step left.
        const TStepCase cases[] = {
            {"50", up, 51},    // a typed number in range
            {" 7 ", down, 6},  // blanks around it do not matter
            {"abc", up, 7},    // not a number: from the last position
            {"500", down, 6},  // out of range: from the last position
            {"100", up, 100},  // at the top it stays
            {"0", down, 0},
        };
        for (const TStepCase& c : cases) {
            edit.setText(c.text);
            c.button->click();
            QCOMPARE(upDown.Position(), c.position);
            QCOMPARE(edit.text(), QString::number(c.position));
        }

        upDown.setEnabled(false);
        QVERIFY(!up->isEnabled() && !down->isEnabled());
        upDown.SetRange(10, 20);
        QCOMPARE(upDown.Position(), 10);
        QCOMPARE(edit.text(), QString("10"));
    }

    void DriveListHoldsTheRootAndFindsTheVolumeOfAPath() {
        TDriveComboBox drives;
        QSignalSpy chosen(&drives, &TDriveComboBox::DriveChosen);
        QVERIFY(drives.findData(QString("/")) >= 0);
        drives.SetDriveOf(root_);
        const QString drive = drives.Drive();
        QVERIFY(root_.startsWith(drive == "/" ? drive : drive + "/"));
        drives.Refresh();
        QCOMPARE(drives.Drive(), drive);
        QCOMPARE(chosen.count(), 0);
    }

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString root_;
};

}  // namespace uvlamp::app

QTEST_MAIN(uvlamp::app::TBrowsersTest)
#include "BrowsersTest.moc"
