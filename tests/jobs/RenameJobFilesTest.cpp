// File identity, folder identity and the letter-case folder rename used by the rename job.

#include "RenameJobFixture.h"

#include "foundation/Common.h"
#include "jobs/RenameJobFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace RenameJobFiles;

using RenameJobFilesTest = RenameJobFixture;

TEST_F(RenameJobFilesTest, SameObjectFollowsLinksAndOtherSpellings)
{
    const QString a = writeFile(u"d/a.mp3"_s, "song");
    const QString copy = writeFile(u"d/copy.mp3"_s, "song");
    const QString hard = tempFile(u"d/hard.mp3"_s);
    ASSERT_EQ(::link(QFile::encodeName(a).constData(), QFile::encodeName(hard).constData()), 0);

    EXPECT_TRUE(sameObject(a, a));
    EXPECT_TRUE(sameObject(a, tempFile(u"d/../d/a.mp3"_s)));
    EXPECT_TRUE(sameObject(a, hard));
    EXPECT_FALSE(sameObject(a, copy)) << "equal bytes do not make one file";
    EXPECT_FALSE(sameObject(a, tempFile(u"d/missing.mp3"_s)));
    EXPECT_TRUE(Common::sameContent(a, copy));
    EXPECT_FALSE(Common::sameContent(a, writeFile(u"d/other.mp3"_s, "sonG")));
    EXPECT_FALSE(Common::sameContent(a, tempFile(u"d/missing.mp3"_s)));
}

TEST_F(RenameJobFilesTest, SameFolderAsTheFileSystemSeesIt)
{
    QDir().mkpath(tempFile(u"real"_s));
    ASSERT_TRUE(QFile::link(tempFile(u"real"_s), tempFile(u"alias"_s)));
    EXPECT_TRUE(sameFolder(tempFile(u"real/"_s), tempFile(u"alias"_s)));
    EXPECT_TRUE(sameFolder(tempFile(u"gone/"_s), tempFile(u"gone"_s)));
    EXPECT_FALSE(sameFolder(tempFile(u"real"_s), tempFile(u"gone"_s)));
#ifndef Q_OS_WIN
    EXPECT_FALSE(sameFolder(tempFile(u"Gone"_s), tempFile(u"gone"_s)));
#endif
}

TEST_F(RenameJobFilesTest, SizeInKilobytesRoundsHalvesToEven)
{
    EXPECT_EQ(sizeInKilobytes(writeFile(u"k1"_s, QByteArray(1536, 'x'))), 2); // 1.5 -> 2
    EXPECT_EQ(sizeInKilobytes(writeFile(u"k2"_s, QByteArray(2560, 'x'))), 2); // 2.5 -> 2
    EXPECT_EQ(sizeInKilobytes(writeFile(u"k3"_s, QByteArray(2561, 'x'))), 3);
    EXPECT_EQ(sizeInKilobytes(tempFile(u"none"_s)), -1);
}

TEST_F(RenameJobFilesTest, LetterCaseRenameGoesThroughTheScratchName)
{
    writeFile(u"m/foo - bar/a.mp3"_s, "a");
    const QString result = renameFolderCase(tempFile(u"m/foo - bar/"_s), tempFile(u"m/foo - bar_VARNELT/"_s),
                                            tempFile(u"m/Foo - Bar/"_s));
    EXPECT_EQ(result, tempFile(u"m/Foo - Bar/"_s));
    EXPECT_EQ(treeOf(tempFile(u"m"_s)), QStringList {u"Foo - Bar/a.mp3"_s});
}

TEST_F(RenameJobFilesTest, LetterCaseRenameKeepsTheOldSpellingWhenItCannotFinish)
{
    writeFile(u"m/foo/a.mp3"_s, "a");
    // The scratch name is taken: nothing moves.
    QDir().mkpath(tempFile(u"m/foo_VARNELT"_s));
    EXPECT_EQ(renameFolderCase(tempFile(u"m/foo/"_s), tempFile(u"m/foo_VARNELT/"_s), tempFile(u"m/Foo/"_s)),
              tempFile(u"m/foo/"_s));
    QDir().rmdir(tempFile(u"m/foo_VARNELT"_s));

    // The new spelling is another folder already (a case-sensitive file system): the folder
    // comes back from the scratch name instead of being left there.
    writeFile(u"m/Foo/other.mp3"_s, "o");
    EXPECT_EQ(renameFolderCase(tempFile(u"m/foo/"_s), tempFile(u"m/foo_VARNELT/"_s), tempFile(u"m/Foo/"_s)),
              tempFile(u"m/foo/"_s));
    EXPECT_EQ(treeOf(tempFile(u"m"_s)), (QStringList {u"Foo/other.mp3"_s, u"foo/a.mp3"_s}));
}
