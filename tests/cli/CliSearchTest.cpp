// varnelt-cli lookup --search, --best and --pairing end to end: the web service's answers are
// served from 127.0.0.1 (tests/data/lookup/search), the folders hold real MP3 files whose
// lengths, names and tags are the evidence.
#include "CliRunner.h"
#include "support/LocalWebServer.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

// The plain album's tracks and lengths, as the service's release answer holds them.
const QStringList Titles = {u"Aurora Rising"_s, u"Cold Harbour"_s, u"Northern Lights"_s, u"Paper Boats"_s,
                            u"The Long Night"_s, u"Silver Birch"_s, u"Midnight Sun"_s, u"Frozen Lake"_s,
                            u"Wolves"_s, u"Homeward"_s};
const QList<int> Lengths = {245, 198, 312, 187, 276, 230, 301, 219, 264, 355};

QByteArray timedSong(int seconds, const QString &title = {})
{
    const Mp3Writer::Frame f;
    return (title.isEmpty() ? QByteArray() : Mp3Writer::id3v2({{"TIT2", title}}))
           + Mp3Writer::xingFrame(f, quint32(Mp3Writer::framesFor(seconds, f))) + Mp3Writer::frames(f, 3);
}

class CliSearchTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        server_ = std::make_unique<LocalWebServer>(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/search"_s);
        ASSERT_NE(server_->port(), 0) << server_->said().toStdString();
        pointServiceAt(u"http://%1/ws/2"_s.arg(server_->root()));
        // Files named a.mp3 ... j.mp3 holding the tracks in another order: their names say
        // nothing, their lengths everything.
        album_ = tempFile(u"The Example Band - Northern Lights"_s);
        for (int i = 0; i < Titles.size(); ++i) {
            const int track = (i * 3) % 10;
            songs_.insert(track, timedSong(Lengths.at(track) + 1));
            Mp3Writer::save(album_ + u'/' + QChar(char16_t(u'a' + i)) + u".mp3"_s, songs_.value(track));
        }
    }

    void pointServiceAt(const QString &service) const
    {
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.beginGroup(u"Sites"_s);
        settings.setValue(u"musicbrainzService"_s, service);
        settings.setValue(u"coverArtService"_s, u"http://%1/caa"_s.arg(server_->root()));
        settings.sync();
    }

    std::unique_ptr<LocalWebServer> server_;
    QString album_;
    QMap<int, QByteArray> songs_;
};

} // namespace

TEST_F(CliSearchTest, CandidatesBestFirstAndTheBestOnesRecordPairedByBestMatch)
{
    const CliRun listed = run({u"lookup"_s, album_, u"--search"_s});
    ASSERT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    const QStringList lines = listed.lines();
    ASSERT_EQ(lines.size(), 8) << listed.out.toStdString();
    EXPECT_EQ(lines.at(0), u"1000\t25000002-0000-4000-8000-000000000002\tThe Example Band\tNorthern Lights\t1998\t10"_s);
    EXPECT_TRUE(lines.at(1).endsWith(u"\t25000003-0000-4000-8000-000000000003\tThe Example Band\tNorthern Lights\t2008\t14"_s))
        << "the deluxe edition next";
    const QString requests = server_->requests();
    EXPECT_TRUE(requests.contains(u"GET /ws/2/release?query=release:(northern%20lights)%20AND%20artist:(the%20example%20band)&limit=25&fmt=json"_s))
        << requests.toStdString();

    // What to search for given on the command line: the query holds those words instead.
    const CliRun named = run({u"lookup"_s, album_, u"--search"_s, u"--artist"_s, u"Aurora Singers"_s, u"--album"_s,
                              u"Northern \"Lights\" (OR)"_s, u"--timeout"_s, u"20"_s});
    ASSERT_EQ(named.exitCode, 0) << named.err.toStdString();
    EXPECT_TRUE(server_->requests().contains(u"GET /ws/2/release?query=release:(northern%20lights%20or)%20AND%20artist:(aurora%20singers)&limit=25&fmt=json"_s))
        << server_->requests().toStdString();

    const CliRun best = run({u"lookup"_s, album_, u"--search"_s, u"--best"_s});
    ASSERT_EQ(best.exitCode, 0) << best.err.toStdString();
    EXPECT_EQ(best.lines().mid(0, 8), QStringList({u"artist: The Example Band"_s, u"album: Northern Lights"_s,
        u"genre: rock"_s, u"year: 1998"_s, u"cover: http://%1/caa/release/25000002-0000-4000-8000-000000000002/front"_s.arg(server_->root()),
        u"01 - Aurora Rising\ta.mp3\t100\tlength 4:06 / 4:05"_s, u"02 - Cold Harbour\th.mp3\t100\tlength 3:19 / 3:18"_s,
        u"03 - Northern Lights\te.mp3\t100\tlength 5:13 / 5:12"_s}));
    EXPECT_TRUE(best.lines().value(15).startsWith(u"Album score : "_s)) << best.out.toStdString();

    // Asked to pair by position instead, the files stay in list order and show no scores.
    const CliRun position = run({u"lookup"_s, album_, u"--search"_s, u"--best"_s, u"--pairing"_s, u"position"_s});
    ASSERT_EQ(position.exitCode, 0) << position.err.toStdString();
    EXPECT_EQ(position.lines().value(6), u"02 - Cold Harbour\tb.mp3"_s);

    // The service knows nothing at that address: one line, exit 1. Bad usage: 2.
    pointServiceAt(u"http://%1/nothing/ws/2"_s.arg(server_->root()));
    const CliRun none = run({u"lookup"_s, album_, u"--search"_s});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_EQ(none.err, u"varnelt-cli: The MusicBrainz web service did not answer (HTTP status 404).\n"_s);
    EXPECT_EQ(run({u"lookup"_s, album_, u"--search"_s, u"http://x/"_s}).exitCode, 2);
    EXPECT_EQ(run({u"lookup"_s, album_, u"--best"_s, u"http://x/"_s}).exitCode, 2);
    EXPECT_EQ(run({u"lookup"_s, album_, u"--search"_s, u"--pairing"_s, u"closest"_s}).exitCode, 2);
    EXPECT_EQ(run({u"rename"_s, album_, u"--search"_s}).exitCode, 2);
    EXPECT_EQ(run({u"rename"_s, album_, u"--search"_s, u"--best"_s, u"--titles"_s, u"t.txt"_s}).exitCode, 2);
}

