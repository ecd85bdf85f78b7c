#pragma once
// The undo journal of a change to the user's files (the album rename job, a tag batch, the
// editor's save, the file lists' renames and deletions): one file per change in the folder
// "Journals" of the per-user data folder, written ahead of every change and flushed to the disk
// before it, so that even a change killed at any instant can be undone (RenameUndo). Records
// written ahead together are flushed together (hold, commit): a job flushes its journal a few
// times, not once a file.
//
// The file is append-only text, one record a line: 8 hex digits of the record's checksum, a
// space, the record as compact JSON. Only the last line can be torn apart by a kill (it lacks
// its line end) and is ignored; an undo cuts it off before it appends its note. A whole line
// whose checksum fails is damage: what it recorded is lost, and an undo says so.
//
// The checksum finds damage, not forgery: whoever can write the file can write records that
// pass it. The undo therefore acts only inside the folders the job record names as the job's
// own and only on files whose present state is what the journal says the job left.
//
// What the job records, each before its change:
//   "job"        the job: id, date, listed folder, destination folder, number of files, and
//                the folders it may change ("roots": the listed folder, the destination and
//                where its playlist, cover and page go)
//   "case-folder" the listed folder is renamed to another letter case (from, via scratch, to)
//   "mkdir"      folder levels about to be created, top level first
//   "file"       a file about to move (or to be tagged where it is): old and new path, its ID3v2
//                tag region and ID3v1 trailer as they were, its size, permission bits and a hash
//                of the whole file; a job records all its files ahead, before its first change
//   "tag"        the file's tags are about to be written
//   "output"     a playlist, cover or HTML page about to be written: the earlier file's bytes when
//                there is one
//   "old-folder" the old folder may be removed: what it still holds and where its picture goes
//   "trash-file" a file about to go to the desktop trash: its path, size and hash
// and after a change, unflushed (undo looks at the disk anyway): "moved" (with the new path),
// "taken" (another file holds the destination: this one stayed), and "tagged" (with the
// hash of the whole file once its tags are written), "trash" (where the file landed in the trash
// and the description the trash keeps of it), "end" when the job is through, "undo" when
// an undo ran.

#include "audio/SafeFileRewrite.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

/// What kind of change a journal holds: the album rename job, or one of the changes the program
/// makes to files elsewhere (the tag editor's save, the tag page's batches, the file lists'
/// renames and deletions). Every kind is undone the same way, from its records.
enum class ChangeKind {
    Rename,
    EditorSave,
    Fill,
    Numbering,
    CopyV1ToV2,
    CopyV2ToV1,
    RemoveTags,
    Picture,
    ListRename,
    Trash,
};

namespace ChangeKinds {
/// The word the journal keeps for a kind ("rename", "fill", ...), the same in every version.
[[nodiscard]] QString code(ChangeKind kind);
/// The kind of a journal's word; Rename for journals written before kinds were kept (no word);
/// nothing for a word no version wrote.
[[nodiscard]] std::optional<ChangeKind> fromCode(const QString &code);
/// What the user is shown: "Album rename", "Fill selected tags", ...
[[nodiscard]] QString caption(ChangeKind kind);
/// The change in a line: "Fill selected tags: 300 files in /music/Album".
[[nodiscard]] QString describe(ChangeKind kind, int fileCount, const QString &folder);
} // namespace ChangeKinds

/// One file of a job as its journal knows it.
struct JournalFile
{
    int fileNumber = 0;
    QString from; ///< where it was before the job
    QString to;   ///< where the job moved it
    /// The destination was this very file before the move (nothing moved, only tags written).
    bool inPlace = false;
    /// Another file stood at the destination: the move cannot have happened.
    bool destinationTaken = false;
    qint64 size = 0;
    QByteArray hashBefore; ///< of the whole file, hex
    QByteArray tagRegion;  ///< the ID3v2 tags at the start, as they were (may be empty)
    QByteArray trailer;    ///< the 128-byte ID3v1 trailer as it was (empty without one)
    /// The permission bits as they were (st_mode & 07777); -1 when unknown.
    int mode = -1;
    QByteArray hashAfter;  ///< of the whole file once its tags were written; empty before
};

/// A playlist or cover the job wrote.
struct JournalOutput
{
    QString path;
    bool existed = false;
    QByteArray oldBytes; ///< the earlier file's bytes when it existed
    QByteArray oldHash, newHash;
};

/// The old folder as it was before the job tidied it away.
struct JournalOldFolder
{
    QString folder;
    struct Entry {
        QString name;
        QByteArray bytes;
        QString movedTo; ///< where the clean-up moves it; empty for a file it deletes
    };
    QList<Entry> entries;
};

/// A file the change moved to the desktop trash.
struct JournalTrashed
{
    int fileNumber = 0;
    QString path; ///< where it was
    qint64 size = 0;
    QByteArray hash;     ///< of the whole file, hex
    QString trashedPath; ///< where it landed in the trash; empty when no note says so
    QString infoPath;    ///< the trash's description of it
};

