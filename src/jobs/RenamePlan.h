#pragma once
// The album rename job in two steps. The plan works out, changing nothing on disk, where every
// row goes (the Joliet shortening included), which folder levels are still missing and what the
// job will note about each row; executeRenamePlan then moves, tags and logs. The rename page's
// preview, "varnelt-cli rename --dry-run" and the job all read the same plan.

#include "jobs/AlbumRenameJob.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Where one row of the rename list goes.
struct PlannedRename
{
    /// The row as the rename list holds it.
    RenameRow row;
    /// The row's position in the list, from 1.
    int fileNumber = 1;
    /// Where the file is now.
    QString source;
    /// The path the naming mask gives, before any Joliet shortening.
    QString builtPath;
    /// Where the file goes: builtPath, its file name shortened when Joliet names are asked for.
    QString destination;
    /// The folder levels of the destination that do not exist yet, top level first.
    QStringList foldersToCreate;
    /// The warnings the job logs for the row before moving it (the Joliet shortening).
    QStringList notes;
    /// The earlier row (index into the plan's rows) whose destination this row shares; -1 for
    /// none. The job does not act on it: the second file meets the first at its destination.
    int sameDestinationAs = -1;
};

/// Everything the job will do, worked out before it starts.
struct AlbumRenamePlan
{
    RenameJobInput input;
    /// The folder of the listed files, with a trailing separator.
    QString sourceFolder;
    /// The destination folder of the first row built without the row's own values (the folder
    /// the job makes before the first file moves), with a trailing separator.
    QString firstDestinationFolder;
    /// The levels of that folder that do not exist yet, deepest first.
    QStringList firstDestinationMissing;
    QList<PlannedRename> rows;
};

/// Plans the job over the input. Reads which folders exist; changes nothing.
[[nodiscard]] AlbumRenamePlan planAlbumRename(const RenameJobInput &input);
