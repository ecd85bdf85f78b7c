// The album rename job on real folders of real MP3 files: where the files go, what the log says,
// the folder handling around the move, and the per-row failures the job must survive.

#include "RenameJobFixture.h"

#include "audio/ID3Edit.h"
#include "foundation/Common.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString albumMask = u"%artist - %album\\%track - %title"_s;
const QString parentDir = u"Parent directory"_s;
const QString mp3Dir = u"MP3 directory"_s;
const QString sep = QDir::separator();
} // namespace

using AlbumRenameJobTest = RenameJobFixture;

TEST_F(AlbumRenameJobTest, AlbumMaskMovesFilesIntoTheNewFolderBesideTheOldOne)
{
    const QString folder = makeThreeSongAlbum(u"rips/incoming"_s);
    const RenameJobInput in = inputFor(folder, threeSongs(), albumMask, parentDir);
    int calls = 0;
    const RenameJobOutcome out = runAlbumRenameJob(in, log, [&](int done, int total) {
        EXPECT_EQ(done, ++calls);
        EXPECT_EQ(total, 3);
    });

    EXPECT_EQ(calls, 3);
    const QString album = tempFile(u"rips/Foo - Bar"_s);
    EXPECT_EQ(treeOf(tempFile(u"rips"_s)),
              (QStringList {u"Foo - Bar/01 - One.mp3"_s, u"Foo - Bar/02 - Two.mp3"_s, u"Foo - Bar/03 - Three.mp3"_s}));
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the emptied old folder is removed";
    EXPECT_TRUE(out.oldFolderRemoved);
    EXPECT_EQ(out.newPaths.at(1), album + sep + u"02 - Two.mp3"_s);
    EXPECT_EQ(log.destinationFolder(), album + sep);
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);

    const int entry = log.findRoot(u"Two"_s);
    ASSERT_GE(entry, 0);
    const int fileInfo = log.findChild(entry, u"File Info"_s);
    EXPECT_EQ(log.childTexts(fileInfo), (QStringList {u"Old file name : "_s + folder + sep + u"b.mp3"_s,
                                                      u"New file name : "_s + album + sep + u"02 - Two.mp3"_s}));
    EXPECT_EQ(log.childTexts(log.findChild(entry, u"ID3 Tag Info"_s)),
              (QStringList {u"Title : Two"_s, u"Artist : Foo"_s, u"Album : Bar"_s, u"Year : 2001"_s,
                            u"Genre : Rock"_s, u"Comment : Ripped"_s, u"Track : 2"_s}));
    EXPECT_TRUE(log.childTexts(log.findChild(entry, u"Warning and error"_s)).isEmpty());
    EXPECT_TRUE(log.node(entry).madeVisible);
}

TEST_F(AlbumRenameJobTest, FlatMaskRenamesInPlaceAndKeepsTheFolder)
{
    const QString folder = makeThreeSongAlbum(u"Foo - Bar"_s);
    writeFile(u"Foo - Bar/notes.txt"_s, "keep me");
    const RenameJobInput in = inputFor(folder, threeSongs(), u"%track. %title"_s, mp3Dir);
    const RenameJobOutcome out = runAlbumRenameJob(in, log);

    EXPECT_EQ(treeOf(folder), (QStringList {u"01. One.mp3"_s, u"02. Two.mp3"_s, u"03. Three.mp3"_s, u"notes.txt"_s}));
    EXPECT_FALSE(out.oldFolderRemoved);
    EXPECT_EQ(log.destinationFolder(), folder + sep);
}

TEST_F(AlbumRenameJobTest, TypedDestinationIsCreatedWithAllMissingLevels)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const QString target = tempFile(u"out/deep/er"_s);
    const RenameJobInput in = inputFor(folder, threeSongs(), u"%artist\\%album\\%track %title"_s, target);
    runAlbumRenameJob(in, log);

    EXPECT_EQ(treeOf(target), (QStringList {u"Foo/Bar/01 One.mp3"_s, u"Foo/Bar/02 Two.mp3"_s, u"Foo/Bar/03 Three.mp3"_s}));
    EXPECT_EQ(log.errorCount(), 0);
}

TEST_F(AlbumRenameJobTest, FolderLevelsThatDifferPerRowAreCreatedToo)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const RenameJobInput in = inputFor(folder, threeSongs(), u"%artist\\%title\\%track"_s, parentDir);
    runAlbumRenameJob(in, log);

    EXPECT_EQ(treeOf(tempPath() + u"/Foo"_s), (QStringList {u"One/01.mp3"_s, u"Three/03.mp3"_s, u"Two/02.mp3"_s}));
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(AlbumRenameJobTest, FileNumberFolderLevelLeavesNoStrayFolderBehind)
{
    // The first destination is built with file number 0, so its "%filenumber" level stays literal.
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const RenameJobInput in = inputFor(folder, threeSongs(), u"%artist\\%filenumber\\%title"_s, mp3Dir);
    runAlbumRenameJob(in, log);

    EXPECT_EQ(QDir(folder + u"/Foo"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList {u"1"_s, u"2"_s, u"3"_s}));
    EXPECT_EQ(treeOf(folder), (QStringList {u"Foo/1/One.mp3"_s, u"Foo/2/Two.mp3"_s, u"Foo/3/Three.mp3"_s}));
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
}