/// One record of the journal, in the order it was written.
struct JournalStep
{
    enum class Kind { CaseFolder, MakeFolders, File, Output, OldFolder, Trash };
    Kind kind = Kind::File;
    int index = 0; ///< into the list of its kind in JournalContents
};

/// A file read once for its journal record: its tags and hashes.
struct FileDigest
{
    bool ok = false; ///< the file was read through
    qint64 size = 0;
    QByteArray tagRegion; ///< the ID3v2 tags at the start
    QByteArray trailer;   ///< the ID3v1 trailer; empty without one
    QByteArray hash;      ///< of the whole file, as hashFile() gives it
    QByteArray audioHash; ///< of the audio, as TagWriteCheck::audioHash() gives it
};

/// Everything a journal file says.
struct JournalContents
{
    QString id;
    QString path; ///< the journal file
    QDateTime date;
    QString folder;      ///< the listed folder
    QString destination; ///< the first destination folder
    /// The folders the job may change; an undo acts only inside them. Journals written before
    /// the job recorded them give the listed folder and the destination.
    QStringList roots;
    int fileCount = 0;
    /// What the journal holds; a word no version wrote leaves it empty (and the journal is
    /// listed, never undone).
    std::optional<ChangeKind> kind = ChangeKind::Rename;
    /// The change in a line, as describe() gave it when the change began.
    QString description;
    bool valid = false;  ///< a job record was read
    /// The whole lines (numbered from 1) that fail their checksum or are longer than any record
    /// the journal writes: damage, whose records are lost.
    QList<int> damagedLines;
    /// Where the "moved" and "trash" notes say each file number went: names a file whose own
    /// record is lost.
    QMap<int, QString> movedPaths;
    bool finished = false;
    QString undoState; ///< empty, "undone" or "partly undone" (the last undo's result)

    struct CaseFolder { QString from, via, to; };
    QList<CaseFolder> caseFolders;
    QList<QStringList> madeFolders; ///< each record's levels, top level first
    QList<JournalFile> files;
    QList<JournalOutput> outputs;
    QList<JournalOldFolder> oldFolders;
    QList<JournalTrashed> trashed;
    QList<JournalStep> steps;

    /// "finished", "interrupted", "undone", "partly undone", or "damaged" when the job record
    /// itself is lost.
    [[nodiscard]] QString state() const;
};

/// The outcome of putting one file back.
struct FileRestore
{
    bool ok = false;
    QString path;    ///< where the file is afterwards
    QString message; ///< why it was left, when not ok
};

class JobJournal
{
public:
    JobJournal() = default;
    ~JobJournal();
    JobJournal(const JobJournal &) = delete;
    JobJournal &operator=(const JobJournal &) = delete;

    /// The folder of the journals; made when missing.
    [[nodiscard]] static QString folder();
    /// How many journals are kept, and how many bytes they may take together: older ones are
    /// deleted when a change starts, the newest always kept.
    static constexpr int KeptJobs = 100;
    static constexpr qint64 KeptBytes = qint64(200) << 20;

    /// Starts the journal of a new job and writes its first record, flushed. False (with error())
    /// when it cannot be written: the job must then change nothing.
    /// `roots` are the folders the job may change (the listed folder and the destination are
    /// always among them).
    bool begin(const QString &listedFolder, const QString &destination, int fileCount,
               const QStringList &roots = {});
    /// The same for a change of another kind (described by ChangeKinds::describe over `folder`).
    bool begin(ChangeKind kind, const QString &folder, int fileCount, const QStringList &roots);
    [[nodiscard]] bool isOpen() const { return file_.isOpen(); }
    /// The reason the journal could not be written; empty while all is well.
    [[nodiscard]] const QString &error() const { return error_; }
    [[nodiscard]] const QString &id() const { return id_; }
    [[nodiscard]] QString path() const { return file_.fileName(); }

    /// Each recordX writes the record ahead of its change and flushes it; false (with error())
    /// when it could not, and the change must then not be made.
    bool recordCaseFolder(const QString &from, const QString &via, const QString &to);
    bool recordMakeFolders(const QStringList &levels);
    /// Reads the file at `from` (its tags and hash) and records the move to `to`. With
    /// `judgeTaken`, another file at `to` is recorded as holding the destination (the move
    /// cannot happen); without, the job says so when it finds it (noteTaken), as a file recorded
    /// ahead of the job may find its destination freed by an earlier row.
    bool recordFile(int fileNumber, const QString &from, const QString &to, bool judgeTaken = true);
    bool recordTagWrite(int fileNumber);
    bool recordOutput(const QString &path, const QByteArray &newBytesHash);
    bool recordOldFolder(const QString &folder, const QString &albumFolder);
    /// Records that the file at `path`, whose bytes hash to `hash` (hashFile's), is about to go
    /// to the trash.
    bool recordTrash(int fileNumber, const QString &path, const QByteArray &hash);
    /// Group commit: the records written after hold() reach the disk with the next commit(), one
    /// flush for them all, instead of a flush each. Each is still written to the file before its
    /// change, so a killed program leaves it behind; commit() is called before the first change
    /// the held records cover. finish() commits too.
    void hold();
    /// Flushes what was written since hold() and ends the group; false (with error()) when the
    /// disk refused: no change the held records cover may be made then.
    bool commit();

