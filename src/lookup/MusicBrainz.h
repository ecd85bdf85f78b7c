#pragma once
// The MusicBrainz site read through its web service (JSON, version 2): the release lookup's
// address, the record filled from its answer, and a client that asks the service politely (a
// User-Agent naming the program, never more than one request a second).

#include "lookup/SiteReaders.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;

/// The release lookup with recordings, artist credits, genres and its release group.
[[nodiscard]] QUrl musicbrainzReleaseUrl(const QString &service, const QString &mbid);

/// The User-Agent the service asks for: program, version and a contact address.
[[nodiscard]] QByteArray musicbrainzUserAgent();

/// Fills the record from a release lookup answer: artist from the artist credit with its join
/// phrases, title, year (first four characters of the date), genre (the release's most voted,
/// else its release group's), the tracks of every medium in order, the front cover's address
/// when the release has one. An answer that is not a release leaves the record untouched and
/// returns a one-line message; an empty text means success.
[[nodiscard]] QString readMusicBrainzRelease(const QByteArray &json, const QString &coverArtService,
                                             LookupContext &lookup);

/// Fetches release lookups, one request a second at most (for every client of the program).
class MusicBrainzClient : public QObject
{
    Q_OBJECT
public:
    explicit MusicBrainzClient(QObject *parent = nullptr);

    /// Calls done with the answer's body, or with an empty body and a one-line message.
    using Done = std::function<void(const QByteArray &body, const QString &error)>;
    void fetchRelease(const QString &service, const QString &mbid, Done done);

    /// Any request of the web service, through the same pace: done gets the body, the HTTP
    /// status (0 when none came) and a one-line message when there is no usable body.
    using Answer = std::function<void(const QByteArray &body, int status, const QString &error)>;
    void fetch(const QUrl &url, Answer done);

    /// The largest answer taken; a longer one is refused.
    static constexpr qint64 MaxAnswerBytes = 8 * 1024 * 1024;

private:
    void send(const QUrl &url, Answer done);

    QNetworkAccessManager *network_;
};
