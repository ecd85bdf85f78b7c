// ID3Edit's failures: every one comes back as a non-zero code and leaves the file as it was.

#include "audio/ID3Edit.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

class ID3EditSafetyTest : public VarneltTest {
protected:
    QString song(const QString &name = u"song.mp3"_s)
    {
        Mp3Writer::V1Fields v1;
        v1.title = u"Title"_s;
        v1.track = 2;
        return writeFile(name,
            Mp3Writer::id3v2({ { "TIT2", u"Title"_s } }, 0, 200) + Mp3Writer::cbrFile(2.0) + Mp3Writer::id3v1(v1));
    }

    // Sets every field of the object to something that needs a bigger tag.
    static void growTag(ID3Edit &tag)
    {
        tag.setTitle(u"A much longer title than before"_s);
        tag.setLyrics(QString(5000, u'l'));
    }

    QStringList filesInFolder() const { return QDir(tempPath()).entryList(QDir::Files | QDir::Hidden | QDir::System); }
};

TEST_F(ID3EditSafetyTest, MissingFileIsReportedByEveryOperation)
{
    const QString missing = tempFile(u"missing.mp3"_s);
    ID3Edit tag;
    tag.setTitle(u"x"_s);
    EXPECT_EQ(tag.SaveV2(missing), ID3Edit::FileNotFound);
    EXPECT_EQ(tag.SaveV1(missing), ID3Edit::FileNotFound);
    EXPECT_EQ(tag.RemoveV1(missing), ID3Edit::FileNotFound);
    EXPECT_EQ(tag.RemoveV2(missing), ID3Edit::FileNotFound);
    EXPECT_EQ(tag.PrepareV2(missing), ID3Edit::FileNotFound);
    EXPECT_EQ(tag.SaveV2(tempPath()), ID3Edit::FileNotFound) << "a folder is no file";
    EXPECT_FALSE(QFile::exists(missing)) << "nothing is created";
}

TEST_F(ID3EditSafetyTest, ReadOnlyFileIsRefusedAndUnchanged)
{
    const QString path = song();
    const QByteArray before = readAll(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ID3Edit tag;
    tag.Load(path);
    growTag(tag);
    tag.setV1Title(u"Other"_s);
    EXPECT_EQ(tag.PrepareV2(path), ID3Edit::ReadOnly);
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::ReadOnly);
    EXPECT_EQ(tag.SaveV1(path), ID3Edit::ReadOnly);
    EXPECT_EQ(tag.RemoveV1(path), ID3Edit::ReadOnly);
    EXPECT_EQ(tag.RemoveV2(path), ID3Edit::ReadOnly);
    EXPECT_EQ(readAll(path), before);
}

TEST_F(ID3EditSafetyTest, FilesWithoutMpegAudioAreNotTagged)
{
    const QByteArray text = "This is a text file that was given the name of an MP3 file.\n";
    const QString path = writeFile(u"text.mp3"_s, text);
    const QString empty = writeFile(u"empty.mp3"_s, QByteArray());
    ID3Edit tag;
    EXPECT_EQ(tag.Load(path), ID3Edit::NotMpeg);
    EXPECT_FALSE(tag.HasV2());
    tag.setTitle(u"x"_s);
    EXPECT_EQ(tag.PrepareV2(path), ID3Edit::NotMpeg);
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::NotMpeg);
    EXPECT_EQ(tag.SaveV2(empty), ID3Edit::NotMpeg);
    tag.setV1Title(u"x"_s);
    EXPECT_EQ(tag.SaveV1(path), ID3Edit::NotMpeg) << "no trailer is appended to a file that is no MP3";
    EXPECT_EQ(readAll(path), text);
    EXPECT_EQ(readAll(empty), QByteArray());
}

