// The album search without browsing: candidates from the web service's release search, read in
// full and scored against folders of real MP3 files. The answers under tests/data/lookup/search
// are written in the service's shapes: a deluxe edition beside the plain one, a live recording
// with other lengths, a namesake by another artist, a two-disc release, an enhanced CD with a
// hidden pregap track and a data track, a single, a compilation, a bootleg and two broken hits.
#include "lookup/AlbumSearch.h"
#include "lookup/FileEvidence.h"
#include "naming/QStringPrinter.h"
#include "support/CannedService.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

const QString Service = QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/search"_s;
const QString Releases = Service + u"/ws/2/release"_s;

QString id(int n)
{
    return u"%1-0000-4000-8000-%2"_s.arg(0x25000000 + n, 8, 16, QLatin1Char('0')).arg(n, 12, 16, QLatin1Char('0'));
}

struct Song
{
    QString name;
    int seconds = 0;
    QString title{};
    QString artist{};
    QString album{};
};

/// A small MP3 file that plays for the song's length: a Xing frame counting its frames.
QByteArray timedSong(const Song &song)
{
    QList<Mp3Writer::TextFrame> frames;
    for (const auto &[frameId, text] : {std::pair{QByteArray("TIT2"), song.title}, {"TPE1", song.artist}, {"TALB", song.album}}) {
        if (!text.isEmpty())
            frames.append({frameId, text});
    }
    const Mp3Writer::Frame f;
    return (frames.isEmpty() ? QByteArray() : Mp3Writer::id3v2(frames))
           + Mp3Writer::xingFrame(f, quint32(Mp3Writer::framesFor(song.seconds, f))) + Mp3Writer::frames(f, 3);
}

/// The tracks of a release fixture: titles and lengths in seconds, every medium in order.
QList<std::pair<QString, int>> tracksOf(int n, int medium = -1)
{
    const QJsonObject release = QJsonDocument::fromJson(readAll(Releases + u'/' + id(n))).object();
    QList<std::pair<QString, int>> tracks;
    const QJsonArray media = release.value(u"media"_s).toArray();
    for (int m = 0; m < media.size(); ++m) {
        if (medium >= 0 && m != medium)
            continue;
        for (const QJsonValue &t : media.at(m).toObject().value(u"tracks"_s).toArray())
            tracks.append({t[u"title"_s].toString(), t[u"length"_s].toInt() / 1000});
    }
    return tracks;
}

class AlbumSearchTest : public VarneltTest
{
protected:
    /// Writes the folder's files and reads its evidence as the lookup window does.
    FolderEvidence folder(const QString &name, const QList<Song> &songs, WorkingList *list = nullptr)
    {
        const QString path = tempFile(name);
        WorkingList files;
        for (const Song &song : songs) {
            EXPECT_TRUE(Mp3Writer::save(path + u'/' + song.name, timedSong(song)));
            files.fileNames << song.name;
        }
        if (list)
            *list = files;
        return readFolderEvidence(path, files);
    }

    /// Songs named "01.mp3"... holding the release's tracks, each a second longer or shorter.
    static QList<Song> numbered(const QList<std::pair<QString, int>> &tracks, bool titled = false)
    {
        QList<Song> songs;
        for (int i = 0; i < tracks.size(); ++i)
            songs.append({u"%1.mp3"_s.arg(i + 1, 2, 10, QLatin1Char('0')), tracks.at(i).second + (i % 3) - 1,
                          titled ? tracks.at(i).first : QString()});
        return songs;
    }

    /// Every release of the search answer, read and scored against the folder, best first.
    static QList<Candidate> ranked(const FolderEvidence &evidence)
    {
        QList<SearchHit> hits;
        EXPECT_EQ(parseReleaseSearch(readAll(Releases + u"/index.html"_s), AlbumSearch::MaxResults, hits), QString());
        QList<Candidate> candidates;
        for (const SearchHit &hit : hits) {
            MbRelease release;
            if (parseMusicBrainzRelease(readAll(Releases + u'/' + hit.id), release).isEmpty())
                candidates.append(scoreCandidate(hit, release, evidence));
        }
        rankCandidates(candidates);
        return candidates;
    }
};

} // namespace

