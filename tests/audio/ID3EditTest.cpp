// ID3Edit on real files: built with the independent frame writer, written, closed, reopened.

#include "audio/ID3Edit.h"
#include "audio/ID3.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Every version-2 field of the interface with a distinct value.
struct FieldValues {
    QString title = u"Title"_s, artist = u"Artist"_s, artistUrl = u"http://artist.example/"_s,
            userUrl = u"http://user.example/"_s, album = u"Album"_s, originalArtist = u"Original"_s,
            composer = u"Composer"_s, encodedBy = u"Encoder"_s, copyright = u"2003 Label"_s, track = u"3/12"_s,
            year = u"1999"_s, comment = u"A comment"_s, genre = u"Jazz"_s, userText = u"Free text"_s,
            lyrics = u"La la la\nsecond line"_s, tempo = u"120"_s, mood = u"Calm"_s, situation = u"Night"_s,
            preference = u"Favourite"_s;
};

void setAll(ID3Edit &tag, const FieldValues &v)
{
    tag.setTitle(v.title);
    tag.setArtist(v.artist);
    tag.setArtistUrl(v.artistUrl);
    tag.setUserUrl(v.userUrl);
    tag.setAlbum(v.album);
    tag.setOriginalArtist(v.originalArtist);
    tag.setComposer(v.composer);
    tag.setEncodedBy(v.encodedBy);
    tag.setCopyright(v.copyright);
    tag.setTrack(v.track);
    tag.setYear(v.year);
    tag.setComment(v.comment);
    tag.setGenre(v.genre);
    tag.setUserText(v.userText);
    tag.setLyrics(v.lyrics);
    tag.setTempo(v.tempo);
    tag.setMood(v.mood);
    tag.setSituation(v.situation);
    tag.setPreference(v.preference);
}

void expectAll(const ID3Edit &tag, const FieldValues &v)
{
    EXPECT_EQ(tag.Title(), v.title);
    EXPECT_EQ(tag.Artist(), v.artist);
    EXPECT_EQ(tag.ArtistUrl(), v.artistUrl);
    EXPECT_EQ(tag.UserUrl(), v.userUrl);
    EXPECT_EQ(tag.Album(), v.album);
    EXPECT_EQ(tag.OriginalArtist(), v.originalArtist);
    EXPECT_EQ(tag.Composer(), v.composer);
    EXPECT_EQ(tag.EncodedBy(), v.encodedBy);
    EXPECT_EQ(tag.Copyright(), v.copyright);
    EXPECT_EQ(tag.Track(), v.track);
    EXPECT_EQ(tag.Year(), v.year);
    EXPECT_EQ(tag.Comment(), v.comment);
    EXPECT_EQ(tag.Genre(), v.genre);
    EXPECT_EQ(tag.UserText(), v.userText);
    EXPECT_EQ(tag.Lyrics(), v.lyrics);
    EXPECT_EQ(tag.Tempo(), v.tempo);
    EXPECT_EQ(tag.Mood(), v.mood);
    EXPECT_EQ(tag.Situation(), v.situation);
    EXPECT_EQ(tag.Preference(), v.preference);
}

// An ID3v1 trailer with only a title (and no track).
QByteArray v1Title(const QString &title)
{
    Mp3Writer::V1Fields fields;
    fields.title = title;
    return Mp3Writer::id3v1(fields);
}

QByteArray jpegLike(int size)
{
    QByteArray data("\xFF\xD8\xFF\xE0", 4);
    for (int i = 0; data.size() < size; ++i)
        data.append(char(1 + i % 200));
    return data;
}

class ID3EditTest : public VarneltTest {
protected:
    QString writeSong(const QString &name, const QByteArray &bytes) { return writeFile(name, bytes); }

