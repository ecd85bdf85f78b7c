// The stream analyzer and the analyzer object on exact files: every MPEG version and layer,
// frame verification, VBR headers, the tags around the audio, status codes and messages.

#include "audio/XAnalyzer.h"
#include "audio/XAnalyzerAnalysis.h"

#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <cmath>

using namespace Qt::StringLiterals;
using Mp3Writer::Frame;
using Mp3Writer::Mode;

namespace {

class XAnalyzerTest : public VarneltTest
{
protected:
    XAnalyzer::StreamInfo process(const QByteArray &bytes, XAnalyzer::Status expected = XAnalyzer::Ok)
    {
        XAnalyzer::StreamInfo info;
        EXPECT_EQ(XAnalyzer::processFile(writeFile(u"song.mp3"_s, bytes), info), expected);
        return info;
    }

    XAnalyzer::Analysis analyse(const QByteArray &bytes)
    {
        XAnalyzer::Analysis a;
        a.setFilename(writeFile(u"song.mp3"_s, bytes));
        return a;
    }
};

TEST_F(XAnalyzerTest, EveryVersionAndLayer)
{
    struct Case {
        Frame frame;
        QString level;
    };
    const QList<Case> cases{
        {{.version = 1, .layer = 1, .bitrate = 384, .sampleRate = 48000}, u"MPEG1"_s},
        {{.version = 1, .layer = 2, .bitrate = 192, .sampleRate = 32000}, u"MPEG1"_s},
        {{.version = 1, .layer = 3, .bitrate = 320, .sampleRate = 44100}, u"MPEG1"_s},
        {{.version = 2, .layer = 1, .bitrate = 144, .sampleRate = 22050}, u"MPEG2"_s},
        {{.version = 2, .layer = 2, .bitrate = 64, .sampleRate = 24000}, u"MPEG2"_s},
        {{.version = 2, .layer = 3, .bitrate = 32, .sampleRate = 16000, .mode = Mode::Mono}, u"MPEG2"_s},
        {{.version = 25, .layer = 3, .bitrate = 16, .sampleRate = 11025}, u"MPEG2.5"_s},
        {{.version = 25, .layer = 3, .bitrate = 8, .sampleRate = 8000, .mode = Mode::DualChannel}, u"MPEG2.5"_s},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString(c.level + u" layer "_s + QString::number(c.frame.layer)).toStdString());
        const QByteArray audio = Mp3Writer::cbrFile(3.0, c.frame.bitrate, c.frame);
        const XAnalyzer::Analysis a = analyse(audio);
        ASSERT_FALSE(a.HadError());
        EXPECT_EQ(a.MPegLevel(), c.level);
        EXPECT_EQ(a.MPegLayer(), c.frame.layer);
        EXPECT_EQ(a.Frequency(), c.frame.sampleRate);
        EXPECT_EQ(a.BitRate(), c.frame.bitrate * 1000);
        EXPECT_EQ(a.Channels(), c.frame.mode == Mode::Mono ? 1 : 2);
        EXPECT_FALSE(a.VariableBitRate());
        // Whole frames make up a little more than three seconds.
        const double seconds = double(Mp3Writer::framesFor(3.0, c.frame)) * Mp3Writer::samplesPerFrame(c.frame)
                               / c.frame.sampleRate;
        EXPECT_NEAR(a.Duration(), seconds, 0.002);
    }
}

TEST_F(XAnalyzerTest, ModesAndChannels)
{
    const QList<QPair<Mode, QString>> modes{{Mode::Stereo, u"Stereo"_s},
                                            {Mode::JointStereo, u"Joint Stereo"_s},
                                            {Mode::DualChannel, u"Dual Channel"_s},
                                            {Mode::Mono, u"Mono"_s}};
    for (const auto &[mode, name] : modes) {
        const XAnalyzer::Analysis a = analyse(Mp3Writer::cbrFile(1.0, 128, {.mode = mode}));
        EXPECT_EQ(a.Mode(), name);
        EXPECT_EQ(a.Channels(), mode == Mode::Mono ? 1 : 2);
    }
}