TEST_F(AlbumSearchTest, TheRightReleaseRanksFirstAmongEditionsLiveTakesAndNamesakes)
{
    QList<SearchHit> hits;
    ASSERT_EQ(parseReleaseSearch(readAll(Releases + u"/index.html"_s), AlbumSearch::MaxResults, hits), QString());
    ASSERT_EQ(hits.size(), 11) << "a hit whose id is no MBID is dropped";
    EXPECT_EQ(hits.at(4).title, QString()) << "a title that is no text is none";
    EXPECT_EQ(hits.at(4).trackCount, 0);
    EXPECT_EQ(hits.at(4).engineScore, 0);

    // Numbered files of the plain album's lengths, no tags: the folder name gives artist and
    // album. The deluxe edition holds the same tracks and four more, the live album the same
    // titles at other lengths, the namesake the same title by another artist.
    const FolderEvidence plain = folder(u"The Example Band - Northern Lights [1998]"_s, numbered(tracksOf(2)));
    EXPECT_EQ(plain.artist, u"The Example Band"_s);
    EXPECT_EQ(plain.album, u"Northern Lights"_s);
    const QList<Candidate> forPlain = ranked(plain);
    ASSERT_GE(forPlain.size(), 10);
    EXPECT_EQ(forPlain.at(0).hit.id, id(2)) << forPlain.at(0).criteriaText().toStdString();
    EXPECT_EQ(forPlain.at(0).criteriaText(), u"tracks 250/250, lengths 350/350, titles -, artist 75/75, album 75/75, year -"_s);
    EXPECT_EQ(forPlain.at(0).score, 1000);
    EXPECT_EQ(forPlain.at(1).hit.id, id(3)) << "the deluxe edition next: four tracks too many";
    const auto scoreOf = [](const QList<Candidate> &list, int n) {
        for (const Candidate &c : list) {
            if (c.hit.id == id(n))
                return c.score;
        }
        return -1;
    };
    EXPECT_LT(scoreOf(forPlain, 4), 600) << "the live album's lengths are all another half minute and more";
    EXPECT_LT(scoreOf(forPlain, 1), 700) << "the namesake, though four of its lengths are near";

    // The same songs, tagged, at the deluxe edition's full length: the deluxe edition.
    QList<Song> deluxe = numbered(tracksOf(3), true);
    for (Song &song : deluxe)
        song.artist = u"The Example Band"_s, song.album = u"Northern Lights"_s;
    EXPECT_EQ(ranked(folder(u"Deluxe"_s, deluxe)).at(0).hit.id, id(3));

    // Titled files at the live lengths: the live album, though its title is a word longer.
    EXPECT_EQ(ranked(folder(u"The Example Band - Northern Lights"_s, numbered(tracksOf(4), true))).at(0).hit.id, id(4));

    // Named after the namesake's titles, at its lengths.
    QList<Song> namesake;
    for (const auto &[title, seconds] : tracksOf(1))
        namesake.append({title + u".mp3"_s, seconds});
    EXPECT_EQ(ranked(folder(u"Aurora Singers - Northern Lights"_s, namesake)).at(0).hit.id, id(1));

    // The second disc of the two-disc release alone: that disc is the candidate's track list.
    const QList<Candidate> rarities = ranked(folder(u"The Example Band - Rarities"_s, numbered(tracksOf(5, 1), true)));
    EXPECT_EQ(rarities.at(0).hit.id, id(5));
    EXPECT_EQ(rarities.at(0).medium, 1);
    EXPECT_EQ(rarities.at(0).trackCount(), 6);
    EXPECT_TRUE(rarities.at(0).criteriaText().endsWith(u"(disc 2 of 2)"_s)) << rarities.at(0).criteriaText().toStdString();

    // The enhanced CD counts ten tracks in the search, but eight are audio: a hidden pregap
    // track and a data track are no tracks for files.
    WorkingList list;
    QList<Song> eight;
    for (const auto &[title, seconds] : tracksOf(8))
        eight.append({QString(QChar(char16_t(u'a' + eight.size()))) + u".mp3"_s, seconds});
    const FolderEvidence skies = folder(u"The Example Band - Southern Skies"_s, eight, &list);
    const QList<Candidate> enhanced = ranked(skies);
    ASSERT_EQ(enhanced.at(0).hit.id, id(8));
    EXPECT_EQ(enhanced.at(0).criteria.at(0).points, 250) << enhanced.at(0).criteriaText().toStdString();
    QList<PairScore> scores;
    const AlbumRecord record = recordForCandidate(enhanced.at(0), list, skies, u"http://caa"_s, &scores);
    ASSERT_EQ(record.rows.size(), 8);
    EXPECT_EQ(record.rows.at(0), (TrackRow{u"01 - Sunrise"_s, u"a.mp3"_s, u"FileIcon"_s}));
    EXPECT_EQ(record.rows.at(7).text, u"08 - Coming Home"_s);
    EXPECT_EQ(record.trackLengths.value(1), 301);
    EXPECT_EQ(scores.at(7).reason, u"length 4:35 / 4:35"_s);
    EXPECT_EQ(record.coverUrl, u"http://caa/release/%1/front"_s.arg(id(8)));
}

