// The tags the album rename job writes, read back by independent readers: python3-mutagen for
// ID3v2 and the raw trailer bytes for ID3v1. Each file keeps what the job does not set.

#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "support/Mp3Writer.h"

#include <QDir>

using namespace Qt::StringLiterals;

using RenameJobTagsTest = RenameJobFixture;

namespace {
const QString flatMask = u"%track - %title"_s;
const QString mp3Dir = u"MP3 directory"_s;
} // namespace

TEST_F(RenameJobTagsTest, BothVersionsGetTheAlbumFieldsAndTheTotalGoesOnlyIntoVersionTwo)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = inputFor(folder, threeSongs(), flatMask, mp3Dir);
    in.totalTracks = true;
    in.totalTrackText = u"12"_s;
    runAlbumRenameJob(in, log);

    const QString file = folder + u"/02 - Two.mp3"_s;
    const QJsonObject v2 = readV2WithMutagen(file);
    EXPECT_EQ(v2.value(u"version"_s).toInt(), 3);
    EXPECT_EQ(v2.value(u"TIT2"_s).toString(), u"Two"_s);
    EXPECT_EQ(v2.value(u"TPE1"_s).toString(), u"Foo"_s);
    EXPECT_EQ(v2.value(u"TALB"_s).toString(), u"Bar"_s);
    EXPECT_EQ(v2.value(u"TRCK"_s).toString(), u"2/12"_s);
    EXPECT_EQ(v2.value(u"TCON"_s).toString(), u"Rock"_s);
    EXPECT_EQ(v2.value(u"COMM"_s).toString(), u"Ripped"_s);
    EXPECT_EQ(v2.value(u"TYER"_s).toString(), u"2001"_s); // players read version 2 first

    const RawV1 v1 = readRawV1(file);
    ASSERT_TRUE(v1.present);
    EXPECT_EQ(v1.title, u"Two"_s);
    EXPECT_EQ(v1.artist, u"Foo"_s);
    EXPECT_EQ(v1.album, u"Bar"_s);
    EXPECT_EQ(v1.year, u"2001"_s);
    EXPECT_EQ(v1.comment, u"Ripped"_s);
    EXPECT_EQ(v1.track, 2);
    EXPECT_EQ(v1.genre, 17); // Rock

    // The read-back lines show the number alone, whatever the version-2 text holds.
    const int tags = log.findChild(log.roots().at(1), u"ID3 Tag Info"_s);
    EXPECT_EQ(log.childTexts(tags).last(), u"Track : 2"_s);
}

TEST_F(RenameJobTagsTest, VersionOneOnlyWritesNoVersionTwoTag)
{
    QList<SourceFile> files = threeSongs();
    for (SourceFile &f : files)
        f.withV2 = false;
    const QString folder = makeAlbum(u"in"_s, files);
    RenameJobInput in = inputFor(folder, files, flatMask, mp3Dir);
    in.tagVersions = TagVersions::V1Only;
    in.totalTracks = true;
    in.totalTrackText = u"3"_s;
    in.album.genre = u"SynthPop"_s; // the last name of the published list
    runAlbumRenameJob(in, log);

    const QString file = folder + u"/03 - Three.mp3"_s;
    EXPECT_FALSE(readV2WithMutagen(file).value(u"v2"_s).toBool());
    const RawV1 v1 = readRawV1(file);
    EXPECT_EQ(v1.title, u"Three"_s);
    EXPECT_EQ(v1.track, 3);
    EXPECT_EQ(v1.genre, 147);
    EXPECT_EQ(log.errorCount(), 0);
    // Read back, the genre byte is given.
    const int tags = log.findChild(log.roots().at(2), u"ID3 Tag Info"_s);
    EXPECT_TRUE(log.childTexts(tags).contains(u"Genre : 147"_s)) << log.childTexts(tags).join(u'|').toStdString();
}

TEST_F(RenameJobTagsTest, VersionTwoOnlyLeavesAnExistingVersionOneTrailerAsItWas)
{
    QList<SourceFile> files = threeSongs();
    for (SourceFile &f : files)
        f.withV1 = true;
    const QString folder = makeAlbum(u"in"_s, files);
    const QByteArray trailer = readAll(folder + u"/a.mp3"_s).right(128);
    RenameJobInput in = inputFor(folder, files, flatMask, mp3Dir);
    in.tagVersions = TagVersions::V2Only;
    runAlbumRenameJob(in, log);

    const QString file = folder + u"/01 - One.mp3"_s;
    EXPECT_EQ(readAll(file).right(128), trailer);
    EXPECT_EQ(readRawV1(file).artist, u"Old Artist"_s);
    EXPECT_EQ(readV2WithMutagen(file).value(u"TPE1"_s).toString(), u"Foo"_s);
}

