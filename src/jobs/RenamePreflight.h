#pragma once
// The rename job's pre-flight: before the first file is touched, the user hears about the rows
// the plan refuses (the plan decided every row as the job will meet it), about a first folder
// the job cannot make and about a disk too full for the rewritten files, while nothing has
// changed yet. Reads only: no file or folder is touched.
// Besides the problems it warns about an album that may not be what the user thinks (track
// numbers twice or missing, files of another album or rip, lengths far from the record's):
// those rows are renamed like any other, the user only hears about them first.

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
        // Warnings: the job does the same with or without them.
        SameTrackNumber, ///< another row has the same track number
        TrackNumberGap, ///< numbers between 1 and the highest track number are missing
        OtherAlbum, ///< the file's own tags name another artist or album than the other files
        OtherSampleRate, ///< the file's sample rate is not the one of the other files
        OtherBitrateMode, ///< the file is VBR among CBR files, or CBR among VBR files
        LengthFarFromTrack, ///< the file lasts much shorter or longer than its track in the record
    };
    /// Index into the plan's rows; -1 for a problem of the album as a whole.
    int row = -1;
    Kind kind = Kind::SourceUnusable;
    /// One line for the user, naming the file.
    QString text;

    /// True for the kinds that only warn.
    [[nodiscard]] bool isWarning() const { return kind >= Kind::SameTrackNumber; }
};

/// Bytes free for new files on the file system that holds an existing folder; nullopt when the
/// system does not say. The default asks the system; tests give their own figure.
using FreeSpaceProbe = std::function<std::optional<qint64>(const QString &folder)>;

/// Checks the plan: a first destination folder the job cannot make (it would stop before any
/// file), then at most one problem per row (the first found) in row order, then the free space.
[[nodiscard]] QList<PreflightProblem> preflightRenamePlan(const AlbumRenamePlan &plan,
                                                          const FreeSpaceProbe &freeSpace = {});

/// The warnings about the album the plan renames, from each row's own file (its tags and its
/// audio headers, read once), in this order: track numbers that two rows share and numbers
/// missing between 1 and the highest (numbers of 0 count as none); files whose tags name
/// another artist or album than most files do (no warning when no name is held by at least
/// half of the files that carry one, as on a compilation); files whose sample rate, or whose
/// VBR or CBR, is not that of most files; files that last more than 10 seconds and more than
/// 5 % shorter or longer than their track's length in the record (rows with a length only).
/// Rows whose file is not there or holds no MPEG audio are left out.
[[nodiscard]] QList<PreflightProblem> preflightAlbumWarnings(const AlbumRenamePlan &plan);

/// The question before a job whose pre-flight found problems or warnings: the problems, then
/// the warnings, one a line, and whether to go on anyway. No is the default button when there
/// are problems; with warnings only (the job would run as planned) Yes is.
[[nodiscard]] Msg::Message preflightQuestion(const QList<PreflightProblem> &problems,
                                             const QList<PreflightProblem> &warnings = {});