TEST_F(ID3EditSafetyTest, DamagedTagIsNotWrittenOver)
{
    // The header declares a body far larger than the file.
    const QByteArray damaged = Mp3Writer::id3v2Header(0x0FFFFFFF) + QByteArray("TIT2") + Mp3Writer::cbrFile(1.0);
    // Size bytes with the high bit set are no ID3v2 size at all.
    const QByteArray badSize = QByteArray("ID3\x03\x00\x00\x80\x80\x80\x80", 10) + Mp3Writer::cbrFile(1.0);
    for (const QByteArray &bytes : { damaged, badSize }) {
        const QString path = writeFile(u"damaged.mp3"_s, bytes);
        ID3Edit tag;
        EXPECT_EQ(tag.Load(path), ID3Edit::DamagedTag);
        EXPECT_FALSE(tag.HasV2());
        tag.setTitle(u"x"_s);
        EXPECT_EQ(tag.SaveV2(path), ID3Edit::DamagedTag);
        EXPECT_EQ(tag.RemoveV2(path), ID3Edit::DamagedTag);
        EXPECT_EQ(readAll(path), bytes);
    }
}

TEST_F(ID3EditSafetyTest, AFrameThatWouldNotSurviveAWriteKeepsTheFileAsItIs)
{
    // Version-2.3 frames by hand: the second flag byte 0x40 marks an encrypted frame.
    const auto frame = [](const char *id, char flags, const QByteArray &data) -> QByteArray {
        const qsizetype n = data.size();
        return QByteArray(id) + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n) + char(0) + flags + data;
    };
    const QByteArray body = frame("TIT2", 0, QByteArray("\0Song", 5)) + frame("TSIZ", 0, QByteArray("\0" "123", 4))
        + frame("COMM", 0x40, QByteArray("\x80" "eng\0secret", 11));
    const QByteArray tagged = Mp3Writer::id3v2Header(quint32(body.size())) + body + Mp3Writer::cbrFile(1.0);
    const QString path = writeFile(u"encrypted.mp3"_s, tagged);
    ID3Edit tag;
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Comment(), QString());
    tag.setTitle(u"x"_s);
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::DamagedTag);
    EXPECT_EQ(readAll(path), tagged);

    // Without the encrypted frame the same tag is written (a frame TagLib drops is no reason).
    const QByteArray plain = Mp3Writer::id3v2Header(quint32(body.size() - 21)) + body.left(body.size() - 21)
        + Mp3Writer::cbrFile(1.0);
    writeFile(u"encrypted.mp3"_s, plain);
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    tag.setTitle(u"x"_s);
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Title(), u"x"_s);

    // A compressed frame (flag 0x80, its inflated size first) is written back inflated when its data
    // inflates, and refused when it does not: read garbled, it would be written back so.
    const QByteArray userText("\0\0Packed", 8);
    const QByteArray packed = qCompress(userText); // the inflated size, then the zlib stream
    QByteArray broken = packed;
    broken[5] = char(0x89);
    for (const bool inflates : { true, false }) {
        const QByteArray compressedBody = frame("TIT2", 0, QByteArray("\0Song", 5))
            + frame("TXXX", char(0x80), inflates ? packed : broken);
        const QByteArray bytes = Mp3Writer::id3v2Header(quint32(compressedBody.size())) + compressedBody
            + Mp3Writer::cbrFile(1.0);
        const QString compressed = writeFile(u"compressed.mp3"_s, bytes);
        ASSERT_EQ(tag.Load(compressed), ID3Edit::Ok);
        tag.setTitle(u"x"_s);
        EXPECT_EQ(tag.SaveV2(compressed), inflates ? ID3Edit::Ok : ID3Edit::DamagedTag) << inflates;
        if (!inflates) {
            EXPECT_EQ(readAll(compressed), bytes);
            continue;
        }
        ASSERT_EQ(tag.Load(compressed), ID3Edit::Ok);
        EXPECT_EQ(tag.Title(), u"x"_s);
        EXPECT_EQ(tag.UserText(), u"Packed"_s);
    }

    // A text encoding byte beyond UTF-8 (5): written back, the described frame would come out empty
    // and hide the plain user text after it.
    const QByteArray oddBody = frame("TXXX", 0, QByteArray("\x05" "desc\0val", 9))
        + frame("TXXX", 0, QByteArray("\0\0UserText", 10));
    const QByteArray odd = Mp3Writer::id3v2Header(quint32(oddBody.size())) + oddBody + Mp3Writer::cbrFile(1.0);
    const QString oddPath = writeFile(u"odd.mp3"_s, odd);
    ASSERT_EQ(tag.Load(oddPath), ID3Edit::Ok);
    EXPECT_EQ(tag.UserText(), u"UserText"_s);
    tag.setTitle(u"x"_s);
    EXPECT_EQ(tag.SaveV2(oddPath), ID3Edit::DamagedTag);
    EXPECT_EQ(readAll(oddPath), odd);
}

