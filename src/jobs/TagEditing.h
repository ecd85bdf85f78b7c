#pragma once
// The tag editor's work on files, as plain functions over paths and values: what the editor
// shows of a file, its save with the tag mode rules, and the batch operations (fill, track
// numbering, copies between the versions, removal, cover) one file at a time. The tag page, the
// CLI and the tests share them; none shows or asks anything: each file's outcome comes back as
// a result carrying the words the user is shown, and the caller asks its questions before.
// Every write goes through writeTagChange with an undo journal: the slot of the caller's batch
// (TagBatch), or, without one, a journal of the file's own of the operation's kind.

#include "audio/ID3Edit.h"
#include "audio/TagVersions.h"
#include "jobs/TagBatch.h"

#include <QString>
#include <QStringList>
#include <bitset>
#include <functional>

/// The editor's fields of one file. Version-1 texts are the edit boxes' texts; the version-1
/// genre is the item data of the genre drop-down (254 = its empty first entry, else the index
/// in ID3Edit::genreNames()). Version-2 fields are texts; the genre is the name.
struct TagEditorValues
{
    QString v1Title;
    QString v1Artist;
    QString v1Album;
    QString v1Year;
    QString v1Comment;
    QString v1Track;
    int v1Genre = 254;

    QString title;
    QString artist;
    QString album;
    QString year;
    QString comment;
    QString track;
    QString genre;
    QString composer;
    QString originalArtist;
    QString encodedBy;
    QString userUrl;
    QString userText;
    QString artistUrl;
    QString uniqueKey; ///< shown, never read from or written to a file
    QString preference;
    QString tempo;
    QString mood;
    QString situation;
    QString copyright;
    QString lyrics;
    ID3Picture picture;

    friend bool operator==(const TagEditorValues &, const TagEditorValues &) = default;
};

/// The empty entry of the genre drop-downs, as item data.
inline constexpr int NoGenreItem = 254;

/// One file as the editor shows it.
struct TagEditorFile
{
    /// False when there is no such file (then nothing else is filled).
    bool found = false;
    TagEditorValues values;
    bool hasV1 = false;
    bool hasV2 = false;
};

/// Reads both tags of a file (once) into the editor's values: version-1 fields as the tag
/// access reads them with "v1" (genre by number, the empty entry when the byte names none),
/// version-2 fields with "v2", the picture.
[[nodiscard]] TagEditorFile loadTagEditorValues(const QString &path);

/// The information box's lines for a file loaded with loadTagEditorValues (the source of the
/// audio values is chosen by whether the file's tag holds a picture, as the list does).
[[nodiscard]] QStringList tagEditorInfoLines(const QString &path, const TagEditorFile &file);

/// "Can't read ID3 tag informations. File not found." (critical icon, title "Error").
[[nodiscard]] QString tagReadNotFoundText();

/// How one file of a tag operation ended.
struct TagFileResult
{
    /// Everything asked of the file was written.
    bool done = false;
    /// The messages for the file, in the order they arose (empty when done); each is shown in a
    /// message box with the critical icon and the title "Error".
    QStringList messages;
    /// The file's tags afterwards, for the row's icon.
    bool hasV1 = false;
    bool hasV2 = false;

    /// The messages as one line.
    [[nodiscard]] QString text() const { return messages.join(u' '); }
};

/// The editor's save of one file (saveID3informations):
/// - a missing file: "Can't save ID3 Tag informations. File not found."; a read-only file is made
///   writable, else "Can't save ID3 Tag informations. Read-only media or not enough rights.";
/// - a new picture that is no readable picture (JPEG, PNG, GIF or BMP) or is over 16 MiB is
///   refused with pictureProblem()'s words before anything is written;
/// - mode 2 or 3: the version-2 fields, "Can't save ID3v2 Tag informations." on failure. The
///   version-1 trailer is never touched by this write, so mode 2 leaves it byte for byte;
/// - mode 1 or 3: the version-1 fields (the year when numeric, else empty; the track when numeric
///   and 1-254, else none; the genre by item data), "Error. Can't save ID3v1 Tag informations.";
/// - with removeEmptyV1Allowed (the rename page's tag choice includes version 1) and mode 1 or 3,
///   when every version-1 field is empty (the genre on its empty entry): the file's version-1 tag
///   is removed instead of written.
/// Only the version-2 fields that differ from the file's are written, so nothing the file holds
/// beyond what the editor shows is lost.
/// The version-2 tag is written in `version` (a tag of the other revision is converted).
[[nodiscard]] TagFileResult saveTagEditorValues(const QString &path, const TagEditorValues &values, TagVersions mode,
                                                bool removeEmptyV1Allowed,
                                                ID3v2Version version = ID3v2Version::V3, TagJournalSlot slot = {});

