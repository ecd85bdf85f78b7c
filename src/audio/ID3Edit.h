#pragma once
// The tag object for one MP3 file at a time: Load fills it with both tags of a file, the
// properties read or change the copy in memory, the save operations write it back. The
// version-2 tag is read and written with TagLib (written as ID3v2.3, the version the most
// players read); the version-1 trailer goes through the ID3 module. No member throws: every
// operation answers a result code, 0 on success.
//
// Frames behind the version-2 fields (what other taggers show under the same names):
//   Title TIT2, Artist TPE1, Album TALB, Year TYER (TDRC in a v2.4 tag), Track TRCK,
//   Genre TCON (the name as text), Comment COMM (language "eng", empty description),
//   Composer TCOM, OriginalArtist TOPE, EncodedBy TENC, Copyright TCOP, Tempo TBPM,
//   ArtistUrl WOAR, UserUrl WXXX (empty description), UserText TXXX (empty description),
//   Lyrics USLT (language "eng", empty description),
//   Mood TXXX "MOOD", Situation TXXX "SITUATION", Preference TXXX "PREFERENCE",
//   Picture APIC (the front cover; lacking one, the first picture of the tag).
// Texts that ISO-8859-1 can hold are written in it, all others as UTF-16.
//
// SaveV2 writes the fields set since the last Load; a field left alone keeps what the file
// holds, so a job that sets only a few fields never erases the others (or copies the fields of
// the file loaded before). The tag editor sets every field, so its save writes them all.

#include "audio/ID3.h"
#include "audio/TagVersions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>

class Mp3FileBytes;
namespace SafeFileRewrite {
class SyncGroup;
}

/// A picture of the version-2 tag: the image bytes and their MIME type. Empty data = no picture.
struct ID3Picture {
    QByteArray data;
    QString mimeType; ///< "image/jpeg", "image/png", ...; guessed from the bytes when empty

    [[nodiscard]] bool isNull() const { return data.isEmpty(); }
    friend bool operator==(const ID3Picture &, const ID3Picture &) = default;
};

class ID3Edit {
public:
    /// Result codes of the operations; every code but Ok is a failure.
    enum class Result : int {
        Ok = 0,
        FileNotFound = 1, ///< no file of that name
        ReadOnly = 2, ///< the file (or, for a rewrite, its folder) cannot be written
        NotMpeg = 3, ///< no MPEG audio frame in the file
        DamagedTag = 4, ///< the file's ID3v2 tag cannot be read as one
        WriteFailed = 5, ///< writing failed (disk full, verification failed); the file is unchanged
        BadValue = 6, ///< a field value cannot be stored (e.g. version-1 track out of range)
        Unreadable = 7, ///< the file is there but cannot be read (no permission)
        Replaced = 8, ///< the file was moved away or replaced during a rewrite; nothing was written
    };
    // Callers name the codes as ID3Edit::Ok, ID3Edit::ReadOnly, ...
    using enum Result;

    ID3Edit();
    ~ID3Edit();
    ID3Edit(const ID3Edit &) = delete;
    ID3Edit &operator=(const ID3Edit &) = delete;

    /// Writes the version-2 fields set since the last Load into the file's ID3v2 tag (v2.3); the
    /// ID3v1 trailer and the audio stay byte-identical. A tag that outgrows its old space is
    /// written into a complete new file that replaces the old one only once it is whole.
    [[nodiscard]] Result SaveV2(const QString &path);
    /// Writes the version-1 fields as the file's ID3v1 trailer (replacing or appending it); a file
    /// without MPEG audio is refused.
    [[nodiscard]] Result SaveV1(const QString &path);
    /// The space of the file's ID3v2 tag now and after a SaveV2 of the fields set so far (0 for
    /// no tag), worked out without writing. When they differ, SaveV2 rewrites the whole file
    /// through a copy beside it.
    struct V2Space {
        qint64 before = 0;
        qint64 after = 0;
    };
    [[nodiscard]] V2Space PlanSaveV2(const QString &path);
    /// The trailer record SaveV1 writes from the version-1 fields.
    [[nodiscard]] ID3::ID3v1Record v1Record() const;
    /// The trailer as the last Load (or LoadRead) read it; empty when the file had none.
    [[nodiscard]] const ID3::ID3v1Record &loadedV1Record() const;
    /// Checks that the file can take a version-2 tag (exists, writable, MPEG audio); changes nothing.
    Result PrepareV2(const QString &path);
    /// Cuts the ID3v1 trailer off the file; Ok when there was none.
    [[nodiscard]] Result RemoveV1(const QString &path);
    /// Removes the ID3v2 tag only (the audio and the ID3v1 trailer stay); Ok when there was none.
    [[nodiscard]] Result RemoveV2(const QString &path);
    /// Empties every field, then reads both tags of the file.
    Result Load(const QString &path);
    /// The same on the file at `path` already opened as `bytes`, which other readers may go on
    /// using.
    Result Load(Mp3FileBytes &bytes, const QString &path);
    /// Load from bytes just read from the file at `path` in one read: `head` its bytes from the
    /// start up to its audio (the ID3v2 tags and their padding), `trailer` its last 128 bytes
    /// when they are an ID3v1 trailer (else empty), `fileSize` its length. The file is not opened
    /// again; whether it holds MPEG audio is not looked at (Ok unless the leading tag is damaged).
    Result LoadRead(const QString &path, const QByteArray &head, const QByteArray &trailer, qint64 fileSize);

