#pragma once
// The ID3v1 trailer: the fixed 128 bytes at the very end of an MP3 file (ID3v1 with the
// ID3v1.1 track extension), the genre table that names its genre byte, and ID3Tag, the
// object through which the rest of the program handles a version-1 tag.
//
// Text in the trailer is ISO-8859-1, one byte per character; a character it cannot hold is
// written as "?". No function here throws: failures come back as results.

#include "foundation/MessageGateway.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace ID3 {

/// Size of the trailer on disk.
inline constexpr qint64 TrailerSize = 128;

/// One version-1 tag in memory.
struct ID3v1Record {
    bool exists = false; ///< a trailer was found when the record was read
    QString title{};
    QString artist{};
    QString album{};
    QString year{};        ///< the year field as read (up to 4 characters)
    QString comment{};
    quint8 genre = 0;    ///< genre index
    QString genreName{};   ///< name of the genre index when the record was read
    qint16 track = 0;    ///< track number; -1 means none

    friend bool operator==(const ID3v1Record &, const ID3v1Record &) = default;
};

/// How a write or removal of the trailer ended.
enum class TrailerResult {
    Ok,           ///< written / removed (or there was nothing to remove)
    NotRequested, ///< not forced and the record does not exist: nothing written
    NoSuchFile,   ///< no plain file of that name
    CannotOpen,   ///< the file cannot be opened for writing (read-only, in use)
    BadTrack,     ///< the track number does not fit the track byte; the file is unchanged
    IoError,      ///< a read, write or truncation failed
};

/// True when the file can be opened and ends with a trailer.
[[nodiscard]] bool hasID3v1Tag(const QString &path);

/// Reads the trailer of a file; a missing file or one without a trailer gives an empty record.
[[nodiscard]] ID3v1Record readID3v1Tag(const QString &path);

/// Decodes the last 128 bytes of a file (anything else gives an empty record).
[[nodiscard]] ID3v1Record decodeTrailer(const QByteArray &trailer);

/// Builds the 128 trailer bytes of a record in the layout the version asks for (0 = 1.1 when the
/// record has a track, 1.0 without; 1.1 = always the track layout; any other = 1.0 layout).
/// With genreFromName the genre byte is looked up from the record's genreName. Empty when the
/// track cannot be stored.
[[nodiscard]] QByteArray encodeTrailer(const ID3v1Record &record, float version, bool genreFromName = false);

/// Writes the record as the file's trailer: replaces an existing one, appends one otherwise.
[[nodiscard]] TrailerResult writeTrailer(const QString &path, const ID3v1Record &record, float version, bool force,
                                         bool genreFromName = false);

/// writeTrailer() as a yes/no answer: true when the trailer was written.
[[nodiscard]] bool writeID3v1Tag(const QString &path, const ID3v1Record &record, float version, bool force);

/// Cuts the trailer off the file; Ok also when there was none.
[[nodiscard]] TrailerResult removeTrailer(const QString &path);

/// removeTrailer() as a yes/no answer: true when the file ends without a trailer afterwards.
[[nodiscard]] bool removeID3v1Tag(const QString &path);

/// The published list of 148 genre names (indices 0-147) that every program reads the genre
/// byte with; the default genre table. Byte 255 means no genre.
[[nodiscard]] const QStringList &publishedGenres();

/// What loading the genre table gave: the number of genres in the table, and the message for
/// the user when the file could not be used and the defaults were loaded instead.
struct GenreLoad {
    int count = 0;
    std::optional<Msg::Message> problem;
};

/// Loads the genre table from a text file of one name a line, or the defaults when the path is
/// empty or the file unusable (then with the problem "Error!", critical icon, to show).
GenreLoad loadGenreTable(const QString &genreFile);

/// The highest valid genre index; 0 before the first load.
[[nodiscard]] int highestGenreIndex();

/// The name of a genre index, or the index followed by " (Unknown)" past the table's end.
[[nodiscard]] QString genreNameOf(quint8 index);

/// The index of a genre name, compared without regard to letter case; 255 when none matches.
[[nodiscard]] quint8 genreIndexOf(const QString &name);

} // namespace ID3

/// A version-1 tag and the file it was last read from; holds no file open between calls.
class ID3Tag
{
public:
    /// Loads the default genre table when none is loaded yet.
    ID3Tag();

    /// The file name stored by the last ReadFromFile.
    [[nodiscard]] QString Filename() const { return filename_; }
    /// Stores the name and reads that file's tag.
    void setFilename(const QString &filename);

    /// Removes the trailer from the stored file; false when there is no stored file or it fails.
    bool RemoveTagFromFile();
    /// Reads the tag of the file (empty = the stored name) and returns whether it has one.
    bool ReadFromFile(const QString &filename = {});
    /// Takes the record already read from the file's trailer, as ReadFromFile would read it.
    void takeRead(const QString &filename, const ID3::ID3v1Record &record)
    {
        filename_ = filename;
        record_ = record;
    }
    /// Writes the tag to the file (empty = the stored name) in the layout its track asks for.
    bool WriteToFile(const QString &filename = {});
    /// Empties the record; the stored file name stays.
    void ClearTag();

    /// The genre byte.
    [[nodiscard]] int Genre() const { return record_.genre; }
    /// Sets the genre byte; a value outside 0-255 is refused (false) and nothing changes.
    bool setGenre(int genre);
    /// The name of the current genre byte in the genre table.
    [[nodiscard]] QString GenreName() const;

    [[nodiscard]] QString Album() const { return record_.album; }
    void setAlbum(const QString &text) { record_.album = text; }
    [[nodiscard]] QString Artist() const { return record_.artist; }
    void setArtist(const QString &text) { record_.artist = text; }
    [[nodiscard]] QString Comment() const { return record_.comment; }
    void setComment(const QString &text) { record_.comment = text; }
    [[nodiscard]] QString Title() const { return record_.title; }
    void setTitle(const QString &text) { record_.title = text; }

    /// The track number; -1 means none.
    [[nodiscard]] qint16 Track() const { return record_.track; }
    void setTrack(qint16 track) { record_.track = track; }

    /// The numeric value of the year text (its leading digits after any blanks; 0 when there are none).
    [[nodiscard]] qint16 TheYear() const;
    /// Stores the year as decimal text.
    void setTheYear(qint16 year);

    /// The whole record, as last read or set.
    [[nodiscard]] const ID3::ID3v1Record &record() const { return record_; }
    void setRecord(const ID3::ID3v1Record &record) { record_ = record; }

private:
    ID3::ID3v1Record record_;
    QString filename_;
};