TEST_F(AlbumSearchTest, ASearchAgainstTheServiceReadsAtMostEightReleasesOneASecond)
{
    CannedService service(Service);
    const FolderEvidence evidence = folder(u"The Example Band - Northern Lights [1998]"_s, numbered(tracksOf(2)));
    AlbumSearch search;
    QList<Candidate> found;
    QString error = u"not finished"_s;
    QEventLoop loop;
    QObject::connect(&search, &AlbumSearch::finished, &loop, [&](const QList<Candidate> &candidates, const QString &why) {
        found = candidates;
        error = why;
        loop.quit();
    });
    QElapsedTimer clock;
    clock.start();
    search.start(evidence, service.root() + u"/ws/2"_s);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    const qint64 took = clock.elapsed();
    ASSERT_EQ(error, QString());
    ASSERT_EQ(found.size(), 8);
    EXPECT_EQ(found.at(0).hit.id, id(2));
    const QList<CannedService::Request> &requests = service.requests();
    ASSERT_EQ(requests.size(), 9) << "the search and eight releases";
    const QUrlQuery query(QUrl(QString::fromLatin1(requests.at(0).line.split(' ').value(1))));
    EXPECT_EQ(query.queryItemValue(u"query"_s, QUrl::FullyDecoded), u"release:(northern lights) AND artist:(the example band)"_s);
    EXPECT_EQ(query.queryItemValue(u"limit"_s), u"25"_s);
    EXPECT_TRUE(requests.at(0).line.startsWith("GET /ws/2/release?"));
    EXPECT_TRUE(requests.at(0).headers.contains("User-Agent: Varnelt/")) << "the search names the program too";
    for (int i = 1; i < requests.size(); ++i) {
        EXPECT_GE(requests.at(i).at - requests.at(i - 1).at, 950) << "never more than one request a second";
        EXPECT_TRUE(requests.at(i).headers.contains("User-Agent: Varnelt/"));
        EXPECT_TRUE(requests.at(i).line.contains("inc=recordings"));
    }
    // The broken hit and the two least likely are not read.
    for (const CannedService::Request &r : requests)
        EXPECT_FALSE(r.line.contains(id(9).toLatin1())) << "the 20-track compilation";
    std::cout << "[ time     ] a search with 8 candidates: " << took << " ms\n";
}

