// The listing's one read per file checked against independent readers: the tag state against
// the tag object (TagLib), the audio columns against ffprobe, a threaded listing against a
// single-threaded one.

#include "audio/ID3Edit.h"
#include "album/DirectoryListing.h"

#include "support/Ffprobe.h"
#include "support/Mp3Writer.h"
#include "support/TestEnv.h"

#include <QDir>

#include <cmath>

using namespace Qt::StringLiterals;
using Mp3Writer::Frame;
using Mp3Writer::Mode;

namespace {

class ListingReadersTest : public VarneltTest
{
protected:
    void SetUp() override
    {
        VarneltTest::SetUp();
        album_ = tempFile(u"album"_s);
        QDir().mkpath(album_);
    }
    QString put(const QString &name, const QByteArray &bytes) const
    {
        const QString path = album_ + u'/' + name;
        Mp3Writer::save(path, bytes);
        return path;
    }

    QString album_;
};

int columnSeconds(const QString &length)
{
    return length.section(u':', 0, 0).toInt() * 60 + length.section(u':', 1).toInt();
}

// Every value a row shows, as one text.
QString rowText(const ListedFile &f)
{
    return QStringList{f.fileName, f.size, f.length, f.bitrate, f.frequency, f.mode, f.iconKey,
                       QString::number(f.durationSeconds), f.usedAnalyzer ? u"analyzer"_s : u"built-in"_s}
        .join(u'|');
}

// A stream of `count` frames cycling through the bitrates, led by a VBRI frame.
QByteArray vbriStream(const Frame &base, const QList<int> &bitrates, int count)
{
    QByteArray audio;
    for (int i = 0; i < count; ++i) {
        Frame f = base;
        f.bitrate = bitrates.at(i % bitrates.size());
        audio += Mp3Writer::frame(f);
    }
    return Mp3Writer::vbriFrame(base, quint32(count), quint32(audio.size() + Mp3Writer::frameSize(base))) + audio;
}

TEST_F(ListingReadersTest, TagStateAgreesWithTheTagObject)
{
    const QByteArray audio = Mp3Writer::cbrFile(1.0);
    const QByteArray v1 = Mp3Writer::id3v1({.title = u"Old"_s});
    const QByteArray v2 = Mp3Writer::id3v2({{"TIT2", u"New"_s}}, 0, 64);
    QByteArray badSizeByte = Mp3Writer::id3v2Header(100);
    badSizeByte[7] = char(0x80);
    QByteArray v22 = Mp3Writer::id3v2OfSize(300);
    v22[3] = 2;
    const QByteArray footer = Mp3Writer::id3v2Header(200, 4, true) + Mp3Writer::zeros(200)
        + QByteArray("3DI\x04\x00\x10\x00\x00\x01\x48", 10);
    const QList<QPair<QString, QByteArray>> files{
        {u"none.mp3"_s, audio},
        {u"v1.mp3"_s, audio + v1},
        {u"v2.mp3"_s, v2 + audio},
        {u"both.mp3"_s, v2 + audio + v1},
        {u"two tags.mp3"_s, v2 + v2 + audio},
        {u"v22.mp3"_s, v22 + audio},
        {u"v24 footer.mp3"_s, footer + audio + v1},
        {u"padding only.mp3"_s, Mp3Writer::id3v2OfSize(4096) + audio},
        {u"header only.mp3"_s, Mp3Writer::id3v2OfSize(10) + audio},
        {u"too long.mp3"_s, Mp3Writer::id3v2Header(0x0FFFFFFF) + audio},
        {u"bad size.mp3"_s, badSizeByte + audio},
        {u"short TAG.mp3"_s, QByteArray("TAG") + Mp3Writer::zeros(60)},
        {u"no audio.mp3"_s, v2 + QByteArray(5000, 'x') + v1},
        {u"empty.mp3"_s, QByteArray()},
    };
    for (const auto &[name, bytes] : files)
        put(name, bytes);
    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(result.files.size(), files.size());
    for (const ListedFile &f : result.files) {
        SCOPED_TRACE(f.fileName.toStdString());
        ID3Edit tag;
        tag.Load(f.path);
        EXPECT_EQ(f.hasV1, tag.HasV1());
        EXPECT_EQ(f.hasV2, tag.HasV2());
    }
}

TEST_F(ListingReadersTest, AudioColumnsAgreeWithFfprobe)
{
    if (!haveFfprobe())
        GTEST_SKIP() << "ffprobe is not installed";
    const Frame mpeg1{};
    const Frame mpeg1Mono{.mode = Mode::Mono};
    const Frame mpeg2{.version = 2, .bitrate = 48, .sampleRate = 22050, .mode = Mode::Mono};
    const Frame mpeg2Stereo{.version = 2, .bitrate = 64, .sampleRate = 24000, .mode = Mode::Stereo};
    const Frame mpeg25{.version = 25, .bitrate = 32, .sampleRate = 11025, .mode = Mode::Mono};
    const Frame mpeg25Stereo{.version = 25, .bitrate = 24, .sampleRate = 8000, .mode = Mode::JointStereo};
    const Frame layer2{.layer = 2, .bitrate = 192, .sampleRate = 48000, .crc = true};
    const int infoFrames = Mp3Writer::framesFor(5.0, mpeg1);

    // MPEG-2 audio whose first frame's body holds valid-looking MPEG-1 headers: the false syncs
    // of a tag-free head.
    QByteArray falseSyncs = Mp3Writer::cbrFile(6.0, 48, mpeg2);
    for (int at : {30, 70, 110})
        falseSyncs.replace(at, 4, Mp3Writer::header({.bitrate = 160, .mode = Mode::DualChannel}));
    // A frame header inside junk before the real first frame.
    QByteArray junk(2000, 'J');
    junk.replace(700, 4, Mp3Writer::header({.bitrate = 320}));

    const QList<QPair<QString, QByteArray>> files{
        {u"mpeg1 cbr.mp3"_s, Mp3Writer::id3v2({{"TIT2", u"A"_s}}, 0, 300) + Mp3Writer::cbrFile(7.0, 128, mpeg1)
                                 + Mp3Writer::id3v1({.title = u"A"_s})},
        {u"mpeg1 info.mp3"_s, Mp3Writer::xingFrame(mpeg1, quint32(infoFrames), 0, true) + Mp3Writer::frames(mpeg1, infoFrames)},
        {u"mpeg1 mono xing.mp3"_s, Mp3Writer::vbrStream(mpeg1Mono, {64, 96, 128}, 300)},
        {u"mpeg1 vbri.mp3"_s, vbriStream(mpeg1, {96, 160, 256}, 300)},
        {u"mpeg2 mono cbr.mp3"_s, Mp3Writer::cbrFile(6.0, 48, mpeg2)},
        {u"mpeg2 stereo xing.mp3"_s, Mp3Writer::vbrStream(mpeg2Stereo, {32, 64, 96}, 400)},
        {u"mpeg25 mono cbr.mp3"_s, Mp3Writer::cbrFile(8.0, 32, mpeg25)},
        {u"mpeg25 vbri.mp3"_s, vbriStream(mpeg25Stereo, {16, 24, 32}, 200)},
        {u"layer2 crc.mp3"_s, Mp3Writer::cbrFile(5.0, 192, layer2)},
        {u"false syncs.mp3"_s, falseSyncs},
        {u"junk first.mp3"_s, junk + Mp3Writer::cbrFile(6.0, 48, mpeg2)},
    };
    for (const auto &[name, bytes] : files)
        put(name, bytes);
    for (const QString &fixture : {u"enc_cbr128.mp3"_s, u"enc_vbr.mp3"_s, u"enc_mono_vbr.mp3"_s,
                                   u"enc_mpeg2_22k.mp3"_s, u"enc_picture.mp3"_s})
        QFile::copy(fixturePath(fixture), album_ + u'/' + fixture);

    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(result.files.size(), files.size() + 5);
    for (const ListedFile &f : result.files) {
        SCOPED_TRACE(f.fileName.toStdString());
        const std::optional<ProbedAudio> probe = probeAudio(f.path);
        ASSERT_TRUE(probe.has_value());
        EXPECT_FALSE(f.usedAnalyzer); // every file has a frame the built-in reader confirms
        EXPECT_EQ(f.frequency.toInt(), probe->sampleRate);
        EXPECT_EQ(f.mode == u"Mono"_s, probe->channels == 1) << f.mode.toStdString();
        EXPECT_LT(std::abs(columnSeconds(f.length) - probe->seconds), 1.0) << f.length.toStdString();
        const double kbps = probe->bitrate / 1000.0;
        EXPECT_LE(std::abs(f.bitrate.toInt() - kbps), std::max(1.0, kbps * 0.02)) << f.bitrate.toStdString();
    }
}

TEST_F(ListingReadersTest, OtherSuitesFilesListAsMutagenAndFfprobeAgree)
{
    // Length and bitrate columns from the figures both tools give (tests/data/others_expected.csv):
    // headers whose audio was cut short keep their length and average, tags after the audio are
    // no audio.
    const QList<QStringList> expected{
        {u"mutagen_ape-lyrics3v2.mp3"_s, u"3:30"_s, u"192"_s},       // 210.96 s, 192,000 bit/s
        {u"mutagen_trailing-id3v2-ape.mp3"_s, u"0:01"_s, u"17"_s},    // 16,800 bit/s
        {u"mutagen_trailing-id3v2-id3v1.mp3"_s, u"0:03"_s, u"32"_s},  // 3.818 s, 32,000 bit/s
        {u"mutagen_vbri.mp3"_s, u"3:42"_s, u"233"_s},                 // 222.198 s, 233,260 bit/s
        {u"taglib_lame_cbr.mp3"_s, u"31:27"_s, u"64"_s},              // 1887.16 s, 64,000 bit/s
        {u"taglib_lame_vbr.mp3"_s, u"31:27"_s, u"70"_s},              // 1887.16 s, 70,279 bit/s
        {u"taglib_mpeg2.mp3"_s, u"89:47"_s, u"25"_s},                 // 5387.28 s, 25,064 bit/s
    };
    for (const QStringList &e : expected)
        ASSERT_TRUE(QFile::copy(fixturePath(e.at(0)), album_ + u'/' + e.at(0)));
    const ListingResult result = listDirectory(album_);
    ASSERT_EQ(result.files.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const ListedFile &f = result.files.at(i);
        SCOPED_TRACE(f.fileName.toStdString());
        EXPECT_EQ((QStringList{f.fileName, f.length, f.bitrate}), expected.at(i));
    }
}

TEST_F(ListingReadersTest, ThreadedListingMatchesASingleThreadedOne)
{
    const Frame mpeg2{.version = 2, .bitrate = 64, .sampleRate = 22050, .mode = Mode::Mono};
    for (int i = 0; i < 60; ++i) {
        QByteArray bytes;
        switch (i % 5) {
        case 0: bytes = Mp3Writer::song({.title = u"S"_s, .seconds = 1.0 + i % 7, .withV1 = i % 2 == 0}); break;
        case 1: bytes = Mp3Writer::song({.title = u"P"_s, .seconds = 2.0, .pictureBytes = 5000 + i}); break;
        case 2: bytes = Mp3Writer::cbrFile(3.0 + i % 4, 64, mpeg2); break;
        case 3: bytes = Mp3Writer::vbrStream({}, {128, 192, 256}, 50 + i); break;
        default: bytes = QByteArray(3000 + i, 'z'); break; // no audio: the analyzer is asked too
        }
        put(u"%1.mp3"_s.arg(i, 3, 10, QLatin1Char('0')), bytes);
    }
    struct Run {
        ListingResult result;
        QStringList totals;
    };
    const auto list = [this](int threads) {
        Run run;
        run.result = listDirectory(album_, {.threads = threads},
            [&run](const ListedFile &, int index, const QString &totals) {
                EXPECT_EQ(index, run.totals.size());
                run.totals << totals;
            });
        return run;
    };
    const Run single = list(1);
    const Run threaded = list(4);
    ASSERT_EQ(single.result.files.size(), 60);
    ASSERT_EQ(threaded.result.files.size(), 60);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(rowText(threaded.result.files[i]), rowText(single.result.files[i]));
    EXPECT_EQ(threaded.totals, single.totals);
    EXPECT_EQ(threaded.result.totalsLine, single.result.totalsLine);
    EXPECT_TRUE(single.totals.first().startsWith(u"MP3 files found : 1 "_s));
}

} // namespace
