// The built-in header reader on files of exact sizes: the sync scan and its window, header
// decoding, the Xing frame count and the bitrate and duration formulas.

#include "audio/Mp3InfoVBR.h"

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QFile>

using namespace Qt::StringLiterals;
using Mp3InfoVBR::MpegInfo;
using Mp3Writer::Frame;
using Mp3Writer::Mode;

namespace {

class Mp3InfoVBRTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        Mp3InfoVBR::resetState();
    }

    // Bytes cut or filled with 0x55 to exactly `size` (0x55 is neither a sync byte nor zero).
    static QByteArray exactly(QByteArray bytes, qsizetype size)
    {
        if (bytes.size() > size)
            bytes.truncate(size);
        else
            bytes.append(QByteArray(size - bytes.size(), '\x55'));
        return bytes;
    }

    MpegInfo analyse(const QByteArray &bytes)
    {
        return Mp3InfoVBR::readMpegInfo(writeFile(u"song.mp3"_s, bytes));
    }

    // A run of bytes that neither starts a frame nor lengthens the scan window.
    static QByteArray filler(qsizetype count) { return QByteArray(count, '\x55'); }
};

TEST_F(Mp3InfoVBRTest, ConstantBitrateFileOfFourMillionBytes)
{
    const MpegInfo info = analyse(exactly(Mp3Writer::cbrFile(260.0, 128), 4'000'000));
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_EQ(info.duration, 250);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.mpegVersion, 1);
    EXPECT_EQ(info.layer, 3);
    EXPECT_EQ(info.channelMode, u"Joint Stereo"_s);
    EXPECT_FALSE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::lastInfo(), info);
}