    // A file holding an ID3v2.3 tag with room to spare, 2 s of audio and an ID3v1 trailer.
    QString taggedSong(const QString &name = u"song.mp3"_s)
    {
        audio = Mp3Writer::cbrFile(2.0, 128);
        trailer = Mp3Writer::id3v1({ u"V1 title"_s, u"V1 artist"_s, u"V1 album"_s, u"2001"_s, u"V1 comment"_s, 5, 17 });
        return writeSong(name,
            Mp3Writer::id3v2(
                { { "TIT2", u"Old title"_s }, { "TPE1", u"Old artist"_s }, { "TCOM", u"Old composer"_s } }, 0, 800)
                + audio + trailer);
    }

    QByteArray audio;
    QByteArray trailer;
};

TEST_F(ID3EditTest, LoadReadsBothTagsOfAFile)
{
    Mp3Writer::Song song;
    song.title = u"Intro"_s;
    song.artist = u"Band"_s;
    song.album = u"Record"_s;
    song.year = u"1998"_s;
    song.genre = u"Rock"_s;
    song.comment = u"Nice"_s;
    song.track = 4;
    song.withV1 = true;
    const QString path = writeSong(u"a.mp3"_s, Mp3Writer::song(song));
    ID3Edit tag;
    EXPECT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_TRUE(tag.HasV1());
    EXPECT_TRUE(tag.HasV2());
    EXPECT_EQ(tag.Title(), u"Intro"_s);
    EXPECT_EQ(tag.Artist(), u"Band"_s);
    EXPECT_EQ(tag.Album(), u"Record"_s);
    EXPECT_EQ(tag.Year(), u"1998"_s);
    EXPECT_EQ(tag.Track(), u"4"_s);
    EXPECT_EQ(tag.Genre(), u"Rock"_s);
    EXPECT_EQ(tag.Comment(), u"Nice"_s);
    EXPECT_EQ(tag.V1Title(), u"Intro"_s);
    EXPECT_EQ(tag.V1Artist(), u"Band"_s);
    EXPECT_EQ(tag.V1Album(), u"Record"_s);
    EXPECT_EQ(tag.V1Year(), u"1998"_s);
    EXPECT_EQ(tag.V1Comment(), u"Nice"_s);
    EXPECT_EQ(tag.V1Track(), 4);
    EXPECT_EQ(tag.V1Genre(), 255);
    EXPECT_EQ(tag.loadedFile(), path);
}

TEST_F(ID3EditTest, LoadStartsFromEmptyFields)
{
    const QString tagged = taggedSong();
    const QString bare = writeSong(u"bare.mp3"_s, Mp3Writer::cbrFile(1.0));
    ID3Edit tag;
    tag.Load(tagged);
    tag.setPicture({ jpegLike(100), u"image/jpeg"_s });
    tag.setMood(u"Set but not saved"_s);

    tag.Load(bare);
    EXPECT_FALSE(tag.HasV1());
    EXPECT_FALSE(tag.HasV2());
    expectAll(tag,
        { .title = {},
            .artist = {},
            .artistUrl = {},
            .userUrl = {},
            .album = {},
            .originalArtist = {},
            .composer = {},
            .encodedBy = {},
            .copyright = {},
            .track = {},
            .year = {},
            .comment = {},
            .genre = {},
            .userText = {},
            .lyrics = {},
            .tempo = {},
            .mood = {},
            .situation = {},
            .preference = {} });
    EXPECT_TRUE(tag.Picture().isNull());
    EXPECT_EQ(tag.V1Title(), QString());
    EXPECT_EQ(tag.V1Track(), 0);

    // Nothing of the first file's object state leaks into a save of the second.
    EXPECT_EQ(tag.SaveV2(bare), ID3Edit::Ok);
    EXPECT_EQ(readAll(bare), Mp3Writer::cbrFile(1.0));

    EXPECT_EQ(tag.Load(tempFile(u"missing.mp3"_s)), ID3Edit::FileNotFound);
    EXPECT_FALSE(tag.HasV1());
    EXPECT_FALSE(tag.HasV2());
}

