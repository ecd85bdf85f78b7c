#include "lookup/BestMatch.h"

using namespace Qt::StringLiterals;

namespace {

bool isTrack(const TrackRow &row)
{
    return row.text != AlbumRecord::notFound();
}

bool holdsFile(const TrackRow &row)
{
    return !row.fileName.isEmpty() && row.fileName != AlbumRecord::notFound();
}

/// The title of a row "NN - title".
QString rowTitle(const QString &text)
{
    const qsizetype dash = text.indexOf(u" - "_s);
    return dash >= 0 ? text.mid(dash + 3) : text;
}

/// The files of the record in row order, with their evidence.
QList<FileEvidence> recordFiles(const AlbumRecord &record, const QList<FileEvidence> &evidence)
{
    QList<FileEvidence> files;
    for (const TrackRow &row : record.rows) {
        if (!holdsFile(row))
            continue;
        const auto known = std::find_if(evidence.begin(), evidence.end(),
                                        [&](const FileEvidence &e) { return e.fileName == row.fileName; });
        files.append(known != evidence.end() ? *known : FileEvidence{row.fileName, {}, {}, {}, {}, {}, -1});
    }
    return files;
}

} // namespace

QList<TrackEvidence> trackEvidence(const AlbumRecord &record)
{
    QList<TrackEvidence> tracks;
    for (const TrackRow &row : record.rows) {
        if (!isTrack(row))
            continue;
        const int index = int(tracks.size());
        tracks.append({rowTitle(row.text), index + 1, record.trackLengths.value(index, -1)});
    }
    return tracks;
}

QList<PairScore> pairByBestMatch(AlbumRecord &record, const QList<FileEvidence> &evidence)
{
    const QList<FileEvidence> files = recordFiles(record, evidence);
    if (files.isEmpty())
        return QList<PairScore>(record.rows.size());
    const EvidenceScorer scorer(files, trackEvidence(record));
    const EvidencePairing pairing = pairByEvidence(scorer);

    QList<TrackRow> rows;
    QList<PairScore> scores;
    for (const TrackRow &row : std::as_const(record.rows)) {
        if (isTrack(row)) {
            rows.append({row.text, AlbumRecord::notFound(), row.iconKey});
            scores.append(PairScore{});
        }
    }
    for (int f = 0; f < files.size(); ++f) {
        const int track = pairing.trackOfFile.at(f);
        if (track >= 0) {
            rows[track].fileName = files.at(f).fileName;
            scores[track] = pairing.scores.at(f);
        }
    }
    for (int f = 0; f < files.size(); ++f) {
        if (pairing.trackOfFile.at(f) < 0) {
            rows.append({AlbumRecord::notFound(), files.at(f).fileName, u"TrackError"_s});
            scores.append(PairScore{});
        }
    }
    record.rows = rows;
    return scores;
}

QList<PairScore> scoreCurrentPairing(const AlbumRecord &record, const QList<FileEvidence> &evidence)
{
    QList<PairScore> scores(record.rows.size());
    const QList<FileEvidence> files = recordFiles(record, evidence);
    if (files.isEmpty())
        return scores;
    const EvidenceScorer scorer(files, trackEvidence(record));
    int file = 0;
    int track = 0;
    for (int r = 0; r < record.rows.size(); ++r) {
        const TrackRow &row = record.rows.at(r);
        if (isTrack(row) && holdsFile(row))
            scores[r] = scorer.explain(file, track);
        file += holdsFile(row) ? 1 : 0;
        track += isTrack(row) ? 1 : 0;
    }
    return scores;
}