TEST_F(Mp3InfoVBRTest, XingFileAveragesOverTheWholeFile)
{
    const QByteArray file = exactly(Mp3Writer::xingFrame({}, 10'000) + Mp3Writer::cbrFile(300.0, 160), 5'000'000);
    const MpegInfo info = analyse(file);
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 10'000u);
    EXPECT_EQ(info.bitrate, 153); // 5,000,000 x 44100 / 10,000 / 1000 / 144 = 153.125
    EXPECT_EQ(info.duration, 261); // 40,000,000 / 153.125 = 261,224 ms
}

TEST_F(Mp3InfoVBRTest, FrameCountsBeyondSixteenBitsAreKept)
{
    const QString path = writeFile(u"long.mp3"_s, Mp3Writer::xingFrame({}, 100'000) + filler(1000));
    ASSERT_TRUE(QFile(path).resize(26'000'000));
    const MpegInfo info = Mp3InfoVBR::readMpegInfo(path);
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 100'000u);
    EXPECT_EQ(info.bitrate, 80); // 26e6 x 44100 / 1e5 / 1000 / 144 = 79.6
    EXPECT_EQ(info.duration, 2612); // 100,000 frames of 1152 samples at 44.1 kHz
}

TEST_F(Mp3InfoVBRTest, HugeFilesGetTheirRealDuration)
{
    // Sparse: the reader only looks at the start, the length does the rest.
    const QString path = writeFile(u"huge.mp3"_s, Mp3Writer::cbrFile(1.0, 128));
    const qint64 size = 300LL * 1024 * 1024;
    ASSERT_TRUE(QFile(path).resize(size));
    const MpegInfo info = Mp3InfoVBR::readMpegInfo(path);
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_EQ(info.duration, size * 8 / 128 / 1000); // 19,660 s, not 0 or negative

    const QString vbr = writeFile(u"hugevbr.mp3"_s, Mp3Writer::xingFrame({}, 1'000'000) + filler(500));
    ASSERT_TRUE(QFile(vbr).resize(size));
    EXPECT_EQ(Mp3InfoVBR::readMpegInfo(vbr).duration, 26122); // 1,000,000 x 1152 / 44100
}

TEST_F(Mp3InfoVBRTest, MonoXingHeaderStandsAfterTheShorterSideInfo)
{
    const Frame mono{.mode = Mode::Mono};
    const MpegInfo info = analyse(exactly(Mp3Writer::xingFrame(mono, 2000) + Mp3Writer::cbrFile(60, 128, mono), 500'000));
    EXPECT_EQ(Mp3Writer::xingOffset(mono), 21);
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 2000u);
    EXPECT_EQ(info.channelMode, u"Mono"_s);
    EXPECT_EQ(info.bitrate, 77); // 500,000 x 44100 / 2000 / 1000 / 144 = 76.56
    EXPECT_EQ(info.duration, 52); // 2000 x 1152 / 44100 = 52.2 s

    // A stereo frame is only looked at where its own header stands.
    analyse(exactly(Mp3Writer::xingFrameAt({}, 21, 2000) + Mp3Writer::cbrFile(60), 500'000));
    EXPECT_FALSE(Mp3InfoVBR::isVBR());
}

TEST_F(Mp3InfoVBRTest, HeaderFieldsDecode)
{
    const Frame f{.bitrate = 192, .sampleRate = 32000, .mode = Mode::DualChannel, .padding = true, .crc = true,
                  .privateBit = true, .copyright = true, .original = true, .emphasis = 1};
    const MpegInfo info = analyse(exactly(Mp3Writer::frames(f, 40), 20'000));
    EXPECT_EQ(info.sampleRate, 32000);
    EXPECT_EQ(info.bitrate, 192);
    EXPECT_EQ(info.channelMode, u"Dual Channel"_s);
    EXPECT_EQ(info.padding, u"Yes"_s);
    EXPECT_EQ(info.protection, u"Yes"_s);
    EXPECT_EQ(info.privateBit, u"Yes"_s);
    EXPECT_EQ(info.copyright, u"Yes"_s);
    EXPECT_EQ(info.original, u"Yes"_s);
    EXPECT_EQ(info.emphasis, u"50/15"_s);

    const MpegInfo plain = analyse(exactly(Mp3Writer::frames({.sampleRate = 48000, .mode = Mode::Stereo, .emphasis = 3}, 40), 20'000));
    EXPECT_EQ(plain.sampleRate, 48000);
    EXPECT_EQ(plain.channelMode, u"Stereo"_s);
    EXPECT_EQ(plain.padding, u"No"_s);
    EXPECT_EQ(plain.protection, u"No"_s);
    EXPECT_EQ(plain.privateBit, u"No"_s);
    EXPECT_EQ(plain.copyright, u"No"_s);
    EXPECT_EQ(plain.original, u"No"_s);
    EXPECT_EQ(plain.emphasis, u"CCITT J 17"_s);
    EXPECT_EQ(analyse(exactly(Mp3Writer::frames({.emphasis = 2}, 4), 2000)).emphasis, u"Reserved"_s);
}

TEST_F(Mp3InfoVBRTest, ImpossibleFieldsZeroWhatDependsOnThem)
{
    // Bitrate index 15: no bitrate and no duration, the rest decoded.
    QByteArray bad = exactly(QByteArray("\xFF\xFB\xF0\x44", 4), 10'000);
    MpegInfo info = analyse(bad);
    EXPECT_EQ(info.bitrate, 0);
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.channelMode, u"Joint Stereo"_s);

    // Sample-rate index 3 in a Xing frame: no average can be formed.
    QByteArray xing = exactly(Mp3Writer::xingFrame({}, 500), 10'000);
    xing[2] = char(xing[2] | 0x0C);
    info = analyse(xing);
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(info.sampleRate, 0);
    EXPECT_EQ(info.bitrate, 0);
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(info.layer, 3);

    // A zero frame count: flagged VBR, nothing computed.
    info = analyse(exactly(Mp3Writer::xingFrame({}, 0), 10'000));
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(info.bitrate, 0);
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(info.sampleRate, 44100);
}

TEST_F(Mp3InfoVBRTest, OnlyMpeg1LayerIIIFrameStartsAreRecognised)
{
    const Frame mpeg2{.version = 2, .bitrate = 64, .sampleRate = 22050};
    const QByteArray mpeg2Audio = Mp3Writer::frames(mpeg2, 40, '\x55');
    EXPECT_EQ(quint8(mpeg2Audio[1]), 0xF3);
    EXPECT_EQ(analyse(exactly(mpeg2Audio, 50'000)), MpegInfo());

    // A later MPEG-1 Layer III frame within the window is the one found.
    const MpegInfo info = analyse(exactly(mpeg2Audio + Mp3Writer::frames({.bitrate = 96}, 20), 50'000));
    EXPECT_EQ(info.bitrate, 96);
    EXPECT_EQ(info.mpegVersion, 1);
}

TEST_F(Mp3InfoVBRTest, ScanWindowIsCountedInPositionsAndLengthenedByZeros)
{
    const QByteArray audio = Mp3Writer::cbrFile(1.0, 112);
    EXPECT_EQ(analyse(filler(99'998) + audio).bitrate, 112); // the 99,999th position
    EXPECT_EQ(analyse(filler(99'999) + audio), MpegInfo());

    // Every zero byte met lengthens the window by one position.
    QByteArray mixed = filler(99'999);
    for (int i = 0; i < 1000; ++i)
        mixed[i * 50] = '\0';
    EXPECT_EQ(analyse(mixed + audio).bitrate, 112);
    EXPECT_EQ(analyse(mixed + filler(1000) + audio), MpegInfo());
    EXPECT_EQ(analyse(Mp3Writer::zeros(3'000'000) + audio).bitrate, 112);

    // A sync split across the reader's 64 KiB chunks is still seen.
    EXPECT_EQ(analyse(filler(65'535) + audio).bitrate, 112);
    EXPECT_EQ(analyse(Mp3Writer::zeros(131'071) + audio).bitrate, 112);
}

TEST_F(Mp3InfoVBRTest, LeadingId3v2TagIsSkippedBeforeTheScan)
{
    const QByteArray audio = Mp3Writer::cbrFile(2.0, 128);
    const QByteArray tag = Mp3Writer::id3v2({{"TIT2", u"Cover"_s}}, 200 * 1024);
    ASSERT_GT(tag.size(), Mp3InfoVBR::ScanWindow);
    const MpegInfo info = analyse(tag + audio);
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_EQ(info.duration, (tag.size() + audio.size()) * 8 / 128 / 1000); // whole file, tag included
    EXPECT_EQ(Mp3InfoVBR::leadingId3v2Size(tag), tag.size());

    // The window counts from the end of the tag.
    EXPECT_EQ(analyse(tag + filler(99'998) + audio).bitrate, 128);
    EXPECT_EQ(analyse(tag + filler(99'999) + audio), MpegInfo());

    // A v2.4 footer belongs to the tag; a size larger than the file is not trusted.
    const QByteArray withFooter = Mp3Writer::id3v2Header(150'000, 4, true) + filler(150'000) + "3DI" + filler(7);
    EXPECT_EQ(Mp3InfoVBR::leadingId3v2Size(withFooter), 150'020);
    EXPECT_EQ(analyse(withFooter + audio).bitrate, 128);
    EXPECT_EQ(analyse(Mp3Writer::id3v2Header(0x0FFFFFFF) + audio).bitrate, 128);
}

TEST_F(Mp3InfoVBRTest, NothingFoundKeepsTheVbrState)
{
    analyse(exactly(Mp3Writer::xingFrame({}, 1234), 10'000));
    ASSERT_TRUE(Mp3InfoVBR::isVBR());

    EXPECT_EQ(analyse(filler(300'000)), MpegInfo());
    EXPECT_EQ(Mp3InfoVBR::lastInfo(), MpegInfo());
    EXPECT_EQ(analyse(Mp3Writer::frames({}, 1).left(255)), MpegInfo()); // too short to analyse
    EXPECT_EQ(Mp3InfoVBR::readMpegInfo(tempFile(u"missing.mp3"_s)), MpegInfo());
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 1234u);

    // A constant-bitrate file clears the flag but keeps the last count.
    analyse(exactly(Mp3Writer::cbrFile(1.0), 10'000));
    EXPECT_FALSE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 1234u);
}

TEST_F(Mp3InfoVBRTest, FrameAtTheVeryEndReadsMissingBytesAsZeros)
{
    // The sync bytes are the last two of the file: the header's other bytes read as zero.
    const MpegInfo info = analyse(filler(300) + QByteArray("\xFF\xFB", 2));
    EXPECT_EQ(info.mpegVersion, 1);
    EXPECT_EQ(info.bitrate, 0);
    EXPECT_EQ(info.sampleRate, 44100);
    EXPECT_EQ(info.channelMode, u"Stereo"_s);
    EXPECT_FALSE(Mp3InfoVBR::isVBR());
}

TEST_F(Mp3InfoVBRTest, EncoderFiles)
{
    // Figures from ffprobe: 59.2 kbit/s over 2.04 s (mono), 128 kbit/s over 1.04 s.
    MpegInfo info = Mp3InfoVBR::readMpegInfo(fixturePath(u"enc_mono_vbr.mp3"_s));
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 78u);
    EXPECT_EQ(info.bitrate, 59);
    EXPECT_EQ(info.duration, 2);
    EXPECT_EQ(info.channelMode, u"Mono"_s);

    info = Mp3InfoVBR::readMpegInfo(fixturePath(u"enc_cbr128.mp3"_s));
    EXPECT_FALSE(Mp3InfoVBR::isVBR()); // an "Info" header is not a VBR header
    EXPECT_EQ(info.bitrate, 128);
    EXPECT_EQ(info.duration, 1);
}

} // namespace
