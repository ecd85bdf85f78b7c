#pragma once
// Pairing files with tracks by all the evidence a file carries: its tag title and the text that
// tells its name apart from the other files' names, its track number (tag or leading number of
// the name) and its length against the track's length. Each (file, track) pair scores 0-100
// with a one-line reason; the whole album is solved at once as an optimal assignment, and a
// pair below the threshold stays unpaired.

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

/// What one file tells about the track it holds.
struct FileEvidence
{
    /// The bare file name.
    QString fileName{};
    /// The tag title, the tag track ("4", "2/5"), artist, album and year (either tag version).
    QString tagTitle{};
    QString tagTrack{};
    QString tagArtist{};
    QString tagAlbum{};
    QString tagYear{};
    /// The playing time in whole seconds; -1 when unknown.
    int lengthSeconds = -1;
};

/// One track of a record: its title, its number on the record (1-based) and its length.
struct TrackEvidence
{
    QString title{};
    int number = 0;
    /// In whole seconds; -1 when the record gives none.
    int lengthSeconds = -1;
};

/// A pair's score 0-100 and why: "title 92 %, length 3:12 / 3:14, track 3".
struct PairScore
{
    int score = 0;
    QString reason{};

    friend bool operator==(const PairScore &, const PairScore &) = default;
};

/// A pair scoring below this stays "***** Not Found *****".
inline constexpr int PairThreshold = 50;

/// A title as titles are compared: letter case, punctuation and accents ignored, and the noise
/// words of reissues ("remastered", "2011 mix", "bonus track", "album version"...) left out.
[[nodiscard]] QString foldTitle(const QString &title);

/// Title likeness of two folded titles, 0 to 1 (shared letter pairs).
[[nodiscard]] double titleLikeness(const QString &a, const QString &b);

/// The leading number of a tag track or a name ("4", "2/5" -> 4, "03 - x" -> 3); 0 when none.
[[nodiscard]] int leadingTrackNumber(const QString &text);

/// "m:ss".
[[nodiscard]] QString lengthText(int seconds);

/// Scores files against tracks. Everything that does not depend on the pair is worked out once.
class EvidenceScorer
{
public:
    EvidenceScorer(const QList<FileEvidence> &files, const QList<TrackEvidence> &tracks);
    ~EvidenceScorer();
    EvidenceScorer(const EvidenceScorer &) = delete;
    EvidenceScorer &operator=(const EvidenceScorer &) = delete;

    [[nodiscard]] int fileCount() const;
    [[nodiscard]] int trackCount() const;
    /// The pair's score 0-100.
    [[nodiscard]] int score(int file, int track) const;
    /// The pair's score with its reason.
    [[nodiscard]] PairScore explain(int file, int track) const;
    /// The title likeness of the pair (0-1), or -1 when the file has no title evidence.
    [[nodiscard]] double titlePart(int file, int track) const;
    /// The length likeness of the pair (0-1), or -1 when a length is unknown.
    [[nodiscard]] double lengthPart(int file, int track) const;
    /// The text of the file's name that tells it apart from the other files (folded, its
    /// leading number and the words every file's name shares left out).
    [[nodiscard]] QString nameText(int file) const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

/// The optimal pairing: for each file the track it is paired with (-1: none) and the pair's
/// score (a score of 0 and an empty reason for an unpaired file).
struct EvidencePairing
{
    QList<int> trackOfFile{};
    QList<PairScore> scores{};
};

/// Pairs the files with the tracks so that the sum of the scores is as high as it can be;
/// pairs below the threshold are left open. Equal sums keep files at their own position.
[[nodiscard]] EvidencePairing pairByEvidence(const EvidenceScorer &scorer, int threshold = PairThreshold);
