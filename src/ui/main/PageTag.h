#pragma once
// Wizard page 1, the tag page: the tag list (lstFilesTag) of the files taken from the directory
// page, the tag mode drop-down (cboID3Mode), the tag editor's fields of both tag versions, and
// "&Use ID3 to rename files" (renameWithTag), which builds the rename list from the files' own
// tags and hands it to the rename page.
// The tag editor's fields are laid out and reset with the page but cannot be edited or saved
// yet: they stay disabled until the editor's commands exist.

#include "WizardPage.h"

#include "audio/TagVersions.h"
#include "jobs/AlbumFromTags.h"
#include "jobs/RenameList.h"
#include "lookup/AlbumRecord.h"
#include "naming/NamingInput.h"

#include <QList>
#include <QStringList>
#include <QWidget>
#include <optional>

class MainContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
struct StoredControl;

class PageTag : public QWidget
{
    Q_OBJECT
public:
    /// The tag list's columns, as addColumnsLstViewFilesTag creates them.
    enum Column { FileNameColumn, TitleColumn, ArtistColumn, AlbumColumn, YearColumn, GenreColumn, CommentColumn,
                  TrackColumn, ColumnCount };

    explicit PageTag(MainContext &context, QWidget *parent = nullptr);

    /// Creates the tag list's columns: "File Name", "Title", "Artist", "Album", "Year", "Genre",
    /// "Comment", "T.". Calling it again leaves the columns as they are.
    void addColumnsLstViewFilesTag();
    /// Lists the given files of the current folder with their tags (the files chosen on the
    /// directory page, in that order).
    void fillTagList(const QStringList &fileNames);
    /// The tag list as the lookup pairs from it: every file, its selection, the switch.
    [[nodiscard]] WorkingList workingList() const;
    /// Fills the tag columns of one row from the file's tags; an empty value shows as one space.
    void fillTagRow(QTreeWidgetItem *item, const TagListRow &row);
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

public slots:
    /// "&Use ID3 to rename files": checks the selection and the album, builds the rename list
    /// from the files' tags and asks for the rename page.
    void renameWithTag();

signals:
    /// Asks the main window to show a page.
    void requestPage(WizardPage page);
    /// The player is asked for: the list's file names top to bottom and the row it starts at.
    void playRequested(const QStringList &fileNames, int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTagEditor(QWidget *area);
    void updateOnlySelectedCheck();
    [[nodiscard]] int albumRowIndex() const;

    MainContext &context_;
    int lastSortColumn_ = 0;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;

    QLineEdit *txtDirectoryTag = nullptr;
    QTreeWidget *lstFilesTag = nullptr;
    QCheckBox *chkOnlySelectedFilesTag = nullptr;
    QComboBox *cboID3Mode = nullptr;
    QTabWidget *tabTagEditor = nullptr;
    QTabWidget *tabTagEditor2 = nullptr;
    QList<QLineEdit *> tagFields_;
    QComboBox *cboGenre = nullptr;
    QComboBox *cboGenre2 = nullptr;
    QPlainTextEdit *txtLyrics = nullptr;
    QPlainTextEdit *txtMp3Info = nullptr;
    QLineEdit *txtFileName = nullptr;
};
