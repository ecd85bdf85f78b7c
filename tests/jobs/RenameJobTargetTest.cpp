// The rename job's target options: the ID3v2 revision it writes and the album cover embedded
// in every file (scaled for a profile's limits, refused before anything is touched when it
// cannot be used, undone like every other tag write), and the standard profile, which writes
// exactly what the job writes without one.

#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "jobs/RenameUndo.h"
#include "jobs/TagEditing.h"
#include "jobs/TargetProfiles.h"
#include "pictures/PictureFitting.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

const QString flatMask = u"%track - %title"_s;
const QString mp3Dir = u"MP3 directory"_s;

// Noise: a picture far over every budget as it comes (scaled down it turns smooth).
QImage noise(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(27);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image;
}

QByteArray encoded(const QImage &image, const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// The JPEG frame markers, found by a plain scan: in the coded data 0xFF is always followed by
// 0x00 or a restart marker, so FF C0 / FF C2 only stand where a frame starts.
bool hasMarker(const QByteArray &jpeg, char marker)
{
    const char bytes[2] = {char(0xFF), marker};
    return jpeg.contains(QByteArrayView(bytes, 2));
}

class RenameJobTargetTest : public RenameJobFixture
{
protected:
    void SetUp() override
    {
        RenameJobFixture::SetUp();
        PictureFitting::install();
    }
    void TearDown() override
    {
        setPictureFitter({});
        setPictureDecodeCheck({});
        RenameJobFixture::TearDown();
    }

    RenameJobInput albumInput(const QString &name) const
    {
        const QString folder = makeThreeSongAlbum(name);
        RenameJobInput in = inputFor(folder, threeSongs(), flatMask, mp3Dir);
        in.album.artist = u"Ærøskøbing 東京"_s;
        return in;
    }

    static void applyProfile(const TargetProfile &profile, RenameJobInput &in, const QString &cover)
    {
        in.tagVersions = profile.tagVersions.value_or(in.tagVersions);
        in.id3v2Version = profile.id3v2Version.value_or(in.id3v2Version);
        in.embedCover = {profile.embedCover.value_or(false), cover, profile.coverFit};
        in.joliet = profile.joliet.value_or(in.joliet);
    }
};

} // namespace

TEST_F(RenameJobTargetTest, TheJobWritesTheChosenRevisionAndChecksIt)
{
    for (const ID3v2Version version : {ID3v2Version::V3, ID3v2Version::V4}) {
        const bool v4 = version == ID3v2Version::V4;
        SCOPED_TRACE(v4 ? "2.4" : "2.3");
        RenameJobInput in = albumInput(v4 ? u"v4"_s : u"v3"_s);
        in.id3v2Version = version;
        runAlbumRenameJob(in, log);
        EXPECT_EQ(log.errorCount(), 0);

        const QJsonObject v2 = readV2WithMutagen(in.currentDirectory + u"/02 - Two.mp3"_s);
        EXPECT_EQ(v2.value(u"version"_s).toInt(), v4 ? 4 : 3);
        EXPECT_EQ(v2.value(u"TIT2"_s).toString(), u"Two"_s);
        EXPECT_EQ(v2.value(u"TPE1"_s).toString(), u"Ærøskøbing 東京"_s);
        EXPECT_EQ(v2.value(u"TPE1enc"_s).toInt(), v4 ? 3 : 1);
        EXPECT_EQ(v2.value(u"TALB"_s).toString(), u"Bar"_s);
        EXPECT_EQ(v2.value(u"TALBenc"_s).toInt(), v4 ? 3 : 0);
        EXPECT_EQ(v2.value(v4 ? u"TDRC"_s : u"TYER"_s).toString(), u"2001"_s);
        EXPECT_FALSE(v2.contains(v4 ? u"TYER"_s : u"TDRC"_s));
        EXPECT_EQ(readRawV1(in.currentDirectory + u"/02 - Two.mp3"_s).title, u"Two"_s);
    }
}