TEST_F(XAnalyzerTest, FirstFrameMustBeConfirmedByTheNext)
{
    // A lone header-like pair in garbage before the audio, then the real stream.
    QByteArray garbage(5000, '\x11');
    garbage.replace(1000, 4, Mp3Writer::header({.bitrate = 64}));
    // A header followed by a frame of another sample rate does not confirm either.
    const QByteArray other = Mp3Writer::frame({.sampleRate = 48000});
    const QByteArray audio = Mp3Writer::cbrFile(2.0, 192);
    const QByteArray file = garbage + Mp3Writer::frame({.bitrate = 64}) + other.left(4) + QByteArray(600, '\x11') + audio;
    const XAnalyzer::StreamInfo info = process(file);
    EXPECT_EQ(info.firstFrameOffset, file.size() - audio.size());
    EXPECT_EQ(info.bytesExamined, info.firstFrameOffset);
    EXPECT_EQ(info.record.bitrate, 192000);

    // One frame that ends exactly where the file ends stands on its own.
    const XAnalyzer::StreamInfo single = process(Mp3Writer::frame({}));
    EXPECT_EQ(single.firstFrameOffset, 0);
    EXPECT_EQ(single.record.durationMs, 26); // 417 bytes at 128 kbit/s
}

TEST_F(XAnalyzerTest, SkipsSeveralId3v2TagsInARow)
{
    const QByteArray tags = Mp3Writer::id3v2({{"TIT2", u"One"_s}}, 3000) + Mp3Writer::id3v2OfSize(500)
                            + Mp3Writer::id3v2Header(20, 4, true) + QByteArray(20, '\0') + "3DI" + QByteArray(7, '\0');
    const QByteArray audio = Mp3Writer::cbrFile(2.0);
    const XAnalyzer::StreamInfo info = process(tags + audio);
    EXPECT_EQ(info.audioStart, tags.size());
    EXPECT_EQ(info.firstFrameOffset, tags.size());
    EXPECT_NEAR(info.record.durationMs, 2000, 30);
}

