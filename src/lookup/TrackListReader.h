#pragma once
// The track-list reader: turns any page that shows an album's track list, a selection on it or
// pasted text into an album record, without knowing the site. It reads the list line by line
// (one track a line, or one table row, or one list item), understands the usual numberings,
// quotes, lengths, header, total and disc lines, and on a page picks the element that looks most
// like the album's track list. Plain values in and out: the window and the CLI share it.

#include "lookup/HtmlDocument.h"
#include "lookup/SiteReaders.h"

#include <QList>
#include <QString>
#include <QStringList>

/// One line of a track list as read.
struct TrackLine
{
    enum class Kind { Track, Header, Total, DiscHeading, Empty };
    Kind kind = Kind::Empty;
    /// The number as the line gives it ("01", "A1", "1-03", "CD2-03"); empty when unnumbered.
    QString number;
    QString title;
    /// Milliseconds; 0 when the line gives no length.
    int lengthMs = 0;
    /// For a header line: the columns that hold the title and the length (-1 when none).
    int titleColumn = -1;
    int lengthColumn = -1;
};

/// An album as a track list gives it: what the page or text says plainly, the tracks in order.
struct CapturedAlbum
{
    QString artist;
    QString album;
    QString year;
    struct Track
    {
        QString title;
        int lengthMs = 0;
    };
    QList<Track> tracks;
    /// What was left out of a hostile input (too many tracks, too long lines).
    QStringList notes;
};

namespace TrackList {

/// The most tracks, the longest value, the most characters of one line looked at, and of a
/// text read.
constexpr int MaxTracks = AlbumRecord::MaxTracks;
constexpr int MaxValueLength = AlbumRecord::MaxValueLength;
constexpr int MaxLineLength = 4 * MaxValueLength;
constexpr int MaxTextLength = 16 * 1024 * 1024;

/// The messages when nothing was found.
[[nodiscard]] QString noTrackListOnPage();
[[nodiscard]] QString noTrackListInText();

/// The text as the reader reads it: control characters other than line breaks and tabs become
/// blanks, invisible format marks (bidi marks, zero-width characters, byte order marks) go, a
/// no-break space is a blank.
[[nodiscard]] QString cleanText(QStringView text);

/// Text bytes from a file or standard input: UTF-8 when they are valid UTF-8, else Latin-1.
[[nodiscard]] QString textFromBytes(const QByteArray &bytes);

/// "3:49", "(3:49)", "03:49", "1:02:03" as milliseconds; 0 when the text is no length.
[[nodiscard]] int parseLength(QStringView text);

/// Reads one line given as cells (a table row; a text line split at its tabs). header: the
/// columns of the last header line seen, or a default TrackLine for none.
[[nodiscard]] TrackLine readLine(const QStringList &cells, const TrackLine &header = {});

/// Reads pasted or selected text, one track a line. When most lines are numbered, unnumbered
/// lines are not tracks (a first such line "Artist - Album (1999)" names the album). The
/// album fields not given by the text stay empty.
[[nodiscard]] CapturedAlbum readText(const QString &text);

/// Reads the page's best track-list candidate; fileCount: the number of files to pair, which
/// breaks ties towards a list of that length (0: unknown).
[[nodiscard]] CapturedAlbum readPage(const HtmlDocument &doc, int fileCount);

/// Reads the selection's text as pasted text, with the album fields the page gives.
[[nodiscard]] CapturedAlbum readSelection(const HtmlDocument &doc, const QString &selection);

/// Artist, album and year where the page says them plainly: a heading "Artist - Album", a line
/// "by Artist" (or "Studio album by Artist") under it, a "Year"/"Released" label, the title.
void readAlbumFields(const HtmlDocument &doc, CapturedAlbum &album);

/// Fills the lookup's record from the captured album as a site's reader fills it: tracks
/// numbered 1..n in order, paired by position, lengths kept; fields the capture left empty come
/// from the folder's search text ("Artist - Album"). Returns false, leaving the record
/// untouched, when the capture holds no track. Ends the lookup as a site's reader does
/// (not-found rows for files beyond the tracks, lastResultUrl = address).
bool fillRecord(const CapturedAlbum &album, LookupContext &lookup, const QString &address);

} // namespace TrackList

namespace TrackList {

/// On a page of a known site whose search has not been submitted during this visit: runs the
/// site's filler (its element actions are left in lookup.actions). True when a search was
/// submitted, so that the result page is the one to read.
bool submitSiteSearch(const HtmlDocument &doc, LookupContext &lookup);

/// "Capture track list" on a snapshot: the selection when the user made one, else the page's
/// best candidate, into the lookup's record (see fillRecord). False when no track was found.
bool capture(const HtmlDocument &doc, LookupContext &lookup);

/// Pasted text into the lookup's record; false when the text holds no track.
bool captureText(const QString &text, LookupContext &lookup);

} // namespace TrackList
