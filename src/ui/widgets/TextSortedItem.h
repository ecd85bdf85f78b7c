#pragma once
// A list row that sorts by the text of the sort column as the user reads it: report views
// compare cells as text ("1,024" sorts before "987"), and letter case only breaks ties.

#include <QTreeWidgetItem>

class TextSortedItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QString a = text(column);
        const QString b = other.text(column);
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    }
};