    /// The group whose one sync covers the files SaveV2 and RemoveV2 write anew (null: each is
    /// synced on its own, as without a group).
    void setSyncGroup(SafeFileRewrite::SyncGroup *group);

    /// Fills the object with the version-2 fields and picture set in `source` since its Load, as a
    /// tag written from them reads them back: the forms the ID3v2.3 frames keep (a year cut to
    /// four characters, a genre number read as its name). What a faithful SaveV2 of `source`
    /// leaves in a file; no file is touched.
    void loadStoredForm(const ID3Edit &source);

    /// True when the loaded file has a version-1 tag.
    [[nodiscard]] bool HasV1() const;
    [[nodiscard]] QString V1Title() const;
    void setV1Title(const QString &text);
    [[nodiscard]] QString V1Artist() const;
    void setV1Artist(const QString &text);
    [[nodiscard]] QString V1Album() const;
    void setV1Album(const QString &text);
    [[nodiscard]] QString V1Year() const;
    void setV1Year(const QString &text);
    [[nodiscard]] QString V1Comment() const;
    void setV1Comment(const QString &text);
    /// The version-1 track number; 0 = none (written in the 30-character comment layout).
    [[nodiscard]] quint8 V1Track() const;
    void setV1Track(quint8 track);
    /// The version-1 genre byte (index in GenreList; 255 = none; SaveV1 writes the genre lists'
    /// empty entry, 254, as 255).
    [[nodiscard]] quint8 V1Genre() const;
    void setV1Genre(quint8 genre);

    /// The 148 standard genre names (indices 0-147) joined by "|".
    [[nodiscard]] QString GenreList() const;
    /// The same names as a list, for callers that need one by index.
    [[nodiscard]] static const QStringList &genreNames();

    /// True when the loaded file has a version-2 tag.
    [[nodiscard]] bool HasV2() const;

    [[nodiscard]] QString Title() const;
    void setTitle(const QString &text);
    [[nodiscard]] QString Artist() const;
    void setArtist(const QString &text);
    [[nodiscard]] QString ArtistUrl() const;
    void setArtistUrl(const QString &text);
    [[nodiscard]] QString UserUrl() const;
    void setUserUrl(const QString &text);
    [[nodiscard]] QString Album() const;
    void setAlbum(const QString &text);
    [[nodiscard]] QString OriginalArtist() const;
    void setOriginalArtist(const QString &text);
    [[nodiscard]] QString Composer() const;
    void setComposer(const QString &text);
    [[nodiscard]] QString EncodedBy() const;
    void setEncodedBy(const QString &text);
    [[nodiscard]] QString Copyright() const;
    void setCopyright(const QString &text);
    /// The track text as stored ("3" or "3/12").
    [[nodiscard]] QString Track() const;
    void setTrack(const QString &text);
    [[nodiscard]] QString Year() const;
    void setYear(const QString &text);
    [[nodiscard]] QString Comment() const;
    void setComment(const QString &text);
    /// The genre name.
    [[nodiscard]] QString Genre() const;
    void setGenre(const QString &text);
    [[nodiscard]] QString UserText() const;
    void setUserText(const QString &text);
    [[nodiscard]] QString Lyrics() const;
    void setLyrics(const QString &text);
    [[nodiscard]] QString Tempo() const;
    void setTempo(const QString &text);
    [[nodiscard]] QString Mood() const;
    void setMood(const QString &text);
    [[nodiscard]] QString Situation() const;
    void setSituation(const QString &text);
    [[nodiscard]] QString Preference() const;
    void setPreference(const QString &text);

    /// The cover picture of the version-2 tag; null when the tag has none.
    [[nodiscard]] ID3Picture Picture() const;
    /// Sets the picture SaveV2 writes; a null picture removes the tag's picture.
    void setPicture(const ID3Picture &picture);
    /// Sets the picture SaveV2 writes as the tag's front cover: it replaces the tag's front
    /// covers and leaves its other pictures (back cover, artist, ...) as they are.
    void setFrontCover(const ID3Picture &picture);

    /// The ID3v2 revision SaveV2, PlanSaveV2 and loadStoredForm write (2.3 unless set); it stays
    /// over Load. A tag of the other revision is converted as a whole when it is written.
    void setV2Version(ID3v2Version version);
    [[nodiscard]] ID3v2Version V2Version() const;
    /// The revision of the loaded file's ID3v2 tag (2, 3 or 4); 0 without one.
    [[nodiscard]] int LoadedV2Revision() const;

    /// The file the object was last loaded from.
    [[nodiscard]] QString loadedFile() const;
    /// A short English description of a result code, for logs.
    [[nodiscard]] static QString describe(Result result);

    struct Private;

private:
    std::unique_ptr<Private> d;
};
