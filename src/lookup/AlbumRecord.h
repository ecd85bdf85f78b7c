#pragma once
// The album record a lookup ends in, and the one operation through which every site reader adds
// a track to it, pairing the track with a file of the working list by position.

#include <QList>
#include <QString>
#include <QStringList>

/// One row of the track list: "NN - title", the paired file and the row's icon.
struct TrackRow
{
    /// "01 - Intro", or the not-found marker for a file the site gave no track for.
    QString text;
    /// The paired file's bare name, the not-found marker, or empty when no list pairs.
    QString fileName;
    /// "FileIcon" for a found track, "TrackError" for a file without track.
    QString iconKey;
    /// The track's length in milliseconds when the source gave one, else 0. It belongs to the
    /// title: moving files between rows leaves it where it is.
    int lengthMs = 0;

    friend bool operator==(const TrackRow &, const TrackRow &) = default;
};

/// The album record: the fields written with the first track, the rows, the cover address.
struct AlbumRecord
{
    QString artist;
    QString album;
    QString genre;
    QString year;
    QList<TrackRow> rows;
    /// Absolute address of the cover picture; empty when the site gave none.
    QString coverUrl;
    /// Set by the first track: the album fields are written once per lookup.
    bool columnsCreated = false;
    /// What a reader left out of a hostile page (too many tracks, too long values).
    QStringList notes;
    /// The length in whole seconds of each found track, in track order, where the site gives
    /// lengths (-1 for a track without one); empty when it gives none.
    QList<int> trackLengths;

    /// The marker of a track without file and of a file without track.
    [[nodiscard]] static QString notFound();
    /// The most tracks a record takes, and the longest value.
    static constexpr int MaxTracks = 999;
    static constexpr int MaxValueLength = 1000;

    /// The number of rows that hold a found track (not-found rows excluded).
    [[nodiscard]] int trackCount() const;
};

/// The file list the lookup was started from: the directory page's or the tag page's.
struct WorkingList
{
    /// File names in list order.
    QStringList fileNames;
    /// Per item, whether it is selected (missing entries count as not selected).
    QList<bool> selected;
    /// "&Use only selected files" ticked.
    bool onlySelected = false;
    /// The page the lookup was started from: 0 directory page, 1 tag page; others pair nothing.
    int activePage = 0;

    /// The files in pairing order: every item, or the selected ones when onlySelected.
    [[nodiscard]] QStringList filesInPairingOrder() const;
};

/// "NN": the number in decimal, with a "0" in front when it is 9 or less ("09", "10", "100").
[[nodiscard]] QString trackNumberText(int trackNumber);

/// The title of a row text "NN - title": the text after the number, blank, dash and blank,
/// whatever the number's length ("100 - Song" gives "Song"); a text of another form whole.
[[nodiscard]] QString trackRowTitle(const QString &rowText);

/// A value read from a page as the record keeps it: control characters turned into blanks,
/// cut to maxLength characters (noting it in the record when it was longer).
[[nodiscard]] QString cleanPageValue(const QString &value, AlbumRecord &record,
                                     int maxLength = AlbumRecord::MaxValueLength);

/// Adds track n with its title; the first track also writes artist, album, genre ("Electronica"
/// in any letter case becomes "Electronic", also in the caller's genre) and year. The row is paired with the n-th
/// file of the working list in pairing order, or gets the not-found marker. Tracks beyond
/// MaxTracks are not added (the record notes it); returns whether the row was added.
bool addFoundTrack(AlbumRecord &record, const WorkingList &files, int trackNumber, const QString &title,
                   const QString &artist, const QString &album, QString &genre, const QString &year);

/// Adds one "TrackError" row for each file of the working list beyond the found tracks, in
/// pairing order: text and icon of a not-found row, the file name as its second column.
void addNotFoundRows(AlbumRecord &record, const WorkingList &files);
