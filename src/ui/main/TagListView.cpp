#include "TagListView.h"

#include "ListFileCommands.h"
#include "ui/widgets/Icons.h"
#include "ui/widgets/TextSortedItem.h"

#include "foundation/OrderedWork.h"
#include "album/DirectoryListing.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconKeyRole = Qt::UserRole + 1;

// The list shows an empty tag value as a single space, so that its cell is not taken for a
// missing one; reading the list back turns that space into an empty value again.
QString shown(const QString &value)
{
    return value.isEmpty() ? u" "_s : value;
}

QString unshown(const QString &text)
{
    return text == u" " ? QString() : text;
}

} // namespace

TagListView::TagListView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(u"lstFilesTag"_s);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegateForColumn(FileNameColumn, new ListFileCommands::FileNameDelegate(this,
        [this](QTreeWidgetItem *row, const QString &newText) { emit nameEdited(row, newText); }));
    setContextMenuPolicy(Qt::CustomContextMenu);
    header()->setSectionsClickable(true);
    addColumns();

    connect(header(), &QHeaderView::sectionClicked, this, &TagListView::sortByHeader);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &TagListView::playWanted);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (!movingRows_ && current)
            emit rowChosen(current);
    });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { emit contextMenuWanted(viewport()->mapToGlobal(pos)); });
}

void TagListView::addColumns()
{
    if (columnCount() == ColumnCount && headerItem()->text(0) == u"File Name")
        return;
    setColumnCount(ColumnCount);
    setHeaderLabels({u"File Name"_s, u"Title"_s, u"Artist"_s, u"Album"_s, u"Year"_s, u"Genre"_s, u"Comment"_s, u"T."_s});
    TextSortedItem::setValueColumns(this, {YearColumn, TrackColumn});
    // 100 twips each to start with; the file name column gets the room that is left.
    header()->setStretchLastSection(false);
    for (int c = 0; c < ColumnCount; ++c)
        header()->resizeSection(c, c == FileNameColumn ? 200 : (c == TrackColumn ? 36 : 100));
    header()->setSectionResizeMode(FileNameColumn, QHeaderView::Stretch);
}

void TagListView::fill(const QString &folder, const QStringList &fileNames)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([this] {
        movingRows_ = false;
        QApplication::restoreOverrideCursor();
    });
    movingRows_ = true;
    clear();
    // The tags are read side by side; the rows are added in order on this thread.
    struct Read {
        QString iconKey;
        TagListRow row;
    };
    OrderedWork::run<Read>(
        int(fileNames.size()), 0,
        [&](int i) {
            const QString &name = fileNames.at(i);
            return Read{readListedFile(folder, name, false).iconKey, readTagListRow(folder, name)};
        },
        [&](int i, Read &read) {
            auto *item = new TextSortedItem(this);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            item->setText(FileNameColumn, fileNames.at(i));
            item->setIcon(FileNameColumn, iconForKey(read.iconKey));
            item->setData(FileNameColumn, IconKeyRole, read.iconKey);
            fillTagRow(item, read.row);
        });
}

void TagListView::fillTagRow(QTreeWidgetItem *item, const TagListRow &row)
{
    item->setText(TitleColumn, shown(row.title));
    item->setText(ArtistColumn, shown(row.artist));
    item->setText(AlbumColumn, shown(row.album));
    item->setText(YearColumn, shown(row.year));
    item->setText(GenreColumn, shown(row.genre));
    item->setText(CommentColumn, shown(row.comment));
    item->setText(TrackColumn, shown(row.track));
}

void TagListView::refreshRow(QTreeWidgetItem *row, const QString &folder)
{
    const QString name = fileNameOf(row);
    const ListedFile listed = readListedFile(folder, name, false);
    row->setIcon(FileNameColumn, iconForKey(listed.iconKey));
    row->setData(FileNameColumn, IconKeyRole, listed.iconKey);
    fillTagRow(row, readTagListRow(folder, name));
}

void TagListView::resetForShow()
{
    clear();
    sort_.reset(0);
    header()->setSortIndicatorShown(false);
}

QList<TagListRow> TagListView::rows() const
{
    QList<TagListRow> rows;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = topLevelItem(i);
        TagListRow row;
        row.fileName = item->text(FileNameColumn);
        row.title = unshown(item->text(TitleColumn));
        row.artist = unshown(item->text(ArtistColumn));
        row.album = unshown(item->text(AlbumColumn));
        row.year = unshown(item->text(YearColumn));
        row.genre = unshown(item->text(GenreColumn));
        row.comment = unshown(item->text(CommentColumn));
        row.track = unshown(item->text(TrackColumn));
        row.selected = item->isSelected();
        rows.append(row);
    }
    return rows;
}

QStringList TagListView::fileNames() const
{
    QStringList names;
    for (int i = 0; i < topLevelItemCount(); ++i)
        names << fileNameOf(topLevelItem(i));
    return names;
}

QStringList TagListView::selectedFileNames() const
{
    QStringList names;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected())
            names << fileNameOf(topLevelItem(i));
    }
    return names;
}

QTreeWidgetItem *TagListView::rowNamed(const QString &fileName) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (fileNameOf(topLevelItem(i)) == fileName)
            return topLevelItem(i);
    }
    return nullptr;
}

int TagListView::albumRowIndex() const
{
    QTreeWidgetItem *current = currentItem();
    if (current && current->isSelected())
        return indexOfTopLevelItem(current);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected())
            return i;
    }
    return -1;
}

void TagListView::setCurrentRowQuietly(QTreeWidgetItem *row)
{
    movingRows_ = true;
    setCurrentItem(row);
    movingRows_ = false;
}

void TagListView::setCurrentRowQuietly(QTreeWidgetItem *row, QItemSelectionModel::SelectionFlags flags)
{
    movingRows_ = true;
    setCurrentItem(row, 0, flags);
    movingRows_ = false;
}

void TagListView::focusFirstRow()
{
    if (topLevelItemCount() == 0)
        return;
    setFocus();
    clearSelection();
    setCurrentItem(topLevelItem(0));
}

void TagListView::editCurrentName()
{
    if (QTreeWidgetItem *row = currentItem()) {
        setFocus();
        editItem(row, FileNameColumn);
    }
}

void TagListView::sortByHeader(int column)
{
    const Qt::SortOrder order = sort_.clicked(column);
    sortItems(column, order);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
}

void TagListView::keyPressEvent(QKeyEvent *event)
{
    const ListFileCommands::ListKey key = ListFileCommands::listKey(event);
    if (key == ListFileCommands::ListKey::None) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    // While a name is being edited the editor passes these keys on; Enter only ends the edit.
    if (ListFileCommands::isEditing(this))
        return;
    switch (key) {
    case ListFileCommands::ListKey::Refresh:
        emit refreshWanted();
        break;
    case ListFileCommands::ListKey::Rename:
        emit renameWanted();
        break;
    case ListFileCommands::ListKey::Menu:
        emit contextMenuWanted(ListFileCommands::menuPosition(this));
        break;
    case ListFileCommands::ListKey::Delete:
        emit deleteWanted();
        break;
    default:
        emit playWanted();
        break;
    }
}