TEST_F(XAnalyzerTest, LengthFromTheAudioBetweenTheTags)
{
    const QByteArray audio = Mp3Writer::cbrFile(10.0, 128);
    const qint64 expectedMs = qint64(audio.size()) * 8 / 128;
    EXPECT_EQ(process(audio).record.durationMs, expectedMs);

    const QByteArray tagged = Mp3Writer::id3v2({}, 50'000) + audio + Mp3Writer::apeTag(8000)
                              + Mp3Writer::id3v1({.title = u"T"_s});
    const XAnalyzer::StreamInfo info = process(tagged);
    EXPECT_EQ(info.record.durationMs, expectedMs);
    EXPECT_EQ(info.audioEnd, tagged.size() - 128 - 8064);
    EXPECT_EQ(process(audio + Mp3Writer::apeTag(100)).record.durationMs, expectedMs);

    // A Lyrics3 v1 block, found by its begin marker, before the trailer.
    const QByteArray lyrics = "LYRICSBEGIN" + QByteArray(3000, 'l') + "LYRICSEND";
    const XAnalyzer::StreamInfo sung = process(audio + lyrics + Mp3Writer::id3v1({.title = u"T"_s}));
    EXPECT_EQ(sung.audioEnd, audio.size());
    EXPECT_EQ(sung.record.durationMs, expectedMs);
}

TEST_F(XAnalyzerTest, XingHeaderGivesLengthAndAverage)
{
    const Frame base{.bitrate = 128};
    const QByteArray stream = Mp3Writer::vbrStream(base, {96, 128, 192, 256}, 1000);
    const XAnalyzer::StreamInfo info = process(Mp3Writer::id3v2OfSize(2048) + stream);
    EXPECT_EQ(info.vbrHeader.kind, Mpeg::VbrHeader::Kind::Xing);
    EXPECT_EQ(info.record.flags, XAnalyzer::VariableBitrateFlag);
    const double seconds = 1000.0 * 1152 / 44100;
    EXPECT_EQ(info.record.durationMs, std::llround(seconds * 1000));
    // The header frame carries no audio: the average is of the 1000 frames it counts.
    EXPECT_EQ(info.record.bitrate, std::llround((stream.size() - Mp3Writer::frameSize(base)) * 8 / seconds));

    const XAnalyzer::Analysis a = analyse(stream);
    EXPECT_TRUE(a.VariableBitRate());
    EXPECT_NEAR(a.Duration(), seconds, 0.001);
    EXPECT_NEAR(a.BitRate(), 168'000, 1000); // the four bitrates' average, weighted by size
}

TEST_F(XAnalyzerTest, VbrHeaderOffsetsFollowVersionAndMode)
{
    struct Case {
        Frame frame;
        int offset;
    };
    const QList<Case> cases{{{.mode = Mode::Mono}, 21},
                            {{.mode = Mode::Stereo}, 36},
                            {{.version = 2, .bitrate = 64, .sampleRate = 22050, .mode = Mode::Mono}, 13},
                            {{.version = 2, .bitrate = 64, .sampleRate = 22050}, 21},
                            {{.version = 25, .bitrate = 64, .sampleRate = 12000}, 21}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(Mp3Writer::xingOffset(c.frame), c.offset);
        const QByteArray audio = Mp3Writer::frames(c.frame, 300);
        const XAnalyzer::StreamInfo info = process(Mp3Writer::xingFrame(c.frame, 300) + audio);
        EXPECT_EQ(info.vbrHeader.kind, Mpeg::VbrHeader::Kind::Xing);
        EXPECT_EQ(info.vbrHeader.frames, 300u);
        EXPECT_EQ(info.record.durationMs,
                  std::llround(300.0 * Mp3Writer::samplesPerFrame(c.frame) * 1000 / c.frame.sampleRate));
    }
    // With a CRC the header stands two bytes further on.
    const Frame crc{.crc = true};
    const XAnalyzer::StreamInfo info
        = process(Mp3Writer::xingFrameAt(crc, 38, 50) + Mp3Writer::frames(crc, 50));
    EXPECT_EQ(info.vbrHeader.frames, 50u);
}

TEST_F(XAnalyzerTest, InfoAndVbriHeaders)
{
    // "Info" marks a constant bitrate: length from the count, bitrate from the audio frames
    // even when the header frame itself is written at another bitrate.
    const Frame audioFrame{.version = 2, .bitrate = 32, .sampleRate = 22050};
    Frame headerFrame = audioFrame;
    headerFrame.bitrate = 56;
    const XAnalyzer::StreamInfo info
        = process(Mp3Writer::xingFrame(headerFrame, 400, 0, true) + Mp3Writer::frames(audioFrame, 400));
    EXPECT_EQ(info.vbrHeader.kind, Mpeg::VbrHeader::Kind::Info);
    EXPECT_EQ(info.record.flags, 0u);
    EXPECT_EQ(info.record.bitrate, 32000);
    EXPECT_EQ(info.record.durationMs, std::llround(400.0 * 576 * 1000 / 22050));

    const QByteArray audio = Mp3Writer::frames({.bitrate = 160}, 500);
    const XAnalyzer::StreamInfo vbri = process(Mp3Writer::vbriFrame({}, 500, quint32(audio.size())) + audio);
    EXPECT_EQ(vbri.vbrHeader.kind, Mpeg::VbrHeader::Kind::Vbri);
    EXPECT_EQ(vbri.record.flags, XAnalyzer::VariableBitrateFlag);
    EXPECT_EQ(vbri.record.durationMs, std::llround(500.0 * 1152 * 1000 / 44100));
    EXPECT_NEAR(vbri.record.bitrate, 160'000, 500);
}

TEST_F(XAnalyzerTest, FailuresAreReportedWithTheirCodesAndTexts)
{
    XAnalyzer::Analysis a;
    const QString missing = tempFile(u"missing.mp3"_s);
    a.setFilename(missing);
    EXPECT_TRUE(a.HadError());
    EXPECT_EQ(a.LastStatus(), XAnalyzer::NoSuchFile);
    EXPECT_EQ(a.ErrorDescription(), missing + u"\r\nNo file was found with the name:"_s);
    EXPECT_EQ(a.Filename(), missing);

    a.setFilename(tempPath());
    EXPECT_EQ(a.LastStatus(), XAnalyzer::CannotOpen);
    EXPECT_EQ(a.ErrorDescription(), tempPath() + u"\r\nCannot open file"_s);

    const QString noise = writeFile(u"noise.mp3"_s, QByteArray(70'000, '\x42'));
    a.setFilename(noise);
    EXPECT_EQ(a.LastStatus(), XAnalyzer::NoFrameStart);
    EXPECT_EQ(a.ErrorDescription(), u"Could not find frame start after looking at 70000 bytes."_s);

    // A good file clears the error; a later failure keeps the figures of the good one.
    a.setFilename(writeFile(u"good.mp3"_s, Mp3Writer::cbrFile(2.0, 96, {.sampleRate = 48000})));
    EXPECT_FALSE(a.HadError());
    EXPECT_TRUE(a.ErrorDescription().isEmpty());
    a.setFilename(writeFile(u"empty.mp3"_s, {}));
    EXPECT_TRUE(a.HadError());
    EXPECT_EQ(a.ErrorDescription(), u"Could not find frame start after looking at 0 bytes."_s);
    EXPECT_EQ(a.Frequency(), 48000);
    EXPECT_EQ(a.BitRate(), 96000);
    EXPECT_NEAR(a.Duration(), 2.0, 0.03);
}

} // namespace
