#pragma once
// Inside the track-list reader: the lines of one candidate list, collected in order.

#include "lookup/TrackListReader.h"

#include <QRegularExpression>

namespace TrackList {

/// The lines of one list: tracks with their numbering, the header that names the columns.
struct Collected
{
    struct Entry
    {
        QString title;
        int lengthMs = 0;
        bool numbered = false;
    };
    QList<Entry> entries;
    TrackLine header;
    int numbered = 0;
    int withLength = 0;
    bool capped = false;

    /// Reads one line into the list; false once the list holds MaxTracks tracks.
    bool add(const QStringList &cells, bool implicitlyNumbered = false);
    /// Only the numbered entries, when most entries are numbered (the others are notes).
    void keepNumberedWhenMost();
    /// The captured tracks; notes for what was cut.
    void into(CapturedAlbum &album) const;
};

/// "Artist - Album" split at its first dash with blanks around it; false when there is none.
bool splitArtistAlbum(const QString &text, QString &artist, QString &album);

/// The first year 19xx or 20xx in the text; empty when none.
[[nodiscard]] QString yearIn(const QString &text);

/// A value of the album fields as the record takes it: one line, bounded.
[[nodiscard]] QString fieldValue(const QString &text);

} // namespace TrackList
