// The playlist and cover written at the end of the album rename job: the exact .pls bytes,
// where both go, their names, replacement of earlier ones, the Joliet limit, and the clean-up
// of the old folder around them.

#include "RenameJobFixture.h"

#include "support/SmallDisk.h"

#include "foundation/TemporaryFiles.h"

#include "jobs/PlaylistCoverOutput.h"
#include "jobs/RenameJobFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
const QString flatMask = u"%track - %title"_s;
const QString albumMask = u"%artist - %album\\%track - %title"_s;
const QString mp3Dir = u"MP3 directory"_s;
const QString parentDir = u"Parent directory"_s;
const QByteArray coverBytes = QByteArray("\x89PNG not really a jpeg", 22);
} // namespace

class PlaylistCoverOutputTest : public RenameJobFixture
{
protected:
    RenameJobInput withOutputs(RenameJobInput in, int dir = 0) const
    {
        in.outputs.playlist = true;
        in.outputs.playlistDir = outputFolderOf(dir);
        in.outputs.cover = true;
        in.outputs.coverDir = outputFolderOf(dir);
        in.outputs.coverShown = true;
        in.outputs.coverDownloadFileName = writeFile(u"app/Download/cover.jpg"_s, coverBytes);
        return in;
    }
};

TEST_F(PlaylistCoverOutputTest, PlaylistListsTheRowsThatArrivedByTheirPosition)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    QFile::remove(folder + u"/b.mp3"_s); // the second row cannot be moved
    runAlbumRenameJob(withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir)), log);

    EXPECT_EQ(readAll(folder + u"/Foo - Bar.pls"_s),
              QByteArray("[playlist]\r\nFile1=01 - One.mp3\r\nFile3=03 - Three.mp3\r\nNumberOfEntries=2\r\n"));
    const int node = log.findRoot(u"Playlist"_s);
    ASSERT_GE(node, 0);
    EXPECT_EQ(log.childTexts(node), QStringList {u"Playlist file name : "_s + folder + u"/Foo - Bar.pls"_s});
    EXPECT_TRUE(log.node(node).madeVisible);
    EXPECT_EQ(readAll(folder + u"/Foo - Bar.jpg"_s), coverBytes);
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)),
              QStringList {u"Cover file name : "_s + folder + u"/Foo - Bar.jpg"_s});
}

TEST_F(PlaylistCoverOutputTest, ParentDirectoryPutsBothAboveTheAlbumWithRelativeEntries)
{
    const QString folder = makeThreeSongAlbum(u"rips/in"_s);
    runAlbumRenameJob(withOutputs(inputFor(folder, threeSongs(), albumMask, parentDir), 1), log);

    const QString rips = tempFile(u"rips"_s);
    EXPECT_EQ(readAll(rips + u"/Foo - Bar.pls"_s),
              QByteArray("[playlist]\r\nFile1=Foo - Bar/01 - One.mp3\r\nFile2=Foo - Bar/02 - Two.mp3\r\n"
                         "File3=Foo - Bar/03 - Three.mp3\r\nNumberOfEntries=3\r\n"));
    EXPECT_EQ(readAll(rips + u"/Foo - Bar.jpg"_s), coverBytes);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(PlaylistCoverOutputTest, NamesFollowTheSpaceReplacement)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.album.album = u"Bar Baz"_s;
    in.naming.replaceSpaces = SpaceReplacement::Underscores;
    runAlbumRenameJob(in, log);

    EXPECT_TRUE(QFileInfo::exists(folder + u"/Foo_-_Bar_Baz.pls"_s));
    EXPECT_TRUE(QFileInfo::exists(folder + u"/Foo_-_Bar_Baz.jpg"_s));
    EXPECT_TRUE(QFileInfo::exists(folder + u"/01_-_One.mp3"_s));
}

