#pragma once
// The folder picker of the rename page's destination: the whole file system in a tree (the
// root, or the drives on Windows), the places a destination usually lies in (the home folder,
// the root, mounted media and other disks), "&New folder" under the selected folder, "&Select"
// for a real folder, "&Cancel" or the close box for nothing.

#include <QDialog>
#include <QString>
#include <QStringList>

class QFileSystemModel;
class QLabel;
class QListWidget;
class ButtonEx;
class QTreeView;

class frmSelectDir : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelectDir(QWidget *parent = nullptr);

    /// Shows the picker modally, opened on `start` (the current destination) when it is a
    /// folder; returns the chosen folder, or an empty text when the user cancelled or closed
    /// the window.
    static QString choose(QWidget *parent, const QString &start);

    /// Selects a folder of the tree and shows it; false when it is no folder.
    bool navigate(const QString &path);
    /// The folder selected in the tree; empty when none is.
    [[nodiscard]] QString currentFolder() const;
    /// The result: the folder "&Select" took, empty otherwise.
    [[nodiscard]] QString selectedDirectory() const { return selected_; }

    /// The folders of the places list, in its order: the home folder, the root of the file
    /// system (each drive on Windows), then each other mounted disk or medium.
    [[nodiscard]] QStringList places() const;

    /// "&New folder": makes a folder "New folder" ("New folder 2", ... when taken) under the
    /// selected one, selects it and starts editing its name. False when it cannot be made.
    bool newFolder();

private:
    void updateSelectEnabling();
    void fillPlaces();

    QFileSystemModel *model_ = nullptr;
    QLabel *lblInfo = nullptr;
    QListWidget *lstPlaces = nullptr;
    QTreeView *fdvDir = nullptr;
    ButtonEx *cmdNewFolder = nullptr;
    ButtonEx *cmdOk = nullptr;
    ButtonEx *cmdCancel = nullptr;
    QString selected_;
    /// The folder navigate() went to: kept in view while the folders above it are still being read.
    QString shownFolder_;
};
