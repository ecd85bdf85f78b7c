// The built-in header reader on files of exact sizes: the sync scan and its window, confirmed
// frames only, header decoding, the Xing/VBRI frame count and the bitrate and duration formulas.

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
    EXPECT_EQ(info.bitrate, 153); // (5,000,000 - 417) x 44100 / 10,000 / 1000 / 144 = 153.11
    EXPECT_EQ(info.duration, 261); // 40,000,000 / 153.125 = 261,224 ms
}

TEST_F(Mp3InfoVBRTest, FrameCountsBeyondSixteenBitsAreKept)
{
    const QString path = writeFile(u"long.mp3"_s, Mp3Writer::xingFrame({}, 100'000) + Mp3Writer::frames({}, 2));
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

    const QString vbr = writeFile(u"hugevbr.mp3"_s, Mp3Writer::xingFrame({}, 1'000'000) + Mp3Writer::frames({}, 2));
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
    // The 417-byte header frame carries no audio: 499,583 x 44100 / 2000 / 1000 / 144 = 76.498.
    EXPECT_EQ(info.bitrate, 76);
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
    // A header with bitrate index 15 or sample-rate index 3 is no frame: nothing is reported,
    // not a half-decoded false frame.
    EXPECT_EQ(analyse(exactly(QByteArray("\xFF\xFB\xF0\x44", 4), 10'000)), MpegInfo());
    QByteArray xing = exactly(Mp3Writer::xingFrame({}, 500), 10'000);
    xing[2] = char(xing[2] | 0x0C);
    EXPECT_EQ(analyse(xing), MpegInfo());

    // A zero frame count: flagged VBR, nothing computed.
    const MpegInfo info = analyse(exactly(Mp3Writer::xingFrame({}, 0) + Mp3Writer::frames({}, 2), 10'000));
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(info.bitrate, 0);
    EXPECT_EQ(info.duration, 0);
    EXPECT_EQ(info.sampleRate, 44100);
}

TEST_F(Mp3InfoVBRTest, EveryVersionAndLayerIsReadAndOnlyConfirmedFramesCount)
{
    struct Case {
        Frame frame;
        int seconds;
    };
    // Rates whose frames hold whole bytes, so the playing time is exact.
    const QList<Case> cases{
        {{.version = 2, .bitrate = 64, .sampleRate = 24000}, 10},
        {{.version = 25, .bitrate = 32, .sampleRate = 12000, .mode = Mode::Mono}, 10},
        {{.version = 2, .layer = 2, .bitrate = 48, .sampleRate = 24000, .crc = true}, 10},
        {{.version = 1, .layer = 1, .bitrate = 192, .sampleRate = 48000}, 10},
        {{.version = 1, .layer = 2, .bitrate = 256, .sampleRate = 32000, .mode = Mode::Stereo}, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.frame.version * 10 + c.frame.layer);
        const MpegInfo info = analyse(Mp3Writer::cbrFile(c.seconds, c.frame.bitrate, c.frame));
        EXPECT_EQ(info.mpegVersion, c.frame.version);
        EXPECT_EQ(info.layer, c.frame.layer);
        EXPECT_EQ(info.bitrate, c.frame.bitrate);
        EXPECT_EQ(info.sampleRate, c.frame.sampleRate);
        EXPECT_EQ(info.duration, c.seconds);
        EXPECT_EQ(info.protection, c.frame.crc ? u"Yes"_s : u"No"_s);
    }

    // An MPEG-2 Xing stream: the average uses 576 samples a frame.
    const Frame mpeg2{.version = 2, .bitrate = 64, .sampleRate = 22050, .mode = Mode::Mono};
    const QByteArray vbr = Mp3Writer::vbrStream(mpeg2, {32, 64, 96}, 400);
    const MpegInfo info = analyse(vbr);
    EXPECT_TRUE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(info.duration, 10); // 400 x 576 / 22050 = 10.4 s
    EXPECT_EQ(info.bitrate, qRound(vbr.size() * 8.0 / (400 * 576 / 22050.0) / 1000.0));

    // A plain MPEG-2 file starting with bytes that look like an MPEG-1 frame start (0xFF 0xFB)
    // whose "frame" is not followed by another: the false sync is passed over.
    const Frame low{.version = 2, .bitrate = 48, .sampleRate = 24000, .mode = Mode::Mono};
    QByteArray planted = Mp3Writer::frames({}, 1).left(40) + Mp3Writer::cbrFile(6.0, 48, low);
    planted.replace(100, 4, Mp3Writer::header({.bitrate = 160, .mode = Mode::DualChannel}));
    const MpegInfo real = analyse(planted);
    EXPECT_EQ(real.mpegVersion, 2);
    EXPECT_EQ(real.sampleRate, 24000);
    EXPECT_EQ(real.bitrate, 48);
    EXPECT_EQ(real.channelMode, u"Mono"_s);
    EXPECT_EQ(real.duration, 6);
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
    EXPECT_EQ(info.duration, audio.size() * 8 / 128 / 1000); // the tag is no audio
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
    analyse(exactly(Mp3Writer::xingFrame({}, 1234) + Mp3Writer::frames({}, 2), 10'000));
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

TEST_F(Mp3InfoVBRTest, SyncBytesAtTheVeryEndAreNoFrame)
{
    EXPECT_EQ(analyse(filler(300) + QByteArray("\xFF\xFB", 2)), MpegInfo());
    // One whole frame that ends where the file ends needs no next header to be believed.
    EXPECT_EQ(analyse(filler(300) + Mp3Writer::frame({})).bitrate, 128);
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