TEST_F(AlbumSearchTest, RefusedMalformedEmptyUnreachableAndSilentServicesGiveOneMessage)
{
    const FolderEvidence evidence = folder(u"The Example Band - Northern Lights"_s, numbered(tracksOf(2)));
    const auto run = [&](const QString &root, int timeoutMs = 30000) {
        AlbumSearch search;
        QString error = u"not finished"_s;
        int found = -1;
        QEventLoop loop;
        QObject::connect(&search, &AlbumSearch::finished, &loop, [&](const QList<Candidate> &candidates, const QString &why) {
            found = int(candidates.size());
            error = why;
            loop.quit();
        });
        search.start(evidence, root + u"/ws/2"_s, timeoutMs);
        QTimer::singleShot(timeoutMs + 5000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(found, error.isEmpty() ? found : 0);
        return std::pair{found, error};
    };

    // Refused once: asked again after a pause, and the second answer counts.
    CannedService busyOnce;
    busyOnce.script(u"/ws/2/release"_s, 503, "busy");
    busyOnce.script(u"/ws/2/release"_s, 200, "{\"created\": \"x\", \"count\": 0, \"offset\": 0, \"releases\": []}");
    EXPECT_EQ(run(busyOnce.root()).second, u"No album was found on MusicBrainz for \"Northern Lights\"."_s);
    ASSERT_EQ(busyOnce.requests().size(), 2);
    EXPECT_GE(busyOnce.requests().at(1).at - busyOnce.requests().at(0).at, AlbumSearch::RetryPauseMs - 100);

    // Refused twice: no third try.
    CannedService busy;
    busy.script(u"/ws/2/release"_s, 503, "busy", 5);
    EXPECT_EQ(run(busy.root()).second,
              u"The MusicBrainz web service refused the request twice (HTTP status 503): it is busy; try again later."_s);
    EXPECT_EQ(busy.requests().size(), 2);

    // Not a search result, or releases of another type.
    for (const QByteArray &answer : {QByteArray("<html>Bad Gateway</html>"), QByteArray("{\"releases\": {\"id\": 1}}"),
                                     QByteArray("[]"), QByteArray(200000, '[')}) {
        CannedService broken;
        broken.script(u"/ws/2/release"_s, 200, answer);
        EXPECT_EQ(run(broken.root()).second, u"The MusicBrainz web service gave an answer that is not a search result."_s);
    }

    // A search whose one release cannot be read: that release's message.
    CannedService hollow;
    hollow.script(u"/ws/2/release"_s, 200, "{\"releases\": [{\"id\": \"" + id(2).toLatin1() + "\", \"title\": \"Northern Lights\"}]}");
    hollow.script(u"/ws/2/release/"_s + id(2), 200, "{\"id\": \"" + id(2).toLatin1() + "\", \"title\": \"T\", \"media\": [{\"tracks\": []}]}");
    EXPECT_EQ(run(hollow.root()).second, u"The MusicBrainz release has no tracks."_s);

    // Numbers no count or length can be and fields of the wrong type: taken as unknown, and
    // the release is still a candidate, its tracks without lengths judged by the other evidence.
    CannedService odd;
    const QByteArray oddId = id(2).toLatin1();
    odd.script(u"/ws/2/release"_s, 200, "{\"releases\": [{\"id\": \"" + oddId + "\", \"title\": \"Northern Lights\", "
               "\"score\": 1e300, \"track-count\": 1e300, \"artist-credit\": \"x\", "
               "\"media\": [{\"track-count\": -3, \"format\": 7}, 5]}]}");
    odd.script(u"/ws/2/release/"_s + id(2), 200, "{\"id\": \"" + oddId + "\", \"title\": \"Northern Lights\", "
               "\"date\": 19980316, \"artist-credit\": [{\"name\": 5}], \"genres\": {\"name\": \"rock\"}, "
               "\"media\": [{\"format\": null, \"tracks\": [{\"title\": \"A\", \"length\": 1e300}, "
               "{\"title\": \"B\", \"length\": \"245000\"}, {\"title\": \"C\", \"length\": -1, "
               "\"recording\": {\"length\": 1e308}}, {\"title\": \"D\", \"position\": 1e300}]}]}");
    {
        AlbumSearch search;
        QList<Candidate> found;
        QString why = u"not finished"_s;
        QEventLoop loop;
        QObject::connect(&search, &AlbumSearch::finished, &loop, [&](const QList<Candidate> &candidates, const QString &error) {
            found = candidates;
            why = error;
            loop.quit();
        });
        search.start(evidence, odd.root() + u"/ws/2"_s, 30000);
        QTimer::singleShot(35000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_EQ(why, QString());
        ASSERT_EQ(found.size(), 1);
        const Candidate &c = found.first();
        EXPECT_EQ(c.hit.engineScore, 100);
        EXPECT_EQ(c.hit.trackCount, 0);
        EXPECT_EQ(c.hit.mediumTrackCounts, QList<int>({0, 0}));
        EXPECT_EQ(c.release.year, QString());
        EXPECT_EQ(c.release.artist, QString());
        EXPECT_EQ(c.trackCount(), 4);
        for (const MbTrack &track : c.release.media.first().tracks)
            EXPECT_EQ(track.lengthSeconds, -1) << track.title.toStdString();
        EXPECT_TRUE(c.criteriaText().startsWith(u"tracks 100/250, "_s)) << c.criteriaText().toStdString();
    }

    // Nobody listening, and a service that never answers.
    QString closed;
    {
        CannedService gone;
        closed = gone.root();
    }
    EXPECT_TRUE(run(closed).second.startsWith(u"The MusicBrainz web service did not answer ("_s));
    CannedService silent;
    silent.setSilent(true);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run(silent.root(), 1500).second, u"The MusicBrainz web service did not answer within 1 s."_s);
    EXPECT_LT(clock.elapsed(), 4000) << "no hang past the time limit";
}