    /// Whether recordFile recorded the file of that number.
    [[nodiscard]] bool hasRecord(int fileNumber) const;
    /// The hash of the audio (TagWriteCheck::audioHash's) the file had when recordFile read it;
    /// empty when the file could not be read.
    [[nodiscard]] QByteArray audioHashBefore(int fileNumber) const;
    /// The record of file `fileNumber` as recordFile wrote it, read back from the journal when it
    /// is not the last one; nothing when there is none.
    [[nodiscard]] std::optional<JournalFile> fileRecord(int fileNumber) const;

    /// After-the-change notes.
    void noteMoved(int fileNumber, const QString &path);
    /// Another file holds the destination of this one, which therefore stays where it was.
    void noteTaken(int fileNumber);
    /// Hashes the file at `path` as its tags left it.
    void noteTagged(int fileNumber, const QString &path);
    /// The same with the hash already known.
    void noteTaggedHash(int fileNumber, const QByteArray &hash);
    /// The file went to the trash: where it landed, and the description the trash keeps of it.
    void noteTrashed(int fileNumber, const QString &trashedPath, const QString &infoPath);
    /// The job is through; a journal of a job that changed nothing is deleted. The files the job
    /// wrote anew are synced first (syncGroup()).
    void finish();
    /// The change was given up before it changed anything (called instead of finish()): its
    /// journal is deleted.
    void discard();

    /// The one sync of the files the job's tag writes make anew: finish() settles it before the
    /// journal's end is written.
    [[nodiscard]] SafeFileRewrite::SyncGroup &syncGroup() { return syncGroup_; }

    /// Restores the file of row `fileNumber` (the file the job is working on) of this running job to its bytes from before the job,
    /// where it is now (its new path): the ID3v2 tag region and the ID3v1 trailer recorded ahead
    /// of the move are put around the file's audio, and the result must hash as the whole file
    /// did; it is written through a temporary copy, so a failure leaves the file as it was. A
    /// tag write that is found bad (verification) calls this right after it; the file stays at
    /// its new path, and a later undo moves it back. Not ok (with the reason) when the row has
    /// no record or its audio bytes differ from the original's.
    [[nodiscard]] FileRestore restoreFile(int fileNumber) const;

    /// The journals in the folder, newest first, each read as readSummary() reads it.
    [[nodiscard]] static QList<JournalContents> list();
    /// Reads a journal file; `valid` is false when it holds no job record.
    [[nodiscard]] static JournalContents read(const QString &path);
    /// Reads only the job and its state (its first line and its last 64 KB): no steps.
    [[nodiscard]] static JournalContents readSummary(const QString &path);
    /// Appends the result of an undo to a journal ("undone" or "partly undone"), after cutting
    /// off a torn last line; false (with the system's reason in `error`) when it cannot.
    static bool noteUndo(const QString &path, bool complete, QString *error = nullptr);

    /// The longest line the journal writes (a file's tags up to 256 MB in base64, an output's
    /// earlier bytes): a longer line is damage, and is never read into memory whole.
    static constexpr qsizetype MaxRecordBytes = qsizetype(512) << 20;

    /// The hash the journal keeps of a file's bytes (hex), and of a whole file (empty when unreadable).
    [[nodiscard]] static QByteArray hashBytes(const QByteArray &bytes);
    [[nodiscard]] static QByteArray hashFile(const QString &path);
    /// Reads a file once for its tags, its hash and its audio hash.
    [[nodiscard]] static FileDigest digestFile(const QString &path);

    /// The same hash, fed piece by piece.
    class Hasher
    {
    public:
        Hasher();
        ~Hasher();
        Hasher(const Hasher &) = delete;
        Hasher &operator=(const Hasher &) = delete;
        void add(QByteArrayView bytes);
        /// The hash of everything added, hex.
        [[nodiscard]] QByteArray result() const;

    private:
        void *state_;
    };

private:
    bool start(ChangeKind kind, const QString &listedFolder, const QString &destination, int fileCount,
               const QStringList &roots);
    bool append(const QJsonObject &record, bool flush, bool holdsOnlyCopy = false);
    void prune() const;

    QFile file_;
    QString id_;
    QString error_;
    /// The record of the file under way: the only one a running job may need to put back, so the
    /// memory the journal holds does not grow with the album (the file on the disk holds them all).
    std::optional<JournalFile> current_;
    /// Where each file's record starts in the journal, and the audio hash recordFile read.
    QHash<int, qint64> recordAt_;
    QHash<int, QByteArray> audioHashes_;
    QHash<int, QByteArray> hashesBefore_;
    bool changed_ = false;
    bool held_ = false;
    SafeFileRewrite::SyncGroup syncGroup_;
    bool unsynced_ = false;
};
