#pragma once
// The one way the program writes tags: what a write changes, as a plain value, and the function
// that carries it out on one file of a journalled change (the rename job, the editor's save, a
// tag batch). The journal holds the file's record before anything is written; the file is read
// back fresh and compared with what was written, and given back its bytes from before when the
// two differ. Nothing is shown or asked: the outcome is a value the caller puts into words.

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "audio/TagWriteCheck.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class JobJournal;

/// The version-1 fields of a trailer to write, as the bytes will hold them.
struct V1Values
{
    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    quint8 track = 0; ///< 0 = no track
    quint8 genre = 254; ///< 254 = none
};

/// What one write changes in a file; what it leaves out stays as the file has it.
struct TagChange
{
    /// The ID3v1 trailer to write (replacing or appending it).
    std::optional<V1Values> v1;
    /// The ID3v1 trailer is cut off (when the file has one).
    bool removeV1 = false;
    /// The ID3v2 fields set (an empty value clears its frame).
    QList<TagWriteCheck::V2Field> v2;
    /// The tag's picture replaced (a null picture removes it).
    std::optional<ID3Picture> picture;
    /// The front cover replaced, the other pictures kept.
    std::optional<ID3Picture> frontCover;
    /// The ID3v2 tag is removed (when the file has one).
    bool removeV2 = false;
    /// The ID3v2 revision written; a tag of the other revision is converted.
    ID3v2Version version = ID3v2Version::V3;
    /// The ID3v2 tag is written even with no field set (the rename job's write of its fields).
    bool writeV2 = false;

    [[nodiscard]] bool writesV2() const { return writeV2 || !v2.isEmpty() || picture || frontCover; }
};

/// How a write ended.
struct TagWriteOutcome
{
    /// The journal refused the record: nothing was written.
    bool journalFailed = false;
    /// The version-2 write or removal, and the version-1 one (Ok when not asked).
    ID3Edit::Result v2 = ID3Edit::Ok;
    ID3Edit::Result v1 = ID3Edit::Ok;
    /// What the file read back does not hold of the write, one short text each.
    QStringList differences;
    /// After differences: whether the file was given back its bytes from before, and why not.
    bool putBack = false;
    QString putBackFailure;
    /// The file's ID3v1 trailer as it is now (read with the check).
    ID3::ID3v1Record v1After;

    [[nodiscard]] bool ok() const
    {
        return !journalFailed && v2 == ID3Edit::Ok && v1 == ID3Edit::Ok && differences.isEmpty();
    }
};

/// What a caller may add to a write.
struct TagWriteOptions
{
    /// Files up to this size are held in memory while written, so that a write that damaged the
    /// audio can be undone; the journal keeps only the tags.
    qint64 keptBytes = TagWriteCheck::KeptBytes;
    /// Called after the write and before the check; tests damage the file here.
    std::function<void(const QString &path)> afterWrite;
};

/// Writes `change` into the file at `path`, whose record (file number `fileNumber`) the
/// journal already holds: a "tag" note first, the write, the check against the file read back
/// fresh (the audio untouched, each field as written), the file put back on a difference, and
/// the file's hash noted. `tagger` holds the file's tags (Load), and holds them as the file
/// now has them afterwards.
[[nodiscard]] TagWriteOutcome writeTagChange(const QString &path, ID3Edit &tagger, const TagChange &change,
                                             JobJournal &journal, int fileNumber, const TagWriteOptions &options = {});

/// The ID3v1 value rules, each in one place.
namespace V1Rules {
/// The rename job's track byte: the track number when it is 0-255, else none (0).
[[nodiscard]] quint8 jobTrack(const QString &trackText);
/// The editor's track byte: a numeric text of 1-254, else none (0).
[[nodiscard]] quint8 editorTrack(const QString &trackText);
/// The editor's year: the trimmed text when it is numeric, else empty. The rename job writes
/// the year as typed.
[[nodiscard]] QString editorYear(const QString &yearText);
/// The genre byte of a genre text: 254 when empty, else the index of the standard genre whose
/// name matches (spaces around it and letter case ignored), else that of "Other".
[[nodiscard]] quint8 genreOfText(const QString &genreText);
/// The genre byte of the editor's drop-down entry (its item data): the entry when it names a
/// standard genre, else none (254).
[[nodiscard]] quint8 genreOfEntry(int item);
} // namespace V1Rules