TEST_F(ID3EditTest, EveryFieldSurvivesSaveAndReload)
{
    const QString path = taggedSong();
    ID3Edit writer;
    writer.Load(path);
    const FieldValues values;
    setAll(writer, values);
    const ID3Picture cover { jpegLike(3000), u"image/jpeg"_s };
    writer.setPicture(cover);
    ASSERT_EQ(writer.SaveV2(path), ID3Edit::Ok);

    ID3Edit reader;
    ASSERT_EQ(reader.Load(path), ID3Edit::Ok);
    EXPECT_TRUE(reader.HasV2());
    expectAll(reader, values);
    EXPECT_EQ(reader.Picture(), cover);

    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes.left(4), QByteArray("ID3\x03", 4)) << "written as ID3v2.3";
    EXPECT_TRUE(bytes.contains("TYER")) << "the year of a v2.3 tag is a TYER frame";
    EXPECT_FALSE(bytes.contains("TDRC"));
}

TEST_F(ID3EditTest, UnicodeAndLatin1TextsRoundTrip)
{
    const QString path = taggedSong();
    const QString title = u"Ωmega — 東京 🎵"_s;
    const QString artist = u"Café Müller"_s;
    const QString lyrics = u"Привет\nмир"_s;
    const QString mood = u"ruhig – still"_s;
    {
        ID3Edit tag;
        tag.setTitle(title);
        tag.setArtist(artist);
        tag.setLyrics(lyrics);
        tag.setMood(mood);
        ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    }
    ID3Edit tag;
    tag.Load(path);
    EXPECT_EQ(tag.Title(), title);
    EXPECT_EQ(tag.Artist(), artist);
    EXPECT_EQ(tag.Lyrics(), lyrics);
    EXPECT_EQ(tag.Mood(), mood);
    // A text ISO-8859-1 can hold is stored in it, one byte a character.
    EXPECT_TRUE(readAll(path).contains(artist.toLatin1()));
}

TEST_F(ID3EditTest, SaveV2WritesOnlyTheFieldsSetSinceLoad)
{
    const QString path = taggedSong();
    {
        ID3Edit first;
        first.Load(path);
        first.setPicture({ jpegLike(500), {} });
        first.setLyrics(u"Keep these words"_s);
        ASSERT_EQ(first.SaveV2(path), ID3Edit::Ok);
    }
    // The rename job's object: loaded with another file, then given a few fields.
    Mp3Writer::Song otherSong;
    otherSong.title = u"X"_s;
    otherSong.artist = u"Y"_s;
    const QString other = writeSong(u"other.mp3"_s, Mp3Writer::song(otherSong));
    ID3Edit job;
    job.Load(other);
    job.setTitle(u"New title"_s);
    job.setTrack(u"7"_s);
    job.setComment(u"New comment"_s);
    ASSERT_EQ(job.SaveV2(path), ID3Edit::Ok);

    ID3Edit check;
    check.Load(path);
    EXPECT_EQ(check.Title(), u"New title"_s);
    EXPECT_EQ(check.Track(), u"7"_s);
    EXPECT_EQ(check.Comment(), u"New comment"_s);
    EXPECT_EQ(check.Artist(), u"Old artist"_s) << "not set, so the file's own value stays";
    EXPECT_EQ(check.Composer(), u"Old composer"_s);
    EXPECT_EQ(check.Lyrics(), u"Keep these words"_s);
    EXPECT_EQ(check.Picture().data, jpegLike(500));
    EXPECT_EQ(check.Picture().mimeType, u"image/jpeg"_s);
}

TEST_F(ID3EditTest, EmptiedFieldsRemoveTheirFramesAndAnEmptyTagGoes)
{
    const QString path = taggedSong();
    ID3Edit tag;
    tag.Load(path);
    tag.setComposer({});
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    tag.Load(path);
    EXPECT_TRUE(tag.HasV2());
    EXPECT_EQ(tag.Composer(), QString());
    EXPECT_EQ(tag.Title(), u"Old title"_s);
    EXPECT_FALSE(readAll(path).contains("TCOM"));

    tag.setTitle({});
    tag.setArtist({});
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    EXPECT_EQ(readAll(path), audio + trailer) << "a tag without frames is removed, audio and trailer stay";
    tag.Load(path);
    EXPECT_FALSE(tag.HasV2());
    EXPECT_TRUE(tag.HasV1());
}