TEST_F(PlaylistCoverOutputTest, SecondRunReplacesBothWithOneWarningEach)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    runAlbumRenameJob(in, log);
    // An earlier output made read-only is still replaced.
    QFile::setPermissions(folder + u"/Foo - Bar.pls"_s, QFile::ReadOwner);
    in.rows[0].fileName = u"01 - One.mp3"_s;
    in.rows[1].fileName = u"02 - Two.mp3"_s;
    in.rows[2].fileName = u"03 - Three.mp3"_s;
    writeFile(u"app/Download/cover.jpg"_s, "second cover");
    runAlbumRenameJob(in, log);

    EXPECT_EQ(log.childTexts(log.findRoot(u"Playlist"_s)),
              (QStringList {u"Playlist file name : "_s + folder + u"/Foo - Bar.pls"_s,
                            u"Playlist file already exists. File replaced."_s}));
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)),
              (QStringList {u"Cover file name : "_s + folder + u"/Foo - Bar.jpg"_s,
                            u"Cover file already exists. File replaced."_s}));
    EXPECT_EQ(readAll(folder + u"/Foo - Bar.jpg"_s), QByteArray("second cover"));
    EXPECT_TRUE(readAll(folder + u"/Foo - Bar.pls"_s).startsWith("[playlist]\r\nFile1=01 - One.mp3"));
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   2 warning(s)   -   0 error"_s);
}

TEST_F(PlaylistCoverOutputTest, PlaylistWithoutEntriesHoldsOnlyTheCount)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s})
        QFile::remove(folder + u'/' + name);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.outputs.cover = false;
    runAlbumRenameJob(in, log);

    EXPECT_EQ(readAll(folder + u"/Foo - Bar.pls"_s), QByteArray("\r\nNumberOfEntries=0\r\n"));
    EXPECT_EQ(log.findRoot(u"Cover"_s), -1);
}

TEST_F(PlaylistCoverOutputTest, CoverNeedsADownloadedPicture)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.outputs.coverShown = false;
    runAlbumRenameJob(in, log);
    EXPECT_EQ(log.findRoot(u"Cover"_s), -1);
    EXPECT_FALSE(QFileInfo::exists(folder + u"/Foo - Bar.jpg"_s));

    // Shown, but the picture is gone from the download folder by now.
    in.outputs.coverShown = true;
    in.outputs.coverDownloadFileName = tempFile(u"app/Download/missing.jpg"_s);
    in.rows[0].fileName = u"01 - One.mp3"_s;
    in.rows[1].fileName = u"02 - Two.mp3"_s;
    in.rows[2].fileName = u"03 - Three.mp3"_s;
    runAlbumRenameJob(in, log);
    const int cover = log.findRoot(u"Cover"_s);
    EXPECT_EQ(log.childTexts(cover).last(), u"Unable to copy downloaded cover file"_s);
    EXPECT_EQ(log.errorCount(), 1);
}

TEST_F(PlaylistCoverOutputTest, EarlierCoverStaysWhenTheDownloadIsGone)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.outputs.playlist = false;
    writeFile(u"in/Foo - Bar.jpg"_s, "earlier cover");
    in.outputs.coverDownloadFileName = tempFile(u"app/Download/missing.jpg"_s);
    runAlbumRenameJob(in, log);

    EXPECT_EQ(readAll(folder + u"/Foo - Bar.jpg"_s), QByteArray("earlier cover"));
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)),
              (QStringList {u"Cover file name : "_s + folder + u"/Foo - Bar.jpg"_s,
                            u"Unable to copy downloaded cover file"_s}));
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   1 error"_s);
}

TEST_F(PlaylistCoverOutputTest, CoverAlreadyInPlaceIsNotLost)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.outputs.coverDownloadFileName = writeFile(u"in/Foo - Bar.jpg"_s, coverBytes);
    runAlbumRenameJob(in, log);

    EXPECT_EQ(readAll(folder + u"/Foo - Bar.jpg"_s), coverBytes);
    EXPECT_EQ(log.errorCount(), 0);
}

