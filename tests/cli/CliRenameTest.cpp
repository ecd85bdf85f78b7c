// varnelt-cli rename, run as a separate program on generated album folders.
#include "CliRunner.h"

#include "audio/ID3.h"
#include "audio/ID3Edit.h"
#include "support/Mp3Writer.h"
#include "support/SmallDisk.h"

#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

class CliRenameTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        music_ = tempFile(u"music"_s);
        QDir().mkpath(music_);
    }

    /// Writes an album folder under music/ with one file per title (tracks 1..n, artist Foo,
    /// album Bar, year 2001, genre Rock) and returns its path.
    QString makeAlbum(const QString &folder, const QStringList &titles, const QString &album = u"Bar"_s)
    {
        QList<Mp3Writer::AlbumFile> files;
        for (int i = 0; i < titles.size(); ++i) {
            files.append({u"track%1.mp3"_s.arg(i + 1), {.title = titles[i], .artist = u"Foo"_s, .album = album,
                          .year = u"2001"_s, .genre = u"Rock"_s, .track = i + 1, .seconds = 2.0 + i}});
        }
        return Mp3Writer::makeAlbum(music_ + u'/' + folder, files);
    }

    /// Every file under music/, relative, sorted.
    QStringList musicFiles() const
    {
        QStringList files;
        QDirIterator it(music_, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(music_).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    QString music_;
};

struct ReadBack
{
    bool hasV1 = false;
    bool hasV2 = false;
    QString title;
    QString track;
    QString album;
    QString v1Title;
};

ReadBack readBack(const QString &path)
{
    ID3Edit tag;
    tag.Load(path);
    return {tag.HasV1(), tag.HasV2(), tag.Title(), tag.Track(), tag.Album(), tag.V1Title()};
}

} // namespace

TEST_F(CliRenameTest, DryRunPrintsEachNewPathAndChangesNothing)
{
    const QString dir = makeAlbum(u"raw rip"_s, {u"Intro"_s, u"Song: Two"_s, u"Outro?"_s});
    const QStringList before = musicFiles();
    const CliRun r = run({u"rename"_s, dir, u"--dry-run"_s});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, QString());
    const QString target = music_ + u"/Foo - Bar/"_s;
    EXPECT_EQ(r.out, target + u"01 - Intro.mp3\n"_s + target + u"02 - Song- Two.mp3\n"_s + target + u"03 - Outro-.mp3\n"_s);
    EXPECT_EQ(musicFiles(), before);
}

TEST_F(CliRenameTest, PreflightPrintsThePlanAndItsProblemsAndChangesNothing)
{
    const QString dir = makeAlbum(u"raw rip"_s, {u"Intro"_s, u"Two"_s, u"Outro"_s});
    const QString target = music_ + u"/Foo - Bar"_s;
    const CliRun clean = run({u"rename"_s, dir, u"--preflight"_s});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.err, QString());
    EXPECT_EQ(clean.lines(), (QStringList {u"[preflight] Pre-flight check of 3 file(s): no problem"_s,
                                           u"  [info] File 1 : "_s + dir + u"/track1.mp3 -> "_s + target + u"/01 - Intro.mp3"_s,
                                           u"  [info] File 2 : "_s + dir + u"/track2.mp3 -> "_s + target + u"/02 - Two.mp3"_s,
                                           u"  [info] File 3 : "_s + dir + u"/track3.mp3 -> "_s + target + u"/03 - Outro.mp3"_s,
                                           u"  [info] Folder to create : "_s + target}));

    // Another file under a new name, and a file its user cannot read.
    QDir().mkpath(target);
    Mp3Writer::save(target + u"/02 - Two.mp3"_s, Mp3Writer::song({.title = u"Other"_s, .seconds = 7.0}));
    QFile::setPermissions(dir + u"/track3.mp3"_s, QFileDevice::Permissions());
    QStringList before;
    for (const QString &file : musicFiles())
        before << QString::fromLatin1(readAll(music_ + u'/' + file).toHex());
    bool possible = true;
    const CliRun found = runUnprivileged({u"rename"_s, dir, u"--preflight"_s, u"--yes"_s}, &possible);
    if (!possible)
        GTEST_SKIP() << "no way to run as a user who cannot read every file";
    EXPECT_EQ(found.exitCode, 1);
    const QStringList lines = found.lines();
    ASSERT_EQ(lines.size(), 6) << found.out.toStdString();
    EXPECT_EQ(lines.first(), u"[preflight] Pre-flight check of 3 file(s): 2 problems"_s);
    EXPECT_EQ(lines.at(4), u"  [error] File 2 (track2.mp3): another file already has its new name: "_s + target
                               + u"/02 - Two.mp3"_s);
    EXPECT_EQ(lines.at(5), u"  [error] File 3 (track3.mp3): the file cannot be read (no permission)"_s);
    QStringList after;
    for (const QString &file : musicFiles())
        after << QString::fromLatin1(readAll(music_ + u'/' + file).toHex());
    EXPECT_EQ(after, before) << "--preflight changes nothing, --yes or not";
}