TEST_F(RenameJobTagsTest, EachFileKeepsItsOwnOtherFramesAndGetsNothingFromAnother)
{
    const QString folder = tempFile(u"in"_s);
    // The first file carries a year, a composer and a picture; the second carries none of them.
    Mp3Writer::save(folder + u"/a.mp3"_s,
                    Mp3Writer::id3v2({{"TIT2", u"One"_s}, {"TYER", u"1999"_s}, {"TCOM", u"Someone"_s}}, 300, 64)
                        + Mp3Writer::cbrFile(1.0));
    Mp3Writer::save(folder + u"/b.mp3"_s, Mp3Writer::id3v2({{"TIT2", u"Two"_s}}, 0, 64) + Mp3Writer::cbrFile(2.0));
    const QList<SourceFile> files {{u"a.mp3"_s, u"One"_s}, {u"b.mp3"_s, u"Two"_s}};
    // An empty year field leaves each file's own version-2 year as it is.
    RenameJobInput in = inputFor(folder, files, flatMask, mp3Dir);
    in.album.year = u" "_s;
    runAlbumRenameJob(in, log);

    const QJsonObject first = readV2WithMutagen(folder + u"/01 - One.mp3"_s);
    EXPECT_EQ(first.value(u"TYER"_s).toString(), u"1999"_s);
    EXPECT_EQ(first.value(u"TCOM"_s).toString(), u"Someone"_s);
    EXPECT_EQ(first.value(u"APIC"_s).toInt(), 1);
    EXPECT_EQ(first.value(u"TPE1"_s).toString(), u"Foo"_s);

    const QJsonObject second = readV2WithMutagen(folder + u"/02 - Two.mp3"_s);
    EXPECT_FALSE(second.contains(u"TYER"_s));
    EXPECT_FALSE(second.contains(u"TCOM"_s));
    EXPECT_EQ(second.value(u"APIC"_s).toInt(), 0);
    EXPECT_EQ(second.value(u"TIT2"_s).toString(), u"Two"_s);
}

TEST_F(RenameJobTagsTest, GenreTextFindsItsVersionOneNumber)
{
    const int rock = int(ID3Edit::genreNames().indexOf(u"Rock"_s));
    const int other = int(ID3Edit::genreNames().indexOf(u"Other"_s));
    ASSERT_EQ(other, 12);
    EXPECT_EQ(versionOneGenreByte(u"  rock "_s), rock);
    EXPECT_EQ(versionOneGenreByte(u"ROCK"_s), rock);
    EXPECT_EQ(versionOneGenreByte(u"Hip-Hop"_s), 7);
    EXPECT_EQ(versionOneGenreByte(u"Chiptune wave"_s), other);
    EXPECT_EQ(versionOneGenreByte(QString()), 254);
    EXPECT_EQ(versionOneGenreByte(u"   "_s), 254);
}

TEST_F(RenameJobTagsTest, TypedGenreReachesTheTrailerThroughTheJob)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = inputFor(folder, threeSongs(), flatMask, mp3Dir);
    in.album.genre = u" jazz  "_s;
    runAlbumRenameJob(in, log);
    EXPECT_EQ(readRawV1(folder + u"/01 - One.mp3"_s).genre, 8);

    in.album.genre = u"Nothing known"_s;
    in.rows[0].fileName = u"01 - One.mp3"_s;
    in.rows[1].fileName = u"02 - Two.mp3"_s;
    in.rows[2].fileName = u"03 - Three.mp3"_s;
    runAlbumRenameJob(in, log);
    EXPECT_EQ(readRawV1(folder + u"/01 - One.mp3"_s).genre, 12);
}

TEST_F(RenameJobTagsTest, TrackTextBecomesAPlainNumber)
{
    EXPECT_EQ(versionTwoTrack(u"01"_s, false, u"12"_s), u"1"_s);
    EXPECT_EQ(versionTwoTrack(u"03"_s, true, u"12"_s), u"3/12"_s);
    EXPECT_EQ(versionTwoTrack(u"03"_s, true, u"0"_s), u"3"_s);
    EXPECT_EQ(versionTwoTrack(u"03"_s, true, u"x"_s), u"3"_s);
    EXPECT_EQ(versionTwoTrack(u"112"_s, false, {}), u"112"_s);
}
