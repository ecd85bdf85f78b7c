// OK of the track list: the rename list from the paired rows, the album fields with the first
// file's tags filling what the site left empty, and the cover's place in "Download".
#include "foundation/Common.h"
#include "album/LookupHandOver.h"
#include "naming/QStringPrinter.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

using namespace Qt::StringLiterals;

class LookupHandOverTest : public VarneltTest {};

TEST_F(LookupHandOverTest, RowsFieldsFallbacksAndCover)
{
    const QString folder = tempFile(u"album"_s);
    Mp3Writer::save(folder + u"/a.mp3"_s, Mp3Writer::song({.title = u"Tag A"_s, .year = u"1987"_s,
                                                           .genre = u"Jazz"_s, .withV1 = true}));
    Mp3Writer::save(folder + u"/b.mp3"_s, Mp3Writer::song({.title = u"Tag B"_s}));
    Mp3Writer::save(folder + u"/c.mp3"_s, Mp3Writer::song({.withV2 = false}));
    AlbumRecord record;
    record.artist = u"Artist"_s;
    record.album = u"Album"_s;
    const QString nf = AlbumRecord::notFound();
    record.rows = {{u"01 - One"_s, u"a.mp3"_s, u"FileIcon"_s}, {u"02 - Two"_s, nf, u"FileIcon"_s},
                   {u"03 - Three"_s, u"c.mp3"_s, u"FileIcon"_s}, {nf, u"b.mp3"_s, u"TrackError"_s},
                   {nf, u"c.mp3"_s, u"TrackError"_s}};
    record.coverUrl = u"http://127.0.0.1:1/amg/cov200/../../x%2F..%2Fcover.jpg?size=2"_s;

    const LookupHandOver h = handOverLookup(record, folder, true);
    EXPECT_EQ(h.rows, RenameList({{u"One"_s, u"a.mp3"_s, u"01"_s}, {u"Three"_s, u"c.mp3"_s, u"03"_s},
                                  {u"Tag B"_s, u"b.mp3"_s, u"04"_s}, {u"c"_s, u"c.mp3"_s, u"05"_s}}));
    EXPECT_EQ(h.iconKeys, QStringList({u"FileIconTagV1+2"_s, u"FileIcon"_s, u"FileIconTagV2"_s, u"FileIcon"_s}));
    EXPECT_EQ(h.totalTracks, u"5"_s);
    EXPECT_EQ(h.album.artist, u"Artist"_s);
    EXPECT_EQ(h.album.year, u"1987"_s) << "the first row's file fills a missing year";
    EXPECT_EQ(h.album.genre, u"Jazz"_s);
    EXPECT_EQ(Common::getFolderPath(h.coverDownloadFileName), Common::addBackslash(Common::downloadFolder()));
    EXPECT_FALSE(Common::getFileName(h.coverDownloadFileName).contains(u'/'));

    // A genre box already set keeps an empty genre; a site's values are never replaced.
    record.year = u"2001"_s;
    record.genre = u" Rock "_s;
    const LookupHandOver kept = handOverLookup(record, folder, false, false);
    EXPECT_EQ(kept.album.year, u"2001"_s);
    EXPECT_EQ(kept.album.genre, u"Rock"_s);
    EXPECT_EQ(kept.coverDownloadFileName, QString()) << "no cover downloaded, none handed over";
    record.genre.clear();
    EXPECT_EQ(handOverLookup(record, folder, false, false).album.genre, QString());

    EXPECT_EQ(Common::getFileName(coverDownloadPath(u"http://h/release/1/front"_s)), u"front.jpg"_s);
    EXPECT_EQ(Common::getFileName(coverDownloadPath(u"http://h/get.php"_s)), u"get.php.jpg"_s);
    EXPECT_EQ(Common::getFileName(coverDownloadPath(u"http://h/a/Cover.PNG"_s)), u"Cover.PNG"_s);
    EXPECT_EQ(Common::getFileName(coverDownloadPath(u"http://h/.."_s)), u"__.jpg"_s);
    EXPECT_EQ(Common::getFileName(coverDownloadPath(u"http://h/"_s)), u"cover.jpg"_s);
}

TEST_F(LookupHandOverTest, TitlesFromTrackOneHundredOnKeepNoLeadingBlank)
{
    // An album of 101 tracks read as a site reader adds them, one file for each.
    const QString folder = tempFile(u"long"_s);
    WorkingList files;
    AlbumRecord record;
    QString genre;
    for (int n = 1; n <= 101; ++n) {
        files.fileNames << u"%1.mp3"_s.arg(n);
        Mp3Writer::save(folder + u'/' + files.fileNames.last(), Mp3Writer::cbrFile(0.1));
    }
    for (int n = 1; n <= 101; ++n)
        ASSERT_TRUE(addFoundTrack(record, files, n, u"Song %1 - Live"_s.arg(n), {}, {}, genre, {}));

    const LookupHandOver h = handOverLookup(record, folder, false);
    ASSERT_EQ(h.rows.size(), 101);
    EXPECT_EQ(h.rows.at(8), (RenameRow{u"Song 9 - Live"_s, u"9.mp3"_s, u"09"_s}));
    EXPECT_EQ(h.rows.at(99), (RenameRow{u"Song 100 - Live"_s, u"100.mp3"_s, u"100"_s}));
    EXPECT_EQ(h.rows.at(100).title, u"Song 101 - Live"_s);
    // A row text of another form is the title as it stands.
    EXPECT_EQ(trackRowTitle(u"Intro"_s), u"Intro"_s);
}

TEST_F(LookupHandOverTest, TrackLengthsGoWithTheirTitlesForThePreflight)
{
    const QString folder = tempFile(u"album"_s);
    for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s})
        Mp3Writer::save(folder + u'/' + name, Mp3Writer::song({.title = name}));
    AlbumRecord record;
    const QString nf = AlbumRecord::notFound();
    // The row's own length first, else the site's list of lengths (in track order); a file
    // without track has none.
    record.rows = {{u"01 - One"_s, u"b.mp3"_s, u"FileIcon"_s, 61000}, {u"02 - Two"_s, u"a.mp3"_s, u"FileIcon"_s},
                   {nf, u"c.mp3"_s, u"TrackError"_s}};
    record.trackLengths = {70, 125, 300};
    const LookupHandOver h = handOverLookup(record, folder, false);
    ASSERT_EQ(h.rows.size(), 3);
    EXPECT_EQ(h.rows.at(0).lengthMs, 61000);
    EXPECT_EQ(h.rows.at(1).lengthMs, 125000);
    EXPECT_EQ(h.rows.at(2).lengthMs, 0);
}
