#include "lookup/MusicBrainz.h"

#include "foundation/Version.h"
#include "lookup/MusicBrainzRelease.h"

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

QString readMusicBrainzRelease(const QByteArray &json, const QString &coverArtService, LookupContext &lookup)
{
    // Checked in full first: the record is filled completely or not at all.
    MbRelease release;
    if (QString problem = parseMusicBrainzRelease(json, release); !problem.isEmpty())
        return problem;
    fillRecordFromRelease(release, -1, coverArtService, lookup);
    return {};
}

MusicBrainzClient::MusicBrainzClient(QObject *parent) : QObject(parent), network_(new QNetworkAccessManager(this))
{
}

void MusicBrainzClient::fetchRelease(const QString &service, const QString &mbid, Done done)
{
    fetch(musicbrainzReleaseUrl(service, mbid), [done = std::move(done)](const QByteArray &body, int, const QString &error) {
        done(body, error);
    });
}

void MusicBrainzClient::fetch(const QUrl &url, Answer done)
{
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

void MusicBrainzClient::send(const QUrl &url, Answer done)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, musicbrainzUserAgent());
    request.setRawHeader("Accept", "application/json");
    request.setTransferTimeout(20000);
    QNetworkReply *reply = network_->get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxAnswerBytes) {
            // Aborted, the reply says "canceled" with the status 200 it had: the size is the cause.
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)]() {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->property("tooLarge").toBool()) {
            done({}, status, u"The MusicBrainz answer is too large."_s);
            return;
        }
        if (reply->error() != QNetworkReply::NoError || status != 200) {
            const QString why = status > 0 ? u"HTTP status %1"_s.arg(status) : reply->errorString();
            done({}, status, u"The MusicBrainz web service did not answer (%1)."_s.arg(why));
            return;
        }
        const QByteArray body = reply->read(MaxAnswerBytes + 1);
        if (body.size() > MaxAnswerBytes) {
            done({}, status, u"The MusicBrainz answer is too large."_s);
            return;
        }
        done(body, status, {});
    });
}
