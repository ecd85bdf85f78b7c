#pragma once
// What the rename job does with one row, decided once from the disk: the plan holds it, the
// pre-flight lists the refused rows, the job acts on it. The job decides a row again, with the
// same function, only when the disk it meets is not the disk the verdict was decided on.

#include <QString>
#include <QStringList>
#include <QtGlobal>

/// What the disk shows of one path: enough to tell that a file came, went or was replaced.
struct FileStamp
{
    bool there = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;

    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

/// The stamp of a path as it is now; a symbolic link counts as there (it is not followed).
[[nodiscard]] FileStamp stampOf(const QString &path);

struct RowVerdict
{
    enum class Action {
        Move, ///< the destination is free, or an earlier row frees it: the file moves
        InPlace, ///< the destination is this very file (a second run, another spelling, a hard link)
        FinishMove, ///< the destination is the complete copy an interrupted move left: the source goes
        Refused, ///< the file stays where it is
    };
    enum class Refusal {
        None,
        SourceUnusable, ///< the file is missing, no file of the folder, or cannot be read
        NameTooLong, ///< the destination's file system cannot hold the name or path
        SameDestination, ///< an earlier row goes to the same new path
        DestinationTaken, ///< another file has the new path
        FolderNotWritable, ///< a folder the row needs cannot be created or written
    };
    Action action = Action::Move;
    Refusal refusal = Refusal::None;
    /// The line the job logs under the row: why it is refused, or what InPlace and FinishMove
    /// found; empty for a plain move.
    QString logText;
    /// The refusal is logged as a warning, not an error: both files are sound (an identical copy).
    bool warningOnly = false;
    /// Why the row is refused, as the pre-flight tells it after the row's number and name.
    QString detail;
    /// The disk the verdict was decided on, as the row's turn is expected to find it: a
    /// destination that an earlier row frees is expected absent.
    FileStamp source;
    FileStamp destination;

    [[nodiscard]] bool refused() const { return action == Action::Refused; }
};

/// What planning knows about a row beyond the disk: what the earlier rows do first.
struct RowContext
{
    /// An earlier row moves the file now at the destination away before this row's turn.
    bool destinationLeaves = false;
    /// The earlier row that goes to the same destination (its file number, from 1, and file
    /// name); 0 for none.
    int sameDestinationNumber = 0;
    QString sameDestinationName;
};

/// Decides what the job does with the file `fileName` of the list, now at `source`, going to
/// `destination`. Reads the disk; changes nothing. In order: a name that is no file of the
/// folder, a missing or unreadable file, a name too long for the destination, an earlier row
/// with the same destination; then an existing destination: a letter-case rename of the file
/// itself moves, this very file is InPlace, an interrupted move's complete copy (the source
/// removable) is FinishMove, any other file refuses the row (a warning only when its bytes are
/// the same); then the folders: the source's folder must let the file out, the destination's
/// folder must be there or creatable, and writable.
[[nodiscard]] RowVerdict decideRow(const QString &fileName, const QString &source, const QString &destination,
                                   const RowContext &context = {});

/// The levels of a folder path that do not exist yet, deepest first.
[[nodiscard]] QStringList missingFolderLevels(const QString &folder);

/// Why a folder, of which the levels `toCreate` (top level first) are still missing, cannot be
/// made or written; empty when it can.
[[nodiscard]] QString folderCreationProblem(const QString &folder, const QStringList &toCreate);

/// True when the job renames the listed folder itself because the album's first folder differs
/// from it only in letter case (and no other folder has that spelling).
[[nodiscard]] bool renamesFolderCase(const QString &sourceFolder, const QString &firstDestination);

/// True when the old folder stays after the job: it is the album's first folder, or becomes it
/// by a letter-case rename. Otherwise the job removes it once every file has left it.
[[nodiscard]] bool oldFolderStays(const QString &sourceFolder, const QString &firstDestination);
