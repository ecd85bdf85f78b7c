#pragma once
// The rename job's pre-flight: before the first file is touched, every row of the plan is
// checked against the disk as the job will meet it (files leave their old names in row order),
// so the user hears about a row that is bound to fail, and about a disk too full for the
// rewritten files, while nothing has changed yet. Reads only: no file or folder is touched.

#include "foundation/MessageGateway.h"
#include "jobs/RenamePlan.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

struct PreflightProblem
{
    enum class Kind {
        SameDestination, ///< an earlier row goes to the same new path
        DestinationTaken, ///< another file already has the new path
        NameTooLong, ///< the destination's file system cannot hold the name or path
        FolderNotWritable, ///< a folder the row needs cannot be created or written
        SourceUnusable, ///< the file is missing or cannot be read
        NotEnoughSpace, ///< the disk cannot hold the rewritten files, the playlist and the cover
    };
    /// Index into the plan's rows; -1 for a problem of the album as a whole.
    int row = -1;
    Kind kind = Kind::SourceUnusable;
    /// One line for the user, naming the file.
    QString text;
};

/// Bytes free for new files on the file system that holds an existing folder; nullopt when the
/// system does not say. The default asks the system; tests give their own figure.
using FreeSpaceProbe = std::function<std::optional<qint64>(const QString &folder)>;

/// Checks the plan: a first destination folder the job cannot make (it would stop before any
/// file), then at most one problem per row (the first found) in row order, then the free space.
[[nodiscard]] QList<PreflightProblem> preflightRenamePlan(const AlbumRenamePlan &plan,
                                                          const FreeSpaceProbe &freeSpace = {});

/// The question before a job whose pre-flight found problems: the problems, one a line, and
/// whether to go on anyway; No is the default button.
[[nodiscard]] Msg::Message preflightQuestion(const QList<PreflightProblem> &problems);
