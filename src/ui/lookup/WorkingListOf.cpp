#include "ui/lookup/WorkingListOf.h"

#include <QTreeWidget>

WorkingList workingListOf(const QTreeWidget *list, int nameColumn, bool onlySelected)
{
    WorkingList files;
    files.onlySelected = onlySelected;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = list->topLevelItem(i);
        files.fileNames.append(row->text(nameColumn));
        files.selected.append(row->isSelected());
    }
    return files;
}