TEST_F(PlaylistCoverOutputTest, JolietShortensLongOutputNames)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.album.album = QString(70, u'b');
    in.joliet = true;
    runAlbumRenameJob(in, log);

    const QString longName = u"Foo - "_s + QString(70, u'b');
    const QString pls = folder + u'/' + longName.left(60) + u".pls"_s;
    EXPECT_TRUE(QFileInfo::exists(pls));
    EXPECT_TRUE(QFileInfo::exists(folder + u'/' + longName.left(60) + u".jpg"_s));
    const int node = log.findRoot(u"Playlist"_s);
    EXPECT_EQ(log.childTexts(node),
              (QStringList {u"Playlist file name : "_s + pls,
                            u"Joliet error. The length of the playlist filename is more than 64 caracters : "_s
                                + longName + u".pls"_s}));
    EXPECT_TRUE(log.node(node).expanded);
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)).last(),
              u"Joliet error. The length of the cover filename is more than 64 caracters : "_s + longName
                  + u".jpg"_s);
    EXPECT_EQ(log.warningCount(), 2);
}

TEST_F(PlaylistCoverOutputTest, JolietLimitNeverSplitsACharacter)
{
    EXPECT_EQ(Joliet::limitName(QString(64, u'a'), u".mp3"_s), QString(64, u'a'));
    EXPECT_EQ(Joliet::limitName(QString(65, u'a'), u".mp3"_s), QString(60, u'a') + u".mp3"_s);
    // A character outside the basic plane takes two units; cutting between them would break it.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    const QString name = QString(59, u'a') + clef + QString(10, u'z');
    EXPECT_EQ(Joliet::limitName(name, u".pls"_s), QString(59, u'a') + u".pls"_s);
}

