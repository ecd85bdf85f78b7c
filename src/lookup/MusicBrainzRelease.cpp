#include "lookup/MusicBrainzRelease.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// A hostile answer is cut down to what a record can hold.
constexpr int MaxMedia = 100;
constexpr int MaxCredits = 50;
constexpr int MaxGenres = 200;
constexpr qint64 LongestTrackMs = 24LL * 3600 * 1000;

/// The most voted genre's name; the first of equal counts.
QString topGenre(const QJsonArray &genres)
{
    QString name;
    double best = -1;
    int seen = 0;
    for (const QJsonValue &value : genres) {
        if (++seen > MaxGenres)
            break;
        const QJsonObject genre = value.toObject();
        const double count = genre.value(u"count"_s).toDouble(0);
        if (genre.value(u"name"_s).isString() && count > best) {
            best = count;
            name = genre.value(u"name"_s).toString();
        }
    }
    return name;
}

int lengthSeconds(const QJsonValue &value)
{
    if (!value.isDouble())
        return -1;
    const double ms = value.toDouble();
    if (!(ms > 0) || ms > double(LongestTrackMs))
        return -1;
    return int((qint64(ms) + 500) / 1000);
}

} // namespace

int MbRelease::trackCount() const
{
    int count = 0;
    for (const MbMedium &medium : media)
        count += int(medium.tracks.size());
    return count;
}

QString MbRelease::formatText() const
{
    QStringList parts;
    QList<int> counts;
    for (const MbMedium &medium : media) {
        if (medium.format.isEmpty())
            continue;
        const qsizetype at = parts.indexOf(medium.format);
        if (at >= 0) {
            ++counts[at];
        } else {
            parts << medium.format;
            counts << 1;
        }
    }
    for (int i = 0; i < parts.size(); ++i) {
        if (counts.at(i) > 1)
            parts[i] = u"%1×%2"_s.arg(counts.at(i)).arg(parts.at(i));
    }
    return parts.join(u" + "_s);
}

QString parseMusicBrainzRelease(const QByteArray &json, MbRelease &result)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return u"The MusicBrainz answer is not a release (%1)."_s.arg(parseError.errorString());
    const QJsonObject object = document.object();
    // The id becomes part of the cover's address: only a well-formed MBID is taken.
    static const QRegularExpression mbid(u"^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"_s);
    const QString id = object.value(u"id"_s).toString();
    const QJsonValue media = object.value(u"media"_s);
    if (!mbid.match(id).hasMatch() || !object.value(u"title"_s).isString() || !media.isArray())
        return u"The MusicBrainz answer is not a release: its id, title or media are missing."_s;

    MbRelease release;
    release.id = id;
    release.title = object.value(u"title"_s).toString();
    int tracks = 0;
    for (const QJsonValue &value : media.toArray()) {
        if (release.media.size() >= MaxMedia || tracks >= AlbumRecord::MaxTracks)
            break;
        const QJsonObject medium = value.toObject();
        MbMedium read;
        read.format = medium.value(u"format"_s).toString().left(40);
        for (const QJsonValue &trackValue : medium.value(u"tracks"_s).toArray()) {
            if (tracks >= AlbumRecord::MaxTracks)
                break;
            const QJsonObject track = trackValue.toObject();
            const QJsonValue title = track.value(u"title"_s);
            if (!title.isString())
                return u"The MusicBrainz answer has a track without title."_s;
            int length = lengthSeconds(track.value(u"length"_s));
            if (length < 0)
                length = lengthSeconds(track.value(u"recording"_s).toObject().value(u"length"_s));
            read.tracks.append({title.toString(), length});
            ++tracks;
        }
        release.media.append(read);
    }
    if (tracks == 0)
        return u"The MusicBrainz release has no tracks."_s;

    int credits = 0;
    for (const QJsonValue &value : object.value(u"artist-credit"_s).toArray()) {
        if (++credits > MaxCredits)
            break;
        const QJsonObject credit = value.toObject();
        release.artist += credit.value(u"name"_s).toString() + credit.value(u"joinphrase"_s).toString();
    }
    release.year = object.value(u"date"_s).toString().left(4);
    release.genre = topGenre(object.value(u"genres"_s).toArray());
    if (release.genre.isEmpty())
        release.genre = topGenre(object.value(u"release-group"_s).toObject().value(u"genres"_s).toArray());
    release.disambiguation = object.value(u"disambiguation"_s).toString().left(200);
    release.hasFrontCover = object.value(u"cover-art-archive"_s).toObject().value(u"front"_s).toBool();
    result = release;
    return {};
}

void fillRecordFromRelease(const MbRelease &release, int medium, const QString &coverArtService,
                           LookupContext &lookup)
{
    AlbumRecord &record = lookup.record;
    QString genre = release.genre;
    int n = 0;
    for (int m = 0; m < release.media.size(); ++m) {
        if (medium >= 0 && m != medium)
            continue;
        for (const MbTrack &track : release.media.at(m).tracks) {
            if (!addFoundTrack(record, lookup.files, ++n, track.title, release.artist, release.title, genre, release.year))
                break;
            record.trackLengths.append(track.lengthSeconds);
        }
    }
    if (release.hasFrontCover)
        record.coverUrl = coverArtService + u"/release/"_s + release.id + u"/front"_s;
}
