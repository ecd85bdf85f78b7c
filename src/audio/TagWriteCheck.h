#pragma once
// Checking a tag write against the file as it now stands on disk: the tags read back fresh hold
// what was written (the version-1 fields as the trailer can hold them), the picture the file
// carried is still there, and the bytes between the ID3v2 tag and the ID3v1 trailer are the
// ones the file had before.

#include "audio/ID3.h"
#include "audio/ID3Edit.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace TagWriteCheck {

/// A hash of the bytes a tag write must leave as they are: everything after the ID3v2 tags
/// at the start of the file up to its ID3v1 trailer (the audio, and whatever else stands there:
/// an APE or Lyrics3 tag, trailing bytes). Empty when the file cannot be read.
[[nodiscard]] QByteArray audioHash(const QString &path);

/// The audio hash, fed in the pieces Mp3FileBytes::readRange hands over from the audio's start
/// (the value depends on where the pieces begin).
class AudioHasher
{
public:
    explicit AudioHasher(qint64 length)
        : value_(size_t(length))
    {
    }
    void add(QByteArrayView chunk);
    [[nodiscard]] QByteArray result() const;

private:
    size_t value_;
};

/// A file as it was before a tag write.
struct FileBefore
{
    /// audioHash() of the file; empty when it could not be read.
    QByteArray audioHash;
    /// All its bytes, when it is no larger than what readBefore() keeps.
    std::optional<QByteArray> bytes;
};

/// Files up to this size are kept whole in memory while their tags are written.
inline constexpr qint64 KeptBytes = 128 * 1024 * 1024;

/// Reads the file once for its audio hash, keeping its bytes when it holds at most `keepAtMost`.
[[nodiscard]] FileBefore readBefore(const QString &path, qint64 keepAtMost = KeptBytes);

/// Gives the file back exactly these bytes, through a complete copy that replaces it only once
/// it holds them; the file is left as it was when that fails.
[[nodiscard]] bool putBack(const QString &path, const QByteArray &bytes);

/// One version-2 field a write sets: its name for messages, the value, and the tag object's
/// members that set it and read it back.
struct V2Field
{
    QString name;
    QString value;
    void (ID3Edit::*write)(const QString &) = nullptr;
    QString (ID3Edit::*read)() const = nullptr;
};

/// The fields as a faithful SaveV2 of `tagger` (holding them as set) leaves them in a file.
[[nodiscard]] QList<V2Field> storedForms(const ID3Edit &tagger, QList<V2Field> fields);

/// What a tag write meant to leave in a file.
struct WrittenTags
{
    /// The trailer record, when a version-1 tag was written.
    std::optional<ID3::ID3v1Record> v1;
    /// The version-2 fields that were written, in their stored forms.
    QList<V2Field> v2;
    /// The picture the version-2 tag must still hold, when that tag was written.
    std::optional<ID3Picture> picture;
    /// audioHash() before the write; empty = the audio is not checked.
    QByteArray audioHash;
};

/// What differs between the write and the file, one short text each; empty when the file holds
/// what was written. `v2` and `v1` are the file's tags just read from disk.
[[nodiscard]] QStringList differences(const WrittenTags &written, const QString &path, const ID3Edit &v2,
                                      const ID3::ID3v1Record &v1);

} // namespace TagWriteCheck