TEST_F(PlaylistCoverOutputTest, OldFolderGoesOnlyWithWhatBelongsToTheAlbum)
{
    // Emptied of its songs, the old folder holds a playlist of this album, the user's picture
    // and page: the picture and page move along under the new folder's name, the playlist goes.
    const QString folder = makeThreeSongAlbum(u"rips/incoming"_s);
    writeFile(u"rips/incoming/incoming.pls"_s, "[playlist]\r\nFile1=a.mp3\r\nFile3=c.mp3\r\nNumberOfEntries=2\r\n");
    writeFile(u"rips/incoming/incoming.jpg"_s, "picture");
    writeFile(u"rips/incoming/incoming.htm"_s, "page");
    QFile::setPermissions(folder + u"/incoming.jpg"_s, QFile::ReadOwner);
    // Two more: one whose playlist lists another file, one whose picture's new name is taken.
    const QString other = makeThreeSongAlbum(u"more/other"_s);
    writeFile(u"more/other/other.pls"_s, "[playlist]\r\nFile1=bonus.mp3\r\n");
    writeFile(u"more/other/other.jpg"_s, "mine");
    const QString taken = makeThreeSongAlbum(u"taken/incoming"_s);
    writeFile(u"taken/incoming/incoming.jpg"_s, "mine too");
    writeFile(u"taken/Foo - Bar/Foo - Bar.jpg"_s, "already there");

    const RenameJobOutcome out = runAlbumRenameJob(inputFor(folder, threeSongs(), albumMask, parentDir), log);
    EXPECT_TRUE(out.oldFolderRemoved);
    const QString album = tempFile(u"rips/Foo - Bar"_s);
    EXPECT_EQ(QDir(tempFile(u"rips"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {u"Foo - Bar"_s});
    EXPECT_EQ(readAll(album + u"/Foo - Bar.jpg"_s), "picture");
    EXPECT_EQ(readAll(album + u"/Foo - Bar.htm"_s), "page");
    EXPECT_EQ(log.childTexts(log.findRoot(u"Folders"_s)).join(u'\n').toStdString(),
              (QStringList {u"Moved from the old folder: "_s + folder + u"/incoming.htm to "_s + album + u"/Foo - Bar.htm"_s,
                            u"Moved from the old folder: "_s + folder + u"/incoming.jpg to "_s + album + u"/Foo - Bar.jpg"_s,
                            u"Old playlist of this album deleted: "_s + folder + u"/incoming.pls"_s})
                  .join(u'\n')
                  .toStdString());

    for (const QString &kept : {other, taken}) {
        ResultLog again;
        const RenameJobOutcome stays = runAlbumRenameJob(inputFor(kept, threeSongs(), albumMask, parentDir), again);
        EXPECT_FALSE(stays.oldFolderRemoved);
        EXPECT_EQ(again.childTexts(again.findRoot(u"Folders"_s)).size(), 1);
    }
    EXPECT_EQ(treeOf(other), (QStringList {u"other.jpg"_s, u"other.pls"_s}));
    EXPECT_EQ(treeOf(taken), QStringList {u"incoming.jpg"_s});
    EXPECT_EQ(readAll(tempFile(u"taken/Foo - Bar/Foo - Bar.jpg"_s)), "already there");
}

TEST_F(PlaylistCoverOutputTest, FullDiskKeepsTheEarlierPlaylistAndCover)
{
    SmallDisk disk(1024 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    const QString folder = disk.filePath(u"in"_s);
    QDir().mkpath(folder);
    const QString songs = makeThreeSongAlbum(u"songs"_s);
    for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s})
        QFile::copy(songs + u'/' + name, folder + u'/' + name);
    QFile pls(folder + u"/Foo - Bar.pls"_s), jpg(folder + u"/Foo - Bar.jpg"_s);
    ASSERT_TRUE(pls.open(QIODevice::WriteOnly) && pls.write("[playlist]\r\nFile1=old.mp3\r\n") > 0);
    ASSERT_TRUE(jpg.open(QIODevice::WriteOnly) && jpg.write("old cover") > 0);
    pls.close();
    jpg.close();
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), flatMask, mp3Dir));
    in.outputs.coverDownloadFileName = writeFile(u"app/Download/cover.jpg"_s, QByteArray(64 * 1024, 'j'));
    // The disk fills up once the songs are done, before the playlist and the cover are written.
    runAlbumRenameJob(in, log, [&](int done, int total) {
        if (done == total)
            disk.fill();
    });

    EXPECT_TRUE(log.childTexts(log.findRoot(u"Playlist"_s)).last().startsWith(u"Unable to write playlist. "_s));
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)).last(), u"Unable to copy downloaded cover file"_s);
    EXPECT_EQ(readAll(folder + u"/Foo - Bar.pls"_s), "[playlist]\r\nFile1=old.mp3\r\n");
    EXPECT_EQ(readAll(folder + u"/Foo - Bar.jpg"_s), "old cover");
    EXPECT_EQ(TemporaryFiles::inFolder(folder), QStringList());
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   2 error(s)"_s);
}

TEST_F(PlaylistCoverOutputTest, OldFolderStillHoldingOtherFilesStaysWithItsOutputs)
{
    const QString folder = makeThreeSongAlbum(u"rips/incoming"_s);
    writeFile(u"rips/incoming/incoming.pls"_s, "old");
    writeFile(u"rips/incoming/bonus.txt"_s, "stay");
    const RenameJobOutcome out = runAlbumRenameJob(inputFor(folder, threeSongs(), albumMask, parentDir), log);

    EXPECT_FALSE(out.oldFolderRemoved);
    EXPECT_EQ(treeOf(folder), (QStringList {u"bonus.txt"_s, u"incoming.pls"_s}));
}