TEST_F(ID3EditSafetyTest, TagLibNeverWritesATagOverBytesThatAreNotTheLeadingTag)
{
    // TagLib counts an "ID3" right after the tag as a duplicate tag and writes over its space:
    // here that space (650 bytes) reaches into the audio that follows ten bytes later.
    const QByteArray body = QByteArray("TIT2", 4) + QByteArray("\0\0\0\x05\0\0\0Song", 15);
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    const QByteArray fake = Mp3Writer::id3v2Header(quint32(body.size())) + body
        + QByteArray("ID3v1\0\0\0\x05\0", 10) + audio;
    const QString path = writeFile(u"fake.mp3"_s, fake);
    ID3Edit tag;
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    tag.setTitle(u"Song"_s); // same length: TagLib would write in place over the audio
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::DamagedTag);
    EXPECT_EQ(tag.RemoveV2(path), ID3Edit::DamagedTag);
    EXPECT_EQ(readAll(path), fake);

    // A real second tag there is a duplicate indeed: the write takes both and keeps the audio.
    const QByteArray twice = Mp3Writer::id3v2Header(quint32(body.size())) + body
        + Mp3Writer::id3v2Header(quint32(body.size())) + body + audio;
    writeFile(u"fake.mp3"_s, twice);
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    tag.setTitle(u"Other"_s);
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    EXPECT_TRUE(readAll(path).endsWith(audio));
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_EQ(tag.Title(), u"Other"_s);

    // Only a tag at the start is the file's tag; TagLib finds one further in too, and would
    // write over it, in the middle of the file.
    const QByteArray inner = QByteArray(64, '\0') + Mp3Writer::id3v2Header(quint32(body.size())) + body + audio;
    writeFile(u"fake.mp3"_s, inner);
    ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
    EXPECT_FALSE(tag.HasV2());
    tag.setTitle(u"Song"_s);
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::DamagedTag);
    EXPECT_EQ(tag.RemoveV2(path), ID3Edit::DamagedTag);
    EXPECT_EQ(readAll(path), inner);
}

#ifdef Q_OS_UNIX
TEST_F(ID3EditSafetyTest, AFailingWriteLeavesTheOldFileWhole)
{
    const QString path = song();
    const QByteArray before = readAll(path);
    ID3Edit tag;
    tag.Load(path);
    growTag(tag);

    // Let no file of this process grow more than a little past the song's size: the copy can
    // be made, but writing the bigger tag into it fails half way, like a full disk.
    struct rlimit saved { };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = rlim_t(before.size() + 1000);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const ID3Edit::Result result = tag.SaveV2(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, ID3Edit::WriteFailed);
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(filesInFolder(), QStringList { u"song.mp3"_s }) << "the unfinished copy is removed";

    // With room again the same object saves.
    EXPECT_EQ(tag.SaveV2(path), ID3Edit::Ok);
    ID3Edit check;
    check.Load(path);
    EXPECT_EQ(check.Lyrics().size(), 5000);
    EXPECT_TRUE(readAll(path).endsWith(before.right(before.size() - 210)));
}

TEST_F(ID3EditSafetyTest, ReadOnlyFolderLeavesTheFileWhole)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    const QString folder = tempFile(u"locked"_s);
    const QString path = writeFile(u"locked/song.mp3"_s, readAll(song()));
    const QByteArray before = readAll(path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    ID3Edit tag;
    growTag(tag);
    const ID3Edit::Result saved = tag.SaveV2(path);
    const ID3Edit::Result removed = tag.RemoveV2(path);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(saved, ID3Edit::ReadOnly);
    EXPECT_EQ(removed, ID3Edit::ReadOnly);
    EXPECT_EQ(readAll(path), before);
}
#endif

} // namespace
