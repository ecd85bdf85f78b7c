// varnelt-cli lookup end to end: the real engine opens each site's search page served from
// 127.0.0.1, the site's filler submits the search, the form leads to the album page, and the
// reader's record is printed. The "Sites" settings point every site at the local server.
#include "CliRunner.h"
#include "support/LocalWebServer.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QRegularExpression>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

class CliLookupTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        server_ = std::make_unique<LocalWebServer>(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/site"_s);
        ASSERT_NE(server_->port(), 0) << "python3 -m http.server did not start: " << server_->said().toStdString();
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.beginGroup(u"Sites"_s);
        for (const auto &[key, value] : localSiteSettings(server_->root()))
            settings.setValue(key, value);
        settings.sync();
        album_ = tempFile(u"Folder Artist - Folder Album [2001]"_s);
        for (const QString &name : {u"x-alpha"_s, u"x-bravo"_s, u"x-charlie"_s})
            Mp3Writer::save(album_ + u'/' + name + u".mp3"_s,
                            Mp3Writer::song({.title = name, .artist = u"Tag Artist"_s, .album = u"Tag Album"_s}));
    }

    CliRun lookup(const QString &site, const QStringList &options = {})
    {
        return run(QStringList{u"lookup"_s, album_, u"http://%1/%2/"_s.arg(server_->root(), site)} + options);
    }

    std::unique_ptr<LocalWebServer> server_;
    QString album_;
};

} // namespace

TEST_F(CliLookupTest, FreedbAndGracenoteSearchesLeadToTheirAlbumPages)
{
    const CliRun freedb = lookup(u"fdb"_s);
    ASSERT_EQ(freedb.exitCode, 0) << freedb.err.toStdString();
    EXPECT_EQ(freedb.lines().mid(0, 8), QStringList({u"artist: Some Artist"_s, u"album: Some Album"_s,
        u"genre: Electronic"_s, u"year: 1999"_s, u"cover: "_s, u"01 - Charlie\tx-alpha.mp3"_s,
        u"02 - Alpha\tx-bravo.mp3"_s, u"***** Not Found *****\tx-charlie.mp3"_s}));
    EXPECT_TRUE(freedb.lines().value(8).startsWith(u"Album score : "_s));
    // The search text is the folder's cleaned name.
    EXPECT_TRUE(server_->requests().contains(u"GET /fdb/freedb/rock/1234.html?words=Folder+Artist+-+Folder+Album"_s));

    // The selected files' tags give the search; only they are paired, in list order.
    const CliRun gracenote = lookup(u"gn"_s, {u"--only"_s, u"x-charlie.mp3"_s, u"--only"_s, u"x-alpha.mp3"_s});
    ASSERT_EQ(gracenote.exitCode, 0) << gracenote.err.toStdString();
    EXPECT_EQ(gracenote.lines().mid(0, 9), QStringList({u"artist: The Gracenote Artist"_s, u"album: The Disc"_s,
        u"genre: "_s, u"year: "_s, u"cover: "_s, u"01 - Alpha\tx-alpha.mp3"_s, u"02 - Bravo\tx-charlie.mp3"_s,
        u"03 - Charlie\t***** Not Found *****"_s, u"04 - Delta\t***** Not Found *****"_s}));
    EXPECT_TRUE(server_->requests().contains(u"GET /gn/album.html?q=Tag+Artist+-+Tag+Album"_s));
}

