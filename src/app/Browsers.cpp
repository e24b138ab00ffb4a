#include "app/Browsers.h"

#include <QDir>
#include <QFileInfo>
#include <QItemSelection>
#include <QMap>
#include <QMouseEvent>
#include <QSet>
#include <QShowEvent>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/QtText.h"
#include "shell/FileMask.h"

namespace uvlamp::app {

namespace {

// The indentation level of an item of the directory list.
constexpr int kLevelRole = Qt::UserRole + 1;
// Whether the subfolders of a tree item have been read.
constexpr int kReadRole = Qt::UserRole + 1;

// The absolute, clean form of a path, when it names a directory that can be listed and entered.
std::optional<QString> UsableDirectory(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const QFileInfo info(clean);
    if (!info.exists() || !info.isDir() || !info.isReadable() || !info.isExecutable()) {
        return std::nullopt;
    }
    return clean;
}

QString JoinPath(const QString& directory, const QString& name) {
    return directory.endsWith(QLatin1Char('/')) ? directory + name
                                                : directory + QLatin1Char('/') + name;
}

// Whether the path is the root or lies below it (both clean and absolute).
bool LiesOn(const QString& path, const QString& root) {
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

// The visible subfolders, sorted by name without regard to case.
QFileInfoList Subdirectories(const QString& directory) {
    return QDir(directory).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot,
                                         QDir::Name | QDir::IgnoreCase);
}

// Mounts that hold the system's own bookkeeping rather than anybody's files.
bool IsBrowsable(const QStorageInfo& volume) {
    const QString root = volume.rootPath();
    if (root == QLatin1String("/"))
        return true;
    if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir())
        return false;
    for (const char* system : {"/proc", "/sys", "/dev"}) {
        if (LiesOn(root, QLatin1String(system)))
            return false;
    }
    static const QSet<QByteArray> pseudo = {
        "autofs",     "binfmt_misc", "bpf",       "cgroup",   "cgroup2", "configfs",
        "debugfs",    "devpts",      "devtmpfs",  "efivarfs", "fusectl", "hugetlbfs",
        "mqueue",     "nsfs",        "overlay",   "proc",     "pstore",  "ramfs",
        "rpc_pipefs", "securityfs",  "selinuxfs", "squashfs", "sysfs",   "tracefs"};
    const QByteArray type = volume.fileSystemType();
    if (pseudo.contains(type))
        return false;
    // Memory file systems under /run are the system's; removable media may be mounted there too.
    return !(type == "tmpfs" && LiesOn(root, QStringLiteral("/run")));
}

// Indents each item of the directory list by its level.
class TIndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + Indent(option, index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += Indent(option, index);
        return size;
    }

  private:
    static int Indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
        return index.data(kLevelRole).toInt() * 2 * option.fontMetrics.averageCharWidth();
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TDriveComboBox

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    Refresh();
    connect(this, &QComboBox::activated, this, [this](int) { emit DriveChosen(Drive()); });
}

void TDriveComboBox::Refresh() {
    const QString selected = count() > 0 ? Drive() : QString();
    // Root path to volume name, in order of the paths, so "/" comes first.
    QMap<QString, QString> volumes{{QStringLiteral("/"), QString()}};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!IsBrowsable(volume))
            continue;
        QString& name = volumes[QDir::cleanPath(volume.rootPath())];
        if (name.isEmpty())
            name = volume.name();
    }
    clear();
    for (auto it = volumes.cbegin(); it != volumes.cend(); ++it) {
        const QString text =
            it.value().isEmpty() ? it.key() : QStringLiteral("%1 (%2)").arg(it.key(), it.value());
        addItem(text, it.key());
    }
    const int keep = selected.isEmpty() ? -1 : findData(selected);
    setCurrentIndex(keep >= 0 ? keep : 0);
}

QString TDriveComboBox::Drive() const {
    const QString root = currentData().toString();
    return root.isEmpty() ? QStringLiteral("/") : root;
}

void TDriveComboBox::SetDriveOf(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (LiesOn(clean, root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best >= 0)
        setCurrentIndex(best);
}

// ---------------------------------------------------------------------------------------------
// TDirectoryListBox

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TIndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    directory_ = UsableDirectory(QDir::currentPath()).value_or(QStringLiteral("/"));
    Rebuild();
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        // The list is rebuilt from under the item: take the path first.
        const QString path = item->data(Qt::UserRole).toString();
        // A folder removed since the list was read: show what is there now.
        if (!SetDirectory(path))
            Refresh();
    });
}

