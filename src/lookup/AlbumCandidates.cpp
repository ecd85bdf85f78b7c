#include "lookup/AlbumCandidates.h"

#include "lookup/BestMatch.h"
#include "lookup/FileEvidence.h"
#include "naming/NamingText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrlQuery>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Each criterion's share of the 1000 points.
constexpr int TracksShare = 250;
constexpr int LengthsShare = 350;
constexpr int TitlesShare = 200;
constexpr int ArtistShare = 75;
constexpr int AlbumShare = 75;
constexpr int YearShare = 50;
// The longest text of a search answer taken, and the most words put into a query.
constexpr int MaxField = 500;
constexpr int MaxQueryWords = 12;

/// The value more than half of the texts agree on (trimmed, letter case ignored), else empty.
QString majority(const QStringList &values)
{
    QHash<QString, int> counts;
    QHash<QString, QString> spelling;
    for (const QString &value : values) {
        const QString trimmed = value.trimmed();
        if (trimmed.isEmpty())
            continue;
        const QString key = trimmed.toLower();
        spelling.insert(key, trimmed);
        if (++counts[key] * 2 > values.size())
            return spelling.value(key);
    }
    return {};
}

/// The words of a text for a query: letters and digits only, so nothing of the query
/// language (quotes, brackets, operators) comes from a folder or a tag.
QStringList queryWords(const QString &text)
{
    static const QRegularExpression notWord(u"[^\\p{L}\\p{N}]+"_s);
    QStringList result = text.split(notWord, Qt::SkipEmptyParts);
    // Lower case: AND, OR and NOT are operators only in capitals.
    for (QString &w : result)
        w = w.toLower();
    return result.mid(0, MaxQueryWords);
}

QString boundedText(const QJsonValue &value)
{
    return value.isString() ? value.toString().left(MaxField) : QString();
}

QString creditText(const QJsonArray &credits)
{
    QString artist;
    int seen = 0;
    for (const QJsonValue &value : credits) {
        if (++seen > 50)
            break;
        const QJsonObject credit = value.toObject();
        artist += boundedText(credit.value(u"name"_s)) + boundedText(credit.value(u"joinphrase"_s));
    }
    return artist.left(MaxField);
}

int boundedCount(const QJsonValue &value)
{
    const double n = value.toDouble(0);
    return n > 0 && n <= AlbumRecord::MaxTracks ? int(n) : 0;
}

double textLikeness(const QString &a, const QString &b)
{
    return titleLikeness(foldTitle(a), foldTitle(b));
}

/// The likeness of two track counts, 1 when equal.
double countLikeness(int files, int tracks)
{
    if (files <= 0 || tracks <= 0)
        return 0;
    return double(std::min(files, tracks)) / double(std::max(files, tracks));
}

QList<TrackEvidence> tracksOf(const MbRelease &release, int medium)
{
    QList<TrackEvidence> tracks;
    for (int m = 0; m < release.media.size(); ++m) {
        if (medium >= 0 && m != medium)
            continue;
        for (const MbTrack &track : release.media.at(m).tracks)
            tracks.append({track.title, int(tracks.size()) + 1, track.lengthSeconds});
    }
    return tracks;
}

} // namespace

FolderEvidence folderEvidence(const QString &folder, const QList<FileEvidence> &files, const QString &artist,
                              const QString &album)
{
    FolderEvidence evidence;
    evidence.files = files;
    evidence.searchText = searchTextFromFolder(folder, true);
    QStringList artists, albums, years;
    for (const FileEvidence &file : files) {
        artists << file.tagArtist;
        albums << file.tagAlbum;
        static const QRegularExpression fourDigits(u"^\\s*(\\d{4})"_s);
        years << fourDigits.match(file.tagYear).captured(1);
    }
    evidence.artist = majority(artists);
    evidence.album = majority(albums);
    evidence.year = majority(years);
    if (evidence.album.isEmpty()) {
        const qsizetype dash = evidence.searchText.indexOf(u" - "_s);
        if (dash > 0 && evidence.artist.isEmpty()) {
            evidence.artist = evidence.searchText.left(dash).trimmed();
            evidence.album = evidence.searchText.mid(dash + 3).trimmed();
        } else {
            evidence.album = evidence.searchText;
        }
    }
    if (!artist.isEmpty())
        evidence.artist = artist;
    if (!album.isEmpty())
        evidence.album = album;
    return evidence;
}

