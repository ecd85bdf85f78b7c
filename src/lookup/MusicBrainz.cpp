#include "lookup/MusicBrainz.h"

#include "foundation/Version.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTimer>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

QUrl musicbrainzReleaseUrl(const QString &service, const QString &mbid)
{
    QUrl url(service + u"/release/"_s + mbid);
    QUrlQuery query;
    query.addQueryItem(u"inc"_s, u"recordings+artist-credits+genres+release-groups"_s);
    query.addQueryItem(u"fmt"_s, u"json"_s);
    url.setQuery(query);
    return url;
}

QByteArray musicbrainzUserAgent()
{
    return "Varnelt/" + QString(Version::number()).replace(u' ', u'-').toUtf8() + " ( feedback@varnelt.example.org )";
}

namespace {

/// The most voted genre's name; the first of equal counts.
QString topGenre(const QJsonArray &genres)
{
    QString name;
    double best = -1;
    for (const QJsonValue &value : genres) {
        const QJsonObject genre = value.toObject();
        const double count = genre.value(u"count"_s).toDouble(0);
        if (genre.value(u"name"_s).isString() && count > best) {
            best = count;
            name = genre.value(u"name"_s).toString();
        }
    }
    return name;
}

} // namespace

QString readMusicBrainzRelease(const QByteArray &json, const QString &coverArtService, LookupContext &lookup)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return u"The MusicBrainz answer is not a release (%1)."_s.arg(parseError.errorString());
    const QJsonObject release = document.object();
    // The id becomes part of the cover's address: only a well-formed MBID is taken.
    static const QRegularExpression mbid(u"^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"_s);
    const QString id = release.value(u"id"_s).toString();
    const QJsonValue media = release.value(u"media"_s);
    if (!mbid.match(id).hasMatch() || !release.value(u"title"_s).isString() || !media.isArray())
        return u"The MusicBrainz answer is not a release: its id, title or media are missing."_s;

    QStringList titles;
    for (const QJsonValue &medium : media.toArray()) {
        for (const QJsonValue &track : medium.toObject().value(u"tracks"_s).toArray()) {
            const QJsonValue title = track.toObject().value(u"title"_s);
            if (!title.isString())
                return u"The MusicBrainz answer has a track without title."_s;
            titles << title.toString();
        }
    }
    if (titles.isEmpty())
        return u"The MusicBrainz release has no tracks."_s;

    QString artist;
    for (const QJsonValue &value : release.value(u"artist-credit"_s).toArray()) {
        const QJsonObject credit = value.toObject();
        artist += credit.value(u"name"_s).toString() + credit.value(u"joinphrase"_s).toString();
    }
    const QString year = release.value(u"date"_s).toString().left(4);
    QString genre = topGenre(release.value(u"genres"_s).toArray());
    if (genre.isEmpty())
        genre = topGenre(release.value(u"release-group"_s).toObject().value(u"genres"_s).toArray());

    // Checked in full above: the record is filled completely or not at all.
    AlbumRecord &record = lookup.record;
    const QString album = release.value(u"title"_s).toString();
    for (int n = 1; n <= titles.size(); ++n) {
        if (!addFoundTrack(record, lookup.files, n, titles.at(n - 1), artist, album, genre, year))
            break;
    }
    if (release.value(u"cover-art-archive"_s).toObject().value(u"front"_s).toBool())
        record.coverUrl = coverArtService + u"/release/"_s + id + u"/front"_s;
    return {};
}

MusicBrainzClient::MusicBrainzClient(QObject *parent) : QObject(parent), network_(new QNetworkAccessManager(this))
{
}

void MusicBrainzClient::fetchRelease(const QString &service, const QString &mbid, Done done)
{
    const QUrl url = musicbrainzReleaseUrl(service, mbid);
    // The service allows one request a second from a client: later requests wait their turn.
    static QElapsedTimer sinceLast;
    static qint64 nextAllowed = 0;
    if (!sinceLast.isValid())
        sinceLast.start();
    const qint64 now = sinceLast.elapsed();
    const qint64 wait = std::max<qint64>(0, nextAllowed - now);
    nextAllowed = std::max(now, nextAllowed) + 1000;
    if (wait == 0)
        send(url, std::move(done));
    else
        QTimer::singleShot(int(wait), this, [this, url, done = std::move(done)]() mutable { send(url, std::move(done)); });
}

void MusicBrainzClient::send(const QUrl &url, Done done)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, musicbrainzUserAgent());
    request.setRawHeader("Accept", "application/json");
    request.setTransferTimeout(20000);
    QNetworkReply *reply = network_->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxAnswerBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)]() {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status != 200) {
            const QString why = status > 0 ? u"HTTP status %1"_s.arg(status) : reply->errorString();
            done({}, u"The MusicBrainz web service did not answer (%1)."_s.arg(why));
            return;
        }
        const QByteArray body = reply->read(MaxAnswerBytes + 1);
        if (body.size() > MaxAnswerBytes) {
            done({}, u"The MusicBrainz answer is too large."_s);
            return;
        }
        done(body, {});
    });
}
