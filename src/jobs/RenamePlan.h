#pragma once
// The album rename job in two steps. The plan works out, changing nothing on disk, where every
// row goes (the Joliet shortening included), which folder levels are still missing, what the
// job will note about each row and what it will do with it (its verdict); executeRenamePlan
// then moves, tags and logs. The rename page's preview, "varnelt-cli rename --dry-run", the
// pre-flight and the job all read the same plan.

#include "jobs/AlbumRenameJob.h"
#include "jobs/RowVerdict.h"

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
    /// What the job does with the row, decided in row order: a destination that an earlier
    /// row's file leaves is free by this row's turn.
    RowVerdict verdict;
};

/// A step of the job after the rows: an album output, or the tidy-up of the old folder.
struct PlannedOutput
{
    enum class Kind { Playlist, Cover, Page, OldFolder };
    enum class Verdict {
        Write, ///< a new file
        Replace, ///< an earlier file of that name gives way once the new one is complete
        Tidy, ///< the old folder goes once every file has left it and nothing else keeps it
        Stays, ///< the old folder is the album's folder, or becomes it by a letter-case rename
    };
    Kind kind = Kind::Playlist;
    /// The output's file; the old folder itself for OldFolder.
    QString path;
    Verdict verdict = Verdict::Write;
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
    /// After the rows, in the job's order: the playlist, the cover and the page where they are
    /// asked for (beside the last row, as the job writes them), then the old folder. Empty
    /// without rows.
    QList<PlannedOutput> outputs;

    /// The planned step of that kind; null when the plan has none.
    [[nodiscard]] const PlannedOutput *output(PlannedOutput::Kind kind) const;
};

/// Plans the job over the input. Reads which folders exist; changes nothing.
[[nodiscard]] AlbumRenamePlan planAlbumRename(const RenameJobInput &input);