TEST_F(ID3EditTest, AFieldWithSeveralFramesOfItsKindIsWrittenIntoTheFrameItIsReadFrom)
{
    // Two comments without a description: the first is the field. Written anew after the
    // other, the new value was hidden behind it (the lyrics case was found by the
    // id3v2_roundtrip fuzz target; its input kept).
    const QString path = writeSong(u"two.mp3"_s, Mp3Writer::id3v2({{"COMM", u"first"_s}, {"COMM", u"second"_s}})
                                                              + Mp3Writer::cbrFile(2.0, 128));
    ID3Edit tag;
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Comment(), u"first"_s);
    tag.setComment(u"new"_s);
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Comment(), u"new"_s);
    EXPECT_TRUE(readAll(path).contains("second")) << "the other comment stays";
    // Cleared, the field reads back empty: the other comment does not take its place.
    tag.setComment({});
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Comment(), QString());
}

TEST_F(ID3EditTest, PictureReplacesTheCoverAndLeavesOtherPictures)
{
    const QString path = taggedSong();
    ID3Edit tag;
    tag.Load(path);
    EXPECT_TRUE(tag.Picture().isNull());
    const QByteArray png = QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(300, 'p');
    tag.setPicture({ png, {} });
    EXPECT_EQ(tag.Picture().mimeType, u"image/png"_s) << "the type is taken from the bytes";
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);

    tag.Load(path);
    EXPECT_EQ(tag.Picture().data, png);
    EXPECT_EQ(tag.Picture().mimeType, u"image/png"_s);

    tag.setPicture({});
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    tag.Load(path);
    EXPECT_TRUE(tag.Picture().isNull());
    EXPECT_FALSE(readAll(path).contains("APIC"));
}

TEST_F(ID3EditTest, SaveV2KeepsTheTrailerAndTheAudioByteIdentical)
{
    const QString path = taggedSong();
    ID3Edit tag;
    tag.Load(path);

    // First a change that fits the old tag's space, then one that outgrows it.
    tag.setTitle(u"Short"_s);
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.endsWith(QByteArray(audio + trailer)));

    tag.setLyrics(QString(20000, u'x'));
    tag.setPicture({ jpegLike(50000), {} });
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    bytes = readAll(path);
    EXPECT_TRUE(bytes.endsWith(QByteArray(audio + trailer)));
    EXPECT_GT(bytes.size(), 70000);

    ID3Edit check;
    check.Load(path);
    EXPECT_EQ(check.Title(), u"Short"_s);
    EXPECT_EQ(check.Lyrics().size(), 20000);
    EXPECT_EQ(check.V1Title(), u"V1 title"_s);
    EXPECT_EQ(check.V1Track(), 5);
}

TEST_F(ID3EditTest, SaveV2GivesAnUntaggedFileATag)
{
    const QByteArray plain = Mp3Writer::cbrFile(1.0) + v1Title(u"Only v1"_s);
    const QString path = writeSong(u"plain.mp3"_s, plain);
    ID3Edit tag;
    tag.Load(path);
    EXPECT_FALSE(tag.HasV2());
    tag.setTitle(u"Now tagged"_s);
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    EXPECT_TRUE(readAll(path).endsWith(plain));
    tag.Load(path);
    EXPECT_TRUE(tag.HasV2());
    EXPECT_EQ(tag.Title(), u"Now tagged"_s);
    EXPECT_EQ(tag.V1Title(), u"Only v1"_s);
}

#ifdef Q_OS_UNIX
ino_t inodeOf(const QString &path)
{
    struct stat info { };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_ino;
}

