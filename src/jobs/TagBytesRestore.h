#pragma once
// Putting a file's bytes from before the job back from its journal record: used by the running
// job when a tag write is found bad (JobJournal::restoreFile) and by the undo.

#include "jobs/JobJournal.h"

#include <QString>

/// Gives the file at `path` the bytes the journal's entry says it had before the job: the ID3v2
/// tag region and the ID3v1 trailer recorded ahead of the move around the file's present audio,
/// checked against the hash of the whole file from before the job and written through a
/// temporary copy. Nothing is written when the file already has those bytes; not ok (and
/// nothing written) when the file was changed since its tags were written, or its audio is not
/// the original's.
[[nodiscard]] FileRestore restoreTagBytes(const JournalFile &entry, const QString &path);
