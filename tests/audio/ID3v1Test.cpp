// The ID3v1 trailer on real files: layouts, cutting and padding, the append/replace rule,
// removal, and the ID3Tag object over it.

#include "audio/ID3.h"

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QFile>

using namespace Qt::StringLiterals;
using ID3::ID3v1Record;
using ID3::TrailerResult;

namespace {

class ID3v1Test : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        ID3::loadGenreTable({});
    }

    // A file of `audio` bytes of frames, without a trailer.
    QString audioFile(const QString &name, int audio = 4000)
    {
        return writeFile(name, Mp3Writer::cbrFile(1.0).left(audio));
    }

    static ID3v1Record record(const QString &title, qint16 track = -1)
    {
        ID3v1Record r;
        r.exists = true;
        r.title = title;
        r.artist = u"Artist"_s;
        r.album = u"Album"_s;
        r.year = u"1999"_s;
        r.comment = u"Comment"_s;
        r.genre = 17;
        r.track = track;
        return r;
    }

    static QByteArray trailerOf(const QString &path) { return readAll(path).right(128); }
};

TEST_F(ID3v1Test, WrittenTagReadsBackAndLeavesTheAudioAlone)
{
    const QString path = audioFile(u"a.mp3"_s);
    const QByteArray before = readAll(path);
    ID3v1Record r = record(u"Title"_s, 3);
    ASSERT_EQ(ID3::writeTrailer(path, r, 0.0f, true), TrailerResult::Ok);

    const QByteArray after = readAll(path);
    ASSERT_EQ(after.size(), before.size() + 128);
    EXPECT_EQ(after.left(before.size()), before);
    EXPECT_TRUE(ID3::hasID3v1Tag(path));
    r.genreName = u"Rock"_s;
    EXPECT_EQ(ID3::readID3v1Tag(path), r);
    // The same bytes an independent writer makes for these fields.
    EXPECT_EQ(trailerOf(path), Mp3Writer::id3v1({u"Title"_s, u"Artist"_s, u"Album"_s, u"1999"_s, u"Comment"_s, 3, 17}));
}

TEST_F(ID3v1Test, AppendsToShortFilesAndReplacesOnlyPastOneTrailer)
{
    // 127 bytes: too short to hold a trailer, so one is appended.
    const QString shortFile = writeFile(u"short.mp3"_s, QByteArray(127, 'x'));
    EXPECT_FALSE(ID3::hasID3v1Tag(shortFile));
    ASSERT_TRUE(ID3::writeID3v1Tag(shortFile, record(u"One"_s), 0.0f, true));
    EXPECT_EQ(QFileInfo(shortFile).size(), 255);

    // Exactly 128 bytes of trailer: it reads as tagged, but a write appends a second trailer.
    const QString only = writeFile(u"only.mp3"_s, Mp3Writer::id3v1({.title = u"Old"_s}));
    EXPECT_EQ(ID3::readID3v1Tag(only).title, u"Old"_s);
    ASSERT_TRUE(ID3::writeID3v1Tag(only, record(u"New"_s), 0.0f, true));
    EXPECT_EQ(QFileInfo(only).size(), 256);
    EXPECT_EQ(ID3::readID3v1Tag(only).title, u"New"_s);

    // Longer than a trailer and ending with one: replaced in place.
    const QString tagged = writeFile(u"tagged.mp3"_s, QByteArray(500, 'a') + Mp3Writer::id3v1({.title = u"Old"_s}));
    ASSERT_TRUE(ID3::writeID3v1Tag(tagged, record(u"New"_s), 0.0f, true));
    EXPECT_EQ(QFileInfo(tagged).size(), 628);
    EXPECT_EQ(ID3::readID3v1Tag(tagged).title, u"New"_s);
    EXPECT_EQ(readAll(tagged).left(500), QByteArray(500, 'a'));
}

