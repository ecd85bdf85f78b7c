#pragma once
// File and folder questions of the rename job that go beyond the path helpers: whether two
// paths name one file system object, the letter-case rename of a folder through a scratch
// name, and the clean-up of the emptied old folder.

#include "jobs/CrashLeftovers.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace RenameJobFiles {

/// The path without trailing separators (a root stays as it is).
[[nodiscard]] QString withoutTrailingSeparator(QString path);

/// True when both paths exist and name the same file system object (the same file or folder
/// reached by another spelling or a hard link); false when either is missing.
[[nodiscard]] bool sameObject(const QString &a, const QString &b);

/// Whether the platform's file names tell letter case apart.
[[nodiscard]] Qt::CaseSensitivity fileNameCase();

/// True when both paths name one folder: the same object when both exist, otherwise the same
/// path after cleaning (letter case ignored where the platform's file names ignore it).
[[nodiscard]] bool sameFolder(const QString &a, const QString &b);

/// Makes a file or folder writable by its owner if it is not; true when it is writable afterwards.
bool clearReadOnly(const QString &path);

/// The size of a file in kilobytes (length / 1024, halves rounded to even); -1 when unreadable.
[[nodiscard]] long long sizeInKilobytes(const QString &path);

/// Renames `folder` to `newSpelling`, which differs from it only in letter case, by way of
/// `scratch`. When the first step fails nothing changes; when the second fails the folder gets
/// its old name back. Returns the path (with a trailing separator) the folder has afterwards.
[[nodiscard]] QString renameFolderCase(const QString &folder, const QString &scratch, const QString &newSpelling);

/// What the clean-up of the old folder did: each step for the log, and whether it is gone.
struct FolderTidying {
    QList<FolderStep> steps;
    bool removed = false;
};

/// Removes the old folder once every file has left it and it holds nothing but files named
/// after it with ".pls", ".jpg" or ".htm": the picture and the page move into the album's new
/// folder under its name (when that name is taken, the old folder stays with them), a playlist
/// that lists only the album's files (by their names, albumNames) is deleted, any other
/// playlist keeps the folder. A file that is one of `keep` (outputs of this run) keeps it too.
[[nodiscard]] FolderTidying tidyOldFolder(const QString &folder, const QString &albumFolder,
                                          const QStringList &albumNames, const QStringList &keep);

} // namespace RenameJobFiles
