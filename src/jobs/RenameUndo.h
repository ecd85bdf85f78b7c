#pragma once
// Undo of an album rename job from its journal (JobJournal): the steps the journal records are
// taken back newest first, each after a look at the disk, so an undo is right whether the job
// finished or was killed at any instant, and running it again changes nothing more. A file that
// was changed since the job (its hash is neither the one before nor the one after the job) is
// left as it is and reported.
//
// A journal is hostile input like any file: the undo acts only inside the folders the job
// record names as the job's own (paths without "." or ".." levels, links not followed out of
// them), only on files whose present bytes are what the journal says the job left, and gives a
// file back only the permission bits a music file can have. A record that fails these checks,
// or that damage made unreadable, is named in the report and nothing is done for it.

#include "jobs/JobJournal.h"

#include <QString>
#include <QStringList>

#include <optional>

/// What an undo did.
struct UndoReport
{
    /// The journal named no job, or the job was already undone.
    bool nothingToUndo = false;
    /// Why there is nothing to undo ("nothing to undo: job 3 was already undone").
    QString why;
    QString id;
    /// The change in a line (descriptionOf); empty when no journal was found.
    QString description;
    /// One line per thing put back ("Restored: /music/a/01.mp3").
    QStringList restored;
    /// One line per thing left, naming it and why.
    QStringList left;
    /// The undo did not start: another job holds one of the folders (the text says so).
    bool refused = false;
    /// Why the outcome could not be noted in the journal; empty when it was.
    QString notRecorded;
    [[nodiscard]] bool complete() const { return !nothingToUndo && !refused && left.isEmpty(); }
};

namespace RenameUndo {

/// Undoes the job of a journal (read in full), notes the result in it and reports.
[[nodiscard]] UndoReport undoJob(const JournalContents &job);

/// Undoes the newest job (id empty) or the job with that id.
[[nodiscard]] UndoReport undo(const QString &id = {});

/// The change undo() without an id takes back: the newest journal not undone yet, as list()
/// reads it; nothing when no change is recorded or every one was undone. The File menu and the
/// command line both go by it.
[[nodiscard]] std::optional<JournalContents> nextToUndo();
[[nodiscard]] std::optional<JournalContents> nextToUndo(const QList<JournalContents> &journals);

/// What the user is shown of a journal's kind: its caption, or what stands for a kind that is
/// not known (the job record is lost, or a word no version wrote).
[[nodiscard]] QString captionOf(const JournalContents &job);
/// The change in a line ("Fill selected tags: 300 files in /music/Album"), cut to a length a
/// line can show: the journal's words are hostile like any file's.
[[nodiscard]] QString descriptionOf(const JournalContents &job);

} // namespace RenameUndo
