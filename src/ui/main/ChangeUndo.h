#pragma once
// "&Undo ..." of the File menu and the undo history: a recorded change (an album rename, a tag
// save or batch, a list rename or deletion) taken back from its journal, after the user's
// confirmation, with what was restored and what was left shown.

#include "jobs/JobJournal.h"

#include <QString>

#include <optional>

class ChangeUndo
{
public:
    /// Asks, undoes the change the menu names (RenameUndo::nextToUndo) and tells the outcome.
    /// True when the undo ran, so files may have changed; false when there was nothing to undo,
    /// the user said no, or the journal refused it.
    [[nodiscard]] static bool run();
    /// The same for a chosen change (the undo history's).
    [[nodiscard]] static bool run(const JournalContents &change);

    /// The File menu's words for undoing `next`: "&Undo Fill selected tags (300 files)"; "&Undo"
    /// when there is nothing to undo.
    [[nodiscard]] static QString menuCaption(const std::optional<JournalContents> &next);
};
