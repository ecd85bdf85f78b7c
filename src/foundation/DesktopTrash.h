#pragma once
// The desktop trash one file at a time, and what it says of the files it holds: the move to the
// trash that a change can journal (where the file landed), and the look-ups its undo makes.

#include <QString>
#include <QStringList>

namespace Common {

/// Moves one file to the desktop trash (no question asked: the caller confirms). Returns where it
/// landed in the trash; empty when it could not be moved there, and it then stays where it was.
[[nodiscard]] QString moveToTrash(const QString &path);
/// True when the path names an existing entry of the "files" folder of a desktop trash (one
/// with its "info" folder beside it).
[[nodiscard]] bool isInsideTrash(const QString &trashedPath);
/// The description a trash keeps beside a trashed file: ".../info/NAME.trashinfo" for
/// ".../files/NAME".
[[nodiscard]] QString trashInfoOf(const QString &trashedPath);
/// The files of the user's trashes (the home trash and the one at the top of the path's volume)
/// whose description says they were at `originalPath`.
[[nodiscard]] QStringList foundInTrash(const QString &originalPath);

} // namespace Common
