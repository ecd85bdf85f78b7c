// Both audio readers on real files from two tag libraries' test suites: headers whose audio was
// cut short, and tags appended after the audio in odd orders. Compared with the figures mutagen
// and ffprobe agree on (stored beside the files, and checked against both tools when installed).

#include "audio/Mp3FileBytes.h"
#include "audio/Mp3InfoVBR.h"
#include "audio/XAnalyzer.h"
#include "audio/XAnalyzerAnalysis.h"

#include "support/Ffprobe.h"
#include "support/TestEnv.h"

#include <QFile>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Agreed {
    QString file;
    int sampleRate = 0;
    int channels = 0;
    std::optional<double> seconds; ///< none where mutagen and ffprobe disagree
    int bitrate = 0;               ///< bit/s
    bool variable = false;
    qint64 audioEnd = -1;          ///< -1: the audio runs to the end of the file
};

QList<Agreed> agreedFigures()
{
    QList<Agreed> list;
    QFile csv(fixturePath(u"others_expected.csv"_s));
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return list;
    while (!csv.atEnd()) {
        const QString line = QString::fromUtf8(csv.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList f = line.split(u',');
        if (f.size() != 7)
            continue;
        Agreed a;
        a.file = f[0];
        a.sampleRate = f[1].toInt();
        a.channels = f[2].toInt();
        if (!f[3].isEmpty())
            a.seconds = f[3].toDouble();
        a.bitrate = f[4].toInt();
        a.variable = f[5] == u"1"_s;
        a.audioEnd = f[6].isEmpty() ? -1 : f[6].toLongLong();
        list.append(a);
    }
    return list;
}

class OtherSuitesFilesTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        Mp3InfoVBR::resetState();
    }
};

TEST_F(OtherSuitesFilesTest, BothReadersGiveTheFiguresMutagenAndFfprobeAgreeOn)
{
    const QList<Agreed> figures = agreedFigures();
    ASSERT_EQ(figures.size(), 7);
    for (const Agreed &e : figures) {
        SCOPED_TRACE(e.file.toStdString());
        const QString path = fixturePath(e.file);

        const Mp3InfoVBR::MpegInfo builtIn = Mp3InfoVBR::readMpegInfo(path);
        EXPECT_EQ(builtIn.sampleRate, e.sampleRate);
        EXPECT_EQ(builtIn.channelMode == u"Mono"_s, e.channels == 1);
        EXPECT_EQ(Mp3InfoVBR::isVBR(), e.variable);
        // The listing's columns: whole kbit/s, whole seconds; never minutes at 0 kbit/s.
        EXPECT_EQ(builtIn.bitrate, qRound(e.bitrate / 1000.0));
        if (e.seconds) {
            EXPECT_LE(std::abs(double(builtIn.duration) - *e.seconds), 1.0) << builtIn.duration;
        }

        XAnalyzer::Analysis a;
        a.setFilename(path);
        ASSERT_FALSE(a.HadError()) << a.ErrorDescription().toStdString();
        EXPECT_EQ(a.Frequency(), e.sampleRate);
        EXPECT_EQ(a.Channels(), e.channels);
        EXPECT_EQ(a.VariableBitRate(), e.variable);
        EXPECT_NEAR(a.BitRate(), e.bitrate, std::max(100.0, e.bitrate * 0.001));
        if (e.seconds) {
            EXPECT_NEAR(a.Duration(), *e.seconds, 0.1);
        }

        // The tags after the audio are no audio, whatever their order.
        Mp3FileBytes bytes(path);
        EXPECT_EQ(bytes.audioEnd(), e.audioEnd >= 0 ? e.audioEnd : bytes.size());

        // What it hands out from the bytes it holds is what the file holds there: the tags, the
        // head after them, the tail, and ranges across their edges.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        const qint64 size = whole.size(), start = bytes.audioStart();
        const QList<std::pair<qint64, qint64>> ranges {{0, 10}, {0, start}, {start, 4096}, {start - 3, 6},
                                                       {size - 128, 128}, {size - 160, 160}, {size - 200, 200},
                                                       {size - 1, 1}, {start + 16 * 1024 - 5, 10}};
        for (const auto &[offset, count] : ranges) {
            if (offset < 0 || count <= 0 || offset + count > size)
                continue;
            QByteArray got(count, '\0');
            ASSERT_TRUE(bytes.readExactly(offset, got.data(), count)) << offset << "+" << count;
            EXPECT_EQ(got, whole.mid(offset, count)) << offset << "+" << count;
        }
        char past[2];
        EXPECT_FALSE(bytes.readExactly(size - 1, past, 2));
    }
}

TEST_F(OtherSuitesFilesTest, CutShortHeadersKeepTheirCountsAndTheAnalyzerTellsWhereTheAudioEnds)
{
    // "Info" is read as "Xing": its frame count is the module's count, while the flag says CBR.
    Mp3InfoVBR::readMpegInfo(fixturePath(u"taglib_lame_cbr.mp3"_s));
    EXPECT_FALSE(Mp3InfoVBR::isVBR());
    EXPECT_EQ(Mp3InfoVBR::vbrFrameCount(), 72243u);

    XAnalyzer::StreamInfo info;
    ASSERT_EQ(XAnalyzer::processFile(fixturePath(u"mutagen_ape-lyrics3v2.mp3"_s), info), XAnalyzer::Ok);
    EXPECT_EQ(info.vbrHeader.kind, Mpeg::VbrHeader::Kind::Info);
    EXPECT_EQ(info.audioEnd, 49511); // before the APE tag, the Lyrics3 block and the ID3v1 tag
    ASSERT_EQ(XAnalyzer::processFile(fixturePath(u"mutagen_trailing-id3v2-ape.mp3"_s), info), XAnalyzer::Ok);
    EXPECT_EQ(info.audioEnd, 2556);
    // Its ABR stream lasts 30 frames of 576 samples at 16 kHz after the header frame.
    EXPECT_EQ(info.record.durationMs, 1080);
}

TEST_F(OtherSuitesFilesTest, StoredFiguresAreWhatMutagenAndFfprobeSayNow)
{
    if (!haveFfprobe() || !haveMutagen())
        GTEST_SKIP() << "ffprobe or mutagen is not installed";
    for (const Agreed &e : agreedFigures()) {
        SCOPED_TRACE(e.file.toStdString());
        const std::optional<ProbedAudio> ff = probeAudio(fixturePath(e.file));
        const std::optional<ProbedAudio> mg = mutagenAudio(fixturePath(e.file));
        ASSERT_TRUE(ff && mg);
        for (const ProbedAudio &p : {*ff, *mg}) {
            EXPECT_EQ(p.sampleRate, e.sampleRate);
            EXPECT_EQ(p.channels, e.channels);
            EXPECT_NEAR(p.bitrate, e.bitrate, e.bitrate * 0.001);
            if (e.seconds) {
                EXPECT_NEAR(p.seconds, *e.seconds, 0.1);
            }
        }
        // Where no length is stored, the two really disagree.
        if (!e.seconds) {
            EXPECT_GT(std::abs(ff->seconds - mg->seconds), 0.1);
        }
    }
}

} // namespace
