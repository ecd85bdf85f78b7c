#pragma once
// The undo history of the File menu: the changes the journals record (date, kind, folder, file
// count, state), newest first; "&Undo" takes the chosen one back after the same question as the
// menu's undo (disabled for one already undone), "&Close" or Esc closes. The changes are read
// from the journals, and undone by the function the window gives.

#include "jobs/JobJournal.h"

#include <QDialog>
#include <QList>

#include <functional>

class ButtonEx;
class QLabel;
class QTreeWidget;

class dlgUndoHistory : public QDialog
{
    Q_OBJECT
public:
    /// Asks and undoes a change; true when the undo ran (files may have changed).
    using UndoFunction = std::function<bool(const JournalContents &change)>;

    explicit dlgUndoHistory(UndoFunction undo, QWidget *parent = nullptr);

    /// Reads the journals again; the change selected before stays selected.
    void reload();
    /// "&Undo": undoes the selected change. True when the undo ran.
    bool undoSelected();

signals:
    /// An undo ran: what the window shows of the files may be out of date.
    void changeUndone(const JournalContents &change);

private:
    void updateUndoEnabling();
    [[nodiscard]] const JournalContents *selectedChange() const;

    UndoFunction undo_;
    QList<JournalContents> changes_;
    QLabel *lblInfo = nullptr;
    QTreeWidget *lstChanges = nullptr;
    ButtonEx *cmdUndo = nullptr;
    ButtonEx *cmdClose = nullptr;
};
