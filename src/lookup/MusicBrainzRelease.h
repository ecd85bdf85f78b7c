#pragma once
// A MusicBrainz release as the web service's release lookup gives it, read into plain values
// with every field checked: the browser's release page and the album search both take their
// records from here.

#include "lookup/SiteReaders.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct MbTrack
{
    QString title{};
    /// Whole seconds; -1 when the service gives none (or a value no track can have).
    int lengthSeconds = -1;
};

struct MbMedium
{
    QString format{};
    QList<MbTrack> tracks{};
};

struct MbRelease
{
    QString id{};
    QString title{};
    /// The artist credit with its join phrases.
    QString artist{};
    /// The first four characters of the date.
    QString year{};
    /// The release's most voted genre, else its release group's.
    QString genre{};
    QString disambiguation{};
    bool hasFrontCover = false;
    /// The audio tracks of each medium (a pregap and data tracks are no tracks to pair).
    QList<MbMedium> media{};

    [[nodiscard]] int trackCount() const;
    /// The media's formats, equal ones once: "CD", "2×CD", "CD + DVD".
    [[nodiscard]] QString formatText() const;
};

/// Reads a release lookup answer. Returns an empty text on success, else a one-line message
/// (and release is then left as it was).
[[nodiscard]] QString parseMusicBrainzRelease(const QByteArray &json, MbRelease &release);

/// Fills the record from the release: its fields with the first track, the tracks of the media
/// in order (all media when medium is -1, else that one only, 0-based) with their lengths, the
/// files paired by position, and the front cover's address when there is one.
void fillRecordFromRelease(const MbRelease &release, int medium, const QString &coverArtService,
                           LookupContext &lookup);