QString TDirectoryListBox::Directory() const {
    return directory_;
}

bool TDirectoryListBox::SetDirectory(const QString& path) {
    const std::optional<QString> directory = UsableDirectory(path);
    if (!directory)
        return false;
    const bool changed = *directory != directory_;
    directory_ = *directory;
    Rebuild();
    if (changed)
        emit DirectoryChanged(directory_);
    return true;
}

void TDirectoryListBox::Refresh() {
    Rebuild();
}

void TDirectoryListBox::Rebuild() {
    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto add = [this](const QIcon& icon, const QString& text, const QString& path, int level) {
        auto* item = new QListWidgetItem(icon, text, this);
        item->setData(Qt::UserRole, path);
        item->setData(kLevelRole, level);
        item->setToolTip(path);
        return item;
    };
    QString path = QStringLiteral("/");
    QListWidgetItem* current = add(open, path, path, 0);
    int level = 0;
    for (const QString& part : directory_.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path = JoinPath(path, part);
        current = add(open, part, path, ++level);
    }
    for (const QFileInfo& sub : Subdirectories(directory_)) {
        add(closed, sub.fileName(), JoinPath(directory_, sub.fileName()), level + 1);
    }
    setCurrentItem(current);
}

// ---------------------------------------------------------------------------------------------
// TFileListBox

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    directory_ = QDir::cleanPath(QDir::currentPath());
    connect(this, &QListWidget::itemSelectionChanged, this, &TFileListBox::OnSelectionChanged);
}

QString TFileListBox::Directory() const {
    return directory_;
}

QString TFileListBox::Mask() const {
    return mask_;
}

void TFileListBox::SetDirectory(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (clean == directory_)
        return;
    directory_ = clean;
    Reread();
}

void TFileListBox::SetMask(const QString& mask) {
    if (mask == mask_)
        return;
    mask_ = mask;
    Reread();
}

void TFileListBox::Refresh() {
    Reread();
}

QStringList TFileListBox::SelectedNames() const {
    QStringList names;
    for (int row = 0; row < count(); ++row) {
        const QListWidgetItem* it = item(row);
        if (it->isSelected())
            names.append(it->text());
    }
    return names;
}

void TFileListBox::SelectNames(const QStringList& names) {
    const QSet<QString> wanted(names.begin(), names.end());
    QItemSelection selection;
    int first = -1;
    for (int row = 0; row < count(); ++row) {
        if (!wanted.contains(item(row)->text()))
            continue;
        const QModelIndex index = model()->index(row, 0);
        selection.select(index, index);
        if (first < 0)
            first = row;
    }
    changingFromCode_ = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0) {
        selectionModel()->setCurrentIndex(model()->index(first, 0), QItemSelectionModel::NoUpdate);
    }
    changingFromCode_ = false;
}

void TFileListBox::Reread() {
    const std::vector<std::string> found = ListMatchingFiles(ToPath(directory_), FromQ(mask_));
    QStringList names;
    names.reserve(static_cast<qsizetype>(found.size()));
    for (const std::string& name : found) {
        names.append(FromPath(name));
    }
    changingFromCode_ = true;
    clear();
    addItems(names);
    changingFromCode_ = false;
    emit ListRead();
}

void TFileListBox::OnSelectionChanged() {
    if (changingFromCode_)
        return;
    // A drag over many files is one choice: it is reported when the button comes up.
    if (mouseDown_) {
        changedWhileMouseDown_ = true;
        return;
    }
    emit SelectionMade();
}

void TFileListBox::showEvent(QShowEvent* event) {
    QListWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        Reread();
    }
}

void TFileListBox::mousePressEvent(QMouseEvent* event) {
    mouseDown_ = true;
    changedWhileMouseDown_ = false;
    QListWidget::mousePressEvent(event);
}

void TFileListBox::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    const bool changed = changedWhileMouseDown_;
    mouseDown_ = false;
    changedWhileMouseDown_ = false;
    if (changed)
        emit SelectionMade();
}

