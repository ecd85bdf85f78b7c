// What a crash leaves behind (a tag rewrite's copy, a file under its letter-case scratch name,
// a copy between file systems stopped before or after it took its name) is shown by the scan
// without touching anything, and put right by the next rename job, step by step in its log.

#include "RenameJobFixture.h"

#include "support/SmallDisk.h"

#include "audio/ID3Edit.h"
#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"
#include "album/DirectoryListing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

using CrashLeftoversTest = RenameJobFixture;

TEST_F(CrashLeftoversTest, ScanShowsAndNextJobPutsRightWhatACrashLeft)
{
    SmallDisk disk(4 * 1024 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    QList<SourceFile> files = threeSongs();
    files.append({u"d.mp3"_s, u"Four"_s, 4.0});
    const QString folder = makeAlbum(u"in"_s, files);
    const QByteArray four = readAll(folder + u"/d.mp3"_s);

    // Killed: a tag rewrite once its copy was complete, a letter-case rename on its scratch
    // name, a move to another file system before and after the copy took its name.
    EXPECT_TRUE(runUntilStep("rewrite-copied", [&] {
        ID3Edit tag;
        tag.Load(folder + u"/a.mp3"_s);
        tag.setLyrics(QString(5000, u'l'));
        (void)tag.SaveV2(folder + u"/a.mp3"_s);
    }));
    EXPECT_TRUE(runUntilStep("case-scratch", [&] { (void)Common::moveFile(folder + u"/b.mp3"_s, folder + u"/B.mp3"_s); }));
    EXPECT_TRUE(runUntilStep("move-copied", [&] { (void)Common::moveFile(folder + u"/c.mp3"_s, disk.filePath(u"Three.mp3"_s)); }));
    EXPECT_TRUE(runUntilStep("move-placed", [&] { (void)Common::moveFile(folder + u"/d.mp3"_s, disk.filePath(u"Four.mp3"_s)); }));
    const QStringList temporary = TemporaryFiles::inFolder(folder);
    ASSERT_EQ(temporary.size(), 1);
    // A copy an earlier version's rewrite left under the file's own name.
    QFile::copy(folder + u"/c.mp3"_s, folder + u"/.c.mp3.Ab12Cd"_s);

    const ListingResult scan = listDirectory(folder);
    const QStringList before = treeOf(folder);
    EXPECT_EQ(scan.warnings, (QStringList{u"Temporary copy left by an interrupted run: "_s + temporary.first() + u" (of a.mp3)"_s,
                                          u"Temporary copy left by an interrupted run: .c.mp3.Ab12Cd (of c.mp3)"_s,
                                          u"File left under a temporary name by an interrupted rename: b.mp3_VARNELT"_s}));
    EXPECT_EQ(treeOf(folder), before) << "the scan changes nothing";

    runAlbumRenameJob(inputFor(folder, files, u"%title"_s, disk.path()), log);

    const int folders = log.findRoot(u"Folders"_s);
    ASSERT_GE(folders, 0);
    EXPECT_EQ(log.childTexts(folders),
              (QStringList{u"Temporary copy left by an interrupted run deleted (a.mp3 is complete): "_s + temporary.first(),
                           u"Temporary copy left by an interrupted run deleted (c.mp3 is complete): .c.mp3.Ab12Cd"_s,
                           u"Interrupted rename rolled back: b.mp3_VARNELT is again b.mp3"_s}));
    // Root 0 is "Folders": row n is root n + 1.
    ASSERT_EQ(warningsOf(log, 3).size(), 1);
    EXPECT_TRUE(warningsOf(log, 3).first().startsWith(u"Temporary copy left by an interrupted move deleted (c.mp3 is complete): .vnt-"_s));
    EXPECT_EQ(warningsOf(log, 4), QStringList{u"Destination file already exists. It is the complete copy left by an "
                                         u"interrupted move: the move is finished."_s});
    EXPECT_EQ(log.summary(), u"Files renamed : 4 / 4   -   0 warning   -   0 error"_s);
    QStringList made = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden);
    made.sort();
    EXPECT_EQ(made, (QStringList{u"Four.mp3"_s, u"One.mp3"_s, u"Three.mp3"_s, u"Two.mp3"_s}));
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the emptied old folder is gone";
    EXPECT_EQ(readV2WithMutagen(disk.filePath(u"Four.mp3"_s)).value(u"TIT2"_s).toString(), u"Four"_s);
    EXPECT_NE(readAll(disk.filePath(u"Four.mp3"_s)), four);
}