TEST_F(ID3v1Test, TextsAreCutPaddedWithZerosAndTrimmedOnRead)
{
    const QString path = audioFile(u"a.mp3"_s);
    ID3v1Record r = record(u"0123456789"_s.repeated(3) + u"abcde"_s);
    r.artist = u"  Lead stays   "_s;
    ASSERT_TRUE(ID3::writeID3v1Tag(path, r, 0.0f, true));
    const QByteArray t = trailerOf(path);
    EXPECT_EQ(t.mid(3, 30), r.title.left(30).toLatin1());
    EXPECT_EQ(t.mid(63, 30), QByteArray("Album") + QByteArray(25, '\0')); // zeros, not spaces

    const ID3v1Record back = ID3::readID3v1Tag(path);
    EXPECT_EQ(back.title, r.title.left(30));
    EXPECT_EQ(back.artist, u"  Lead stays"_s);

    // Another tool's trailer: space padding and text after a zero byte.
    QByteArray other = Mp3Writer::id3v1({.title = u"Spaced"_s});
    other.replace(3, 30, QByteArray("Spaced").leftJustified(30, ' '));
    other.replace(33, 30, QByteArray(QByteArray("Cut") + '\0' + QByteArray("hidden").leftJustified(26, 'z')));
    const ID3v1Record foreign = ID3::decodeTrailer(other);
    EXPECT_EQ(foreign.title, u"Spaced"_s);
    EXPECT_EQ(foreign.artist, u"Cut"_s);
}

TEST_F(ID3v1Test, LatinOneTextKeptAndOtherCharactersBecomeQuestionMarks)
{
    const QString path = audioFile(u"a.mp3"_s);
    ID3v1Record r = record(u"Café ñ"_s);
    r.artist = u"Дом \U0001F3B5 x"_s; // Cyrillic and one character outside the BMP
    ASSERT_TRUE(ID3::writeID3v1Tag(path, r, 0.0f, true));
    const QByteArray t = trailerOf(path);
    EXPECT_EQ(t.mid(3, 6), QByteArray("Caf\xE9 \xF1"));
    const ID3v1Record back = ID3::readID3v1Tag(path);
    EXPECT_EQ(back.title, u"Café ñ"_s);
    EXPECT_EQ(back.artist, u"??? ? x"_s);
}

TEST_F(ID3v1Test, TrackChoosesTheLayout)
{
    const QString comment30 = u"c"_s.repeated(30);
    const QString path = audioFile(u"a.mp3"_s);

    ID3v1Record withTrack = record(u"T"_s, 7);
    withTrack.comment = comment30;
    ASSERT_TRUE(ID3::writeID3v1Tag(path, withTrack, 0.0f, true));
    QByteArray t = trailerOf(path);
    EXPECT_EQ(t.at(125), '\0');
    EXPECT_EQ(t.at(126), '\x07');
    ID3v1Record back = ID3::readID3v1Tag(path);
    EXPECT_EQ(back.comment, comment30.left(28));
    EXPECT_EQ(back.track, 7);

    ID3v1Record noTrack = record(u"T"_s, -1);
    noTrack.comment = comment30;
    ASSERT_TRUE(ID3::writeID3v1Tag(path, noTrack, 0.0f, true));
    back = ID3::readID3v1Tag(path);
    EXPECT_EQ(back.comment, comment30);
    EXPECT_EQ(back.track, -1);

    // An explicit version: 1.0 drops the track, 1.1 writes the track byte even without one.
    ASSERT_TRUE(ID3::writeID3v1Tag(path, withTrack, 1.0f, true));
    back = ID3::readID3v1Tag(path);
    EXPECT_EQ(back.comment, comment30);
    EXPECT_EQ(back.track, -1);
    ASSERT_TRUE(ID3::writeID3v1Tag(path, noTrack, 1.1f, true));
    t = trailerOf(path);
    EXPECT_EQ(t.at(125), '\0');
    EXPECT_EQ(t.at(126), '\0');
    EXPECT_EQ(ID3::readID3v1Tag(path).comment, comment30.left(28));
}

