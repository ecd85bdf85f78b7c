#pragma once
// The rename list of the rename page (lstResult): one row per track with its title (editable
// in place), its current file name and, in a hidden column, its track number text. The row's
// position is its file number, so sorting really reorders the rows.

#include "album/RenameList.h"
#include "ui/widgets/HeaderSort.h"

#include <QStringList>
#include <QTreeWidget>

class RenameListView : public QTreeWidget
{
    Q_OBJECT
public:
    /// The columns: the title, the file name and the hidden track number text.
    enum Column { TitleColumn = 0, FileNameColumn = 1, TrackColumn = 2 };

    explicit RenameListView(QWidget *parent = nullptr);

    /// Replaces every row; iconKeys gives each row's picture key (missing entries: "FileIcon").
    void setRows(const RenameList &rows, const QStringList &iconKeys = {});
    /// The rows in display order.
    [[nodiscard]] RenameList rows() const;
    /// The row shown at a position (0-based), as the job would read it.
    [[nodiscard]] RenameRow rowAt(int index) const;
    /// The position of the current row, or -1 when no row is current.
    [[nodiscard]] int currentRow() const;
    /// The picture key of a row.
    [[nodiscard]] QString iconKeyAt(int index) const;

    /// Sorts by a column as a header click does: the same column twice reverses the order.
    void sortByHeader(int column);
    [[nodiscard]] int lastSortColumn() const { return sort_.column(); }
    [[nodiscard]] Qt::SortOrder sortOrder() const { return sort_.order(); }

    /// Gives the list the focus and starts the in-place edit of the current row's title.
    void editCurrentTitle();

signals:
    /// A title edit ended with a new, accepted title.
    void titleEdited(int row);
    /// Double-click or Enter on a row: the user wants to hear it.
    void playRequested(int row);
    /// The context-menu key or a right-button release over the list.
    void contextMenuWanted(const QPoint &globalPos);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    HeaderSort sort_{-1};
};