/// The fill switches (chkFill...), one per fillable field; titles have none.
enum class FillField {
    Artist, Album, Year, Comment, Track, Genre,
    Artist2, Album2, Year2, Comment2, Track2, Genre2,
    Composer, OriginalArtist, EncodedBy, UserUrl, UserText, ArtistUrl, Preference, Tempo, Mood, Situation,
    Copyright, CoverArt,
    Count
};

/// Which fill switches are ticked.
struct FillSwitches
{
    std::bitset<size_t(FillField::Count)> ticked;

    void tick(FillField field, bool on = true) { ticked.set(size_t(field), on); }
    [[nodiscard]] bool isTicked(FillField field) const { return ticked.test(size_t(field)); }
    [[nodiscard]] bool none() const { return ticked.none(); }
};

/// The fill command for one file: the file's own values with each ticked field taken from
/// `source` (the picture for CoverArt), then saved as the editor saves.
[[nodiscard]] TagFileResult fillTags(const QString &path, const FillSwitches &switches, const TagEditorValues &source,
                                     TagVersions mode, bool removeEmptyV1Allowed,
                                     ID3v2Version version = ID3v2Version::V3, TagJournalSlot slot = {});

/// The version-2 track of track numbering: k, or k "/" n with the total.
[[nodiscard]] QString numberedTrack(int k, int n, bool withTotal);

/// Track numbering for file number k of n: version-1 track k, version-2 track numberedTrack(),
/// then saved as the editor saves.
[[nodiscard]] TagFileResult numberTrack(const QString &path, int k, int n, bool withTotal, TagVersions mode,
                                        bool removeEmptyV1Allowed, ID3v2Version version = ID3v2Version::V3,
                                        TagJournalSlot slot = {});

/// copyV1FieldsToV2: title, artist, album, comment, year and track boxes from version 1 to
/// version 2, and the version-1 genre's name as the version-2 genre.
void copyV1FieldsToV2(TagEditorValues &values);
/// copyV2FieldsToV1: the same boxes the other way (of a track "6/6" the track alone); the genre
/// entry whose name equals the version-2 genre, trimmed and ignoring letter case; the empty
/// entry when none does.
void copyV2FieldsToV1(TagEditorValues &values);

/// Copies a file's version-1 fields into its version-2 tag and saves in mode 2.
[[nodiscard]] TagFileResult copyTagsV1ToV2(const QString &path, bool removeEmptyV1Allowed,
                                           ID3v2Version version = ID3v2Version::V3, TagJournalSlot slot = {});
/// Copies a file's version-2 fields into its version-1 tag and saves in mode 1.
[[nodiscard]] TagFileResult copyTagsV2ToV1(const QString &path, bool removeEmptyV1Allowed, TagJournalSlot slot = {});

/// Which removal command: one file (cmdDelete) or several (cmdRemoveAllTag); they differ in
/// the words for a missing or read-only file.
enum class RemovalScope { OneFile, AllFiles };

/// Removes the tags the mode names ("Can't delete ID3v1 Tag informations.", "Can't delete ID3v2
/// Tag informations." when a removal fails; the missing and read-only texts by scope).
[[nodiscard]] TagFileResult removeTags(const QString &path, TagVersions mode, RemovalScope scope,
                                       TagJournalSlot slot = {});

/// Puts a picture into the file's version-2 tag (a null picture removes it); nothing else
/// changes. A picture pictureProblem() refuses is refused before anything is written.
[[nodiscard]] TagFileResult setCoverPicture(const QString &path, const ID3Picture &picture,
                                            ID3v2Version version = ID3v2Version::V3, TagJournalSlot slot = {});

/// The largest picture put into a tag.
inline constexpr qint64 MaxPictureBytes = 16 * 1024 * 1024;

/// Why bytes cannot be used as a tag's picture (empty text when they can): not a JPEG, PNG, GIF
/// or BMP picture, or over MaxPictureBytes.
[[nodiscard]] QString pictureProblem(const QByteArray &bytes);

/// The words for a picture file that starts like a picture but cannot be decoded.
[[nodiscard]] QString damagedPictureText();

/// Whether a picture's bytes decode. The core knows pictures by their first bytes only; the
/// window and the CLI, which can decode, install the check at start-up.
using PictureDecodeCheck = std::function<bool(const QByteArray &bytes)>;

/// Installs the check readPictureFile runs on a picture's bytes; returns the one it replaces.
/// Without one, pictures are not decoded.
PictureDecodeCheck setPictureDecodeCheck(PictureDecodeCheck check);

/// A picture file read for the tag, or why it cannot be used.
struct PictureFile
{
    ID3Picture picture; ///< with its MIME type; null when refused
    QString problem; ///< empty when the picture can be used
};

/// Reads a picture file (cmdChangeCover): refused when missing, unreadable, larger than
/// MaxPictureBytes (checked before reading), not a picture, or, when a decode check is
/// installed, damaged (damagedPictureText()).
[[nodiscard]] PictureFile readPictureFile(const QString &file);