FolderEvidence readFolderEvidence(const QString &folder, const WorkingList &files)
{
    return folderEvidence(folder, readFileEvidence(folder, files.filesInPairingOrder()));
}

QUrl releaseSearchUrl(const QString &service, const FolderEvidence &evidence, int limit)
{
    const QStringList album = queryWords(evidence.album);
    const QStringList artist = queryWords(evidence.artist);
    QString lucene;
    if (!album.isEmpty())
        lucene = u"release:(%1)"_s.arg(album.join(u' '));
    if (!artist.isEmpty())
        lucene += (lucene.isEmpty() ? QString() : u" AND "_s) + u"artist:(%1)"_s.arg(artist.join(u' '));
    if (lucene.isEmpty())
        lucene = queryWords(evidence.searchText).join(u' ');
    QUrl url(service + u"/release"_s);
    QUrlQuery query;
    query.addQueryItem(u"query"_s, lucene);
    query.addQueryItem(u"limit"_s, QString::number(limit));
    query.addQueryItem(u"fmt"_s, u"json"_s);
    url.setQuery(query);
    return url;
}

QString parseReleaseSearch(const QByteArray &json, int limit, QList<SearchHit> &hits)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    const QJsonValue releases = document.object().value(u"releases"_s);
    if (parseError.error != QJsonParseError::NoError || !document.isObject() || !releases.isArray())
        return u"The MusicBrainz web service gave an answer that is not a search result."_s;
    static const QRegularExpression mbid(u"^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"_s);
    QList<SearchHit> read;
    for (const QJsonValue &value : releases.toArray()) {
        if (read.size() >= limit)
            break;
        const QJsonObject release = value.toObject();
        SearchHit hit;
        hit.id = boundedText(release.value(u"id"_s));
        if (!mbid.match(hit.id).hasMatch())
            continue;
        hit.title = boundedText(release.value(u"title"_s));
        hit.artist = creditText(release.value(u"artist-credit"_s).toArray());
        hit.year = boundedText(release.value(u"date"_s)).left(4);
        hit.trackCount = boundedCount(release.value(u"track-count"_s));
        QStringList formats;
        for (const QJsonValue &m : release.value(u"media"_s).toArray()) {
            if (hit.mediumTrackCounts.size() >= 100)
                break;
            const QJsonObject medium = m.toObject();
            hit.mediumTrackCounts << boundedCount(medium.value(u"track-count"_s));
            formats << boundedText(medium.value(u"format"_s)).left(40);
        }
        formats.removeAll(QString());
        formats.removeDuplicates();
        hit.format = formats.join(u" + "_s);
        // Clamped before it becomes an int: a number too large for one is no score.
        hit.engineScore = int(std::clamp(release.value(u"score"_s).toDouble(0), 0.0, 100.0));
        hit.rank = int(read.size());
        read.append(hit);
    }
    hits = read;
    return {};
}

QList<SearchHit> mostPromising(const QList<SearchHit> &hits, const FolderEvidence &evidence, int count)
{
    const int files = int(evidence.files.size());
    QList<std::pair<double, SearchHit>> scored;
    for (const SearchHit &hit : hits) {
        double tracks = countLikeness(files, hit.trackCount);
        for (int n : hit.mediumTrackCounts)
            tracks = std::max(tracks, countLikeness(files, n));
        const double artist = evidence.artist.isEmpty() ? 0.5 : textLikeness(hit.artist, evidence.artist);
        const double album = textLikeness(hit.title, evidence.album);
        scored.append({2 * tracks + artist + album + hit.engineScore / 100.0, hit});
    }
    std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<SearchHit> chosen;
    for (int i = 0; i < scored.size() && i < count; ++i)
        chosen << scored.at(i).second;
    return chosen;
}

int Candidate::trackCount() const
{
    if (medium >= 0 && medium < release.media.size())
        return int(release.media.at(medium).tracks.size());
    return release.trackCount();
}

QString Candidate::criteriaText() const
{
    QStringList parts;
    for (const Criterion &c : criteria)
        parts << (c.share > 0 ? u"%1 %2/%3"_s.arg(c.name).arg(c.points).arg(c.share) : u"%1 -"_s.arg(c.name));
    QString text = parts.join(u", "_s);
    if (medium >= 0)
        text += u" (disc %1 of %2)"_s.arg(medium + 1).arg(release.media.size());
    return text;
}

