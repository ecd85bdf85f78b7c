#pragma once
// "Best match" on an album record: every file of the record is paired with the track its
// evidence fits best, the whole album at once; each pair keeps its score and reason.

#include "lookup/AlbumRecord.h"
#include "lookup/EvidencePairing.h"

/// The record's found tracks as evidence: title, number (position) and length when known.
[[nodiscard]] QList<TrackEvidence> trackEvidence(const AlbumRecord &record);

/// Pairs the record's files by evidence: each found track gets its best file or the not-found
/// marker, and every file left without a track gets a not-found row of its own ("TrackError")
/// at the end, in the files' former order. evidence holds what is known of the files (a file
/// missing from it is known by its name only). Returns the score of each row's pair (score 0
/// and no reason for a row without a pair). Rows that pair no file (empty names) stay as
/// they are.
QList<PairScore> pairByBestMatch(AlbumRecord &record, const QList<FileEvidence> &evidence);

/// The score of each row's current pair, as pairByBestMatch returns them.
[[nodiscard]] QList<PairScore> scoreCurrentPairing(const AlbumRecord &record, const QList<FileEvidence> &evidence);
