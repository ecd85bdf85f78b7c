#pragma once
// Wizard page 1, the tag page: the tag list (TagListView) of the files taken from the directory
// page, the tag mode drop-down (cboID3Mode), the tag editor (TagEditorPanel) and "&Use ID3 to
// rename files" (renameWithTag), which builds the rename list from the files' own tags and
// hands it to the rename page. The editor shows the file last chosen in the list; the page
// saves it and runs the batch commands over all files or the selected ones. The per-file work
// is the core's; the page asks the questions and shows the progress.

#include "TagListView.h"
#include "WizardPage.h"

#include "audio/TagVersions.h"
#include "album/AlbumFromTags.h"
#include "jobs/TagEditing.h"
#include "jobs/TagQuestions.h"
#include "lookup/AlbumRecord.h"

#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

class MainContext;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QTreeWidgetItem;
class TagEditorPanel;
struct StoredControl;

class PageTag : public QWidget
{
    Q_OBJECT
public:
    /// The tag list's columns.
    using enum TagListView::Column;

    explicit PageTag(MainContext &context, QWidget *parent = nullptr);

    /// Creates the tag list's columns: "File Name", "Title", "Artist", "Album", "Year", "Genre",
    /// "Comment", "T.". Calling it again leaves the columns as they are.
    void addColumnsLstViewFilesTag();
    /// Lists the given files of the current folder with their tags (the files chosen on the
    /// directory page, in that order).
    void fillTagList(const QStringList &fileNames);
    /// The tag list as the lookup pairs from it: every file, its selection, the switch.
    [[nodiscard]] WorkingList workingList() const;
    /// What the page switch does to the tag page: the list emptied and its sorting reset, the
    /// first tabs shown, the tag fields emptied and the genres set to none.
    void resetForShow();

    /// The tag list's rows as the rename from tags reads them (a lone space read as empty).
    [[nodiscard]] QList<TagListRow> tagListRows() const;
    /// The tag versions of the mode chosen; none while no entry is chosen.
    [[nodiscard]] std::optional<TagVersions> chosenTagVersions() const;

    /// The page's controls the settings store keeps, with their keys.
    [[nodiscard]] QList<StoredControl> storedControls();
    /// Fills both genre drop-downs with the genre names.
    void fillGenreLists();
    /// Gives the tag list the focus with its first row current and nothing selected.
    void focusFirstRow();

    /// Sorts the tag list by a column as a header click does.
    void sortByHeader(int column);

    /// Asks for the player on the tag list's current row (double click, Enter, the player menu).
    void playCurrent();

    /// Shows a file of the list in the editor: both tag versions, its picture, its name, icon
    /// and audio facts. Says so when the file is gone.
    void showTagInfo(const QString &fileName);
    /// The file the editor shows; empty before the first one.
    [[nodiscard]] QString shownFile() const;

    /// cmdWrite: writes the editor's fields into the current row's file in a tag mode (1, 2, 3).
    void saveID3informations(int id3Mode);
    /// cmdCopyTag: the ticked fields' values written into every file used.
    void fillSelectedTags();
    /// cmdAutoTrack, cmdAutoTrack2: the files used numbered 1, 2, ... in row order.
    void autoFillTracks();
    /// cmdCopyId3To, cmdCopyId3From: one version's fields copied into the other in the shown file.
    void copyShownFile(TagCopy copy);
    /// cmdCopyAllId3To, cmdCopyAllId3From: the same in every file used.
    void copyFiles(TagCopy copy);
    /// cmdDelete: the mode's tags removed from the shown file.
    void removeShownTags();
    /// cmdRemoveAllTag: the mode's tags removed from every file used.
    void removeAllTags();
    /// True while a batch command works through its files.
    [[nodiscard]] bool isBatchRunning() const { return batchRunning_; }
    /// The button bar's Cancel: the running batch stops after the file under way.
    void requestStop() { stopRequested_ = true; }