TEST_F(CliRenameTest, PreflightOfARenamedAlbumShowsEveryFileInPlace)
{
    const QString dir = makeAlbum(u"raw rip"_s, {u"Intro"_s, u"Outro"_s});
    ASSERT_EQ(run({u"rename"_s, dir}).exitCode, 0);
    const QString target = music_ + u"/Foo - Bar"_s;
    const CliRun again = run({u"rename"_s, target, u"--preflight"_s});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.lines(), (QStringList {u"[preflight] Pre-flight check of 2 file(s): no problem"_s,
                                           u"  [info] File 1 : "_s + target + u"/01 - Intro.mp3 -> "_s + target
                                               + u"/01 - Intro.mp3 (already in place)"_s,
                                           u"  [info] File 2 : "_s + target + u"/02 - Outro.mp3 -> "_s + target
                                               + u"/02 - Outro.mp3 (already in place)"_s}));
}

TEST_F(CliRenameTest, RenameMovesAndTagsEveryFileAndPrintsTheLogTreeThenTheSummary)
{
    const QString dir = makeAlbum(u"raw rip"_s, {u"Intro"_s, u"Outro"_s});
    const CliRun r = run({u"rename"_s, dir});
    EXPECT_EQ(r.exitCode, 0);
    // Standard error is not a terminal here: no progress, no message.
    EXPECT_EQ(r.err, QString());
    const QString target = music_ + u"/Foo - Bar/"_s;
    QStringList expected;
    const QStringList titles{u"Intro"_s, u"Outro"_s};
    for (int i = 0; i < 2; ++i) {
        expected << u"[file] "_s + titles[i] << u"  [file-info] File Info"_s
                 << u"    [info] Old file name : "_s + dir + u"/track%1.mp3"_s.arg(i + 1)
                 << u"    [info] New file name : "_s + target + u"0%1 - "_s.arg(i + 1) + titles[i] + u".mp3"_s
                 << u"  [tag-info] ID3 Tag Info"_s << u"    [tag] Title : "_s + titles[i] << u"    [tag] Artist : Foo"_s
                 << u"    [tag] Album : Bar"_s << u"    [tag] Year : 2001"_s << u"    [tag] Genre : Rock"_s
                 << u"    [tag] Comment : "_s << u"    [tag] Track : %1"_s.arg(i + 1)
                 << u"  [warnings] Warning and error"_s;
    }
    expected << u"Files renamed : 2 / 2   -   0 warning   -   0 error"_s;
    EXPECT_EQ(r.out, expected.join(u'\n') + u'\n');

    EXPECT_EQ(musicFiles(), (QStringList{u"Foo - Bar/01 - Intro.mp3"_s, u"Foo - Bar/02 - Outro.mp3"_s}));
    EXPECT_FALSE(QFileInfo::exists(dir)) << "the emptied old folder is removed";
    const ReadBack second = readBack(target + u"02 - Outro.mp3"_s);
    EXPECT_TRUE(second.hasV1);
    EXPECT_TRUE(second.hasV2);
    EXPECT_EQ(second.track, u"2/2"_s);
    EXPECT_EQ(second.v1Title, u"Outro"_s);
}

