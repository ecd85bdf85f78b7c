#include "RenameListView.h"

#include "ui/widgets/Icons.h"
#include "ui/widgets/TextSortedItem.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

using namespace Qt::StringLiterals;

namespace {

constexpr int IconKeyRole = Qt::UserRole + 1;
/// The record's length of the row's track, which stays with the title.
constexpr int LengthRole = Qt::UserRole + 2;

// The title editor refuses an empty title: the edit ends and the old title stays, since a
// track without a title would give a file without a name.
class TitleDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (line && line->text().trimmed().isEmpty())
            return;
        QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

RenameListView::RenameListView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(u"lstResult"_s);
    setColumnCount(3);
    setHeaderLabels({u"Track name"_s, u"File name"_s, QString()});
    setColumnHidden(TrackColumn, true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegateForColumn(TitleColumn, new TitleDelegate(this));
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(TitleColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(FileNameColumn, QHeaderView::ResizeToContents);
    setMinimumHeight(90);
    connect(header(), &QHeaderView::sectionClicked, this, &RenameListView::sortByHeader);
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (column == TitleColumn)
            emit titleEdited(indexOfTopLevelItem(item));
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item, int) { emit playRequested(indexOfTopLevelItem(item)); });
}

void RenameListView::setRows(const RenameList &rows, const QStringList &iconKeys)
{
    const QSignalBlocker blocker(this);
    clear();
    // The new rows come in their own order: an arrow left from an earlier sort would lie.
    header()->setSortIndicatorShown(false);
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const RenameRow &row = rows.at(i);
        auto *item = new TextSortedItem(QStringList{row.title, row.fileName, row.trackText});
        const QString key = i < iconKeys.size() && !iconKeys.at(i).isEmpty() ? iconKeys.at(i) : u"FileIcon"_s;
        item->setIcon(TitleColumn, iconForKey(key));
        item->setData(TitleColumn, IconKeyRole, key);
        item->setData(TitleColumn, LengthRole, row.lengthMs);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        items.append(item);
    }
    addTopLevelItems(items);
    if (!items.isEmpty())
        setCurrentItem(items.first());
}

RenameList RenameListView::rows() const
{
    RenameList list;
    for (int i = 0; i < topLevelItemCount(); ++i)
        list.append(rowAt(i));
    return list;
}

RenameRow RenameListView::rowAt(int index) const
{
    const QTreeWidgetItem *item = topLevelItem(index);
    if (!item)
        return {};
    return {item->text(TitleColumn), item->text(FileNameColumn), item->text(TrackColumn),
            item->data(TitleColumn, LengthRole).toInt()};
}

int RenameListView::currentRow() const
{
    QTreeWidgetItem *item = currentItem();
    return item ? indexOfTopLevelItem(item) : -1;
}

QString RenameListView::iconKeyAt(int index) const
{
    const QTreeWidgetItem *item = topLevelItem(index);
    return item ? item->data(TitleColumn, IconKeyRole).toString() : QString();
}

void RenameListView::sortByHeader(int column)
{
    const Qt::SortOrder order = sort_.clicked(column);
    sortItems(column, order);
    header()->setSortIndicatorShown(true);
    header()->setSortIndicator(column, order);
}

void RenameListView::editCurrentTitle()
{
    setFocus();
    QTreeWidgetItem *item = currentItem();
    if (!item && topLevelItemCount() > 0) {
        item = topLevelItem(0);
        setCurrentItem(item);
    }
    if (item)
        editItem(item, TitleColumn);
}

void RenameListView::keyPressEvent(QKeyEvent *event)
{
    if (state() != QAbstractItemView::EditingState) {
        switch (event->key()) {
        case Qt::Key_F2:
            editCurrentTitle();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (currentRow() >= 0)
                emit playRequested(currentRow());
            return;
        case Qt::Key_Menu:
            emit contextMenuWanted(viewport()->mapToGlobal(visualItemRect(currentItem()).center()));
            return;
        default:
            break;
        }
    }
    QTreeWidget::keyPressEvent(event);
}

void RenameListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit contextMenuWanted(event->globalPosition().toPoint());
}
