// varnelt-cli list, tags and masks, run as a separate program.
#include "CliRunner.h"

#include "support/Mp3Writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

/// The size column of a file as a user would work it out: kilobytes, rounded.
QString kilobytes(const QString &path)
{
    const qint64 bytes = QFileInfo(path).size();
    EXPECT_NE(bytes % 1024, 512) << "pick a file size away from the rounding boundary";
    return QString::number((bytes + 512) / 1024);
}

/// A number with "," between groups of three digits, as the C locale groups them.
QString grouped(qint64 value)
{
    QString digits = QString::number(value);
    for (auto i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

} // namespace

TEST_F(CliTest, ListPrintsOneTabSeparatedLinePerFileInNameOrderThenTheTotals)
{
    const QString dir = tempFile(u"album"_s);
    const QString none = dir + u"/b plain.MP3"_s;
    const QString v1 = dir + u"/a old.mp3"_s;
    const QString both = dir + u"/C both.mp3"_s;
    Mp3Writer::save(none, Mp3Writer::song({.seconds = 20.0, .withV2 = false}));
    Mp3Writer::save(v1, Mp3Writer::song({.title = u"Old"_s, .seconds = 30.0, .withV2 = false, .withV1 = true}));
    Mp3Writer::save(both, Mp3Writer::song({.title = u"Both"_s, .seconds = 11.0, .withV1 = true}));
    Mp3Writer::Frame mono{.version = 2, .bitrate = 32, .sampleRate = 22050, .mode = Mp3Writer::Mode::Mono};
    const QString v2 = dir + u"/d mpeg2.mp3"_s;
    Mp3Writer::save(v2, Mp3Writer::id3v2({{"TIT2", u"Low"_s}}) + Mp3Writer::cbrFile(62.0, 32, mono));
    Mp3Writer::save(dir + u"/.hidden.mp3"_s, Mp3Writer::cbrFile(1.0));
    Mp3Writer::save(dir + u"/cover.jpg"_s, "not music");
    QDir(dir).mkdir(u"sub.mp3"_s);

    const CliRun r = run({u"list"_s, dir});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QString());
    const QStringList expected{
        u"a old.mp3\t"_s + kilobytes(v1) + u"\t0:30\t128\t44100\tJoint Stereo\tv1"_s,
        u"b plain.MP3\t"_s + kilobytes(none) + u"\t0:20\t128\t44100\tJoint Stereo\tnone"_s,
        u"C both.mp3\t"_s + kilobytes(both) + u"\t0:11\t128\t44100\tJoint Stereo\tv1+v2"_s,
        u"d mpeg2.mp3\t"_s + kilobytes(v2) + u"\t1:02\t32\t22050\tMono\tv2"_s,
        u"MP3 files found : 4   -   Total size : 1 MB   -   Total length : 2:03"_s,
    };
    EXPECT_EQ(r.out, expected.join(u'\n') + u'\n');
}

TEST_F(CliTest, ListOfAnEmptyFolderPrintsTheZeroTotalsLine)
{
    QDir().mkpath(tempFile(u"empty"_s));
    const CliRun r = run({u"list"_s, tempFile(u"empty"_s)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, u"MP3 files found : 0   -   Total size : 0 MB   -   Total length : 0:00\n"_s);
    EXPECT_EQ(r.err, u"varnelt-cli: no MP3 files in "_s + tempFile(u"empty"_s) + u'\n');
}

TEST_F(CliTest, CommandsRefuseBadUsageWithOneLineAndStatusTwo)
{
    const QList<QStringList> cases{
        {u"list"_s, tempFile(u"missing"_s)},
        {u"list"_s},
        {u"list"_s, u"a"_s, u"b"_s},
        {u"tags"_s, tempFile(u"missing.mp3"_s)},
        {u"masks"_s, u"extra"_s},
        {u"frobnicate"_s},
        {},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.isEmpty());
        if (!args.isEmpty()) {
            EXPECT_TRUE(r.err.startsWith(u"varnelt-cli: "_s)) << r.err.toStdString();
            EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        }
    }
    EXPECT_EQ(run({u"list"_s, tempFile(u"missing"_s)}).err,
              u"varnelt-cli: no such folder: "_s + tempFile(u"missing"_s) + u'\n');
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput)
{
    const CliRun help = run({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(u"rename DIR"_s));
    EXPECT_TRUE(help.out.contains(u"--dry-run"_s));
    const CliRun version = run({u"--version"_s});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, u"varnelt-cli 2.0 alpha 1\n"_s);
}

