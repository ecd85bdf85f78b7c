// The MusicBrainz reader: release pages recognised by address, the search filler, and the
// record filled from the web service's answers (written in the service's shape).
#include "PageBuilder.h"
#include "lookup/LookupStates.h"
#include "lookup/MusicBrainz.h"
#include "naming/QStringPrinter.h"
#include "support/TestEnv.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

TEST(MusicBrainz, ReleasePagesAndTheSearchFiller)
{
    LookupContext lookup;
    lookup.search = {u"/music/Folder/"_s, u"Alpha"_s, u"Peaks"_s};
    PageBuilder search(u"https://musicbrainz.org/search"_s);
    search.field(u"INPUT"_s, u"<INPUT type=submit>"_s).field(u"INPUT"_s, u"<INPUT name=query type=text>"_s, true)
        .field(u"SELECT"_s, u"<SELECT name=type id=type>"_s).field(u"BUTTON"_s, u"<BUTTON type=submit>"_s);
    EXPECT_FALSE(pollTick(search.doc(), lookup));
    EXPECT_EQ(lookup.actions, ElementActions({ElementAction::setAttribute(search.doc(), 1, u"value"_s, u"Alpha - Peaks"_s),
                                              ElementAction::setAttribute(search.doc(), 2, u"value"_s, u"release"_s),
                                              ElementAction::click(search.doc(), 3)}));
    pollTick(search.doc(), lookup);
    EXPECT_TRUE(lookup.actions.isEmpty()) << "once per visit";
    EXPECT_TRUE(lookup.pendingRelease.isEmpty());

    LookupContext release;
    PageBuilder page(u"https://musicbrainz.org/release/0F1E2D3C-4b5a-4978-8695-a4b3c2d1e0f9?x=1"_s);
    page.field(u"INPUT"_s, u"<INPUT name=query>"_s, true);
    EXPECT_FALSE(pollTick(page.doc(), release));
    EXPECT_TRUE(release.actions.isEmpty()) << "a release page's own search field is left alone";
    EXPECT_EQ(release.pendingRelease, u"0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9"_s);
    EXPECT_EQ(release.state.timerInterval, 0);
    EXPECT_EQ(releaseIdFromAddress(u"https://musicbrainz.org/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9/discids"_s).size(), 36);
    EXPECT_EQ(releaseIdFromAddress(u"https://musicbrainz.org/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9x"_s), QString());
    EXPECT_EQ(releaseIdFromAddress(u"https://musicbrainz.org/release-group/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9"_s), QString());

    const QUrl url = musicbrainzReleaseUrl(u"http://127.0.0.1:1/ws/2"_s, release.pendingRelease);
    EXPECT_EQ(url.path(), u"/ws/2/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9"_s);
    EXPECT_TRUE(url.query().contains(u"fmt=json"_s));
    EXPECT_TRUE(url.query().contains(u"inc=recordings+artist-credits+genres+release-groups"_s));
    EXPECT_TRUE(musicbrainzUserAgent().startsWith("Varnelt/"));
    EXPECT_TRUE(musicbrainzUserAgent().contains('@'));
}