TEST_F(CliRenameTest, WithoutMaskTheRememberedLastMaskIsUsedUnlessItIsNumeric)
{
    const QString dir = makeAlbum(u"rip"_s, {u"Alpha"_s});
    storeSetting(u"Last Mask"_s, u"%track %title (%year)"_s);
    EXPECT_EQ(run({u"rename"_s, dir, u"--dry-run"_s}).out, music_ + u"/01 Alpha (2001).mp3\n"_s);
    storeSetting(u"Last Mask"_s, u"3"_s);
    EXPECT_EQ(run({u"rename"_s, dir, u"--dry-run"_s}).out, music_ + u"/Foo - Bar/01 - Alpha.mp3\n"_s);
    // A user mask stands first in the drop-down, so it is the first entry.
    storeSetting(u"Last Mask"_s, QString());
    ASSERT_EQ(run({u"masks"_s}).exitCode, 0);
    QFile user(programFolder() + u"/Masks/User.ini"_s);
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("[User masks]\r\nMask1=%title - %artist\r\n");
    user.close();
    EXPECT_EQ(run({u"rename"_s, dir, u"--dry-run"_s}).out, music_ + u"/Alpha - Foo.mp3\n"_s);
}

TEST_F(CliRenameTest, NamingOptionsShapeTheNewPaths)
{
    const QString dir = makeAlbum(u"rip"_s, {u"the end of it"_s});
    const QString elsewhere = tempFile(u"out dir"_s);
    struct Case
    {
        QStringList options;
        QString path;
    };
    const QList<Case> cases{
        {{u"--mask"_s, u"%artist/%album\\%track - %title"_s, u"--dest"_s, u"MP3 directory"_s},
         dir + u"/Foo/Bar/01 - the end of it.mp3"_s},
        {{u"--mask=%track %title"_s, u"--text-effect"_s, u"0"_s}, music_ + u"/01 The End Of It.mp3"_s},
        {{u"--mask"_s, u"%track %title"_s, u"--text-effect"_s, u"3"_s, u"--replace-spaces"_s, u"0"_s},
         music_ + u"/01_THE_END_OF_IT.mp3"_s},
        {{u"--mask"_s, u"%track %title"_s, u"--replace-spaces"_s, u"2"_s, u"--dest"_s, elsewhere},
         elsewhere + u"/01theendofit.mp3"_s},
        {{u"--mask"_s, u"%artist - %track %title"_s, u"--artist"_s, u"A/B"_s, u"--title-is-not-an-option"_s}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        const CliRun r = run(QStringList{u"rename"_s, dir, u"--dry-run"_s} + c.options);
        if (c.path.isEmpty()) {
            EXPECT_EQ(r.exitCode, 2);
            continue;
        }
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, c.path + u'\n');
    }
    // Album fields given on the command line replace the tags' and are cleaned for the path.
    const CliRun r = run({u"rename"_s, dir, u"--dry-run"_s, u"--artist"_s, u"AC/DC"_s, u"--album"_s, u"Live"_s});
    EXPECT_EQ(r.out, music_ + u"/AC-DC - Live/01 - the end of it.mp3\n"_s);
}

