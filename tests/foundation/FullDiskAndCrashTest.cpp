// Text outputs and moves between file systems against a full disk and a crash at each step:
// the user's file is never lost, truncated or replaced by a half-written one.

#include "support/SmallDisk.h"
#include "support/TestEnv.h"

#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using Common::MoveResult;

namespace {

class FullDiskAndCrash : public VarneltTest
{
};

QByteArray pattern(int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(char('a' + i % 23));
    return bytes;
}

QStringList visibleAndHidden(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST_F(FullDiskAndCrash, TextFileIsReplacedWholeOrNotAtAll)
{
    SmallDisk disk(64 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    const QString playlist = disk.filePath(u"Foo - Bar.pls"_s);
    ASSERT_EQ(Common::writeTextFile(playlist, u"[playlist]"_s), QString());
    disk.fill(2048);

    // 4,383 bytes do not fit in the 2 KB left: an error, and the old playlist stays whole.
    const QString error = Common::writeTextFile(playlist, QString::fromLatin1(pattern(4381)));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(playlist), "[playlist]\r\n");
    EXPECT_EQ(visibleAndHidden(disk.path()), (QStringList{u"Foo - Bar.pls"_s, u"filler.bin"_s}));

    // A crash after the new text is written but before it takes the old one's place leaves the
    // old file and one temporary file of the recognisable pattern, made for that file.
    QFile::remove(disk.filePath(u"filler.bin"_s));
    EXPECT_TRUE(runUntilStep("temporary-written", [&] { (void)Common::writeTextFile(playlist, u"new"_s); }));
    EXPECT_EQ(readAll(playlist), "[playlist]\r\n");
    const QStringList left = TemporaryFiles::inFolder(disk.path());
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.first().size(), 22);
    EXPECT_TRUE(TemporaryFiles::belongsTo(left.first(), u"Foo - Bar.pls"_s));
    EXPECT_FALSE(TemporaryFiles::belongsTo(left.first(), u"Other.pls"_s));
    EXPECT_EQ(readAll(disk.filePath(left.first())), "new\r\n");
}

TEST_F(FullDiskAndCrash, MoveBetweenFileSystemsNeverLeavesAPartialFileUnderTheRealName)
{
    SmallDisk disk(256 * 1024);
    if (!disk.isMounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    const QByteArray audio = pattern(100 * 1024);
    const QString source = writeFile(u"01 song.mp3"_s, audio);
    const QString destination = disk.filePath(u"Song.mp3"_s);

    // Killed once the copy is complete but before it carries the real name: no "Song.mp3".
    EXPECT_TRUE(runUntilStep("move-copied", [&] { (void)Common::moveFile(source, destination); }));
    EXPECT_FALSE(QFileInfo::exists(destination));
    EXPECT_EQ(readAll(source), audio);
    ASSERT_EQ(TemporaryFiles::inFolder(disk.path()).size(), 1);
    QFile::remove(disk.filePath(TemporaryFiles::inFolder(disk.path()).first()));

    // Killed after the rename into place, before the source is removed: a rerun finishes it.
    EXPECT_TRUE(runUntilStep("move-placed", [&] { (void)Common::moveFile(source, destination); }));
    EXPECT_EQ(readAll(destination), audio);
    EXPECT_TRUE(QFileInfo::exists(source));
    EXPECT_EQ(Common::moveFile(source, destination), MoveResult::DestinationExists);
    const QString other = writeFile(u"other.mp3"_s, audio); // same bytes, another file and time
    QFile(other).setFileTime(QFileInfo(source).lastModified().addSecs(-60), QFileDevice::FileModificationTime);
    EXPECT_FALSE(Common::finishInterruptedMove(other, destination));
    EXPECT_TRUE(Common::finishInterruptedMove(source, destination));
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_EQ(readAll(destination), audio);
    EXPECT_TRUE(QFileInfo::exists(other));

    // A full disk: the move fails, the source stays, nothing is left on the disk.
    disk.fill(16 * 1024);
    EXPECT_EQ(Common::moveFile(other, disk.filePath(u"Other.mp3"_s)), MoveResult::MoveFailed);
    EXPECT_EQ(readAll(other), audio);
    EXPECT_EQ(visibleAndHidden(disk.path()), (QStringList{u"Song.mp3"_s, u"filler.bin"_s}));
}

TEST_F(FullDiskAndCrash, NamesTooLongForTheFileSystemAreToldApart)
{
    const QString folder = tempPath() + u'/';
    EXPECT_EQ(TemporaryFiles::tooLongMessage(folder + QString(255, u'a')), QString());
    EXPECT_EQ(TemporaryFiles::tooLongMessage(folder + QString(128, u'\u00e9') + u".mp3"_s),
              u"File name too long for the destination: 260 bytes, at most 255"_s);
    EXPECT_EQ(TemporaryFiles::tooLongMessage(folder + QString(300, u'b') + u"/x.mp3"_s),
              u"File name too long for the destination: 300 bytes, at most 255"_s);
}
