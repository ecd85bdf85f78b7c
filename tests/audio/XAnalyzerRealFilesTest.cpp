// The stream analyzer on files made by a real encoder, compared with what ffprobe reports for
// them: the figures stored beside the files and, when ffprobe is installed, ffprobe itself.

#include "audio/XAnalyzer.h"
#include "audio/XAnalyzerAnalysis.h"

#include "support/Ffprobe.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QFile>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

struct Expected : ProbedAudio {
    QString file;
    bool variable = false;
};

QList<Expected> expectedFigures()
{
    QList<Expected> list;
    QFile csv(fixturePath(u"enc_expected.csv"_s));
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    while (!csv.atEnd()) {
        const QString line = QString::fromUtf8(csv.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u',');
        if (f.size() != 6)
            continue;
        Expected e;
        e.file = f[0];
        e.sampleRate = f[1].toInt();
        e.channels = f[2].toInt();
        e.seconds = f[3].toDouble();
        e.bitrate = f[4].toInt();
        e.variable = f[5] == u"1"_s;
        list.append(e);
    }
    return list;
}

class XAnalyzerRealFilesTest : public VarneltTest
{
};

TEST_F(XAnalyzerRealFilesTest, AgreesWithTheStoredFfprobeFigures)
{
    const QList<Expected> figures = expectedFigures();
    ASSERT_EQ(figures.size(), 5);
    for (const Expected &e : figures) {
        SCOPED_TRACE(e.file.toStdString());
        XAnalyzer::Analysis a;
        a.setFilename(fixturePath(e.file));
        ASSERT_FALSE(a.HadError()) << a.ErrorDescription().toStdString();
        EXPECT_EQ(a.Frequency(), e.sampleRate);
        EXPECT_EQ(a.Channels(), e.channels);
        EXPECT_NEAR(a.Duration(), e.seconds, 0.1);
        EXPECT_NEAR(a.BitRate(), e.bitrate, 1000);
        EXPECT_EQ(a.VariableBitRate(), e.variable);
        EXPECT_EQ(a.MPegLayer(), 3);
        EXPECT_EQ(a.MPegLevel(), e.sampleRate == 22050 ? u"MPEG2"_s : u"MPEG1"_s);
        EXPECT_EQ(a.Mode(), e.channels == 1 ? u"Mono"_s : u"Joint Stereo"_s); // the encoder's default
    }
}

// Runs ffprobe on the file now and compares its figures with the analyzer's.
void expectAnalyzerAgreesWithFfprobe(const QString &path)
{
    const std::optional<ProbedAudio> live = probeAudio(path);
    ASSERT_TRUE(live.has_value());
    XAnalyzer::Analysis a;
    a.setFilename(path);
    ASSERT_FALSE(a.HadError());
    EXPECT_EQ(a.Frequency(), live->sampleRate);
    EXPECT_EQ(a.Channels(), live->channels);
    EXPECT_NEAR(a.Duration(), live->seconds, 0.1);
    EXPECT_NEAR(a.BitRate(), live->bitrate, 1000);
}

TEST_F(XAnalyzerRealFilesTest, AgreesWithFfprobeRunNow)
{
    if (!haveFfprobe())
        GTEST_SKIP() << "ffprobe is not installed";
    for (const Expected &e : expectedFigures()) {
        SCOPED_TRACE(e.file.toStdString());
        const QString path = copyFixture(e.file);
        expectAnalyzerAgreesWithFfprobe(path);
    }
}

TEST_F(XAnalyzerRealFilesTest, WrittenTestFilesAreRealMp3ToFfprobeToo)
{
    if (!haveFfprobe())
        GTEST_SKIP() << "ffprobe is not installed";
    const Mp3Writer::Frame mpeg2{.version = 2, .bitrate = 64, .sampleRate = 22050, .mode = Mp3Writer::Mode::Mono};
    const QList<QPair<QString, QByteArray>> files{
        {u"cbr.mp3"_s, Mp3Writer::song({.title = u"Song"_s, .track = 2, .seconds = 3.0, .withV1 = true})},
        {u"vbr.mp3"_s, Mp3Writer::id3v2({{"TIT2", u"Vbr"_s}}, 2000) + Mp3Writer::vbrStream({}, {96, 192, 320}, 300)},
        {u"mpeg2.mp3"_s, Mp3Writer::xingFrame(mpeg2, 200) + Mp3Writer::frames(mpeg2, 200)},
    };
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        const QString path = writeFile(name, bytes);
        expectAnalyzerAgreesWithFfprobe(path);
    }
}

TEST_F(XAnalyzerRealFilesTest, EncoderHeadersAndTagsAreFound)
{
    XAnalyzer::StreamInfo vbr;
    ASSERT_EQ(XAnalyzer::processFile(fixturePath(u"enc_mono_vbr.mp3"_s), vbr), XAnalyzer::Ok);
    EXPECT_EQ(vbr.vbrHeader.kind, Mpeg::VbrHeader::Kind::Xing);
    EXPECT_EQ(vbr.firstHeader.xingOffset(), 21);
    EXPECT_EQ(vbr.audioStart, 20); // the empty ID3v2.4 tag the encoder writes

    XAnalyzer::StreamInfo cbr;
    ASSERT_EQ(XAnalyzer::processFile(fixturePath(u"enc_cbr128.mp3"_s), cbr), XAnalyzer::Ok);
    EXPECT_EQ(cbr.vbrHeader.kind, Mpeg::VbrHeader::Kind::Info);
    EXPECT_EQ(cbr.record.flags, 0u);

    // The picture tag is skipped as a whole: the first frame follows it directly.
    XAnalyzer::StreamInfo pic;
    ASSERT_EQ(XAnalyzer::processFile(fixturePath(u"enc_picture.mp3"_s), pic), XAnalyzer::Ok);
    EXPECT_GT(pic.audioStart, 3900);
    EXPECT_EQ(pic.firstFrameOffset, pic.audioStart);
    EXPECT_EQ(pic.bytesExamined, 0);
}

} // namespace