TEST_F(CliTest, TagsPrintsBothTagVersionsAndTheFileInformation)
{
    const QString path = tempFile(u"song.mp3"_s);
    Mp3Writer::Song song{.title = u"Été"_s, .artist = u"Foo"_s, .album = u"Bar"_s, .year = u"2001"_s,
                         .genre = u"Jazz"_s, .comment = u"Nice"_s, .track = 3, .seconds = 245.0, .withV1 = true};
    Mp3Writer::save(path, Mp3Writer::song(song));
    // The trailer written by the frame writer has genre 255; give it 17 (Rock) so the name shows.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(f.size() - 1);
    f.write(QByteArray(1, char(17)));
    f.close();

    const CliRun r = run({u"tags"_s, path});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QString());
    const qint64 bytes = QFileInfo(path).size();
    const QStringList expected{
        u"ID3v1 Title: Été"_s,
        u"ID3v1 Artist: Foo"_s,
        u"ID3v1 Album: Bar"_s,
        u"ID3v1 Year: 2001"_s,
        u"ID3v1 Comment: Nice"_s,
        u"ID3v1 Track: 3"_s,
        u"ID3v1 Genre: Rock"_s,
        u"ID3v2 Title: Été"_s,
        u"ID3v2 Artist: Foo"_s,
        u"ID3v2 Album: Bar"_s,
        u"ID3v2 Year: 2001"_s,
        u"ID3v2 Comment: Nice"_s,
        u"ID3v2 Track: 3"_s,
        u"ID3v2 Genre: Jazz"_s,
        u"ID3v2 Composer:"_s,
        u"ID3v2 OriginalArtist:"_s,
        u"ID3v2 EncodedBy:"_s,
        u"ID3v2 UserUrl:"_s,
        u"ID3v2 UserText:"_s,
        u"ID3v2 ArtistUrl:"_s,
        u"ID3v2 Preference:"_s,
        u"ID3v2 Tempo:"_s,
        u"ID3v2 Mood:"_s,
        u"ID3v2 Situation:"_s,
        u"ID3v2 Copyright:"_s,
        u"ID3v2 Lyrics:"_s,
        u"ID3v2 Picture:"_s,
        u"Size: %1 bytes (%2 Ko)"_s.arg(bytes).arg(grouped((bytes + 512) / 1024)),
        u"Length: 245 seconds (4:05)"_s,
        u"Encoding type: CBR (Constant bitrate)"_s,
        u"Bitrate: 128 kbps"_s,
        u"Frequency: 44100 Hz"_s,
        u"Mode: Joint Stereo"_s,
        u"Padding: No"_s,
        u"CRCs: No"_s,
        u"Copyrighted: No"_s,
        u"Original: No"_s,
        u"Private Bit: No"_s,
        u"Emphasis: None"_s,
        u"ID3 Tag version : ID3v1 + ID3v2"_s,
    };
    EXPECT_EQ(r.out, expected.join(u'\n') + u'\n');
}

TEST_F(CliTest, TagsOfAFileWithAPictureTakesTheAnalyzersValues)
{
    const QString path = tempFile(u"cover.mp3"_s);
    Mp3Writer::save(path, Mp3Writer::song({.title = u"Pic"_s, .seconds = 5.0, .pictureBytes = 2000}));
    const CliRun r = run({u"tags"_s, path});
    EXPECT_EQ(r.exitCode, 0);
    const QStringList lines = r.lines();
    EXPECT_TRUE(lines.contains(u"ID3v2 Picture: image/jpeg, 2000 bytes"_s)) << r.out.toStdString();
    EXPECT_TRUE(lines.contains(u"Length: 5 seconds (0:05)"_s));
    // The analyzer does not report the header flags.
    EXPECT_TRUE(lines.contains(u"Padding: n/a"_s));
    EXPECT_EQ(lines.last(), u"ID3 Tag version : ID3v2"_s);
}

TEST_F(CliTest, MasksListsTheTwelveDefaultsOnFirstRunAndWritesTheDefaultFileBesideTheProgram)
{
    const CliRun r = run({u"masks"_s});
    EXPECT_EQ(r.exitCode, 0);
    const QStringList expected{
        u"Default\t%artist - %album\\%track - %title"_s,
        u"Default\t%artist - %album\\%track - %artist - %title"_s,
        u"Default\t%artist - %album [%year]\\[%track] %title"_s,
        u"Default\t%artist - %album - %year\\%track - %title"_s,
        u"Default\t%artist\\%artist - %album\\%track - %title"_s,
        u"Default\t%artist\\%album\\%track - %title"_s,
        u"Default\t(%year) %album\\%artist - %track %title"_s,
        u"Default\t%artist - %album\\%artist - %track - %title"_s,
        u"Default\t%track - %artist - %album - %title"_s,
        u"Default\t%artist - %album - %track - %title"_s,
        u"Default\t%artist - %track - %title"_s,
        u"Default\t%artist - %title"_s,
    };
    EXPECT_EQ(r.out, expected.join(u'\n') + u'\n');
    EXPECT_TRUE(QFileInfo::exists(programFolder() + u"/Masks/Default.ini"_s));
    EXPECT_FALSE(QFileInfo::exists(programFolder() + u"/Masks/User.ini"_s));
}

