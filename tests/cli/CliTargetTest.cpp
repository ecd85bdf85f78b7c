// varnelt-cli's target options (--id3v2, --embed-cover, --profile) for rename and tag, run as a
// separate program on generated album folders and read back from the files.
#include "CliRunner.h"

#include "audio/ID3Edit.h"
#include "jobs/CoverEmbedding.h"
#include "support/Mp3Writer.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QRandomGenerator>
#include <QDir>
#include <QDirIterator>

using namespace Qt::StringLiterals;

namespace {

class CliTargetTest : public CliTest
{
protected:
    /// An album folder of `count` files (tracks 1..n, artist Foo, album Bar, year 2001, Rock).
    QString makeAlbum(const QString &folder, int count = 2) const
    {
        QList<Mp3Writer::AlbumFile> files;
        for (int i = 0; i < count; ++i) {
            files.append({u"track%1.mp3"_s.arg(i + 1), {.title = u"Song %1"_s.arg(i + 1), .artist = u"Foo"_s,
                          .album = u"Bar"_s, .year = u"2001"_s, .genre = u"Rock"_s, .track = i + 1,
                          .seconds = 2.0 + i}});
        }
        return Mp3Writer::makeAlbum(tempFile(folder), files);
    }

    CliRun rename(const QString &dir, const QStringList &more) const
    {
        return run(QStringList {u"rename"_s, dir, u"--mask"_s, u"%track - %title"_s, u"--dest"_s,
                                u"MP3 directory"_s, u"--yes"_s}
                   + more);
    }

    static QStringList mp3sIn(const QString &dir)
    {
        QStringList files = QDir(dir).entryList({u"*.mp3"_s}, QDir::Files, QDir::Name);
        for (QString &file : files)
            file = dir + u'/' + file;
        return files;
    }
};

// A large PNG of noise: the car's limits make the program scale it and code it again.
QByteArray largePng()
{
    QImage image(1200, 900, QImage::Format_RGB32);
    QRandomGenerator random(3);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray fileSha(const QString &path)
{
    return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha1).toHex();
}

} // namespace

