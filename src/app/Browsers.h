#pragma once

#include <QComboBox>
#include <QIcon>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <QTreeWidget>

class QShowEvent;
class QMouseEvent;

namespace uvlamp::app {

// A drop-down list of the mounted volumes, each shown by its root path (and its name when it has
// one). Choosing one by hand emits DriveChosen; selecting one from code emits nothing.
class TDriveComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit TDriveComboBox(QWidget* parent = nullptr);
    // Re-reads the mounted volumes, keeping the selection when that volume is still there.
    void Refresh();
    // The root path of the volume selected.
    QString Drive() const;
    // Selects the volume that holds the path (the one with the longest matching root).
    void SetDriveOf(const QString& path);

  signals:
    void DriveChosen(const QString& root);
};

// The directory list: the current directory's ancestors from the root down, each indented one
// step further, then its subdirectories. Activating an item (double click or Enter) enters that
// directory. DirectoryChanged is emitted whenever the directory changes, by hand or from code.
// It starts at the process's current directory, which it reads but never changes. Each item holds
// its full path in Qt::UserRole.
class TDirectoryListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit TDirectoryListBox(QWidget* parent = nullptr);
    // The absolute path shown, without a trailing separator except for the root.
    QString Directory() const;
    // Enters the directory. False, changing nothing, when it does not exist or cannot be read.
    bool SetDirectory(const QString& path);
    // Re-reads the subdirectories of the directory shown.
    void Refresh();

  signals:
    void DirectoryChanged(const QString& path);

  private:
    void Rebuild();

    QString directory_;
};

// The file list: the bare names of the regular files of one directory that match a mask ("?" one
// character, "*" any run; letter case ignored), sorted by name without regard to case. Several
// files can be selected. ListRead is emitted after every re-read of the directory, also the one
// when the list is first shown; SelectionMade when the operator changes the selection (clicks,
// keys), never for changes made from code, and once per press of the mouse, however many files a
// drag passes over. It starts at the process's current directory with the mask "*", unread.
class TFileListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit TFileListBox(QWidget* parent = nullptr);
    QString Directory() const;
    QString Mask() const;
    // Each re-reads the list (clearing the selection) when its value changes.
    void SetDirectory(const QString& path);
    void SetMask(const QString& mask);
    void Refresh();
    // The names selected, in list order.
    QStringList SelectedNames() const;
    // Selects the named files from code (no SelectionMade); unknown names are ignored.
    void SelectNames(const QStringList& names);

  signals:
    void ListRead();
    void SelectionMade();

  private:
    void Reread();
    void OnSelectionChanged();
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    QString directory_;
    QString mask_ = QStringLiteral("*");
    bool changingFromCode_ = false;
    bool mouseDown_ = false;
    bool changedWhileMouseDown_ = false;
    bool shown_ = false;
};

// The directory tree: the folders of one volume, opened down to the directory chosen; children
// are read when a folder is opened. DirectoryChanged is emitted whenever the chosen directory
// changes, by a click (or keys moving the current folder) or from code. Names are shown as the
// file system spells them; each item holds its full path in Qt::UserRole.
class TDirectoryTree : public QTreeWidget {
    Q_OBJECT
  public:
    explicit TDirectoryTree(QWidget* parent = nullptr);
    // The absolute path chosen, without a trailing separator except for the root; empty when none.
    QString Directory() const;
    // Opens the tree down to the directory and chooses it. False, changing nothing, when it does
    // not exist or cannot be read.
    bool SetDirectory(const QString& path);
    // Shows the volume with this root, opened at the process's current directory when that lies on
    // it (else at the root), without choosing a directory: nothing is emitted.
    void SetDrive(const QString& root);
    QString Drive() const;

  signals:
    void DirectoryChanged(const QString& path);

  private:
    // Puts the volume's root as the only top-level item, opened down to the path (which must lie
    // on it), and makes that folder the current item without choosing it.
    void ShowRoot(const QString& root, const QString& openAt);
    // Reads the subfolders of an item once.
    void Populate(QTreeWidgetItem* item);
    QTreeWidgetItem* NewFolderItem(const QString& name, const QString& path);
    void Choose(const QString& path);

    QString root_;
    QString directory_;
    bool changingFromCode_ = false;
    // Looked up once: the style's lookup is slow enough to matter for hundreds of folders.
    QIcon folderIcon_;
};

}  // namespace uvlamp::app