    /// Starts the label edit of the current row.
    void startRenameInPlace();
    /// Renames a row's file in the current folder, showing the reason of a refusal; the editor
    /// then shows the file under its new name. True when the file was renamed.
    bool renameInPlace(QTreeWidgetItem *row, const QString &newText);
    /// Opens the current row's file with the desktop's default program.
    void openSelectedFile();
    /// Moves the selected files to the trash after asking, then refreshes the list.
    void deleteSelectedFiles();
    /// F5: the folder scanned again and listed here, the current row shown.
    void refreshList();

    /// The menu item whose enabled state the context menu's "&Play MP3" follows.
    void setPlayerAction(QAction *action) { playerAction_ = action; }
    /// Builds and enables the context menu as it is shown; the caller pops it up.
    QMenu *prepareContextMenu();

public slots:
    /// "&Use ID3 to rename files": checks the selection and the album, builds the rename list
    /// from the files' tags and asks for the rename page.
    void renameWithTag();

signals:
    /// A batch starts (true) or ends (false): the main window offers Cancel and holds whatever
    /// could start other work meanwhile.
    void busyChanged(bool busy);
    /// F5 or a deletion in the list: the directory page is to scan its folder again; the tag
    /// page lists the files it then gives.
    void rescanRequested();
    /// Asks the main window to show a page.
    void requestPage(WizardPage page);
    /// The player is asked for: the list's file names top to bottom and the row it starts at.
    void playRequested(const QStringList &fileNames, int row);

private:
    void buildContextMenu();
    void layOutPage(QWidget *commandArea);
    void connectPage();
    void buildCommands(QWidget *commandArea);
    void updateOnlySelectedCheck();
    void showContextMenu(const QPoint &globalPos);
    /// The chosen file shown afresh, with the wait cursor (a row chosen, the tags tab left).
    void showCurrentRow(QTreeWidgetItem *row);
    [[nodiscard]] QString pathOf(const QString &fileName) const;
    [[nodiscard]] TagVersions currentMode() const;
    /// The ID3v2 revision the page's saves and batches write (cboID3v2Version).
    [[nodiscard]] ID3v2Version currentV2Version() const;
    /// The rows a batch command covers (the selected ones or all) once its question was
    /// answered Yes; none after saying that no file is selected, or after No.
    [[nodiscard]] QList<QTreeWidgetItem *> batchRows(const std::function<Msg::Message(bool onlySelected)> &question);
    /// The current row for a one-file command once its question (if any) was answered Yes; none
    /// after saying that no file is selected, or after No.
    [[nodiscard]] QTreeWidgetItem *oneFileRow(const std::function<Msg::Message(const QString &fileName)> &question);
    /// Works through rows in order, one file at a time, with the busy pointer and the progress
    /// line, each file's messages shown and its row read again; the last file is shown at the end.
    /// The undo journal of the whole batch (a change of `kind`) is written before the first file.
    void runBatch(const QList<QTreeWidgetItem *> &rows, ChangeKind kind, const QString &what,
                  const std::function<TagFileResult(const QString &path, int k, TagJournalSlot slot)> &work);
    /// Shows a file again after a command, unless it vanished.
    void showAgain(const QString &fileName);
    /// Shows a file's messages and brings its row up to date.
    void afterFile(QTreeWidgetItem *row, const TagFileResult &result);

    MainContext &context_;
    QAction *playerAction_ = nullptr;
    QMenu *mnuContext1_ = nullptr;
    QAction *mnuPlay_ = nullptr;
    bool batchRunning_ = false;
    bool stopRequested_ = false;

    QLineEdit *txtDirectoryTag = nullptr;
    TagListView *lstFilesTag = nullptr;
    QCheckBox *chkOnlySelectedFilesTag = nullptr;
    QComboBox *cboID3Mode = nullptr;
    QComboBox *cboID3v2Version = nullptr;
    TagEditorPanel *editor_ = nullptr;
    QProgressBar *prgBatch = nullptr;
    QLabel *lblBatch = nullptr;
};