TEST_F(CliSearchTest, RenameWithTheBestCandidateAndBestMatchOnPastedText)
{
    // --auto-order means --pairing auto with --search as with every lookup: the names' order,
    // not the lengths'.
    const QStringList plan = {u"rename"_s, album_, u"--search"_s, u"--best"_s, u"--mask"_s, u"%track - %title"_s,
                              u"--dest"_s, u"MP3 directory"_s, u"--dry-run"_s};
    const CliRun autoOrder = run(plan + QStringList{u"--auto-order"_s});
    const CliRun pairingAuto = run(plan + QStringList{u"--pairing"_s, u"auto"_s});
    ASSERT_EQ(autoOrder.exitCode, 0) << autoOrder.err.toStdString();
    EXPECT_EQ(autoOrder.out, pairingAuto.out);
    QStringList byLength;
    for (int i = 0; i < Titles.size(); ++i)
        byLength << u"%1/%2 - %3.mp3"_s.arg(album_).arg(i + 1, 2, 10, QLatin1Char('0')).arg(Titles.at(i));
    EXPECT_NE(autoOrder.lines(), byLength) << autoOrder.out.toStdString();
    EXPECT_EQ(run(plan).lines(), byLength) << "best match pairs by length";

    const CliRun renamed = run({u"rename"_s, album_, u"--search"_s, u"--best"_s, u"--mask"_s, u"%track - %title"_s,
                                u"--dest"_s, u"MP3 directory"_s});
    ASSERT_EQ(renamed.exitCode, 0) << renamed.out.toStdString() << renamed.err.toStdString();
    QStringList expected;
    for (int i = 0; i < Titles.size(); ++i)
        expected << u"%1 - %2.mp3"_s.arg(i + 1, 2, 10, QLatin1Char('0')).arg(Titles.at(i));
    EXPECT_EQ(QDir(album_).entryList({u"*.mp3"_s}, QDir::Files, QDir::Name), expected);
    // Each file went to the track of its length.
    for (int i = 0; i < Titles.size(); ++i) {
        const QByteArray bytes = readAll(album_ + u'/' + expected.at(i));
        EXPECT_TRUE(bytes.contains(songs_.value(i))) << expected.at(i).toStdString();
    }

    // Pasted titles without lengths, files tagged with the titles in another order.
    const QString other = tempFile(u"Pasted"_s);
    Mp3Writer::save(other + u"/p.mp3"_s, timedSong(200, u"Wolves"_s));
    Mp3Writer::save(other + u"/q.mp3"_s, timedSong(200, u"AURORA RISING (Remastered)"_s));
    const QString list = tempFile(u"list.txt"_s);
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1.\tAurora Rising\n2.\tCold Harbour\n3.\tWolves\n");
    file.close();
    const CliRun pasted = run({u"lookup"_s, other, u"--from-text"_s, list, u"--pairing"_s, u"best"_s});
    ASSERT_EQ(pasted.exitCode, 0) << pasted.err.toStdString();
    EXPECT_EQ(pasted.lines().mid(5, 3), QStringList({u"01 - Aurora Rising\tq.mp3\t100\ttitle 100 %"_s,
                                                     u"02 - Cold Harbour\t***** Not Found *****"_s,
                                                     u"03 - Wolves\tp.mp3\t100\ttitle 100 %"_s}));
}