TEST_F(CliTest, MasksListsUserMasksFirstAndSkipsTheZeroEntry)
{
    ASSERT_EQ(run({u"masks"_s}).exitCode, 0);
    QFile user(programFolder() + u"/Masks/User.ini"_s);
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("[User masks]\r\nMask1=%track %title\r\nMask2=0\r\nMask3=%artist\\%title\r\n");
    user.close();
    const QStringList lines = run({u"masks"_s}).lines();
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], u"User\t%track %title"_s);
    EXPECT_EQ(lines[1], u"User\t%artist\\%title"_s);
    EXPECT_EQ(lines[2], u"Default\t%artist - %album\\%track - %title"_s);
}

TEST_F(CliTest, HugeUnreadableAndHostileFilesAreToldAsWhatTheyAre)
{
    const QString dir = tempFile(u"album"_s);
    QDir().mkpath(dir);
    // 2 GB that hold no MP3 (sparse: no disk used). Tags are looked for only where they can be.
    QFile huge(dir + u"/huge.mp3"_s);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(2LL << 30));
    huge.close();
    const QString locked = dir + u"/locked.mp3"_s;
    Mp3Writer::save(locked, Mp3Writer::song({.title = u"Secret"_s, .seconds = 10.0, .withV1 = true}));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const QString hostile = dir + u"/song.mp3"_s;
    Mp3Writer::save(hostile, Mp3Writer::song({.title = u"Evil\n[error] forged\x1b[2J"_s, .seconds = 20.0}));

    QElapsedTimer clock;
    clock.start();
    bool possible = true;
    const CliRun list = runUnprivileged({u"list"_s, dir}, &possible);
    if (!possible)
        GTEST_SKIP() << "no way to run as a user who cannot read every file";
    EXPECT_EQ(list.exitCode, 0);
    ASSERT_EQ(list.lines().size(), 4) << list.out.toStdString();
    EXPECT_TRUE(list.lines().at(0).startsWith(u"huge.mp3\t2,097,152\t"_s)) << list.lines().at(0).toStdString();
    EXPECT_TRUE(list.lines().at(0).endsWith(u"\tnone"_s));
    EXPECT_EQ(list.lines().at(1), u"locked.mp3\t"_s + kilobytes(locked) + u"\tUnreadable\t\t\t\tunreadable"_s);
    EXPECT_TRUE(list.lines().at(3).startsWith(u"MP3 files found : 3   -   Total size : 2048 MB"_s));

    const CliRun tags = runUnprivileged({u"tags"_s, locked}, &possible);
    EXPECT_EQ(tags.exitCode, 1);
    EXPECT_EQ(tags.out, QString());
    EXPECT_EQ(tags.err, u"varnelt-cli: cannot read the file: "_s + locked + u'\n');

    const CliRun hugeTags = run({u"tags"_s, dir + u"/huge.mp3"_s});
    EXPECT_EQ(hugeTags.exitCode, 0);
    EXPECT_TRUE(hugeTags.lines().contains(u"ID3v2 Title:"_s)) << hugeTags.out.toStdString();
    // Generous for a loaded machine: the old whole-file search took minutes for this file.
    EXPECT_LT(clock.elapsed(), 10000);

    const CliRun evil = run({u"tags"_s, hostile});
    EXPECT_TRUE(evil.lines().contains(u"ID3v2 Title: Evil\\n[error] forged\\x1b[2J"_s)) << evil.out.toStdString();
}

TEST_F(CliTest, MaskFilesAreReadOnceAndOnlyWhenTheyAreRegularFiles)
{
    // 20,000 masks: read key by key, each key re-read the whole file, past the run's 60 s limit.
    ASSERT_EQ(run({u"masks"_s}).exitCode, 0);
    const QString userIni = programFolder() + u"/Masks/User.ini"_s;
    QByteArray many = "[User masks]\r\n";
    for (int i = 1; i <= 20000; ++i)
        many += "Mask" + QByteArray::number(i) + "=%track - %title " + QByteArray::number(i) + "\r\n";
    writeFile(u"bin/Masks/User.ini"_s, many);
    const QStringList lines = run({u"masks"_s}).lines();
    ASSERT_EQ(lines.size(), 20012);
    EXPECT_EQ(lines[0], u"User\t%track - %title 1"_s);
    EXPECT_EQ(lines[19999], u"User\t%track - %title 20000"_s);
    EXPECT_EQ(lines[20000], u"Default\t%artist - %album\\%track - %title"_s);

    // A link to a device that never ends, and a pipe nobody writes to, read as no user masks.
    for (const char *target : {"/dev/zero", "fifo"}) {
        QFile::remove(userIni);
        if (QByteArray(target) == "fifo") {
            if (::mkfifo(QFile::encodeName(userIni).constData(), 0600) != 0)
                continue;
        } else {
            ASSERT_TRUE(QFile::link(QString::fromLatin1(target), userIni));
        }
        const CliRun r = run({u"masks"_s});
        EXPECT_EQ(r.exitCode, 0) << target;
        EXPECT_EQ(r.lines().size(), 12) << target;
        EXPECT_EQ(r.lines().value(0), u"Default\t%artist - %album\\%track - %title"_s) << target;
    }
}
