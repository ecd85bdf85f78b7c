#pragma once
// The undo journal of a change to the tags of listed files (the editor's save, a tag batch):
// every file is recorded, its tags and hash, before the first one is written, with one flush
// to the disk for them all; each file's write then goes through its slot (writeTagChange),
// noted without a flush of its own, and the end is flushed once.

#include "jobs/JobJournal.h"

#include <QString>
#include <QStringList>

/// Where a tag operation journals the file it writes: the journal of its change and the file's
/// number there.
struct TagJournalSlot
{
    JobJournal *journal = nullptr;
    int fileNumber = 0;
};

class TagBatch
{
public:
    TagBatch() = default;
    ~TagBatch();
    TagBatch(const TagBatch &) = delete;
    TagBatch &operator=(const TagBatch &) = delete;

    /// Records the files of the change (file number k is paths[k - 1]); a file that is not there
    /// is not recorded (and cannot be written). False (with error()) when the journal cannot be
    /// written: nothing may be changed then.
    bool begin(ChangeKind kind, const QString &folder, const QStringList &paths);
    /// The slot of file number k (from 1).
    [[nodiscard]] TagJournalSlot slot(int k) { return {&journal_, k}; }
    [[nodiscard]] const QString &error() const { return journal_.error(); }
    /// The journal's id ("varnelt-cli undo ID").
    [[nodiscard]] const QString &id() const { return journal_.id(); }
    /// Ends the journal (a change that altered no file leaves none); the destructor does it too.
    void finish();

    /// The words for a change that could not start because its journal could not be written.
    [[nodiscard]] static QString journalFailureText(const QString &error);

private:
    JobJournal journal_;
};
