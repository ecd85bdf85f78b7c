#pragma once
// The album rename job: every row of the rename list is moved to its new path built from the
// naming mask, tagged with the album data in the chosen tag versions, read back and logged;
// then the playlist, the cover and the HTML page are written and the emptied old folder is removed.
// Runs synchronously; the per-row callback lets a window repaint and the CLI print progress.

#include "audio/TagVersions.h"
#include "audio/TagWriteCheck.h"
#include "foundation/MessageGateway.h"
#include "jobs/CoverEmbedding.h"
#include "jobs/PlaylistCoverOutput.h"
#include "album/RenameList.h"
#include "jobs/ResultLog.h"
#include "naming/NamingInput.h"

#include <QString>
#include <QStringList>
#include <functional>

/// Everything the job reads from the rename page.
struct RenameJobInput
{
    /// The rows in display order; a row's position (from 1) is its file number.
    RenameList rows;
    /// The folder of the listed files, without a trailing separator.
    QString currentDirectory;
    AlbumFields album;
    NamingOptions naming;
    /// Which tags are written.
    TagVersions tagVersions = TagVersions::Both;
    /// The ID3v2 revision written (a file's tag of the other revision is converted).
    ID3v2Version id3v2Version = ID3v2Version::V3;
    /// "Embed cover in the files": the picture becomes each file's front cover (other pictures
    /// stay). A picture that cannot be used stops the job before anything is touched.
    CoverEmbedding embedCover;
    /// "Add total tracks to ID3v2 track", and the text of the total.
    bool totalTracks = false;
    QString totalTrackText;
    /// "Force Joliet compatibility for CD burning": file names of at most 64 characters.
    bool joliet = false;
    /// The playlist and cover options.
    AlbumOutputOptions outputs;
    /// Files up to this size are held in memory while their tags are written, so that a write
    /// found to have damaged the audio can be undone; the journal keeps only the tags.
    qint64 keptBytes = TagWriteCheck::KeptBytes;
    /// Called with a row's file after its tags are written and before the job checks them;
    /// empty in normal runs. Tests damage the written file here to see the check catch it.
    std::function<void(const QString &path)> afterTagWrite;
    /// Asked after each row: true stops the job there (the user's Cancel). The rows done stay
    /// done and journalled, so they can be undone; no playlist or cover is written and the old
    /// folder stays. Empty: the job runs to its end.
    std::function<bool()> stopRequested;
};

/// What a run leaves besides its log.
struct RenameJobOutcome
{
    /// Per row, the path the file now has (or the existing destination it was matched with);
    /// empty for a row that was left where it was.
    QStringList newPaths;
    /// The first destination folder, with a trailing separator.
    QString firstDestinationFolder;
    /// False when the destination folder could not be created and no file was touched.
    bool started = false;
    /// Why the job did not start, as the message the caller shows; empty when it started or had
    /// no rows.
    std::optional<Msg::Message> failure;
    /// True when the old folder was removed at the end.
    bool oldFolderRemoved = false;
    /// The id of the job's undo journal ("varnelt-cli undo ID"); empty when none was written.
    QString journalId;
    /// True when the user stopped the job before its last row.
    bool stopped = false;
};

/// Called after every row with the rows done so far and the row count.
using RenameProgress = std::function<void(int done, int total)>;

struct AlbumRenamePlan;

/// Carries out a plan of planAlbumRename, filling `log` (cleared first). Shows nothing: what
/// stopped the job comes back in the outcome.
RenameJobOutcome executeRenamePlan(const AlbumRenamePlan &plan, ResultLog &log, const RenameProgress &progress = {});

/// Plans the job over the input and carries the plan out.
RenameJobOutcome runAlbumRenameJob(const RenameJobInput &input, ResultLog &log, const RenameProgress &progress = {});

/// The version-2 fields the job writes for a row, with their values.
[[nodiscard]] QList<TagWriteCheck::V2Field> rowV2Fields(const RenameJobInput &input, const RenameRow &row);
/// Sets the version-2 fields the job writes for a row (the file's other fields stay as they are).
void setRowV2Fields(ID3Edit &tagger, const RenameJobInput &input, const RenameRow &row);

/// The version-1 genre byte of a genre text: 254 when empty, else the index of the standard
/// genre whose name matches (spaces around it and letter case ignored), else that of "Other".
[[nodiscard]] quint8 versionOneGenreByte(const QString &genreText);

/// The version-2 track text: the numeric value of the track text, followed by "/" and the
/// total when a total above 0 is asked for ("01" of 12 gives "1/12").
[[nodiscard]] QString versionTwoTrack(const QString &trackText, bool withTotal, const QString &totalText);
