#pragma once
// The album's HTML page, the third album output of the rename job beside the playlist and the
// cover: one self-contained UTF-8 file (its style inside, no script, nothing fetched from
// elsewhere) with the artist, album, year and genre, the cover, and the numbered tracks with
// their lengths, each title a link to its renamed file. Every value is escaped, every link is
// relative and percent-encoded, so a title such as "</a><script>" shows as text.

#include "naming/NamingInput.h"

#include <QByteArray>
#include <QList>
#include <QString>

/// One track of the page.
struct AlbumPageTrack
{
    /// The number shown ("1", "12").
    QString number;
    QString title;
    /// The playing time in whole seconds; below 0 when unknown (no length is shown).
    qint64 seconds = -1;
    /// Where the link goes, relative to the page (see relativeAddress); empty for no link.
    QString address;
};

/// Everything the page shows.
struct AlbumPageContent
{
    AlbumFields album;
    QList<AlbumPageTrack> tracks;
    /// The cover picture's address: relative to the page, or a data address; empty for none.
    QString coverAddress;
};

/// The page as the file holds it: UTF-8, CR LF line ends.
[[nodiscard]] QByteArray albumPageBytes(const AlbumPageContent &page);

/// Text made safe for HTML text and quoted attribute values: "&", "<", ">", '"' and "'" as
/// references; control characters, non-characters and broken surrogate halves as U+FFFD.
[[nodiscard]] QString htmlEscaped(const QString &text);

/// The address of a file relative to a folder, each level percent-encoded as UTF-8
/// ("01%20-%20One.mp3", "Foo%20-%20Bar/01.mp3", "../cover.jpg").
[[nodiscard]] QString relativeAddress(const QString &fromFolder, const QString &toFile);

/// The largest picture the page holds inside itself.
inline constexpr qint64 MaxEmbeddedPictureBytes = 4 * 1024 * 1024;

/// A data address holding the picture when its bytes are a JPEG, PNG, GIF, BMP or WebP picture
/// of at most MaxEmbeddedPictureBytes; empty otherwise.
[[nodiscard]] QString embeddedPictureAddress(const QByteArray &bytes);

/// The playing time of an MPEG file in whole seconds as the file list shows it; -1 when the
/// file holds no frame the reader finds.
[[nodiscard]] qint64 trackSeconds(const QString &path);
