#pragma once
// The changes the file lists make to the files they show, each under a journal of its own so
// an undo takes it back: the in-place rename of one file, and moving files to the desktop trash.
// The window asks its questions and holds the folder's lock; these only change the files.

#include <QString>
#include <QStringList>

namespace ListedFileChanges {

/// The words shown when a file cannot be renamed to a name.
[[nodiscard]] QString renameFailureText();

/// Renames the file `from` to `to` (both full paths), journalled before the move. Returns an empty
/// text when it was renamed; otherwise what to show (renameFailureText() for a name that is
/// taken or a move the system refused), and nothing was renamed.
[[nodiscard]] QString renameFile(const QString &from, const QString &to);

/// What a move to the trash did.
struct TrashOutcome
{
    int moved = 0;
    QStringList notMoved; ///< the files still where they were
    /// Why nothing was moved (the journal could not be written); empty otherwise.
    QString error;
    QString journalId; ///< the journal of the change; empty when nothing moved
};

/// Moves the files (full paths) of `folder` to the desktop trash, journalled: each file's size
/// and hash reach the disk before the first one moves, and where each landed is noted after.
/// A file that cannot be read is not moved (its undo could not tell it from another).
[[nodiscard]] TrashOutcome trashFiles(const QString &folder, const QStringList &paths);

} // namespace ListedFileChanges
