// What the album rename job does when the file system says no: a destination that cannot be
// created, a folder that refuses files, a name too long, a file that vanishes during the run,
// a file that cannot take a tag. The job logs the row, goes on, and loses no file.

#include "RenameJobFixture.h"

#include "support/Mp3Writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

using RenameJobFailureTest = RenameJobFixture;


TEST_F(RenameJobFailureTest, DestinationThatCannotBeCreatedStopsBeforeAnyFileIsTouched)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const QStringList before = treeOf(folder);
    const QString target = u"/proc/varnelt-cannot-exist"_s;
    const RenameJobOutcome out = runAlbumRenameJob(inputFor(folder, threeSongs(), u"%track - %title"_s, target), log);

    EXPECT_FALSE(out.started);
    // The job shows nothing itself; its caller shows what it returns.
    EXPECT_EQ(answers->count(), 0);
    ASSERT_TRUE(out.failure);
    Msg::ask(*out.failure);
    ASSERT_EQ(answers->count(), 1);
    const Msg::Message &m = answers->messages().first();
    EXPECT_EQ(m.text, u"Path creation error. Read-only media or not enough rights.\n/proc/varnelt-cannot-exist/\n"
                      u"Impossible to rename files."_s);
    EXPECT_EQ(m.title, u"Path creation error"_s);
    EXPECT_EQ(m.icon, Msg::Icon::Critical);
    EXPECT_EQ(m.buttons, Msg::Buttons::Ok);
    EXPECT_EQ(treeOf(folder), before);
    EXPECT_EQ(log.size(), 0);
    EXPECT_EQ(log.summary(), u"Files renamed : 0 / 3   -   0 warning   -   1 error"_s);
}

TEST_F(RenameJobFailureTest, FolderThatRefusesFilesFailsOnlyItsRowAndKeepsTheFile)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const QString target = tempFile(u"out"_s);
    QDir().mkpath(target + u"/Two"_s);
    if (!lockFolder(target + u"/Two"_s))
        GTEST_SKIP() << "this system cannot make a folder refuse new files";
    const QByteArray original = readAll(folder + u"/b.mp3"_s);
    runAlbumRenameJob(inputFor(folder, threeSongs(), u"%title\\%track"_s, target), log);

    EXPECT_EQ(warningsOf(log, 1),
              QStringList {u"File move error. Read-only media, not enough rights or file in use"_s});
    EXPECT_EQ(readAll(folder + u"/b.mp3"_s), original) << "the refused file stays as it was";
    EXPECT_TRUE(QFileInfo::exists(target + u"/One/01.mp3"_s));
    EXPECT_TRUE(QFileInfo::exists(target + u"/Three/03.mp3"_s));
    EXPECT_TRUE(QFileInfo::exists(folder)) << "a folder still holding a song is not removed";
    EXPECT_EQ(log.summary(), u"Files renamed : 2 / 3   -   0 warning   -   1 error"_s);
}

TEST_F(RenameJobFailureTest, NameTooLongForTheFileSystemIsARowError)
{
    QList<SourceFile> files = threeSongs();
    files[0].title = QString(300, u'n');
    const QString folder = makeAlbum(u"in"_s, files);
    runAlbumRenameJob(inputFor(folder, files, u"%title"_s, u"MP3 directory"_s), log);

    EXPECT_EQ(warningsOf(log, 0), QStringList {u"File name too long for the destination: 304 bytes, at most 255"_s});
    EXPECT_EQ(treeOf(folder), (QStringList {u"Three.mp3"_s, u"Two.mp3"_s, u"a.mp3"_s}));
    EXPECT_EQ(log.summary(), u"Files renamed : 2 / 3   -   0 warning   -   1 error"_s);
}

TEST_F(RenameJobFailureTest, FileThatVanishesDuringTheRunIsReportedAndTheRunGoesOn)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const RenameJobInput in = inputFor(folder, threeSongs(), u"%track - %title"_s, u"MP3 directory"_s);
    runAlbumRenameJob(in, log, [&](int done, int) {
        if (done == 1)
            QFile::remove(folder + u"/c.mp3"_s);
    });

    EXPECT_EQ(warningsOf(log, 2), QStringList {u"Source file not found"_s});
    EXPECT_EQ(treeOf(folder), (QStringList {u"01 - One.mp3"_s, u"02 - Two.mp3"_s}));
    // A row that failed keeps its two file lines and nothing under the tag node.
    const int entry = log.roots().at(2);
    EXPECT_EQ(log.childTexts(log.findChild(entry, u"File Info"_s)).size(), 2);
    EXPECT_TRUE(log.childTexts(log.findChild(entry, u"ID3 Tag Info"_s)).isEmpty());
    EXPECT_EQ(log.summary(), u"Files renamed : 2 / 3   -   0 warning   -   1 error"_s);
}

TEST_F(RenameJobFailureTest, FileThatCannotTakeATagIsStillRenamedAndCounted)
{
    QList<SourceFile> files = threeSongs();
    const QString folder = makeAlbum(u"in"_s, files);
    // Not MPEG audio at all: it moves like any file, but no tag can be written into it.
    writeFile(u"in/b.mp3"_s, QByteArray(3000, 'z'));
    runAlbumRenameJob(inputFor(folder, files, u"%track - %title"_s, u"MP3 directory"_s), log);

    // The real cause, not the write failure's "read-only media" guess.
    const QString failure = u"Unable to write new tag information. The file holds no MPEG audio"_s;
    EXPECT_EQ(warningsOf(log, 1), (QStringList {failure, failure}));
    EXPECT_EQ(readAll(folder + u"/02 - Two.mp3"_s), QByteArray(3000, 'z'));
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   2 error(s)"_s);
}

TEST_F(RenameJobFailureTest, RowNamesThatReachOutsideTheFolderAreRefused)
{
    const QString folder = makeThreeSongAlbum(u"album/in"_s);
    writeFile(u"album/outside.mp3"_s, "not part of the list");
    QList<SourceFile> files = threeSongs();
    files[0].fileName = u"../outside.mp3"_s;
    files[1].fileName = u".."_s;
    runAlbumRenameJob(inputFor(folder, files, u"%track - %title"_s, u"MP3 directory"_s), log);

    EXPECT_EQ(warningsOf(log, 0), QStringList {u"Source file not found"_s});
    EXPECT_EQ(warningsOf(log, 1), QStringList {u"Source file not found"_s});
    EXPECT_EQ(readAll(tempFile(u"album/outside.mp3"_s)), QByteArray("not part of the list"));
    EXPECT_EQ(treeOf(folder), (QStringList {u"03 - Three.mp3"_s, u"a.mp3"_s, u"b.mp3"_s}));
}

TEST_F(RenameJobFailureTest, EmptyListTouchesNothing)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = inputFor(folder, {}, u"%artist - %album\\%track - %title"_s, u"Parent directory"_s);
    in.outputs.playlist = true;
    runAlbumRenameJob(in, log);

    EXPECT_EQ(treeOf(tempPath()).filter(u".mp3"_s), (QStringList {u"in/a.mp3"_s, u"in/b.mp3"_s, u"in/c.mp3"_s}));
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"Foo - Bar"_s)));
    EXPECT_EQ(log.size(), 0);
    EXPECT_EQ(log.summary(), u"Files renamed : 0 / 0   -   0 warning   -   0 error"_s);
}