TEST_F(CliTargetTest, RevisionAndProfileReachTheFilesAndGivenOptionsWinOverTheProfile)
{
    // --id3v2 4 alone: 2.4 beside the ID3v1 tag the default writes.
    const QString plain = makeAlbum(u"v4"_s);
    CliRun r = rename(plain, {u"--id3v2"_s, u"4"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const QString &file : mp3sIn(plain)) {
        ID3Edit tag;
        ASSERT_EQ(tag.Load(file), ID3Edit::Ok);
        EXPECT_EQ(tag.LoadedV2Revision(), 4);
        EXPECT_TRUE(tag.HasV1());
        EXPECT_EQ(tag.Year(), u"2001"_s);
    }

    // modern: 2.4 only; the --id3 given keeps the ID3v1 tag whatever the order.
    const QString modern = makeAlbum(u"modern"_s);
    r = rename(modern, {u"--profile"_s, u"modern"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString mixed = makeAlbum(u"mixed"_s);
    r = rename(mixed, {u"--id3"_s, u"3"_s, u"--profile"_s, u"MODERN"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const QString &file : mp3sIn(modern) + mp3sIn(mixed)) {
        ID3Edit tag;
        ASSERT_EQ(tag.Load(file), ID3Edit::Ok);
        EXPECT_EQ(tag.LoadedV2Revision(), 4) << file.toStdString();
        // The generated files come with an ID3v1 tag: "ID3v2 only" leaves it, --id3 3 rewrites it.
        EXPECT_EQ(tag.V1Title() == tag.Title(), file.contains(u"/mixed/"_s)) << file.toStdString();
    }

    // car: ID3v1 + 2.3, Joliet names, and the --cover picture embedded within its limits.
    const QString car = makeAlbum(u"car"_s);
    r = rename(car, {u"--profile"_s, u"car"_s, u"--cover"_s, writeFile(u"cover.png"_s, largePng())});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString() << r.out.toStdString();
    const QStringList carFiles = mp3sIn(car);
    ASSERT_EQ(carFiles.size(), 2);
    for (const QString &file : carFiles) {
        ID3Edit tag;
        ASSERT_EQ(tag.Load(file), ID3Edit::Ok);
        EXPECT_EQ(tag.LoadedV2Revision(), 3);
        EXPECT_TRUE(tag.HasV1());
        const QByteArray jpeg = tag.Picture().data;
        EXPECT_TRUE(isBaselineJpeg(jpeg));
        EXPECT_LE(jpeg.size(), 100'000);
        const QImage image = QImage::fromData(jpeg);
        EXPECT_EQ(image.size(), QSize(300, 225));
    }
    EXPECT_TRUE(QFileInfo::exists(car + u"/Foo - Bar.jpg"_s)) << "the cover file beside the files is written too";

    // Mistakes are told before anything happens.
    const QString untouched = makeAlbum(u"untouched"_s);
    r = rename(untouched, {u"--profile"_s, u"boat"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"--profile takes standard, car, portable, modern, archive, not 'boat'"_s)) << r.err.toStdString();
    r = rename(untouched, {u"--embed-cover"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"--embed-cover needs --cover FILE"_s)) << r.err.toStdString();
    r = rename(untouched, {u"--id3v2"_s, u"2"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"--id3v2 expects 3 (ID3v2.3) or 4 (ID3v2.4), not '2'"_s)) << r.err.toStdString();
    const QString damaged = writeFile(u"damaged.jpg"_s, "\xFF\xD8\xFF\xE0 only the start of a JPEG");
    const auto before = folderState(untouched);
    r = rename(untouched, {u"--embed-cover"_s, u"--cover"_s, damaged});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Unable to embed the cover in the files."_s)) << r.err.toStdString();
    EXPECT_EQ(folderState(untouched), before);
}

TEST_F(CliTargetTest, TagWritesTheChosenRevision)
{
    const QString dir = makeAlbum(u"tag"_s);
    const CliRun r = run({u"tag"_s, dir, u"--id3v2"_s, u"4"_s, u"--only"_s, u"track1.mp3"_s, u"--set"_s,
                          u"v2:Title=Zürich — 東京"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ID3Edit tag;
    ASSERT_EQ(tag.Load(dir + u"/track1.mp3"_s), ID3Edit::Ok);
    EXPECT_EQ(tag.LoadedV2Revision(), 4);
    EXPECT_EQ(tag.Title(), u"Zürich — 東京"_s);
    ASSERT_EQ(tag.Load(dir + u"/track2.mp3"_s), ID3Edit::Ok);
    EXPECT_EQ(tag.LoadedV2Revision(), 3) << "a file not named is left as it was";
}

TEST_F(CliTargetTest, TheStandardProfileWritesTheBytesTheRenameWroteBefore)
{
    // The hashes are those of the files that varnelt-cli wrote before the ID3v2 revision, the
    // embedded cover and the profiles existed, run with the same options (without --profile)
    // on the same album.
    const QString dir = makeAlbum(u"standard"_s, 3);
    // To make the hashes again with another build: VARNELT_KEEP_INPUT=folder keeps the album.
    if (const QString keep = qEnvironmentVariable("VARNELT_KEEP_INPUT"); !keep.isEmpty()) {
        QDir().mkpath(keep);
        for (const QString &file : mp3sIn(dir))
            QFile::copy(file, keep + u'/' + QFileInfo(file).fileName());
    }
    const CliRun r = rename(dir, {u"--profile"_s, u"standard"_s, u"--playlist"_s, u"0"_s});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList hashes;
    QDirIterator it(dir, QDir::Files);
    QStringList names;
    while (it.hasNext())
        names << QDir(dir).relativeFilePath(it.next());
    names.sort();
    for (const QString &name : std::as_const(names))
        hashes << name + u' ' + QString::fromLatin1(fileSha(dir + u'/' + name));
    EXPECT_EQ(hashes, QStringList({
        u"01 - Song 1.mp3 a6be0d3eb05edc6d8ea846bd34407f95f41a22ee"_s,
        u"02 - Song 2.mp3 015be666c929752d608a5d2a4a3ee2eac006183c"_s,
        u"03 - Song 3.mp3 a1fe485bfd35950d46d2976d3c4a3bac7f037952"_s,
        u"Foo - Bar.pls b4ac90ef186a9fe3a0e77004d0eb6289f27d3911"_s,
    }));
}
