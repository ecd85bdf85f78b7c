#pragma once
// Inside ID3Edit only: the version-2 fields and the TagLib frames behind them. This is the one
// header besides ID3Edit.cpp that sees TagLib; nothing outside the ID3Edit files includes it.

#include "audio/ID3Edit.h"

#include <QByteArray>
#include <QString>

#include <taglib/id3v2tag.h>
#include <taglib/tfile.h>
#include <taglib/tstring.h>

namespace ID3EditFrames {

/// The version-2 fields in the order of ID3Edit's interface.
enum Field {
    Title,
    Artist,
    ArtistUrl,
    UserUrl,
    Album,
    OriginalArtist,
    Composer,
    EncodedBy,
    Copyright,
    Track,
    Year,
    Comment,
    Genre,
    UserText,
    Lyrics,
    Tempo,
    Mood,
    Situation,
    Preference,
    FieldCount
};

/// A file name in the form TagLib opens; keeps the encoded bytes alive as long as it lives.
class NativeName {
public:
    explicit NativeName(const QString &path);
    [[nodiscard]] TagLib::FileName name() const;

private:
    QString path_;
    QByteArray encoded_;
};

[[nodiscard]] TagLib::String toTagLib(const QString &text);
[[nodiscard]] QString fromTagLib(const TagLib::String &text);

/// Reads one field from a tag; empty when the tag has no frame for it.
[[nodiscard]] QString readField(const TagLib::ID3v2::Tag &tag, Field field);
/// Replaces the frame behind a field; an empty value removes it. The text is encoded for the
/// revision the tag is written in: UTF-8 for 2.4; for 2.3 ISO-8859-1 when it fits, else UTF-16.
void writeField(TagLib::ID3v2::Tag &tag, Field field, const QString &value, ID3v2Version version);

/// Whether the tag holds a frame that would not survive a write: TagLib keeps an encrypted text,
/// link, comment, lyrics or picture frame's bytes but writes its header without that flag, so the
/// bytes would be read as a plain frame afterwards; and a frame naming a text encoding the format
/// does not know is written back empty.
[[nodiscard]] bool holdsFramesThatCannotBeWrittenBack(const TagLib::ID3v2::Tag &tag);
/// Whether the file's leading tag holds a compressed frame that does not inflate: TagLib would read
/// it garbled and write the garble back as a plain frame.
[[nodiscard]] bool holdsUndecodableCompressedFrame(TagLib::File &file);

/// Puts frames that TagLib parsed into a shape it would write back wrongly into their true shape.
void repairFrames(TagLib::ID3v2::Tag &tag);

/// The tag's cover: the front cover, lacking one the first picture; null when there is none.
[[nodiscard]] ID3Picture readPicture(const TagLib::ID3v2::Tag &tag);
/// Puts the picture in the place readPicture() reads from; a null picture removes that picture.
/// With frontCoverOnly the picture replaces every front cover of the tag (and is added as one
/// when there is none), and the tag's other pictures stay.
void writePicture(TagLib::ID3v2::Tag &tag, const ID3Picture &picture, bool frontCoverOnly = false);

/// The MIME type of an image from its first bytes ("image/jpeg" when unknown).
[[nodiscard]] QString guessMimeType(const QByteArray &data);

} // namespace ID3EditFrames