TEST_F(PlaylistCoverOutputTest, ListedFolderReachedThroughALinkKeepsTheFilesAndTheNewOutputs)
{
    // The listed folder is reached through a second name; the destination is the real folder.
    // Both name one folder, so the playlist written there now must not be taken for an old one.
    const QString real = makeThreeSongAlbum(u"real"_s);
    const QString alias = tempFile(u"Foo - Bar"_s);
    ASSERT_TRUE(QFile::link(real, alias));
    RenameJobInput in = withOutputs(inputFor(alias, threeSongs(), flatMask, real));
    const RenameJobOutcome out = runAlbumRenameJob(in, log);

    EXPECT_FALSE(out.oldFolderRemoved);
    EXPECT_EQ(treeOf(real), (QStringList {u"01 - One.mp3"_s, u"02 - Two.mp3"_s, u"03 - Three.mp3"_s,
                                          u"Foo - Bar.jpg"_s, u"Foo - Bar.pls"_s}));
}

TEST_F(PlaylistCoverOutputTest, CleanUpNeverDeletesAFileItIsToldToKeep)
{
    const QString folder = tempFile(u"Foo - Bar"_s);
    const QString pls = writeFile(u"Foo - Bar/Foo - Bar.pls"_s, "[playlist]\r\n");
    EXPECT_FALSE(RenameJobFiles::tidyOldFolder(folder, tempPath(), {}, {pls}).removed);
    EXPECT_EQ(readAll(pls), QByteArray("[playlist]\r\n"));
    EXPECT_TRUE(RenameJobFiles::tidyOldFolder(folder, tempPath(), {}, {}).removed);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(PlaylistCoverOutputTest, OutputsThatCannotBeReplacedOrWrittenAreErrors)
{
    const QString folder = makeThreeSongAlbum(u"rips/in"_s);
    const QString rips = tempFile(u"rips"_s);
    QDir().mkpath(rips + u"/Foo - Bar"_s);
    writeFile(u"rips/Foo - Bar.pls"_s, "old playlist");
    writeFile(u"rips/Foo - Bar.jpg"_s, "old cover");
    if (!lockFolder(rips))
        GTEST_SKIP() << "this system cannot make a folder refuse changes";
    runAlbumRenameJob(withOutputs(inputFor(folder, threeSongs(), albumMask, parentDir), 1), log);

    // The old files are never deleted first: what fails is the new one's write beside them.
    EXPECT_TRUE(log.childTexts(log.findRoot(u"Playlist"_s)).last().startsWith(u"Unable to write playlist. "_s));
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)).last(), u"Unable to copy downloaded cover file"_s);
    EXPECT_EQ(readAll(rips + u"/Foo - Bar.pls"_s), QByteArray("old playlist"));
    EXPECT_EQ(readAll(rips + u"/Foo - Bar.jpg"_s), QByteArray("old cover"));
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   2 error(s)"_s);
}

TEST_F(PlaylistCoverOutputTest, PlaylistThatCannotBeWrittenIsAnErrorWithTheReason)
{
    const QString folder = makeThreeSongAlbum(u"rips/in"_s);
    const QString rips = tempFile(u"rips"_s);
    QDir().mkpath(rips + u"/Foo - Bar"_s);
    if (!lockFolder(rips))
        GTEST_SKIP() << "this system cannot make a folder refuse changes";
    RenameJobInput in = withOutputs(inputFor(folder, threeSongs(), albumMask, parentDir), 1);
    runAlbumRenameJob(in, log);

    const QStringList lines = log.childTexts(log.findRoot(u"Playlist"_s));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.last().startsWith(u"Unable to write playlist. "_s)) << lines.last().toStdString();
    EXPECT_GT(lines.last().size(), QStringLiteral("Unable to write playlist. ").size());
    EXPECT_EQ(log.childTexts(log.findRoot(u"Cover"_s)).last(), u"Unable to copy downloaded cover file"_s);
    EXPECT_FALSE(QFileInfo::exists(rips + u"/Foo - Bar.pls"_s));
}
