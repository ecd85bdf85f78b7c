// Files that are not what their name says: empty, random, cut short, or with absurd sizes in
// their tags and headers. Every reader answers (no crash, no hang) with a sound result.

#include "audio/ID3.h"
#include "audio/Mp3InfoVBR.h"
#include "audio/XAnalyzer.h"
#include "audio/XAnalyzerAnalysis.h"

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

class MalformedAudioTest : public VarneltTest
{
protected:
    // Runs every reader on the file and returns the analyzer's status.
    int readAllWays(const QString &path)
    {
        (void)ID3::hasID3v1Tag(path);
        (void)ID3::readID3v1Tag(path);
        (void)Mp3InfoVBR::readMpegInfo(path);
        XAnalyzer::Analysis a;
        a.setFilename(path);
        EXPECT_EQ(a.HadError(), a.LastStatus() < 0);
        return a.LastStatus();
    }

    static QByteArray random(quint32 seed, int size)
    {
        QRandomGenerator gen(seed);
        QByteArray b(size, '\0');
        gen.fillRange(reinterpret_cast<quint32 *>(b.data()), size / 4);
        return b;
    }
};

TEST_F(MalformedAudioTest, TinyFilesGiveNoResult)
{
    const QList<QByteArray> tiny{{}, "\xFF", "ID3", "TAG", QByteArray("\xFF\xFB\x90\x64", 4),
                                 Mp3Writer::id3v2Header(5), Mp3Writer::frame({}).left(416)};
    for (const QByteArray &bytes : tiny) {
        SCOPED_TRACE(bytes.size());
        const QString path = writeFile(u"tiny.mp3"_s, bytes);
        EXPECT_EQ(readAllWays(path), XAnalyzer::NoFrameStart);
        if (bytes.size() < 256) { // too short for the built-in reader
            EXPECT_EQ(Mp3InfoVBR::readMpegInfo(path), Mp3InfoVBR::MpegInfo());
        }
        EXPECT_FALSE(ID3::readID3v1Tag(path).exists);
    }
}