TEST_F(CliLookupTest, AmgAndMusicBrainzWithAutomaticOrderCoverAndTimeout)
{
    const CliRun amg = lookup(u"amg"_s, {u"--auto-order"_s});
    ASSERT_EQ(amg.exitCode, 0) << amg.err.toStdString();
    const QString root = server_->root();
    EXPECT_EQ(amg.lines(), QStringList({u"artist: The AMG Artist"_s, u"album: The AMG Album"_s, u"genre: Electronic"_s,
        u"year: 1989"_s, u"cover: http://%1/amg/amg/cov200/drc/c12345.jpg"_s.arg(root), u"01 - Charlie\tx-charlie.mp3"_s,
        u"02 - Alpha\tx-alpha.mp3"_s, u"03 - Bravo\tx-bravo.mp3"_s, u"Album score : 1000/1000"_s}));
    EXPECT_TRUE(server_->requests().contains(u"GET /amg/album.html?sql=Tag+Album&opt=2"_s));

    const CliRun mb = lookup(u"mb"_s);
    ASSERT_EQ(mb.exitCode, 0) << mb.err.toStdString();
    EXPECT_EQ(mb.lines().mid(0, 8), QStringList({u"artist: Alpha Band & The Betas"_s, u"album: Twin Peaks Live"_s,
        u"genre: Electronic"_s, u"year: 1997"_s,
        u"cover: http://%1/caa/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9/front"_s.arg(root),
        u"01 - Opening\tx-alpha.mp3"_s, u"02 - Second Song\tx-bravo.mp3"_s, u"03 - Closing/Encore\tx-charlie.mp3"_s}));
    const QString requests = server_->requests();
    EXPECT_TRUE(requests.contains(u"GET /mb/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9/?query=Tag+Artist+-+Tag+Album&type=release"_s))
        << requests.toStdString();
    EXPECT_TRUE(requests.contains(u"GET /ws/2/release/0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9?inc=recordings"_s));

    // A release the web service does not know: one clear message, no record.
    const CliRun unknown = lookup(u"mb/release/00000000-0000-4000-8000-000000000404"_s);
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_EQ(unknown.out, QString());
    EXPECT_TRUE(unknown.err.contains(u"The MusicBrainz web service did not answer (HTTP status 404)."_s))
        << unknown.err.toStdString();

    // The command's own lines on stderr (the engine may add warnings of its own).
    const auto said = [](const CliRun &r) {
        return r.err.split(u'\n').filter(QRegularExpression(u"^varnelt-cli: "_s));
    };
    // A release the reader refuses: that one reason, not a timeout that never happened.
    const QString refusedPage = u"http://%1/mb/release/1b2c3d4e-5f60-4718-8293-a4b5c6d7e8f9/"_s.arg(root);
    const CliRun refused = run({u"lookup"_s, album_, refusedPage});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, QString());
    EXPECT_EQ(said(refused), QStringList{u"varnelt-cli: The MusicBrainz release has no tracks."_s});
    const CliRun notRenamed = run({u"rename"_s, album_, u"--lookup"_s, refusedPage});
    EXPECT_EQ(notRenamed.exitCode, 1);
    EXPECT_EQ(said(notRenamed), QStringList{u"varnelt-cli: The MusicBrainz release has no tracks. Nothing renamed."_s});

    // A page no site reader recognises: exit 1 after the timeout; bad usage: 2.
    const CliRun none = run({u"lookup"_s, album_, u"http://%1/gn/index.html?not-a-site"_s.arg(root.left(9)),
                             u"--timeout"_s, u"2"_s});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(said(none), QStringList{u"varnelt-cli: no album page was recognised within 2 s"_s});
    EXPECT_EQ(run({u"lookup"_s, album_}).exitCode, 2);
    EXPECT_EQ(run({u"lookup"_s, album_, u"http://x/"_s, u"--only"_s, u"missing.mp3"_s}).exitCode, 2);
    EXPECT_EQ(run({u"lookup"_s, album_, u"http://x/"_s, u"--timeout"_s, u"soon"_s}).exitCode, 2);
}

TEST_F(CliLookupTest, RenameTakesTheAlbumAndCoverFromALookup)
{
    const CliRun renamed = run({u"rename"_s, album_, u"--lookup"_s, u"http://%1/amg/"_s.arg(server_->root()),
                                u"--auto-order"_s, u"--mask"_s, u"%artist - %album\\%track - %title"_s,
                                u"--year"_s, u"2002"_s});
    ASSERT_EQ(renamed.exitCode, 0) << renamed.out.toStdString() << renamed.err.toStdString();
    const QDir target(tempFile(u"The AMG Artist - The AMG Album"_s));
    EXPECT_EQ(target.entryList({u"*.mp3"_s}, QDir::Files, QDir::Name),
              QStringList({u"01 - Charlie.mp3"_s, u"02 - Alpha.mp3"_s, u"03 - Bravo.mp3"_s}));
    // The cover was downloaded into "Download" and copied beside the files.
    EXPECT_EQ(target.entryList({u"*.jpg"_s}, QDir::Files).size(), 1) << renamed.out.toStdString();
    EXPECT_TRUE(QFile::exists(programFolder() + u"/Download/c12345.jpg"_s));
    const CliRun tags = run({u"tags"_s, target.filePath(u"01 - Charlie.mp3"_s)});
    EXPECT_TRUE(tags.out.contains(u"Electronic"_s)) << tags.out.toStdString();
    EXPECT_TRUE(tags.out.contains(u"2002"_s)) << "--year replaces the year found";

    EXPECT_EQ(run({u"rename"_s, album_, u"--lookup"_s, u"http://x/"_s, u"--titles"_s, u"t.txt"_s}).exitCode, 2);
}
