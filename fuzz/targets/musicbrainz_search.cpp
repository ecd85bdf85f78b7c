// The web service's release search answer, and a full release scored against a folder: the hits
// are bounded and well-formed, and every score keeps within its share.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "lookup/AlbumCandidates.h"
#include "lookup/MusicBrainzRelease.h"

#include <QRegularExpression>

int Fuzz::musicbrainz_search(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    QList<FileEvidence> files;
    for (int i = 0; i < 3; ++i)
        files.append({QStringLiteral("0%1 - Song %1.mp3").arg(i + 1), QStringLiteral("Song %1").arg(i + 1),
                      QString::number(i + 1), QStringLiteral("Band"), QStringLiteral("Album"),
                      QStringLiteral("2001"), 180 + 20 * i});
    const FolderEvidence evidence = folderEvidence(QStringLiteral("/music/Band - Album"), files);

    QList<SearchHit> hits;
    const QString problem = parseReleaseSearch(bytes, 25, hits);
    FUZZ_CHECK(!problem.contains(u'\n'));
    FUZZ_CHECK(hits.size() <= 25);
    static const QRegularExpression mbid(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    for (const SearchHit &hit : hits)
        FUZZ_CHECK(mbid.match(hit.id).hasMatch() && hit.engineScore >= 0 && hit.engineScore <= 100);
    const QList<SearchHit> promising = mostPromising(hits, evidence, 8);
    FUZZ_CHECK(promising.size() <= 8 && promising.size() <= hits.size());

    // The same bytes as a full release, scored against the folder for the first hit (or none).
    MbRelease release;
    if (!parseMusicBrainzRelease(bytes, release).isEmpty())
        return 0;
    QList<Candidate> candidates{scoreCandidate(hits.value(0), release, evidence)};
    for (const Candidate &candidate : candidates) {
        FUZZ_CHECK(candidate.score >= 0 && candidate.score <= 1000);
        int shares = 0;
        for (const Criterion &c : candidate.criteria) {
            FUZZ_CHECK(c.points >= 0 && c.points <= c.share);
            shares += c.share;
        }
        FUZZ_CHECK(shares <= 1000);
    }
    rankCandidates(candidates);
    return 0;
}