TEST_F(MalformedAudioTest, RandomBytesNamedMp3)
{
    for (quint32 seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        const QByteArray bytes = random(seed, int(1000 + seed * 37'001));
        const int status = readAllWays(writeFile(u"random.mp3"_s, bytes));
        EXPECT_TRUE(status == XAnalyzer::Ok || status == XAnalyzer::NoFrameStart);
        // Whatever was found must describe a real frame start that the next frame confirms.
        XAnalyzer::StreamInfo info;
        if (XAnalyzer::processFile(tempFile(u"random.mp3"_s), info) == XAnalyzer::Ok) {
            EXPECT_TRUE(info.firstHeader.isValid);
            EXPECT_GE(info.record.bitrate, 8000);
        }
    }
}

TEST_F(MalformedAudioTest, AbsurdTagSizes)
{
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    XAnalyzer::StreamInfo info;

    // A tag that claims 256 MB in a small file: the search starts at the tag and finds the audio.
    const QString huge = writeFile(u"huge.mp3"_s, Mp3Writer::id3v2Header(0x0FFFFFFF) + audio);
    ASSERT_EQ(XAnalyzer::processFile(huge, info), XAnalyzer::Ok);
    EXPECT_EQ(info.firstFrameOffset, 10);

    // A size with its high bits set is no tag at all.
    QByteArray badSize = Mp3Writer::id3v2Header(100);
    badSize[6] = char(0x80);
    ASSERT_EQ(XAnalyzer::processFile(writeFile(u"bad.mp3"_s, badSize + audio), info), XAnalyzer::Ok);
    EXPECT_EQ(info.audioStart, 0);

    // Thousands of empty tags in a row are all skipped.
    QByteArray many;
    for (int i = 0; i < 20'000; ++i)
        many += Mp3Writer::id3v2Header(0);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(XAnalyzer::processFile(writeFile(u"many.mp3"_s, many + audio), info), XAnalyzer::Ok);
    EXPECT_EQ(info.firstFrameOffset, many.size());
    EXPECT_LT(timer.elapsed(), 5000);

    // An APE footer that claims more than the file holds is not taken off the audio.
    QByteArray ape = Mp3Writer::apeTag(0);
    ape[47] = char(0x7F); // footer size field (little-endian), high byte
    const QString withApe = writeFile(u"ape.mp3"_s, audio + ape);
    ASSERT_EQ(XAnalyzer::processFile(withApe, info), XAnalyzer::Ok);
    EXPECT_EQ(info.audioEnd, audio.size() + ape.size());

    EXPECT_EQ(readAllWays(writeFile(u"tagonly.mp3"_s, Mp3Writer::id3v2({{"TIT2", u"x"_s}}, 5000))), XAnalyzer::NoFrameStart);
}

TEST_F(MalformedAudioTest, DamagedVbrHeaders)
{
    const Mp3Writer::Frame f{};
    const QByteArray audio = Mp3Writer::frames(f, 200);
    XAnalyzer::StreamInfo info;

    // Frame and byte counts of 0xFFFFFFFF and of 1: the counts are not believed when they are
    // impossible, and nothing overflows.
    for (quint32 frames : {0xFFFFFFFFu, 1u, 0u}) {
        SCOPED_TRACE(frames);
        const QString path = writeFile(u"xing.mp3"_s, Mp3Writer::xingFrame(f, frames, 0xFFFFFFFFu) + audio);
        ASSERT_EQ(XAnalyzer::processFile(path, info), XAnalyzer::Ok);
        EXPECT_GT(info.record.bitrate, 0);
        EXPECT_LE(info.record.bitrate, 896'000);
        EXPECT_GE(info.record.durationMs, 0);
        const Mp3InfoVBR::MpegInfo builtIn = Mp3InfoVBR::readMpegInfo(path);
        EXPECT_GE(builtIn.bitrate, 0);
        EXPECT_GE(builtIn.duration, 0);
    }
    // A frame count of 1 puts 200 frames into 26 ms: ignored, the length comes from the bytes.
    ASSERT_EQ(XAnalyzer::processFile(writeFile(u"one.mp3"_s, Mp3Writer::xingFrame(f, 1) + audio), info), XAnalyzer::Ok);
    EXPECT_EQ(info.record.bitrate, 128'000);
    EXPECT_NEAR(info.record.durationMs, 200 * 26.12, 30);

    // A Xing header cut off after its flags, at the very end of the file.
    QByteArray cut = Mp3Writer::xingFrame(f, 100);
    cut.truncate(Mp3Writer::xingOffset(f) + 6);
    EXPECT_EQ(readAllWays(writeFile(u"cut.mp3"_s, cut)), XAnalyzer::NoFrameStart);
    cut = Mp3Writer::id3v2OfSize(300) + Mp3Writer::xingFrame(f, 100);
    cut.truncate(cut.size() - 300); // the frame is cut: it cannot be confirmed
    EXPECT_EQ(readAllWays(writeFile(u"cut2.mp3"_s, cut)), XAnalyzer::NoFrameStart);
}

TEST_F(MalformedAudioTest, TruncatedStreamsStillAnswer)
{
    QByteArray audio = Mp3Writer::cbrFile(1.0, 128) + Mp3Writer::frame({}).left(100);
    EXPECT_EQ(readAllWays(writeFile(u"cut.mp3"_s, audio)), XAnalyzer::Ok);
    EXPECT_EQ(Mp3InfoVBR::readMpegInfo(tempFile(u"cut.mp3"_s)).bitrate, 128);

    // The header of the second frame is cut in half: the first cannot be confirmed, so the
    // search goes on and finds nothing.
    const QByteArray two = Mp3Writer::frame({}) + Mp3Writer::frame({}).left(2);
    EXPECT_EQ(readAllWays(writeFile(u"two.mp3"_s, two)), XAnalyzer::NoFrameStart);
}

} // namespace