TEST_F(ID3v1Test, TrackByteIsReadOnlyBehindAZeroByte)
{
    QByteArray t = Mp3Writer::id3v1({.comment = u"x"_s.repeated(28), .track = 5});
    EXPECT_EQ(ID3::decodeTrailer(t).track, 5);
    t[126] = '\0'; // both bytes zero: no track
    EXPECT_EQ(ID3::decodeTrailer(t).track, -1);
    t[125] = 'y';  // a 30-character comment
    t[126] = 'z';
    const ID3v1Record r = ID3::decodeTrailer(t);
    EXPECT_EQ(r.track, -1);
    EXPECT_EQ(r.comment, u"x"_s.repeated(28) + u"yz"_s);
}

TEST_F(ID3v1Test, RefusedWritesLeaveTheFileUnchanged)
{
    const QString path = audioFile(u"a.mp3"_s);
    const QByteArray before = readAll(path);

    ID3v1Record absent = record(u"T"_s);
    absent.exists = false;
    EXPECT_EQ(ID3::writeTrailer(path, absent, 0.0f, false), TrailerResult::NotRequested);
    EXPECT_EQ(ID3::writeTrailer(path, record(u"T"_s, 256), 0.0f, true), TrailerResult::BadTrack);
    EXPECT_EQ(ID3::writeTrailer(path, record(u"T"_s, -2), 0.0f, true), TrailerResult::BadTrack);
    EXPECT_EQ(readAll(path), before);

    EXPECT_EQ(ID3::writeTrailer(tempFile(u"missing.mp3"_s), record(u"T"_s), 0.0f, true), TrailerResult::NoSuchFile);
    EXPECT_EQ(ID3::writeTrailer(tempPath(), record(u"T"_s), 0.0f, true), TrailerResult::NoSuchFile);
    const QString hidden = audioFile(u".hidden.mp3"_s);
    EXPECT_EQ(ID3::writeTrailer(hidden, record(u"T"_s), 0.0f, true), TrailerResult::NoSuchFile);

    // Read-only means no write permission, whoever runs the program (the superuser too).
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(ID3::writeTrailer(path, record(u"T"_s), 0.0f, true), TrailerResult::CannotOpen);
    EXPECT_EQ(readAll(path), before);

    const QString tagged = writeFile(u"tagged.mp3"_s, before + Mp3Writer::id3v1({.title = u"Kept"_s}));
    const QByteArray taggedBytes = readAll(tagged);
    QFile::setPermissions(tagged, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(ID3::writeTrailer(tagged, record(u"New"_s), 0.0f, true), TrailerResult::CannotOpen);
    EXPECT_EQ(ID3::removeTrailer(tagged), TrailerResult::CannotOpen);
    EXPECT_FALSE(ID3::removeID3v1Tag(tagged));
    ID3Tag tag;
    ASSERT_TRUE(tag.ReadFromFile(tagged));
    tag.setTitle(u"New"_s);
    EXPECT_FALSE(tag.WriteToFile());
    EXPECT_FALSE(tag.RemoveTagFromFile());
    EXPECT_EQ(readAll(tagged), taggedBytes);
}

TEST_F(ID3v1Test, RemovalCutsOnlyTheTrailer)
{
    const QByteArray audio = Mp3Writer::cbrFile(0.5);
    const QString path = writeFile(u"a.mp3"_s, audio + Mp3Writer::id3v1({.title = u"X"_s}));
    EXPECT_EQ(ID3::removeTrailer(path), TrailerResult::Ok);
    EXPECT_EQ(readAll(path), audio);
    // Nothing to remove is a success that leaves the file alone.
    EXPECT_TRUE(ID3::removeID3v1Tag(path));
    EXPECT_EQ(readAll(path), audio);
    EXPECT_TRUE(ID3::removeID3v1Tag(tempFile(u"missing.mp3"_s)));

    const QString only = writeFile(u"only.mp3"_s, Mp3Writer::id3v1({}));
    EXPECT_TRUE(ID3::removeID3v1Tag(only));
    EXPECT_EQ(QFileInfo(only).size(), 0);
}

TEST_F(ID3v1Test, MissingOrShortFilesReadAsUntagged)
{
    const ID3v1Record empty;
    EXPECT_EQ(ID3::readID3v1Tag(tempFile(u"missing.mp3"_s)), empty);
    EXPECT_EQ(ID3::readID3v1Tag(writeFile(u"tiny.mp3"_s, "TAG")), empty);
    EXPECT_EQ(ID3::readID3v1Tag(tempPath()), empty);
    EXPECT_EQ(empty.track, 0);
    EXPECT_FALSE(ID3::hasID3v1Tag(tempFile(u"missing.mp3"_s)));
}

TEST_F(ID3v1Test, TagObjectReadsWritesAndClears)
{
    const QString path = writeFile(u"a.mp3"_s, Mp3Writer::cbrFile(0.5) + Mp3Writer::id3v1({.title = u"T"_s, .year = u"199x"_s, .track = 4, .genre = 85}));
    ID3Tag tag;
    EXPECT_FALSE(tag.ReadFromFile());   // no name given and none stored
    EXPECT_FALSE(tag.WriteToFile());
    EXPECT_FALSE(tag.RemoveTagFromFile());
    ASSERT_TRUE(tag.ReadFromFile(path));
    EXPECT_EQ(tag.Filename(), path);
    EXPECT_EQ(tag.Title(), u"T"_s);
    EXPECT_EQ(tag.TheYear(), 199);
    EXPECT_EQ(tag.Track(), 4);
    EXPECT_EQ(tag.GenreName(), u"Bebob"_s);

    EXPECT_FALSE(tag.setGenre(256));
    EXPECT_FALSE(tag.setGenre(-1));
    EXPECT_EQ(tag.Genre(), 85);
    EXPECT_TRUE(tag.setGenre(255));
    EXPECT_EQ(tag.GenreName(), u"255 (Unknown)"_s);

    // Writing elsewhere does not move the stored name.
    const QString other = audioFile(u"b.mp3"_s);
    ASSERT_TRUE(tag.WriteToFile(other));
    EXPECT_EQ(tag.Filename(), path);
    EXPECT_EQ(ID3::readID3v1Tag(other).genre, 255);

    // A cleared tag writes empty fields, genre 0 and a zero track byte in the 1.1 layout.
    tag.ClearTag();
    EXPECT_EQ(tag.Filename(), path);
    EXPECT_EQ(tag.TheYear(), 0);
    // Blanks before the digits are skipped, as some taggers right-align the year.
    for (const auto &[text, year] : {std::pair{u" 999"_s, 999}, {u"  87"_s, 87}, {u" x"_s, 0}, {u"    "_s, 0}}) {
        ID3::ID3v1Record r;
        r.year = text;
        tag.setRecord(r);
        EXPECT_EQ(tag.TheYear(), year) << text.toStdString();
    }
    tag.ClearTag();
    ASSERT_TRUE(tag.WriteToFile());
    EXPECT_EQ(trailerOf(path), QByteArray("TAG") + QByteArray(125, '\0'));
    tag.setTheYear(2003);
    EXPECT_EQ(tag.record().year, u"2003"_s);

    ASSERT_TRUE(tag.RemoveTagFromFile());
    EXPECT_FALSE(tag.ReadFromFile());
    EXPECT_FALSE(tag.record().exists);
}

TEST_F(ID3v1Test, GenreNameCanChooseTheGenreByte)
{
    const QString path = audioFile(u"a.mp3"_s);
    ID3v1Record r = record(u"T"_s);
    r.genre = 0;
    r.genreName = u"folklore"_s;
    ASSERT_EQ(ID3::writeTrailer(path, r, 0.0f, true, true), TrailerResult::Ok);
    EXPECT_EQ(ID3::readID3v1Tag(path).genre, 115);
    r.genreName = u"No such genre"_s;
    ASSERT_EQ(ID3::writeTrailer(path, r, 0.0f, true, true), TrailerResult::Ok);
    EXPECT_EQ(ID3::readID3v1Tag(path).genre, 255);
}

} // namespace
