#pragma once
// The tag page's file list (lstFilesTag): one row per file of the current folder with its
// icon and the tags shown in the columns, several rows selectable, the file name editable in
// place. The list reads its files and keeps its sorting; what its keys, its double click and
// a finished name edit stand for is the page's to carry out (signals).

#include "album/AlbumFromTags.h"
#include "ui/widgets/HeaderSort.h"

#include <QList>
#include <QStringList>
#include <QTreeWidget>

class TagListView : public QTreeWidget
{
    Q_OBJECT
public:
    /// The columns, as addColumns creates them.
    enum Column { FileNameColumn, TitleColumn, ArtistColumn, AlbumColumn, YearColumn, GenreColumn, CommentColumn,
                  TrackColumn, ColumnCount };

    explicit TagListView(QWidget *parent = nullptr);

    /// Creates the columns: "File Name", "Title", "Artist", "Album", "Year", "Genre", "Comment",
    /// "T.". Calling it again leaves the columns as they are.
    void addColumns();
    /// Lists the given files of `folder` with their tags and icons, in that order.
    void fill(const QString &folder, const QStringList &fileNames);
    /// Fills the tag columns of one row from the file's tags; an empty value shows as one space.
    void fillTagRow(QTreeWidgetItem *item, const TagListRow &row);
    /// Reads a row's columns and icon again from its file in `folder`.
    void refreshRow(QTreeWidgetItem *row, const QString &folder);
    /// Empties the list and forgets its sorting (the page switch).
    void resetForShow();

    /// The rows as the rename from tags reads them (a lone space read as empty).
    [[nodiscard]] QList<TagListRow> rows() const;
    /// The file names top to bottom.
    [[nodiscard]] QStringList fileNames() const;
    /// The file names of the selected rows, top to bottom.
    [[nodiscard]] QStringList selectedFileNames() const;
    /// The file name of a row.
    [[nodiscard]] static QString fileNameOf(const QTreeWidgetItem *row) { return row->text(FileNameColumn); }
    /// The row of a file, or none.
    [[nodiscard]] QTreeWidgetItem *rowNamed(const QString &fileName) const;
    /// The row the album fields come from: the current row when it is selected, else the first
    /// selected row; -1 with no row selected.
    [[nodiscard]] int albumRowIndex() const;

    /// Makes a row current and selects it as a click does, without announcing it as chosen.
    void setCurrentRowQuietly(QTreeWidgetItem *row);
    /// The same with the given selection change (NoUpdate: the selection stays).
    void setCurrentRowQuietly(QTreeWidgetItem *row, QItemSelectionModel::SelectionFlags flags);
    /// Gives the list the focus with its first row current and nothing selected.
    void focusFirstRow();
    /// Starts the in-place edit of the current row's file name.
    void editCurrentName();

    /// Sorts by a column as a header click does: the same column twice reverses the order.
    void sortByHeader(int column);

signals:
    /// A click or a key moved the current row to this one.
    void rowChosen(QTreeWidgetItem *row);
    /// The name edit of a row ended with a changed name.
    void nameEdited(QTreeWidgetItem *row, const QString &newText);
    /// Double click or Enter: the user wants to hear the current row.
    void playWanted();
    /// F5.
    void refreshWanted();
    /// F2.
    void renameWanted();
    /// Delete.
    void deleteWanted();
    /// The context-menu key or a right click over the list, at this screen position.
    void contextMenuWanted(const QPoint &globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    /// Set while the list itself moves the current row: no row is announced as chosen.
    bool movingRows_ = false;
    HeaderSort sort_{0};
};
