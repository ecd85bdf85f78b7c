// varnelt-cli lookup --capture and --from-text end to end: the real engine opens pages served
// from 127.0.0.1 and the track list they show is read; pasted text comes from a file or from
// standard input; rename takes either record.
#include "CliRunner.h"
#include "support/LocalWebServer.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

class CliCaptureTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        server_ = std::make_unique<LocalWebServer>(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/capture"_s);
        sites_ = std::make_unique<LocalWebServer>(QStringLiteral(VARNELT_TEST_DATA) + u"/lookup/site"_s);
        ASSERT_NE(server_->port(), 0) << "python3 -m http.server did not start: " << server_->said().toStdString();
        ASSERT_NE(sites_->port(), 0) << "python3 -m http.server did not start: " << sites_->said().toStdString();
        QSettings settings(settingsFile(), QSettings::IniFormat);
        settings.beginGroup(u"Sites"_s);
        for (const auto &[key, value] : localSiteSettings(sites_->root()))
            settings.setValue(key, value);
        settings.sync();
        album_ = tempFile(u"Folder Artist - Folder Album"_s);
        for (const QString &name : {u"a-one"_s, u"b-two"_s})
            Mp3Writer::save(album_ + u'/' + name + u".mp3"_s, Mp3Writer::song({.title = name}));
    }

    [[nodiscard]] QString page(const QString &path) const { return u"http://%1/%2"_s.arg(server_->root(), path); }

    std::unique_ptr<LocalWebServer> server_;
    std::unique_ptr<LocalWebServer> sites_;
    QString album_;
};

} // namespace

TEST_F(CliCaptureTest, CaptureReadsAnyPagesTrackListAfterASitesSearch)
{
    const CliRun encyclopedia = run({u"lookup"_s, album_, page(u"album.html"_s), u"--capture"_s});
    ASSERT_EQ(encyclopedia.exitCode, 0) << encyclopedia.err.toStdString();
    EXPECT_EQ(encyclopedia.lines().mid(0, 8), QStringList({u"artist: The Quiet Fields"_s, u"album: Salt and Cedar"_s,
        u"genre: "_s, u"year: 1999"_s, u"cover: "_s, u"01 - Salt and Cedar\ta-one.mp3"_s, u"02 - Night Ferry\tb-two.mp3"_s,
        u"03 - Lanterns\t***** Not Found *****"_s}));

    // --only pairs the chosen file alone.
    const CliRun only = run({u"lookup"_s, album_, page(u"album.html"_s), u"--capture"_s, u"--only"_s, u"b-two.mp3"_s});
    ASSERT_EQ(only.exitCode, 0) << only.err.toStdString();
    EXPECT_EQ(only.lines().mid(5, 2), QStringList({u"01 - Salt and Cedar\tb-two.mp3"_s,
                                                   u"02 - Night Ferry\t***** Not Found *****"_s}));

    // On a known site's search page the search is submitted first, then the result is read.
    const CliRun freedb = run({u"lookup"_s, album_, u"http://%1/fdb/"_s.arg(sites_->root()), u"--capture"_s});
    ASSERT_EQ(freedb.exitCode, 0) << freedb.err.toStdString();
    EXPECT_TRUE(sites_->requests().contains(u"GET /fdb/freedb/rock/1234.html?words=Folder+Artist+-+Folder+Album"_s));
    EXPECT_EQ(freedb.lines().mid(0, 2), QStringList({u"artist: Folder Artist"_s, u"album: Folder Album"_s}))
        << "a page that names no album plainly takes the folder's";
    EXPECT_EQ(freedb.lines().mid(5, 2), QStringList({u"01 - Charlie\ta-one.mp3"_s, u"02 - Alpha\tb-two.mp3"_s}));

    const CliRun none = run({u"lookup"_s, album_, page(u"empty.html"_s), u"--capture"_s});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains(u"varnelt-cli: No track list found on this page."_s)) << none.err.toStdString();
}

TEST_F(CliCaptureTest, FromTextReadsAFileOrStandardInputAndRenameTakesIt)
{
    const QString list = tempFile(u"list.txt"_s);
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Latin-1 bytes, a header and a total: read as a user pasted them.
    file.write("No.\tTitle\tLength\n1.\t\"Caf\xe9 Noir\" (live)\t3:49\n2.\tSlow / Fast\t4:05\nTotal length: 7:54\n");
    file.close();
    const CliRun fromFile = run({u"lookup"_s, album_, u"--from-text"_s, list});
    ASSERT_EQ(fromFile.exitCode, 0) << fromFile.err.toStdString();
    EXPECT_EQ(fromFile.lines().mid(0, 7), QStringList({u"artist: Folder Artist"_s, u"album: Folder Album"_s,
        u"genre: "_s, u"year: "_s, u"cover: "_s, u"01 - Café Noir\ta-one.mp3"_s, u"02 - Slow / Fast\tb-two.mp3"_s}));

    QProcess stdinRun;
    start(stdinRun, {u"lookup"_s, album_, u"--from-text"_s, u"-"_s});
    stdinRun.write("\n\n");
    stdinRun.closeWriteChannel();
    ASSERT_TRUE(stdinRun.waitForFinished(30000));
    EXPECT_EQ(stdinRun.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(stdinRun.readAllStandardError()).contains(u"No track list found in the text."_s));

    EXPECT_EQ(run({u"lookup"_s, album_, page(u"x"_s), u"--from-text"_s, list}).exitCode, 2);
    EXPECT_EQ(run({u"rename"_s, album_, u"--from-text"_s, list, u"--titles"_s, list}).exitCode, 2);

    // The title's slash never opens a folder: it goes through the naming rules.
    const CliRun renamed = run({u"rename"_s, album_, u"--from-text"_s, list, u"--mask"_s, u"%track - %title"_s,
                                u"--dest"_s, u"MP3 directory"_s});
    ASSERT_EQ(renamed.exitCode, 0) << renamed.out.toStdString() << renamed.err.toStdString();
    EXPECT_EQ(QDir(album_).entryList({u"*.mp3"_s}, QDir::Files, QDir::Name),
              QStringList({u"01 - Café Noir.mp3"_s, u"02 - Slow - Fast.mp3"_s}));

    const CliRun captured = run({u"rename"_s, album_, u"--capture"_s, page(u"album.html"_s), u"--dry-run"_s,
                                 u"--mask"_s, u"%track - %title"_s, u"--dest"_s, u"MP3 directory"_s});
    ASSERT_EQ(captured.exitCode, 0) << captured.err.toStdString();
    EXPECT_EQ(captured.lines(), QStringList({album_ + u"/01 - Salt and Cedar.mp3"_s, album_ + u"/02 - Night Ferry.mp3"_s}));
}
