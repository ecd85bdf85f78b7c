// The bytes the tag write check guards: everything between the ID3v2 tag and the ID3v1
// trailer. Tag changes leave the hash alone; a change anywhere in between does not.

#include "audio/TagWriteCheck.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QFile>

using namespace Qt::StringLiterals;

using TagWriteCheckTest = VarneltTest;

TEST_F(TagWriteCheckTest, AudioHashCoversExactlyTheBytesBetweenTheTags)
{
    const QByteArray audio = Mp3Writer::cbrFile(2.0) + Mp3Writer::apeTag(40) + "trailing junk";
    const QByteArray v1 = Mp3Writer::id3v1({.title = u"Title"_s, .track = 2});
    const QString path = writeFile(u"song.mp3"_s, Mp3Writer::id3v2({{"TIT2", u"Title"_s}}, 0, 64) + audio + v1);
    const QByteArray original = readAll(path);
    const QByteArray hash = TagWriteCheck::audioHash(path);
    ASSERT_FALSE(hash.isEmpty());

    // The whole file is kept for putting it back, up to the size asked for.
    const TagWriteCheck::FileBefore before = TagWriteCheck::readBefore(path);
    EXPECT_EQ(before.audioHash, hash);
    EXPECT_EQ(before.bytes, original);
    EXPECT_EQ(TagWriteCheck::readBefore(path, original.size() - 1).bytes, std::nullopt);
    EXPECT_EQ(TagWriteCheck::readBefore(path, original.size() - 1).audioHash, hash);

    // Another tag of another size in front, another trailer or none behind: the same audio.
    writeFile(u"song.mp3"_s, Mp3Writer::id3v2({{"TIT2", QString(500, u'x')}}, 3000, 0) + audio
                                 + Mp3Writer::id3v1({.title = u"Other"_s}));
    EXPECT_EQ(TagWriteCheck::audioHash(path), hash);
    writeFile(u"song.mp3"_s, audio);
    EXPECT_EQ(TagWriteCheck::audioHash(path), hash);

    // One byte changed in the audio, in the APE tag or the junk after it, or bytes added behind
    // the trailer: a different hash.
    for (const qsizetype at : {qsizetype(100), audio.size() - 50, audio.size() - 3}) {
        QByteArray changed = audio;
        changed[at] = char(changed.at(at) ^ 1);
        writeFile(u"song.mp3"_s, changed + v1);
        EXPECT_NE(TagWriteCheck::audioHash(path), hash) << at;
    }
    writeFile(u"song.mp3"_s, audio + v1 + "x");
    EXPECT_NE(TagWriteCheck::audioHash(path), hash);

    // The kept bytes give the file back exactly; a missing file has no hash.
    ASSERT_TRUE(TagWriteCheck::putBack(path, *before.bytes));
    EXPECT_EQ(readAll(path), original);
    EXPECT_TRUE(TagWriteCheck::audioHash(tempFile(u"missing.mp3"_s)).isEmpty());
}