TEST_F(AlbumRenameJobTest, DestinationShownInTheLogStaysEvenWhenNoFileReachedIt)
{
    const QString folder = makeThreeSongAlbum(u"rips/in"_s);
    for (const QString &name : {u"a.mp3"_s, u"b.mp3"_s, u"c.mp3"_s})
        QFile::remove(folder + u'/' + name);
    runAlbumRenameJob(inputFor(folder, threeSongs(), albumMask, parentDir), log);

    EXPECT_EQ(log.destinationFolder(), tempFile(u"rips/Foo - Bar/"_s));
    EXPECT_TRUE(QFileInfo(tempFile(u"rips/Foo - Bar"_s)).isDir());
    EXPECT_EQ(log.errorCount(), 3);
}

TEST_F(AlbumRenameJobTest, LetterCaseOnlyChangeRenamesTheFolderItselfWithEverythingInIt)
{
    const QString folder = makeThreeSongAlbum(u"mp3/foo - bar"_s);
    writeFile(u"mp3/foo - bar/folder.nfo"_s, "info");
    const RenameJobInput in = inputFor(folder, threeSongs(), albumMask, parentDir);
    const RenameJobOutcome out = runAlbumRenameJob(in, log);

    const QString renamed = tempFile(u"mp3/Foo - Bar"_s);
    EXPECT_EQ(QDir(tempFile(u"mp3"_s)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {u"Foo - Bar"_s});
    EXPECT_EQ(treeOf(renamed),
              (QStringList {u"01 - One.mp3"_s, u"02 - Two.mp3"_s, u"03 - Three.mp3"_s, u"folder.nfo"_s}));
    EXPECT_EQ(log.errorCount(), 0);
    EXPECT_FALSE(out.oldFolderRemoved);
    // The old names were looked up in the folder under its new spelling.
    const int fileInfo = log.findChild(log.findRoot(u"One"_s), u"File Info"_s);
    EXPECT_EQ(log.childTexts(fileInfo).first(), u"Old file name : "_s + renamed + sep + u"a.mp3"_s);
}

TEST_F(AlbumRenameJobTest, SameNameForTwoDifferentSongsIsACollisionAndBothStay)
{
    // Equal length: the two files round to the same size in kilobytes but are different songs.
    const QList<SourceFile> files {{u"a.mp3"_s, u"Left"_s, 2.0}, {u"b.mp3"_s, u"Right"_s, 2.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    ASSERT_EQ(QFileInfo(folder + u"/a.mp3"_s).size() / 1024, QFileInfo(folder + u"/b.mp3"_s).size() / 1024);
    RenameJobInput in = inputFor(folder, files, u"%title"_s, mp3Dir);
    in.rows[0].title = in.rows[1].title = u"Same"_s;
    in.rows[1].trackText = u"07"_s;
    runAlbumRenameJob(in, log);

    EXPECT_EQ(treeOf(folder), (QStringList {u"Same.mp3"_s, u"b.mp3"_s}));
    const int second = log.roots().at(1);
    EXPECT_EQ(log.childTexts(log.findChild(second, u"Warning and error"_s)),
              QStringList {u"Destination file already exists. File content is different."_s});
    EXPECT_TRUE(log.childTexts(log.findChild(second, u"ID3 Tag Info"_s)).isEmpty());
    // The first song keeps its own track: nothing of the second row reached it.
    EXPECT_EQ(readV2WithMutagen(folder + u"/Same.mp3"_s).value(u"TRCK"_s).toString(), u"1"_s);
    EXPECT_EQ(log.summary(), u"Files renamed : 1 / 2   -   0 warning   -   1 error"_s);
}

TEST_F(AlbumRenameJobTest, SameNameWithADifferentSizeIsLoggedAsSizeDifference)
{
    const QList<SourceFile> files {{u"a.mp3"_s, u"Same"_s, 1.0}, {u"b.mp3"_s, u"Same"_s, 4.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    runAlbumRenameJob(inputFor(folder, files, u"%title"_s, mp3Dir), log);

    EXPECT_EQ(treeOf(folder), (QStringList {u"Same.mp3"_s, u"b.mp3"_s}));
    EXPECT_EQ(log.childTexts(log.findChild(log.roots().at(1), u"Warning and error"_s)),
              QStringList {u"Destination file already exists. File size is different."_s});
}

TEST_F(AlbumRenameJobTest, SecondRunOverRenamedFilesRetagsThemInPlace)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    RenameJobInput in = inputFor(folder, threeSongs(), u"%track - %title"_s, mp3Dir);
    runAlbumRenameJob(in, log);

    in.album.comment = u"Second pass"_s;
    in.rows[0].fileName = u"01 - One.mp3"_s;
    in.rows[1].fileName = u"02 - Two.mp3"_s;
    in.rows[2].fileName = u"03 - Three.mp3"_s;
    runAlbumRenameJob(in, log);

    EXPECT_EQ(treeOf(folder), (QStringList {u"01 - One.mp3"_s, u"02 - Two.mp3"_s, u"03 - Three.mp3"_s}));
    for (int entry : log.roots())
        EXPECT_EQ(log.childTexts(log.findChild(entry, u"Warning and error"_s)),
                  QStringList {u"Destination file already exists. File size is the same"_s});
    EXPECT_EQ(readV2WithMutagen(folder + u"/03 - Three.mp3"_s).value(u"COMM"_s).toString(), u"Second pass"_s);
    EXPECT_EQ(log.summary(), u"Files renamed : 3 / 3   -   0 warning   -   0 error"_s);
}

TEST_F(AlbumRenameJobTest, HardLinkedDestinationIsTheRowsOwnFile)
{
    const QList<SourceFile> files {{u"a.mp3"_s, u"One"_s, 1.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    ASSERT_EQ(::link(QFile::encodeName(folder + u"/a.mp3"_s).constData(),
                     QFile::encodeName(folder + u"/One.mp3"_s).constData()), 0);
    runAlbumRenameJob(inputFor(folder, files, u"%title"_s, mp3Dir), log);

    EXPECT_EQ(log.childTexts(log.findChild(log.roots().first(), u"Warning and error"_s)),
              QStringList {u"Destination file already exists. File size is the same"_s});
    EXPECT_EQ(readV2WithMutagen(folder + u"/One.mp3"_s).value(u"TPE1"_s).toString(), u"Foo"_s);
}

TEST_F(AlbumRenameJobTest, ReadOnlySourceIsRenamedAndBecomesWritable)
{
    const QString folder = makeThreeSongAlbum(u"in"_s);
    const QString source = folder + u"/b.mp3"_s;
    QFile::setPermissions(source, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    runAlbumRenameJob(inputFor(folder, threeSongs(), u"%track - %title"_s, mp3Dir), log);

    const QString renamed = folder + u"/02 - Two.mp3"_s;
    ASSERT_TRUE(QFileInfo::exists(renamed));
    EXPECT_TRUE(QFile::permissions(renamed) & QFile::WriteOwner);
    EXPECT_EQ(readV2WithMutagen(renamed).value(u"TIT2"_s).toString(), u"Two"_s);
    EXPECT_EQ(log.errorCount(), 0);
}

TEST_F(AlbumRenameJobTest, JolietShortensLongFileNamesAndShowsTheWarning)
{
    const QString longTitle = QString(66, u'x'); // "01 - " + 66 + ".mp3" = 75 characters
    const QList<SourceFile> files {{u"a.mp3"_s, longTitle, 1.0}, {u"b.mp3"_s, u"Short"_s, 2.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    RenameJobInput in = inputFor(folder, files, u"%track - %title"_s, mp3Dir);
    in.joliet = true;
    runAlbumRenameJob(in, log);

    const QString longName = u"01 - "_s + longTitle + u".mp3"_s;
    const QString shortName = longName.left(60) + u".mp3"_s;
    ASSERT_EQ(shortName.size(), 64);
    EXPECT_EQ(treeOf(folder), (QStringList {shortName, u"02 - Short.mp3"_s}));
    const auto entry = log.roots().first();
    const int warnings = log.findChild(entry, u"Warning and error"_s);
    const QString text = u"Joliet error. The length of the file name is more than 64 caracters : "_s + longName;
    EXPECT_EQ(log.childTexts(warnings), QStringList {text});
    EXPECT_TRUE(log.node(entry).expanded);
    EXPECT_TRUE(log.node(log.findChild(entry, u"File Info"_s)).expanded);
    EXPECT_TRUE(log.node(log.findChild(warnings, text)).madeVisible);
    EXPECT_FALSE(log.node(log.roots().at(1)).expanded);
    EXPECT_EQ(log.summary(), u"Files renamed : 2 / 2   -   1 warning   -   0 error"_s);
}

TEST_F(AlbumRenameJobTest, SummaryTurnsPluralFromTwoWarnings)
{
    const QList<SourceFile> files {{u"a.mp3"_s, QString(70, u'a'), 1.0}, {u"b.mp3"_s, QString(70, u'b'), 2.0}};
    const QString folder = makeAlbum(u"in"_s, files);
    RenameJobInput in = inputFor(folder, files, u"%title"_s, mp3Dir);
    in.joliet = true;
    runAlbumRenameJob(in, log);
    EXPECT_EQ(log.summary(), u"Files renamed : 2 / 2   -   2 warning(s)   -   0 error"_s);
}
