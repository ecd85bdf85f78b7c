// varnelt-cli tag, run as a separate program on generated album folders; what it wrote is read
// back from the files.
#include "CliRunner.h"

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "support/Mp3Writer.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

class CliTagTest : public CliTest
{
protected:
    /// album/a.mp3, b.mp3, c.mp3 titled One, Two, Three, with both tags.
    QString makeAlbum()
    {
        const QStringList titles{u"One"_s, u"Two"_s, u"Three"_s};
        QList<Mp3Writer::AlbumFile> files;
        for (int i = 0; i < titles.size(); ++i) {
            files.append({QChar(u'a' + i) + u".mp3"_s,
                          {.title = titles[i], .artist = u"Foo"_s, .album = u"Bar"_s, .track = 7, .withV1 = true}});
        }
        return Mp3Writer::makeAlbum(tempFile(u"album"_s), files);
    }
    template <typename Value> static Value v2(const QString &path, Value (ID3Edit::*field)() const)
    {
        ID3Edit tag;
        tag.Load(path);
        return (tag.*field)();
    }
};

} // namespace

TEST_F(CliTagTest, FillAsksFirstAndWritesOnlyTheNamedFields)
{
    const QString dir = makeAlbum();
    const QString a = dir + u"/a.mp3"_s;
    const QByteArray before = readAll(a);
    // A whole 1x1 GIF: the CLI decodes a picture before taking it.
    static const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF\x21\xF9\x04\x01\x00"
                              "\x00\x00\x00\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B";
    const QString picture = writeFile(u"cover.gif"_s, QByteArray(gif, sizeof gif - 1));
    const QString damaged = writeFile(u"damaged.jpg"_s, "\xFF\xD8\xFF\xE0 only the start of a JPEG");
    const QStringList fill{u"tag"_s, dir, u"--fill"_s, u"v2:Album=Live"_s, u"--fill"_s, u"v1:Genre=jazz"_s,
                           u"--fill"_s, u"v2:Picture="_s + picture};

    CliRun run = this->run(fill);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"Fill all selected tags of all files ?"_s)) << run.err.toStdString();
    EXPECT_EQ(readAll(a), before);

    for (const QString &bad : QStringList{u"v2:Title=x"_s, u"v1:Nope=x"_s, u"v2:Picture="_s + a, u"v2:Picture="_s + damaged}) {
        run = this->run({u"tag"_s, dir, u"--fill"_s, bad, u"--yes"_s});
        EXPECT_EQ(run.exitCode, 2) << bad.toStdString();
    }
    EXPECT_EQ(readAll(a), before);

    run = this->run(fill + QStringList{u"--yes"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.lines(), QStringList({u"a.mp3: ID3v1 + ID3v2 written (tags now: ID3v1 + ID3v2)"_s,
                                        u"b.mp3: ID3v1 + ID3v2 written (tags now: ID3v1 + ID3v2)"_s,
                                        u"c.mp3: ID3v1 + ID3v2 written (tags now: ID3v1 + ID3v2)"_s}));
    const QString c = dir + u"/c.mp3"_s;
    EXPECT_EQ(v2(c, &ID3Edit::Album), u"Live"_s);
    EXPECT_EQ(v2(c, &ID3Edit::Title), u"Three"_s);
    EXPECT_EQ(v2(c, &ID3Edit::Picture).mimeType, u"image/gif"_s);
    const ID3::ID3v1Record v1 = ID3::readID3v1Tag(c);
    EXPECT_EQ(v1.genre, 8);
    EXPECT_EQ(v1.album, u"Bar"_s);
    EXPECT_EQ(v1.title, u"Three"_s);
}

TEST_F(CliTagTest, NumberingSetCopyAndRemove)
{
    const QString dir = makeAlbum();
    const QString a = dir + u"/a.mp3"_s, b = dir + u"/b.mp3"_s, c = dir + u"/c.mp3"_s;

    CliRun run = this->run({u"tag"_s, dir, u"--number"_s, u"--total"_s, u"--only"_s, u"c.mp3"_s, u"--only"_s,
                            u"a.mp3"_s, u"--yes"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(v2(a, &ID3Edit::Track), u"1/2"_s);
    EXPECT_EQ(v2(c, &ID3Edit::Track), u"2/2"_s);
    EXPECT_EQ(ID3::readID3v1Tag(c).track, 2);
    EXPECT_EQ(v2(b, &ID3Edit::Track), u"7"_s);

    // One file's save in mode 2: the version-1 title asked for is not written, the trailer stays.
    const QByteArray trailer = readAll(b).right(128);
    EXPECT_EQ(this->run({u"tag"_s, dir, u"--set"_s, u"v2:Title=Intro"_s}).exitCode, 2);
    run = this->run({u"tag"_s, dir, u"--only"_s, u"b.mp3"_s, u"--mode"_s, u"2"_s, u"--set"_s, u"v2:Title=Intro"_s,
                     u"--set"_s, u"v1:Title=Ignored"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(v2(b, &ID3Edit::Title), u"Intro"_s);
    EXPECT_EQ(readAll(b).right(128), trailer);

    run = this->run({u"tag"_s, dir, u"--copy"_s, u"v2-to-v1"_s, u"--yes"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(ID3::readID3v1Tag(b).title, u"Intro"_s);
    EXPECT_EQ(run.lines().first(), u"a.mp3: ID3v1 written (tags now: ID3v1 + ID3v2)"_s);

    // A file that is no MP3 inside fails and is reported; the others are done; exit status 1.
    writeFile(u"album/b2.mp3"_s, QByteArray(4000, 't') + Mp3Writer::id3v1({.title = u"Text"_s}));
    run = this->run({u"tag"_s, dir, u"--remove"_s, u"--mode"_s, u"2"_s, u"--yes"_s, u"--copy"_s, u"v1-to-v2"_s});
    EXPECT_EQ(run.exitCode, 2); // two operations
    run = this->run({u"tag"_s, dir, u"--copy"_s, u"v1-to-v2"_s, u"--yes"_s});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines().at(2), u"b2.mp3: Can't save ID3v2 Tag informations."_s);
    EXPECT_EQ(v2(c, &ID3Edit::Title), u"Three"_s);
    EXPECT_EQ(v2(c, &ID3Edit::Track), u"2"_s); // of "2/2" the version-1 tag took the track

    run = this->run({u"tag"_s, dir, u"--remove"_s, u"--mode"_s, u"2"_s, u"--yes"_s, u"--only"_s, u"a.mp3"_s});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.lines(), QStringList{u"a.mp3: ID3v2 removed (tags now: ID3v1)"_s});
    EXPECT_TRUE(run.err.contains(u"Delete ID3 tag of selected files ?"_s));

    // A removal named by a relative folder is undone like any other change.
    const QByteArray beforeRemoval = readAll(b);
    run = this->run({u"tag"_s, u"album"_s, u"--remove"_s, u"--mode"_s, u"3"_s, u"--yes"_s, u"--only"_s, u"b.mp3"_s},
                    QFileInfo(dir).absolutePath());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_NE(readAll(b), beforeRemoval);
    run = this->run({u"undo"_s});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    EXPECT_EQ(readAll(b), beforeRemoval);
}