TEST(MusicBrainz, RecordFromReleaseAnswers)
{
    LookupContext lookup;
    lookup.files.fileNames = {u"a.mp3"_s, u"b.mp3"_s};
    const QString none = readMusicBrainzRelease(readAll(fixturePath(u"lookup/mb-release-two-discs.json"_s)),
                                                u"http://127.0.0.1:2"_s, lookup);
    EXPECT_EQ(none, QString());
    const AlbumRecord &r = lookup.record;
    EXPECT_EQ(r.artist, u"Alpha Band & The Betas"_s);
    EXPECT_EQ(r.album, u"Twin Peaks Live"_s);
    EXPECT_EQ(r.year, u"1997"_s);
    // The most voted genre, the first of equal counts, named as every site's "Electronica" is.
    EXPECT_EQ(r.genre, u"Electronic"_s);
    EXPECT_EQ(r.coverUrl, u"http://127.0.0.1:2/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9/front"_s);
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_EQ(r.rows.at(0), (TrackRow{u"01 - Opening"_s, u"a.mp3"_s, u"FileIcon"_s}));
    EXPECT_EQ(r.rows.at(2), (TrackRow{u"03 - Closing/Encore"_s, u"***** Not Found *****"_s, u"FileIcon"_s}));

    LookupContext bare;
    EXPECT_EQ(readMusicBrainzRelease(readAll(fixturePath(u"lookup/mb-release-bare.json"_s)), u"x"_s, bare), QString());
    EXPECT_EQ(bare.record.year, QString());
    EXPECT_EQ(bare.record.genre, QString());
    EXPECT_EQ(bare.record.coverUrl, QString());
    EXPECT_EQ(bare.record.rows.first().text, u"01 - Side A"_s);

    // The release group's genre stands in for a release without one.
    QByteArray grouped = readAll(fixturePath(u"lookup/mb-release-two-discs.json"_s));
    grouped.replace("\"genres\": [\n", "\"other\": [\n");
    LookupContext group;
    EXPECT_EQ(readMusicBrainzRelease(grouped, u"x"_s, group), QString());
    EXPECT_EQ(group.record.genre, u"jazz"_s);

    // Anything that is not a whole release: one message, the record untouched.
    const QList<QByteArray> broken = {
        "<html>502 Bad Gateway</html>", "", "[1,2]", "{\"error\": \"Not Found\", \"help\": \"x\"}",
        "{\"id\": \"x\", \"title\": \"T\"}",
        "{\"id\": \"../../x\\n\", \"title\": \"T\", \"media\": [{\"tracks\": [{\"title\": \"ok\"}]}]}",
        "{\"id\": \"12345678-90ab-4cde-8f01-234567890abc\", \"title\": \"T\", \"media\": [{\"tracks\": [{\"title\": \"ok\"}, {\"length\": 1}]}]}",
        "{\"id\": \"12345678-90ab-4cde-8f01-234567890abc\", \"title\": \"T\", \"media\": []}", "{\"id\": \"x\", \"title\": \"T\", \"media\": [{\"tracks\": [{\"ti"};
    for (const QByteArray &answer : broken) {
        LookupContext failed;
        const QString message = readMusicBrainzRelease(answer, u"x"_s, failed);
        EXPECT_FALSE(message.isEmpty()) << answer.constData();
        EXPECT_TRUE(failed.record.rows.isEmpty() && failed.record.artist.isEmpty() && !failed.record.columnsCreated)
            << answer.constData();
    }
}

TEST(MusicBrainz, TheClientIdentifiesItselfWaitsASecondAndReportsErrors)
{
    // A web service on 127.0.0.1 answering 503 first, then a release.
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QList<QByteArray> requests;
    QList<qint64> arrivals;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
                const QByteArray request = socket->readAll();
                if (!request.contains("\r\n\r\n"))
                    return;
                requests << request;
                arrivals << clock.elapsed();
                // The third answer is larger than any release: it is cut off, and said to be so.
                const QByteArray body = requests.size() == 1 ? QByteArray("busy")
                    : requests.size() == 3                   ? QByteArray(MusicBrainzClient::MaxAnswerBytes + 4096, ' ')
                                                             : readAll(fixturePath(u"lookup/mb-release-bare.json"_s));
                socket->write((requests.size() == 1 ? "HTTP/1.1 503 Service Unavailable" : "HTTP/1.1 200 OK")
                              + QByteArray("\r\nContent-Length: ") + QByteArray::number(body.size())
                              + "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        }
    });
    const QString service = u"http://127.0.0.1:%1/ws/2"_s.arg(server.serverPort());
    MusicBrainzClient client;
    QStringList errors;
    QList<QByteArray> bodies;
    QEventLoop loop;
    const auto done = [&](const QByteArray &body, const QString &error) {
        bodies << body;
        errors << error;
        if (bodies.size() == 3)
            loop.quit();
    };
    for (int i = 0; i < 3; ++i)
        client.fetchRelease(service, u"12345678-90ab-4cde-8f01-234567890abc"_s, done);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_EQ(errors.value(2), u"The MusicBrainz answer is too large."_s);
    EXPECT_GE(arrivals.at(1) - arrivals.at(0), 950) << "never more than one request a second";
    EXPECT_TRUE(requests.first().contains("User-Agent: Varnelt/"));
    EXPECT_TRUE(requests.first().startsWith("GET /ws/2/release/12345678-90ab-4cde-8f01-234567890abc?inc="));
    EXPECT_EQ(errors.value(0), u"The MusicBrainz web service did not answer (HTTP status 503)."_s);
    EXPECT_TRUE(bodies.value(0).isEmpty());
    EXPECT_EQ(errors.value(1), QString());
    LookupContext lookup;
    EXPECT_EQ(readMusicBrainzRelease(bodies.value(1), u"x"_s, lookup), QString());
    EXPECT_EQ(lookup.record.album, u"Untitled Tape"_s);
}
