#pragma once
// The album search without browsing, its pure half: what a folder tells about its album, the
// release search asked of the web service, its results read with every field checked, and the
// score of each candidate release against the folder's evidence, criterion by criterion.

#include "lookup/AlbumRecord.h"
#include "lookup/EvidencePairing.h"
#include "lookup/MusicBrainzRelease.h"

#include <QList>
#include <QString>
#include <QUrl>

/// What the folder's files and name tell about the album.
struct FolderEvidence
{
    /// The files in pairing order, with what they carry.
    QList<FileEvidence> files{};
    /// The folder's cleaned name (as the freedb search text is made).
    QString searchText{};
    /// The artist and album most files' tags agree on, else the parts of the folder's name
    /// around " - " (the album alone when it has none).
    QString artist{};
    QString album{};
    /// The year most files' tags agree on, else empty.
    QString year{};
};

/// Reads the working list's files (in pairing order) in the folder and gathers their evidence.
[[nodiscard]] FolderEvidence readFolderEvidence(const QString &folder, const WorkingList &files);

/// Gathers the evidence from files already read; artist and album, when given, replace what
/// the tags and the name say.
[[nodiscard]] FolderEvidence folderEvidence(const QString &folder, const QList<FileEvidence> &files,
                                            const QString &artist = {}, const QString &album = {});

/// The release search: a query of the album's words and, when known, the artist's words.
[[nodiscard]] QUrl releaseSearchUrl(const QString &service, const FolderEvidence &evidence, int limit);

/// One result of the release search.
struct SearchHit
{
    QString id{};
    QString title{};
    QString artist{};
    QString year{};
    QString format{};
    int trackCount = 0;
    /// The track count of each medium.
    QList<int> mediumTrackCounts{};
    /// The search engine's own score (0-100) and its place in the answer (0 first).
    int engineScore = 0;
    int rank = 0;
};

/// Reads a release search answer into at most `limit` hits (well-formed ids only). Returns an
/// empty text, or a one-line message when the answer is no search result.
[[nodiscard]] QString parseReleaseSearch(const QByteArray &json, int limit, QList<SearchHit> &hits);

/// The order in which the hits are worth reading in full: the likeliest first (track count
/// against the file count, artist and album against the evidence, the engine's order).
[[nodiscard]] QList<SearchHit> mostPromising(const QList<SearchHit> &hits, const FolderEvidence &evidence, int count);

/// One criterion of a candidate's score: its points out of its share (share 0: not judged).
struct Criterion
{
    QString name{};
    int points = 0;
    int share = 0;
};

/// A release read in full and scored 0-1000 against the folder.
struct Candidate
{
    SearchHit hit{};
    MbRelease release{};
    /// The medium that is the candidate's track list (0-based), or -1 for the whole release.
    int medium = -1;
    int score = 0;
    QList<Criterion> criteria{};

    /// "tracks 250/250, lengths 340/350, ..." and the medium when only one counts.
    [[nodiscard]] QString criteriaText() const;
    /// The track count of the candidate's track list.
    [[nodiscard]] int trackCount() const;
};

/// Scores the release against the folder's evidence.
[[nodiscard]] Candidate scoreCandidate(const SearchHit &hit, const MbRelease &release, const FolderEvidence &evidence);

/// Best first; equal scores keep the search engine's order.
void rankCandidates(QList<Candidate> &candidates);

/// The album record of a candidate for the working list: its track list, the files paired by
/// position and then by best match (the pairs' scores in *scores when given).
[[nodiscard]] AlbumRecord recordForCandidate(const Candidate &candidate, const WorkingList &files,
                                             const FolderEvidence &evidence, const QString &coverArtService,
                                             QList<PairScore> *scores = nullptr);