// ---------------------------------------------------------------------------------------------
// TDirectoryTree

TDirectoryTree::TDirectoryTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    folderIcon_ = style()->standardIcon(QStyle::SP_DirIcon);
    const QString current = UsableDirectory(QDir::currentPath()).value_or(QStringLiteral("/"));
    ShowRoot(QStorageInfo(current).rootPath(), current);
    connect(this, &QTreeWidget::itemExpanded, this, &TDirectoryTree::Populate);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
                if (!changingFromCode_ && item) {
                    Choose(item->data(0, Qt::UserRole).toString());
                }
            });
    // A click on the folder that is already current (after SetDrive) chooses it as well.
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        if (item)
            Choose(item->data(0, Qt::UserRole).toString());
    });
}

QString TDirectoryTree::Directory() const {
    return directory_;
}

QString TDirectoryTree::Drive() const {
    return root_;
}

bool TDirectoryTree::SetDirectory(const QString& path) {
    const std::optional<QString> directory = UsableDirectory(path);
    if (!directory)
        return false;
    QString root = root_;
    if (root.isEmpty() || !LiesOn(*directory, root)) {
        root = QDir::cleanPath(QStorageInfo(*directory).rootPath());
        if (root.isEmpty() || !LiesOn(*directory, root))
            root = QStringLiteral("/");
    }
    ShowRoot(root, *directory);
    const bool changed = *directory != directory_;
    directory_ = *directory;
    if (changed)
        emit DirectoryChanged(directory_);
    return true;
}

void TDirectoryTree::SetDrive(const QString& root) {
    const QString cleanRoot = UsableDirectory(root).value_or(QStringLiteral("/"));
    // Open where the program works when that is on this volume, as a drive's own current
    // directory would be.
    const std::optional<QString> current = UsableDirectory(QDir::currentPath());
    ShowRoot(cleanRoot, current && LiesOn(*current, cleanRoot) ? *current : cleanRoot);
}

void TDirectoryTree::ShowRoot(const QString& root, const QString& openAt) {
    changingFromCode_ = true;
    if (root != root_ || topLevelItemCount() == 0) {
        clear();
        root_ = root;
        addTopLevelItem(NewFolderItem(root, root));
    }
    QTreeWidgetItem* item = topLevelItem(0);
    QString path = root;
    const QString rest = openAt.mid(root == QLatin1String("/") ? 1 : root.size() + 1);
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        Populate(item);
        path = JoinPath(path, part);
        QTreeWidgetItem* child = nullptr;
        for (int i = 0; i < item->childCount() && !child; ++i) {
            if (item->child(i)->data(0, Qt::UserRole).toString() == path)
                child = item->child(i);
        }
        if (!child) {
            // A hidden folder is not listed, but it can still be chosen by name.
            child = NewFolderItem(part, path);
            item->addChild(child);
        }
        item->setExpanded(true);
        item = child;
    }
    setCurrentItem(item);
    scrollToItem(item);
    changingFromCode_ = false;
}

void TDirectoryTree::Populate(QTreeWidgetItem* item) {
    if (!item || item->data(0, kReadRole).toBool())
        return;
    item->setData(0, kReadRole, true);
    const QString path = item->data(0, Qt::UserRole).toString();
    QSet<QString> present;
    for (int i = 0; i < item->childCount(); ++i) {
        present.insert(item->child(i)->data(0, Qt::UserRole).toString());
    }
    QList<QTreeWidgetItem*> children;
    for (const QFileInfo& sub : Subdirectories(path)) {
        const QString subPath = JoinPath(path, sub.fileName());
        if (!present.contains(subPath))
            children.append(NewFolderItem(sub.fileName(), subPath));
    }
    item->addChildren(children);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* TDirectoryTree::NewFolderItem(const QString& name, const QString& path) {
    auto* item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, Qt::UserRole, path);
    item->setIcon(0, folderIcon_);
    item->setToolTip(0, path);
    // Shows an expander until the folder is opened and found to have no subfolders.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void TDirectoryTree::Choose(const QString& path) {
    const std::optional<QString> directory = UsableDirectory(path);
    if (!directory || *directory == directory_)
        return;
    directory_ = *directory;
    emit DirectoryChanged(directory_);
}

}  // namespace uvlamp::app