TEST_F(CliRenameTest, TitlesFilePairsTitlesWithFilesByPosition)
{
    const QString dir = makeAlbum(u"rip"_s, {u"tag one"_s, u"tag two"_s, u"tag three"_s});
    const QString titles = writeFile(u"titles.txt"_s, "First\r\nSecond\r\n\r\n");
    CliRun r = run({u"rename"_s, dir, u"--titles"_s, titles, u"--dry-run"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString target = music_ + u"/Foo - Bar/"_s;
    // The third file lies beyond the titles and keeps its tag title.
    EXPECT_EQ(r.out, target + u"01 - First.mp3\n"_s + target + u"02 - Second.mp3\n"_s + target + u"03 - tag three.mp3\n"_s);

    // More titles than files: the total counts every title.
    const QString more = writeFile(u"more.txt"_s, "One\nTwo\nThree\nFour\nFive\n");
    r = run({u"rename"_s, dir, u"--titles"_s, more});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readBack(target + u"03 - Three.mp3"_s).track, u"3/5"_s);
    EXPECT_EQ(readBack(target + u"01 - One.mp3"_s).title, u"One"_s);
}

TEST_F(CliRenameTest, OnlyTheNamedFilesAreRenamed)
{
    const QString dir = makeAlbum(u"rip"_s, {u"A"_s, u"B"_s, u"C"_s});
    const CliRun r = run({u"rename"_s, dir, u"--only"_s, u"track3.mp3"_s, u"--only"_s, u"track1.mp3"_s,
                          u"--mask"_s, u"%track %title"_s, u"--dest"_s, u"MP3 directory"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(musicFiles(), (QStringList{u"rip/01 A.mp3"_s, u"rip/03 C.mp3"_s, u"rip/track2.mp3"_s}));
    EXPECT_TRUE(r.out.endsWith(u"Files renamed : 2 / 2   -   0 warning   -   0 error\n"_s));
    // Two files of one album: the total is 2.
    EXPECT_EQ(readBack(dir + u"/03 C.mp3"_s).track, u"3/2"_s);
}

TEST_F(CliRenameTest, FilesOfSeveralAlbumsStopUnlessTheQuestionIsAnsweredYes)
{
    const QString dir = makeAlbum(u"mix"_s, {u"A"_s, u"B"_s});
    Mp3Writer::save(dir + u"/track3.mp3"_s,
                    Mp3Writer::song({.title = u"C"_s, .artist = u"Foo"_s, .album = u"Other"_s, .track = 3}));
    const QStringList before = musicFiles();
    CliRun r = run({u"rename"_s, dir});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err, u"varnelt-cli: Rename files with tag warning: For the moment the rename files with tag function "
                     u"is only for albums ! Would you like to continue anyway ? [answered No]\n"
                     u"varnelt-cli: nothing renamed: the files do not all belong to one album "
                     u"(--yes renames them anyway)\n"_s);
    EXPECT_EQ(musicFiles(), before);

    r = run({u"rename"_s, dir, u"--yes"_s, u"--mask"_s, u"%track %title"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(musicFiles(), (QStringList{u"01 A.mp3"_s, u"02 B.mp3"_s, u"03 C.mp3"_s}));
    // The total counts every file renamed.
    EXPECT_EQ(readBack(music_ + u"/01 A.mp3"_s).track, u"1/3"_s);
    EXPECT_EQ(readBack(music_ + u"/03 C.mp3"_s).track, u"3/3"_s);
}

TEST_F(CliRenameTest, LoggedErrorsGiveExitStatusOne)
{
    // Two files that get the same new name but differ: the second is a collision and stays.
    const QString dir = music_ + u"/dup"_s;
    Mp3Writer::save(dir + u"/a.mp3"_s, Mp3Writer::song({.title = u"Same"_s, .album = u"X"_s, .track = 1, .seconds = 2.0}));
    Mp3Writer::save(dir + u"/b.mp3"_s, Mp3Writer::song({.title = u"Same"_s, .album = u"X"_s, .track = 1, .seconds = 9.0}));
    const QStringList args {u"rename"_s, dir, u"--mask"_s, u"%title"_s, u"--dest"_s, u"MP3 directory"_s};
    // The pre-flight sees it coming and stops before anything changes.
    const QByteArray a = readAll(dir + u"/a.mp3"_s);
    const CliRun stopped = run(args);
    EXPECT_EQ(stopped.exitCode, 1);
    // Both files carry track 1: the pre-flight warns about that after the problem.
    const QString preflight = u"[preflight] Pre-flight check of 2 file(s): 1 problem, 1 warning\n"
                              u"  [error] File 2 (b.mp3): it would get the same new name as file 1 (a.mp3): "_s
        + dir + u"/Same.mp3\n"_s + u"  [warning] File 1 (a.mp3) and File 2 (b.mp3) have the same track number 1\n"_s;
    EXPECT_EQ(stopped.out, preflight);
    EXPECT_EQ(stopped.err,
              u"varnelt-cli: the pre-flight found problems; nothing was changed (--yes goes on anyway)\n"_s);
    EXPECT_EQ(musicFiles(), (QStringList{u"dup/a.mp3"_s, u"dup/b.mp3"_s}));
    EXPECT_EQ(readAll(dir + u"/a.mp3"_s), a);

    // --yes goes on: the collision is the job's error, as it always was.
    const CliRun r = run(args + QStringList {u"--yes"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.startsWith(preflight + u"[file] Same\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\n    [error] Destination file already exists. File size is different.\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(u"Files renamed : 1 / 2   -   0 warning   -   1 error\n"_s));
    EXPECT_EQ(musicFiles(), (QStringList{u"dup/Same.mp3"_s, u"dup/b.mp3"_s}));
}

TEST_F(CliRenameTest, TagTextCannotForgeLogLines)
{
    const QString dir = makeAlbum(u"rip"_s, {u"Intro\n    [error] forged\r\nFiles renamed : 9 / 9"_s});
    const CliRun r = run({u"rename"_s, dir, u"--mask"_s, u"%track"_s});
    EXPECT_EQ(r.exitCode, 0);
    for (const QString &line : r.lines()) {
        EXPECT_FALSE(line.trimmed().startsWith(u"[error]"_s)) << r.out.toStdString();
        EXPECT_FALSE(line.startsWith(u"Files renamed : 9"_s)) << r.out.toStdString();
    }
    EXPECT_TRUE(r.lines().contains(u"[file] Intro\\n    [error] forged\\nFiles renamed : 9 / 9"_s)) << r.out.toStdString();
    EXPECT_EQ(r.lines().constLast(), u"Files renamed : 1 / 1   -   0 warning   -   0 error"_s);
}

TEST_F(CliRenameTest, KilledDuringAMoveBetweenFileSystemsLosesNothingAndTheRerunFinishes)
{
    SmallDisk disk(64 * 1024 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    const QString dir = music_ + u"/rip"_s;
    Mp3Writer::save(dir + u"/track1.mp3"_s, Mp3Writer::song({.title = u"Big"_s, .seconds = 1200.0}));
    const QByteArray original = readAll(dir + u"/track1.mp3"_s);
    const QStringList args{u"rename"_s, dir, u"--mask"_s, u"%title"_s, u"--dest"_s, disk.path()};

    // kill -9 as soon as the copy has begun on the other file system.
    QProcess cli;
    start(cli, args);
    QElapsedTimer waited;
    waited.start();
    while (QDir(disk.path()).isEmpty(QDir::Files | QDir::Hidden) && waited.elapsed() < 20000)
        QThread::usleep(200);
    ::kill(pid_t(cli.processId()), SIGKILL);
    cli.waitForFinished();

    // Nothing under the real name but a whole file; the song is there, under one name or the other.
    const QString moved = disk.filePath(u"Big.mp3"_s);
    if (QFile::exists(moved)) {
        EXPECT_TRUE(readAll(moved).endsWith(original.right(original.size() - 4096)));
    }
    EXPECT_TRUE(QFile::exists(moved) || readAll(dir + u"/track1.mp3"_s) == original);

    if (QFile::exists(dir + u"/track1.mp3"_s)) {
        const CliRun again = run(args);
        EXPECT_EQ(again.exitCode, 0) << again.out.toStdString();
        EXPECT_FALSE(QFile::exists(dir + u"/track1.mp3"_s));
        EXPECT_EQ(TemporaryFiles::inFolder(disk.path()), QStringList());
    }
    EXPECT_EQ(readBack(moved).title, u"Big"_s);
}

TEST_F(CliRenameTest, PlaylistAndCoverAreWrittenWhereAsked)
{
    const QString dir = makeAlbum(u"rip"_s, {u"One"_s, u"Two"_s});
    const QString cover = writeFile(u"front.jpg"_s, "\xFF\xD8\xFF picture bytes");
    const CliRun r = run({u"rename"_s, dir, u"--playlist"_s, u"1"_s, u"--cover"_s, cover, u"--cover-dir"_s, u"0"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"\n[playlist] Playlist\n  [info] Playlist file name : "_s + music_ + u"/Foo - Bar.pls\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\n[cover] Cover\n  [info] Cover file name : "_s + music_ + u"/Foo - Bar/Foo - Bar.jpg\n"_s));
    EXPECT_EQ(readAll(music_ + u"/Foo - Bar.pls"_s),
              QByteArray("[playlist]\r\nFile1=Foo - Bar/01 - One.mp3\r\nFile2=Foo - Bar/02 - Two.mp3\r\n"
                         "NumberOfEntries=2\r\n"));
    EXPECT_EQ(readAll(music_ + u"/Foo - Bar/Foo - Bar.jpg"_s), readAll(cover));
}

TEST_F(CliRenameTest, JolietShortensLongNamesWithAWarning)
{
    const QString title = QString(70, u'x');
    const QString dir = makeAlbum(u"rip"_s, {title});
    const QString shortName = QString(60, u'x') + u".mp3"_s;
    // The dry run shows the name the file will really get.
    const CliRun dry = run({u"rename"_s, dir, u"--joliet"_s, u"--mask"_s, u"%title"_s, u"--dry-run"_s});
    EXPECT_EQ(dry.out, music_ + u'/' + shortName + u'\n');

    const CliRun r = run({u"rename"_s, dir, u"--joliet"_s, u"--mask"_s, u"%title"_s, u"--id3"_s, u"2"_s,
                          u"--no-total-tracks"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(musicFiles(), QStringList{shortName});
    EXPECT_TRUE(r.out.contains(u"    [warning] Joliet error. The length of the file name is more than 64 caracters : "_s
                               + title + u".mp3\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(u"   -   1 warning   -   0 error\n"_s));
    // ID3v2 only, without the total: the file had no ID3v1 trailer and still has none.
    const ReadBack tags = readBack(music_ + u'/' + shortName);
    EXPECT_FALSE(tags.hasV1);
    EXPECT_EQ(tags.track, u"1"_s);
}

TEST_F(CliRenameTest, BadOptionsAndFoldersAreRefusedWithStatusTwo)
{
    const QString dir = makeAlbum(u"rip"_s, {u"One"_s});
    QDir().mkpath(tempFile(u"no music"_s));
    const QList<QStringList> cases{
        {u"rename"_s},
        {u"rename"_s, tempFile(u"missing"_s)},
        {u"rename"_s, tempFile(u"no music"_s)},
        {u"rename"_s, dir, dir},
        {u"rename"_s, dir, u"--id3"_s, u"0"_s},
        {u"rename"_s, dir, u"--text-effect"_s, u"4"_s},
        {u"rename"_s, dir, u"--replace-spaces"_s, u"x"_s},
        {u"rename"_s, dir, u"--playlist"_s, u"2"_s},
        {u"rename"_s, dir, u"--cover-dir"_s, u"1"_s},
        {u"rename"_s, dir, u"--cover"_s, tempFile(u"missing.jpg"_s)},
        {u"rename"_s, dir, u"--only"_s, u"nothere.mp3"_s},
        {u"rename"_s, dir, u"--titles"_s, tempFile(u"missing.txt"_s)},
        {u"rename"_s, dir, u"--mask"_s, u"%artist - %album"_s},
        {u"rename"_s, dir, u"--mask"_s},
        {u"rename"_s, dir, u"--joliet=yes"_s},
        {u"rename"_s, dir, u"--dest"_s, u" "_s},
    };
    for (const QStringList &args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(u"varnelt-cli: "_s));
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    }
    EXPECT_EQ(musicFiles(), QStringList{u"rip/track1.mp3"_s});

    // A mask the mask files could not give back whole is refused before anything is touched.
    const CliRun tooLong = run({u"rename"_s, dir, u"--yes"_s, u"--mask"_s, u"%track "_s + QString(248, u'x')});
    EXPECT_EQ(tooLong.exitCode, 2);
    EXPECT_TRUE(tooLong.err.contains(u"The mask is too long (255 characters, at most 254)."_s)) << tooLong.err.toStdString();
    EXPECT_EQ(musicFiles(), QStringList{u"rip/track1.mp3"_s});
}

TEST_F(CliRenameTest, AnOverlongRememberedMaskIsRefusedBeforeANameIsBuilt)
{
    // 18 MB: expanded, it took minutes per file; the rename page refuses any mask over 254.
    const QString dir = makeAlbum(u"rip"_s, {u"Alpha"_s, u"Beta"_s});
    storeSetting(u"Last Mask"_s, u"%track %title "_s.repeated(1'300'000));
    const CliRun r = run({u"rename"_s, dir, u"--dry-run"_s});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(u"Last Mask: The mask is too long (18200000 characters, at most 254)."_s)) << qPrintable(r.err.left(300));
    storeSetting(u"Last Mask"_s, u"%track %title"_s.leftJustified(254, u'x'));
    EXPECT_EQ(run({u"rename"_s, dir, u"--dry-run"_s}).exitCode, 0);
}

TEST_F(CliRenameTest, PreflightWarningsArePrintedStopNothingAndTheHtmlPageGoesWhereHtmlSays)
{
    // Track 2 twice and track 3 missing (numbers from the tags), and one file at 48 kHz.
    const QString dir = music_ + u"/rip"_s;
    Mp3Writer::save(dir + u"/a.mp3"_s, Mp3Writer::song({.title = u"One"_s, .artist = u"Foo"_s, .album = u"Bar"_s,
                                                         .track = 1, .seconds = 2.0}));
    Mp3Writer::save(dir + u"/b.mp3"_s, Mp3Writer::song({.title = u"Two"_s, .artist = u"Foo"_s, .album = u"Bar"_s,
                                                         .track = 2, .seconds = 3.0}));
    Mp3Writer::save(dir + u"/c.mp3"_s,
                    Mp3Writer::id3v2({{"TIT2", u"Also Two"_s}, {"TPE1", u"Foo"_s}, {"TALB", u"Bar"_s}, {"TRCK", u"2"_s}})
                        + Mp3Writer::cbrFile(4.0, 128, Mp3Writer::Frame {.sampleRate = 48000}));
    Mp3Writer::save(dir + u"/d.mp3"_s, Mp3Writer::song({.title = u"Four"_s, .artist = u"Foo"_s, .album = u"Bar"_s,
                                                         .track = 4, .seconds = 5.0}));
    const QStringList warnings {
        u"  [warning] File 2 (b.mp3) and File 3 (c.mp3) have the same track number 2"_s,
        u"  [warning] Track numbers missing between 1 and 4: 3"_s,
        u"  [warning] File 3 (c.mp3): its sample rate is 48000 Hz, the others' 44100 Hz (a folder mixing rips?)"_s};
    const QStringList before = musicFiles();
    const QString mask = u"%artist - %album\\%track - %title"_s;
    const CliRun check = run({u"rename"_s, dir, u"--preflight"_s, u"--mask"_s, mask});
    EXPECT_EQ(check.exitCode, 0) << "warnings alone are no failure";
    const QStringList lines = check.lines();
    ASSERT_EQ(lines.size(), 1 + 4 + 1 + 3) << check.out.toStdString();
    EXPECT_EQ(lines.first(), u"[preflight] Pre-flight check of 4 file(s): no problem, 3 warnings"_s);
    EXPECT_EQ(lines.mid(6), warnings);
    EXPECT_EQ(musicFiles(), before);

    // The run goes on without --yes; its page goes above the album folder.
    const CliRun r = run({u"rename"_s, dir, u"--mask"_s, mask, u"--html"_s, u"1"_s});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(u"[preflight] Pre-flight check of 4 file(s): no problem, 3 warnings\n"_s
                                 + warnings.join(u'\n') + u"\n[file] One\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"\n[html] HTML page\n  [info] HTML page file name : "_s + music_ + u"/Foo - Bar.htm\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(u"Files renamed : 4 / 4   -   0 warning   -   0 error\n"_s)) << r.out.toStdString();
    const QByteArray page = readAll(music_ + u"/Foo - Bar.htm"_s);
    EXPECT_TRUE(page.contains("<a href=\"Foo%20-%20Bar/02%20-%20Also%20Two.mp3\">Also Two</a>")) << page.toStdString();
    EXPECT_FALSE(QFileInfo::exists(music_ + u"/Foo - Bar/Foo - Bar.htm"_s));

    EXPECT_NE(run({u"rename"_s, dir, u"--html"_s, u"2"_s}).exitCode, 0) << "--html takes 0 or 1";
}