namespace {

/// Scores one track list of the release (a medium, or all of it) against the folder.
Candidate scoreTrackList(const SearchHit &hit, const MbRelease &release, int medium, const FolderEvidence &evidence)
{
    Candidate candidate{hit, release, medium, 0, {}};
    const QList<TrackEvidence> tracks = tracksOf(release, medium);
    const int files = int(evidence.files.size());
    const EvidenceScorer scorer(evidence.files, tracks);
    const EvidencePairing pairing = pairByEvidence(scorer);

    double lengths = 0;
    int timed = 0;
    double titles = 0;
    int titled = 0;
    for (int f = 0; f < files; ++f) {
        const int t = pairing.trackOfFile.at(f);
        if (evidence.files.at(f).lengthSeconds >= 0) {
            ++timed;
            // A track without a length is neither for nor against the release.
            const double part = t >= 0 ? scorer.lengthPart(f, t) : 0;
            lengths += t >= 0 && part < 0 ? 0.5 : std::max(part, 0.0);
        }
        if (tracks.isEmpty())
            continue;
        const double title = scorer.titlePart(f, t >= 0 ? t : 0);
        if (title < 0)
            continue;
        ++titled;
        titles += t >= 0 ? title : 0;
    }
    auto share = [](double fraction, int of) { return int(std::lround(std::clamp(fraction, 0.0, 1.0) * of)); };
    candidate.criteria.append({u"tracks"_s, share(countLikeness(files, int(tracks.size())), TracksShare), TracksShare});
    candidate.criteria.append({u"lengths"_s, timed ? share(lengths / timed, LengthsShare) : 0, timed ? LengthsShare : 0});
    candidate.criteria.append({u"titles"_s, titled ? share(titles / titled, TitlesShare) : 0, titled ? TitlesShare : 0});
    const bool artistKnown = !evidence.artist.isEmpty();
    candidate.criteria.append({u"artist"_s, artistKnown ? share(textLikeness(release.artist, evidence.artist), ArtistShare) : 0,
                               artistKnown ? ArtistShare : 0});
    const bool albumKnown = !evidence.album.isEmpty();
    candidate.criteria.append({u"album"_s, albumKnown ? share(textLikeness(release.title, evidence.album), AlbumShare) : 0,
                               albumKnown ? AlbumShare : 0});
    const bool yearKnown = !evidence.year.isEmpty();
    int yearPoints = 0;
    if (yearKnown && release.year.size() == 4) {
        const int off = std::abs(release.year.toInt() - evidence.year.toInt());
        yearPoints = off == 0 ? YearShare : off == 1 ? YearShare / 2 : 0;
    }
    candidate.criteria.append({u"year"_s, yearPoints, yearKnown ? YearShare : 0});
    int points = 0;
    int shares = 0;
    for (const Criterion &c : std::as_const(candidate.criteria)) {
        points += c.points;
        shares += c.share;
    }
    candidate.score = shares > 0 ? int(std::lround(1000.0 * points / shares)) : 0;
    return candidate;
}

} // namespace

Candidate scoreCandidate(const SearchHit &hit, const MbRelease &release, const FolderEvidence &evidence)
{
    Candidate best = scoreTrackList(hit, release, -1, evidence);
    const int files = int(evidence.files.size());
    // A folder may hold one medium of a release of several: that medium is then the track list.
    if (release.media.size() > 1 && release.trackCount() != files) {
        for (int m = 0; m < release.media.size(); ++m) {
            if (release.media.at(m).tracks.size() != files)
                continue;
            const Candidate one = scoreTrackList(hit, release, m, evidence);
            if (one.score > best.score)
                best = one;
        }
    }
    return best;
}

void rankCandidates(QList<Candidate> &candidates)
{
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.score != b.score ? a.score > b.score : a.hit.rank < b.hit.rank;
    });
}

AlbumRecord recordForCandidate(const Candidate &candidate, const WorkingList &files, const FolderEvidence &evidence,
                               const QString &coverArtService, QList<PairScore> *scores)
{
    LookupContext lookup;
    lookup.files = files;
    fillRecordFromRelease(candidate.release, candidate.medium, coverArtService, lookup);
    addNotFoundRows(lookup.record, files);
    const QList<PairScore> pairs = pairByBestMatch(lookup.record, evidence.files);
    if (scores)
        *scores = pairs;
    return lookup.record;
}