TEST_F(ID3EditTest, ATagThatFitsIsWrittenInPlaceAndOneThatGrowsReplacesTheFile)
{
    const QString path = taggedSong();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFileInfo(path).permissions();
    const ino_t before = inodeOf(path);
    const qint64 size = QFileInfo(path).size();

    ID3Edit tag;
    tag.Load(path);
    tag.setTitle(u"Fits in the padding"_s);
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    EXPECT_EQ(inodeOf(path), before);
    EXPECT_EQ(QFileInfo(path).size(), size);

    tag.setPicture({ jpegLike(10000), {} });
    ASSERT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    EXPECT_NE(inodeOf(path), before) << "a new whole file took the old one's place";
    EXPECT_EQ(QFileInfo(path).permissions(), permissions);
    EXPECT_EQ(QDir(tempPath()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no copy left behind";
}

TEST_F(ID3EditTest, SavingThroughALinkKeepsTheLink)
{
    const QString target = taggedSong(u"real.mp3"_s);
    const QString link = tempFile(u"link.mp3"_s);
    ASSERT_TRUE(QFile::link(target, link));
    ID3Edit tag;
    tag.setPicture({ jpegLike(10000), {} });
    ASSERT_EQ(tag.SaveV2(link), ID3Edit::Ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    tag.Load(target);
    EXPECT_EQ(tag.Picture().data.size(), 10000);
}
#endif

TEST_F(ID3EditTest, RemoveV2TakesOnlyTheVersion2Tag)
{
    const QString path = taggedSong();
    ID3Edit tag;
    EXPECT_EQ(tag.RemoveV2(path), ID3Edit::Ok);
    EXPECT_EQ(readAll(path), audio + trailer);
    tag.Load(path);
    EXPECT_FALSE(tag.HasV2());
    EXPECT_TRUE(tag.HasV1());

    EXPECT_EQ(tag.RemoveV2(path), ID3Edit::Ok) << "nothing to remove is no failure";
    EXPECT_EQ(readAll(path), audio + trailer);
}

TEST_F(ID3EditTest, SaveV1AndRemoveV1WorkOnTheTrailerOnly)
{
    const QString path = taggedSong();
    const QByteArray head = readAll(path).chopped(128);
    ID3Edit tag;
    tag.Load(path);
    tag.setV1Title(u"A title longer than thirty characters"_s);
    tag.setV1Artist(u"Artist"_s);
    tag.setV1Album(u"Album"_s);
    tag.setV1Year(u"2004"_s);
    tag.setV1Comment(u"Comment"_s);
    tag.setV1Track(9);
    tag.setV1Genre(17);
    ASSERT_EQ(tag.SaveV1(path), ID3Edit::Ok);
    EXPECT_TRUE(readAll(path).startsWith(head));

    ID3::ID3v1Record record = ID3::readID3v1Tag(path);
    EXPECT_EQ(record.title, u"A title longer than thirty cha"_s);
    EXPECT_EQ(record.artist, u"Artist"_s);
    EXPECT_EQ(record.year, u"2004"_s);
    EXPECT_EQ(record.track, 9);
    EXPECT_EQ(record.genre, 17);

    // Track 0 means none: the comment keeps all 30 characters; the empty genre entry is 255.
    tag.setV1Track(0);
    tag.setV1Comment(u"012345678901234567890123456789"_s);
    tag.setV1Genre(254);
    ASSERT_EQ(tag.SaveV1(path), ID3Edit::Ok);
    record = ID3::readID3v1Tag(path);
    EXPECT_EQ(record.comment, u"012345678901234567890123456789"_s);
    EXPECT_EQ(record.track, -1);
    EXPECT_EQ(record.genre, 255);

    ASSERT_EQ(tag.RemoveV1(path), ID3Edit::Ok);
    EXPECT_EQ(readAll(path), head);
    EXPECT_EQ(tag.RemoveV1(path), ID3Edit::Ok);
    EXPECT_EQ(readAll(path), head);

    // A file without a trailer gets one appended.
    ASSERT_EQ(tag.SaveV1(path), ID3Edit::Ok);
    EXPECT_EQ(readAll(path).size(), head.size() + 128);
    tag.Load(path);
    EXPECT_TRUE(tag.HasV1());
    EXPECT_EQ(tag.V1Artist(), u"Artist"_s);
}

TEST_F(ID3EditTest, ReadsVersion4TagsAndWritesThemBackAsVersion3)
{
    // A v2.4 tag as other programs write it: "ID3" 4.0, no flags, syncsafe size, one TDRC frame
    // whose size is syncsafe too, text encoding 3 (UTF-8).
    const QByteArray text = QByteArray("\x03", 1) + u"2010-05-04"_s.toUtf8();
    QByteArray frame = "TDRC" + QByteArray("\0\0\0", 3) + char(text.size()) + QByteArray(2, '\0') + text;
    frame += "TIT2" + QByteArray("\0\0\0\x06\0\0\x03", 7) + u"Grün"_s.toUtf8();
    QByteArray tag = Mp3Writer::id3v2Header(quint32(frame.size() + 100), 4) + frame + QByteArray(100, '\0');
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    const QString path = writeSong(u"v24.mp3"_s, tag + audio);

    ID3Edit edit;
    edit.Load(path);
    EXPECT_TRUE(edit.HasV2());
    EXPECT_EQ(edit.Title(), u"Grün"_s);
    EXPECT_EQ(edit.Year(), u"2010-05-04"_s);

    edit.setArtist(u"Added"_s);
    ASSERT_EQ(edit.SaveV2(path), ID3Edit::Ok);
    const QByteArray bytes = readAll(path);
    EXPECT_EQ(bytes.at(3), 3);
    EXPECT_TRUE(bytes.endsWith(audio));
    ID3Edit check;
    check.Load(path);
    EXPECT_EQ(check.Title(), u"Grün"_s);
    EXPECT_EQ(check.Artist(), u"Added"_s);
    EXPECT_EQ(check.Year().left(4), u"2010"_s);
}

TEST_F(ID3EditTest, EncoderFilesKeepTheirAudioThroughSaveAndRemove)
{
    // A cover written by the encoder program is read; removing the tag leaves its audio alone.
    const QString withCover = copyFixture(u"enc_picture.mp3"_s);
    const QByteArray original = readAll(withCover);
    ID3Edit tag;
    ASSERT_EQ(tag.Load(withCover), ID3Edit::Ok);
    EXPECT_TRUE(tag.HasV2());
    EXPECT_EQ(tag.Title(), u"Sine"_s);
    const ID3Picture cover = tag.Picture();
    EXPECT_EQ(cover.mimeType, u"image/jpeg"_s);
    EXPECT_TRUE(cover.data.startsWith("\xFF\xD8"));
    EXPECT_GT(cover.data.size(), 1000);
    ASSERT_EQ(tag.RemoveV2(withCover), ID3Edit::Ok);
    const QByteArray stripped = readAll(withCover);
    EXPECT_TRUE(original.endsWith(stripped));
    EXPECT_LT(stripped.size(), original.size() - cover.data.size());

    // That cover moved into another encoder file whose tag was empty.
    const QString target = copyFixture(u"enc_vbr.mp3"_s);
    const QByteArray before = readAll(target);
    tag.Load(target);
    tag.setPicture(cover);
    tag.setTitle(u"Noise"_s);
    ASSERT_EQ(tag.SaveV2(target), ID3Edit::Ok);
    ID3Edit check;
    check.Load(target);
    EXPECT_EQ(check.Picture(), cover);
    EXPECT_EQ(check.Title(), u"Noise"_s);
    const qint64 oldTag = 10 + qint64(quint8(before.at(9))) + (qint64(quint8(before.at(8))) << 7);
    EXPECT_TRUE(readAll(target).endsWith(before.mid(oldTag)));
}

TEST_F(ID3EditTest, GenreListHoldsTheStandardNames)
{
    ID3Edit tag;
    const QStringList names = tag.GenreList().split(u'|');
    ASSERT_EQ(names.size(), 148);
    EXPECT_EQ(names.at(0), u"Blues"_s);
    EXPECT_EQ(names.at(17), u"Rock"_s);
    EXPECT_EQ(names.at(80), u"Folk"_s);
    EXPECT_EQ(names.at(84), u"Fast Fusion"_s);
    EXPECT_EQ(names.at(85), u"Bebob"_s);
    EXPECT_EQ(names.at(147), u"SynthPop"_s);
    EXPECT_EQ(names, ID3Edit::genreNames());
    EXPECT_FALSE(names.contains(QString()));
}

} // namespace
