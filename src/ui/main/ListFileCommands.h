#pragma once
// What the directory list and the tag list do alike to their files: the in-place rename (the
// edit's end, the checks of the new name and the move), opening a file with the desktop's
// program, and moving the selected files to the trash.

#include <QAction>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;

class FolderLock;

namespace ListFileCommands {

/// Ends an in-place edit of the file name column: the rename runs once the editor is closed,
/// so its message boxes cannot take the focus from an editor that is still committing.
class FileNameDelegate : public QStyledItemDelegate
{
public:
    using Rename = std::function<void(QTreeWidgetItem *row, const QString &newText)>;
    FileNameDelegate(QTreeWidget *list, Rename rename);
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    QTreeWidget *list_;
    Rename rename_;
};

/// Adds a named entry to a list's pop-up menu, run by `slot` in `receiver`.
template <typename Slot>
QAction *addMenuEntry(QMenu *menu, const QString &name, const QString &caption, QObject *receiver, Slot slot)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
}

/// The keys both file lists handle themselves.
enum class ListKey { None, Refresh, Rename, Enter, Menu, Delete };
/// What a key press in a file list stands for: F5, F2, Enter, the context-menu key or Delete.
[[nodiscard]] ListKey listKey(const QEvent *keyPress);
/// Where the context-menu key pops the menu up: under the current row.
[[nodiscard]] QPoint menuPosition(const QTreeWidget *list);

/// True while a row's name is being edited in the list.
[[nodiscard]] bool isEditing(const QTreeWidget *list);

/// How the ".mp3" ending of a new name is compared.
enum class ExtensionCase { Exact, AnyCase };

/// Renames `oldName` in `folder` (with a trailing separator) to `newText`, journalled so an undo
/// gives the old name back, showing why when it refuses: a changed extension, a name of four
/// characters or fewer or holding a folder separator, a journal that cannot be written, or a
/// failed move. True when the file was renamed.
bool renameFile(const QString &folder, const QString &oldName, const QString &newText, ExtensionCase extension);

/// Opens a file with the desktop's default program; says so when none could.
void openFile(const QString &path);

/// Asks, then moves the named files of `folder` (with a trailing separator) to the trash,
/// journalled so an undo brings them back, and says how many could not be moved (or that none
/// was, when the journal cannot be written). False when the user answered No (nothing was moved).
bool trashFiles(const QString &folder, const QStringList &names);

/// True (after saying so) when another Varnelt job holds the folder the lock is for: the
/// window's change must then not be made.
bool folderIsBusy(const FolderLock &lock);

} // namespace ListFileCommands