TEST_F(RenameJobTargetTest, TheCarProfileEmbedsASmallBaselineJpegInEveryFileAndUndoTakesItOut)
{
    RenameJobInput in = albumInput(u"car"_s);
    const QString cover = writeFile(u"download/cover.png"_s, encoded(noise(900, 700), "png"));
    applyProfile(*targetProfile(u"car"_s), in, cover);
    const QString root = in.currentDirectory;
    const auto before = folderState(root);

    const RenameJobOutcome out = runAlbumRenameJob(in, log);
    ASSERT_EQ(log.errorCount(), 0);
    QByteArray first;
    for (const QString &name : {u"01 - One.mp3"_s, u"02 - Two.mp3"_s, u"03 - Three.mp3"_s}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = root + u'/' + name;
        const QJsonObject v2 = readV2WithMutagen(path);
        EXPECT_EQ(v2.value(u"version"_s).toInt(), 3);
        EXPECT_EQ(v2.value(u"APIC"_s).toInt(), 1);
        EXPECT_EQ(v2.value(u"APICmime"_s).toString(), u"image/jpeg"_s);
        EXPECT_TRUE(readRawV1(path).present);

        ID3Edit tag;
        ASSERT_EQ(tag.Load(path), ID3Edit::Ok);
        const QByteArray jpeg = tag.Picture().data;
        EXPECT_EQ(v2.value(u"APICsize"_s).toInt(), jpeg.size());
        EXPECT_LE(jpeg.size(), 100'000);
        EXPECT_TRUE(hasMarker(jpeg, '\xC0')) << "no baseline frame";
        EXPECT_FALSE(hasMarker(jpeg, '\xC2')) << "a progressive frame";
        EXPECT_TRUE(isBaselineJpeg(jpeg));
        const QImage image = QImage::fromData(jpeg);
        ASSERT_FALSE(image.isNull());
        EXPECT_LE(std::max(image.width(), image.height()), 300);
        EXPECT_EQ(image.width(), 300); // the aspect kept: 900 x 700 -> 300 x 233
        EXPECT_EQ(image.height(), 233);
        if (first.isEmpty())
            first = jpeg;
        EXPECT_EQ(jpeg, first) << "every file gets the same picture";
    }

    const UndoReport report = RenameUndo::undo(out.journalId);
    EXPECT_TRUE(report.complete()) << report.left.join(u'\n').toStdString();
    EXPECT_EQ(folderState(root), before);
}

TEST_F(RenameJobTargetTest, APictureWithinTheLimitsIsEmbeddedAsItCame)
{
    const QByteArray small = encoded(noise(120, 90), "jpeg");
    const QByteArray progressive = encoded(noise(120, 90), "jpeg", true);
    ASSERT_TRUE(isBaselineJpeg(small));
    ASSERT_TRUE(hasMarker(progressive, '\xC2'));
    ASSERT_FALSE(isBaselineJpeg(progressive));

    // Within the car's limits as it is; the archive embeds any picture as it came.
    struct Case { const char *name; QByteArray bytes; QString profile; bool same; };
    for (const Case &c : {Case {"baseline", small, u"car"_s, true}, Case {"archive", progressive, u"archive"_s, true},
                          Case {"progressive", progressive, u"car"_s, false}}) {
        SCOPED_TRACE(c.name);
        RenameJobInput in = albumInput(QString::fromLatin1(c.name));
        applyProfile(*targetProfile(c.profile), in, writeFile(QString::fromLatin1(c.name) + u".jpg"_s, c.bytes));
        runAlbumRenameJob(in, log);
        ASSERT_EQ(log.errorCount(), 0);
        ID3Edit tag;
        ASSERT_EQ(tag.Load(in.currentDirectory + u"/01 - One.mp3"_s), ID3Edit::Ok);
        EXPECT_EQ(tag.Picture().data == c.bytes, c.same);
        // A progressive picture for the car is coded again as a baseline one of the same size.
        EXPECT_TRUE(c.profile == u"archive" || isBaselineJpeg(tag.Picture().data));
        EXPECT_EQ(QImage::fromData(tag.Picture().data).size(), QSize(120, 90));
    }
}

TEST_F(RenameJobTargetTest, ACoverThatCannotBeEmbeddedStopsTheJobBeforeAnythingIsTouched)
{
    QByteArray huge(16 * 1024 * 1024 + 1, '\0');
    huge.replace(0, 4, "\xFF\xD8\xFF\xE0");
    struct Case { const char *name; QByteArray bytes; QString problem; };
    for (const Case &c : {Case {"damaged", QByteArray("\xFF\xD8\xFF\xE0 not a picture at all", 27), damagedPictureText()},
                          Case {"huge", huge, pictureProblem(huge)},
                          Case {"missing", QByteArray(), u"Picture file not found."_s}}) {
        SCOPED_TRACE(c.name);
        RenameJobInput in = albumInput(QString::fromLatin1(c.name));
        const QString name = QString::fromLatin1(c.name) + u".jpg"_s;
        const QString cover = c.bytes.isEmpty() ? tempFile(name) : writeFile(name, c.bytes);
        applyProfile(*targetProfile(u"archive"_s), in, cover);
        const auto before = folderState(in.currentDirectory);
        const RenameJobOutcome out = runAlbumRenameJob(in, log);
        EXPECT_FALSE(out.started);
        EXPECT_TRUE(out.journalId.isEmpty());
        ASSERT_TRUE(out.failure.has_value());
        EXPECT_EQ(out.failure->title, u"Cover error"_s);
        EXPECT_TRUE(out.failure->text.contains(c.problem)) << out.failure->text.toStdString();
        EXPECT_EQ(folderState(in.currentDirectory), before);
    }
}

TEST_F(RenameJobTargetTest, TheStandardProfileWritesWhatTheJobWritesWithoutOne)
{
    RenameJobInput plain = albumInput(u"plain"_s);
    RenameJobInput standard = albumInput(u"standard"_s);
    standard.id3v2Version = ID3v2Version::V4;
    standard.embedCover = {true, writeFile(u"c.jpg"_s, encoded(noise(50, 50), "jpeg")), CoverFit {300, 0, true}};
    standard.joliet = true;
    applyProfile(*targetProfile(u"standard"_s), standard, QString());
    runAlbumRenameJob(plain, log);
    runAlbumRenameJob(standard, log);
    ASSERT_EQ(log.errorCount(), 0);
    EXPECT_EQ(folderState(standard.currentDirectory), folderState(plain.currentDirectory));
}

TEST_F(RenameJobTargetTest, EveryProfilesCoverMeetsItsLimits)
{
    // Noise does not compress: each budget has to be met by quality and, failing that, by size.
    const QString cover = writeFile(u"noise.png"_s, encoded(noise(1600, 1200), "png"));
    for (const TargetProfile &profile : targetProfiles()) {
        SCOPED_TRACE(profile.name.data());
        const CoverForTags fitted = coverForTags(cover, profile.coverFit);
        ASSERT_TRUE(fitted.problem.isEmpty()) << fitted.problem.toStdString();
        const QImage image = QImage::fromData(fitted.picture.data);
        ASSERT_FALSE(image.isNull());
        if (!profile.coverFit.limits()) {
            EXPECT_EQ(fitted.picture.data, readAll(cover)) << "no limits: embedded as it came";
            continue;
        }
        RecordProperty(std::string(profile.name.data()) + "_picture",
                       QString(u"%1x%2 %3 bytes"_s).arg(image.width()).arg(image.height()).arg(fitted.picture.data.size())
                           .toStdString());
        EXPECT_LE(std::max(image.width(), image.height()), profile.coverFit.maxSide);
        EXPECT_NEAR(double(image.width()) / image.height(), 4.0 / 3.0, 0.02);
        if (profile.coverFit.maxBytes > 0) {
            EXPECT_LE(fitted.picture.data.size(), profile.coverFit.maxBytes);
        }
        EXPECT_TRUE(isBaselineJpeg(fitted.picture.data));
        EXPECT_EQ(fitted.picture.mimeType, u"image/jpeg"_s);
    }
    // Scaled noise turns smooth, so the profiles' budgets are met at the first quality; a tight
    // budget makes the fitter lower the quality and then the size.
    const QString sharp = writeFile(u"sharp.png"_s, encoded(noise(300, 300), "png"));
    const CoverForTags tight = coverForTags(sharp, CoverFit {300, 8'000, true});
    ASSERT_TRUE(tight.problem.isEmpty()) << tight.problem.toStdString();
    EXPECT_LE(tight.picture.data.size(), 8'000);
    EXPECT_TRUE(isBaselineJpeg(tight.picture.data));
    EXPECT_LT(QImage::fromData(tight.picture.data).width(), 300);
    const CoverForTags impossible = coverForTags(sharp, CoverFit {300, 100, true});
    EXPECT_EQ(impossible.problem, u"The picture cannot be brought within the cover limits."_s);
}
