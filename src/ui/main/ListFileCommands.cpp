#include "ListFileCommands.h"

#include "foundation/FolderLock.h"
#include "foundation/MessageGateway.h"
#include "jobs/ListedFileChanges.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QTreeWidget>
#include <QUrl>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace ListFileCommands {

FileNameDelegate::FileNameDelegate(QTreeWidget *list, Rename rename)
    : QStyledItemDelegate(list)
    , list_(list)
    , rename_(std::move(rename))
{
}

void FileNameDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line || index.column() != 0 || line->text() == index.data().toString())
        return;
    const QPersistentModelIndex target(index);
    const QString newText = line->text();
    QMetaObject::invokeMethod(
        list_,
        [list = list_, rename = rename_, target, newText] {
            if (target.isValid())
                rename(list->itemFromIndex(target), newText);
        },
        Qt::QueuedConnection);
}

ListKey listKey(const QEvent *keyPress)
{
    if (keyPress->type() != QEvent::KeyPress)
        return ListKey::None;
    switch (static_cast<const QKeyEvent *>(keyPress)->key()) {
    case Qt::Key_F5:
        return ListKey::Refresh;
    case Qt::Key_F2:
        return ListKey::Rename;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ListKey::Enter;
    case Qt::Key_Menu:
        return ListKey::Menu;
    case Qt::Key_Delete:
        return ListKey::Delete;
    default:
        return ListKey::None;
    }
}

QPoint menuPosition(const QTreeWidget *list)
{
    const QTreeWidgetItem *row = list->currentItem();
    const QRect cell = row ? list->visualItemRect(row) : QRect();
    return list->viewport()->mapToGlobal(cell.bottomLeft());
}

bool isEditing(const QTreeWidget *list)
{
    const QList<QLineEdit *> editors = list->viewport()->findChildren<QLineEdit *>();
    return std::any_of(editors.begin(), editors.end(), [](QLineEdit *e) { return e->isVisible(); });
}

bool renameFile(const QString &folder, const QString &oldName, const QString &newText, ExtensionCase extension)
{
    const auto refuse = [](const QString &text) {
        Msg::ask(text, u"Error"_s, Msg::Icon::Critical);
        return false;
    };
    const Qt::CaseSensitivity cs = extension == ExtensionCase::Exact ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (!QString(folder + newText).endsWith(u".mp3"_s, cs))
        return refuse(u"You can't change the extension of the file."_s);
    // A separator would move the file into another folder, out of the list it is shown in.
    if (newText.size() <= 4 || newText.contains(u'/') || newText.contains(u'\\'))
        return refuse(u"This is not a valid filename."_s);
    const FolderLock lock(folder);
    if (folderIsBusy(lock))
        return false;
    if (const QString error = ListedFileChanges::renameFile(folder + oldName, folder + newText); !error.isEmpty())
        return refuse(error);
    return true;
}

void openFile(const QString &path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        Msg::showError(u"No program could open the file "_s + path);
}

bool trashFiles(const QString &folder, const QStringList &names)
{
    const QString question = names.size() == 1
        ? u"Are you sure you want to move \""_s + names.first() + u"\" to the trash ?"_s
        : u"Are you sure you want to move these "_s + QString::number(names.size()) + u" files to the trash ?"_s;
    if (Msg::ask(question, u"Confirm file delete"_s, Msg::Icon::Exclamation, Msg::Buttons::YesNo) != Msg::Answer::Yes)
        return false;
    const FolderLock lock(folder);
    if (folderIsBusy(lock))
        return false;
    QStringList paths;
    for (const QString &name : names)
        paths << folder + name;
    const ListedFileChanges::TrashOutcome outcome = ListedFileChanges::trashFiles(folder, paths);
    if (!outcome.error.isEmpty())
        Msg::showError(outcome.error);
    else if (!outcome.notMoved.isEmpty())
        Msg::showError(QString::number(outcome.notMoved.size()) + u" of "_s + QString::number(paths.size())
            + u" files could not be moved to the trash; they are still in "_s + folder);
    return true;
}

bool folderIsBusy(const FolderLock &lock)
{
    if (lock.isHeld())
        return false;
    Msg::ask(FolderLock::busyText(), u"Folder in use"_s, Msg::Icon::Exclamation);
    return true;
}

} // namespace ListFileCommands
