#pragma once
// Page 0 of the main window: the folder tree, the file list of the chosen folder with its audio
// columns and tag icons, the totals line and "&Use only selected files".

#include "lookup/AlbumRecord.h"
#include "ui/widgets/HeaderSort.h"

#include <QWidget>

class MainContext;
class QAction;
class QCheckBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

class PageDirectory : public QWidget
{
    Q_OBJECT
public:
    explicit PageDirectory(MainContext &context, QWidget *parent = nullptr);

    /// Makes path the current folder and scans it.
    void selectDirectory(const QString &path);
    /// Lists the MP3 files of a folder (the scan).
    void listDirectory(const QString &path);
    /// Creates the six columns of the file list.
    void addColumnsLstViewFiles();
    /// The page width at which the file list shows a name of `nameChars` average characters
    /// whole beside its value columns and the folder tree.
    [[nodiscard]] int preferredWidth(int nameChars) const;

    /// Scans the tree's current folder again (the folder last listed when the tree has none).
    void refresh() { selectDirectory(refreshFolder()); }
    /// Moves the folder tree to a folder and selects it (which scans it); false when the
    /// folder does not exist.
    bool navigateTo(const QString &path);
    /// The folder tree's current folder; empty when none is selected.
    [[nodiscard]] QString treeFolder() const;
    /// Selects the listed files of these names (the first one current); the others stay
    /// unselected. Nothing changes when none of them is listed.
    void selectFiles(const QStringList &names);

    /// True when the file list holds files (its first row is not the placeholder).
    [[nodiscard]] bool hasFiles() const;
    /// The names of the listed files in row order; only the selected ones when onlySelected.
    [[nodiscard]] QStringList fileNames(bool onlySelected) const;
    /// The file list as the lookup pairs from it: every file, its selection, the switch.
    [[nodiscard]] WorkingList workingList() const;
    /// True while a scan runs.
    [[nodiscard]] bool isScanning() const { return scanning_; }

    /// Starts the label edit of the selected row.
    void startRenameInPlace();
    /// Renames the file of a row in the tree's current folder, showing the reason of a refusal;
    /// true when the file was renamed and the row shows the new name.
    bool renameInPlace(QTreeWidgetItem *row, const QString &newText);
    /// Opens the selected file with the desktop's default program.
    void openSelectedFile();
    /// Moves the selected files to the trash after asking, then scans the folder again.
    void deleteSelectedFiles();
    /// "&Use only selected files".
    [[nodiscard]] bool onlySelectedFiles() const;
    void setOnlySelectedFiles(bool on);
    /// Ticks "&Use only selected files" from two selected rows on.
    void updateOnlySelectedCheck();

    /// The menu item whose enabled state the context menu's "&Play MP3" follows.
    void setPlayerAction(QAction *action) { playerAction_ = action; }
    /// Builds and enables the context menu as it is shown; the caller pops it up.
    QMenu *prepareContextMenu();

    /// The column index of the previous header click (starts at 0, kept for the whole run).
    [[nodiscard]] int lastSortColumn() const { return sort_.column(); }

    /// Gives the folder tree the focus.
    void focusFolderTree();

    /// Asks for the player on the current row of the file list (nothing when no file is listed).
    void playCurrent();

signals:
    /// The lookup and tag buttons of the directory page are to be enabled or disabled.
    void fileButtonsEnabled(bool enabled);
    /// A scan ended; filesListed tells whether it found a file.
    void filesListedChanged(bool filesListed);
    /// A path was typed or pasted into the folder box and Enter pressed.
    void pathEntered(const QString &path);
    /// "&Work with ID3 tag" is asked for (Enter, double click, "&Edit Tag").
    void workWithTagRequested();
    /// "Paste track list" is asked for: the clipboard's list paired with the listed files.
    void pasteTrackListRequested();
    /// The player is asked for: the list's file names top to bottom and the row it starts at.
    void playRequested(const QStringList &fileNames, int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    [[nodiscard]] int valueColumnWidth(int column) const;
    void buildControls();
    void buildFolderTree();
    void buildFolderBox();
    void buildFileList();
    void buildContextMenu();
    void onTreeSelection();
    void onHeaderClicked(int column);
    void showContextMenu(const QPoint &globalPos);
    void rememberSelectedFile();
    void addPlaceholderRow();
    QString treeFolderWithSeparator() const;
    /// Puts the listed folder back into the folder box.
    void showListedFolder();
    /// The folder a refresh lists: the tree's current folder, else the one last listed.
    QString refreshFolder() const;

    MainContext &context_;
    QFileSystemModel *folderModel_ = nullptr;
    QTreeView *fdvDir_ = nullptr;
    QLineEdit *txtDirectoryFiles_ = nullptr;
    QTreeWidget *lstFiles_ = nullptr;
    QLineEdit *txtTotalFile_ = nullptr;
    /// What an interrupted run left in the listed folder, one warning a line; hidden when nothing.
    QLabel *lblLeftovers_ = nullptr;
    QCheckBox *chkOnlySelectedFiles_ = nullptr;
    QMenu *mnuContext3_ = nullptr;
    QAction *mnuPlay_ = nullptr;
    QAction *playerAction_ = nullptr;
    QString listedFolder_;
    HeaderSort sort_{0};
    bool scanning_ = false;
    bool ignoreTreeSelection_ = false;
};
