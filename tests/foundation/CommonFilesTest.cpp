// Files and folders on the real file system: existence, folder creation, moves (also across
// file systems and by letter case only), deletion, text files and probes.

#include "support/TestEnv.h"

#include "foundation/Common.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using Common::MoveResult;

namespace {

class CommonFiles : public VarneltTest
{
protected:
    void makeReadOnly(const QString &path) { QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup); }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(tempPath()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    }
};

} // namespace

TEST_F(CommonFiles, FileAndFolderExistence)
{
    const QString file = writeFile(u"a.mp3"_s, "x");
    EXPECT_TRUE(Common::fileExists(file));
    EXPECT_FALSE(Common::fileExists(tempPath()));
    EXPECT_FALSE(Common::fileExists(tempFile(u"missing.mp3"_s)));
    EXPECT_FALSE(Common::fileExists(QString()));
    EXPECT_TRUE(Common::folderExists(tempPath()));
    EXPECT_TRUE(Common::folderExists(tempPath() + u'/'));
    EXPECT_TRUE(Common::folderExists(u"/"_s));
    EXPECT_FALSE(Common::folderExists(file));
    EXPECT_FALSE(Common::folderExists(tempFile(u"nothing"_s)));
    EXPECT_FALSE(Common::folderExists(QString()));
}

TEST_F(CommonFiles, CreateFolderPathMakesEveryLevel)
{
    QDir(tempPath()).mkdir(u"a"_s);
    EXPECT_TRUE(Common::createFolderPath(tempFile(u"a/b/c"_s)));
    EXPECT_TRUE(QFileInfo(tempFile(u"a/b/c"_s)).isDir());
    EXPECT_TRUE(Common::createFolderPath(u"  "_s + tempFile(u"x/y/"_s) + u"  "_s));
    EXPECT_TRUE(QFileInfo(tempFile(u"x/y"_s)).isDir());
    EXPECT_TRUE(Common::createFolderPath(tempFile(u"a"_s))); // already there

    // Relative paths have no root: nothing is created.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(tempPath());
    EXPECT_FALSE(Common::createFolderPath(u"dir/sub"_s));
    QDir::setCurrent(cwd);
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"dir"_s)));
    EXPECT_FALSE(Common::createFolderPath(QString()));
}

TEST_F(CommonFiles, CreateFolderPathStopsAtAFileInTheWay)
{
    writeFile(u"kept/blocker"_s, "not a folder");
    EXPECT_FALSE(Common::createFolderPath(tempFile(u"kept/blocker/sub"_s)));
    EXPECT_EQ(readAll(tempFile(u"kept/blocker"_s)), "not a folder");

    // Levels made before the failure stay.
    writeFile(u"new/file"_s, "f");
    EXPECT_FALSE(Common::createFolderPath(tempFile(u"new/level/x/../../file/deeper"_s)));
    EXPECT_TRUE(QFileInfo(tempFile(u"new/level/x"_s)).isDir());
}

TEST_F(CommonFiles, DownloadFolderLivesInTheApplicationFolder)
{
    EXPECT_EQ(Common::downloadFolder(), appFolder() + u"/Download"_s);
    EXPECT_FALSE(QFileInfo::exists(Common::downloadFolder()));
    EXPECT_TRUE(Common::checkDownloadFolder());
    EXPECT_TRUE(QFileInfo(appFolder() + u"/Download"_s).isDir());
    EXPECT_TRUE(Common::checkDownloadFolder());
}

TEST_F(CommonFiles, MoveRenamesAndReportsEachFailure)
{
    const QString src = writeFile(u"song.mp3"_s, "audio");
    QDir(tempPath()).mkdir(u"out"_s);
    EXPECT_EQ(Common::moveFile(tempFile(u"none.mp3"_s), tempFile(u"x.mp3"_s)), MoveResult::SourceMissing);

    const QString other = writeFile(u"other.mp3"_s, "other");
    EXPECT_EQ(Common::moveFile(src, other), MoveResult::DestinationExists);
    EXPECT_EQ(readAll(src), "audio");
    EXPECT_EQ(readAll(other), "other");

    EXPECT_EQ(Common::moveFile(src, tempFile(u"missing/song.mp3"_s)), MoveResult::FolderMissing);
    EXPECT_TRUE(QFileInfo::exists(src));

    EXPECT_EQ(Common::moveFile(src, tempFile(u"out/Moved.mp3"_s)), MoveResult::Moved);
    EXPECT_FALSE(QFileInfo::exists(src));
    EXPECT_EQ(readAll(tempFile(u"out/Moved.mp3"_s)), "audio");
}

TEST_F(CommonFiles, CaseOnlyRenamePassesThroughTheTemporaryName)
{
    const QString src = writeFile(u"song.mp3"_s, "audio");
    EXPECT_EQ(Common::moveFile(src, tempFile(u"Song.mp3"_s)), MoveResult::Moved);
    EXPECT_EQ(entries(), QStringList{u"Song.mp3"_s});
    EXPECT_EQ(readAll(tempFile(u"Song.mp3"_s)), "audio");

    // With the temporary name taken, the file keeps its name and nothing is overwritten.
    const QString blocked = tempFile(u"Song.mp3_VARNELT"_s);
    writeFile(u"Song.mp3_VARNELT"_s, "keep");
    EXPECT_EQ(Common::moveFile(tempFile(u"Song.mp3"_s), tempFile(u"SONG.mp3"_s)), MoveResult::MoveFailed);
    EXPECT_EQ(readAll(blocked), "keep");
    EXPECT_EQ(readAll(tempFile(u"Song.mp3"_s)), "audio");
}

TEST_F(CommonFiles, FailedCaseOnlyRenameRestoresTheOriginalName)
{
    // On a file system that tells letter case apart both spellings can exist side by side.
    writeFile(u"song.mp3"_s, "lower");
    writeFile(u"Song.mp3"_s, "upper");
    EXPECT_EQ(Common::moveFile(tempFile(u"song.mp3"_s), tempFile(u"Song.mp3"_s)), MoveResult::DestinationExists);
    EXPECT_EQ(entries(), (QStringList{u"Song.mp3"_s, u"song.mp3"_s}));
    EXPECT_EQ(readAll(tempFile(u"song.mp3"_s)), "lower");
    EXPECT_EQ(readAll(tempFile(u"Song.mp3"_s)), "upper");
}

TEST_F(CommonFiles, MoveBetweenFileSystemsCopiesChecksAndRemovesTheSource)
{
    if (!QFileInfo(u"/dev/shm"_s).isDir() || Common::getDriveTypeName(u"/dev/shm"_s) != u"Ram disk"_s)
        GTEST_SKIP() << "no tmpfs at /dev/shm";
    QTemporaryDir shm(u"/dev/shm/varnelt-test-XXXXXX"_s);
    ASSERT_TRUE(shm.isValid());
    QByteArray payload;
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i)
        payload.append(char(i * 31));
    const QString src = writeFile(u"big.mp3"_s, payload);
    QFile::setPermissions(src, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);

    const QString there = shm.filePath(u"big.mp3"_s);
    EXPECT_EQ(Common::moveFile(src, there), MoveResult::Moved);
    EXPECT_FALSE(QFileInfo::exists(src));
    EXPECT_EQ(readAll(there), payload);
    EXPECT_TRUE(QFileInfo(there).permissions().testFlag(QFile::ReadOther));

    // And back, onto an existing file: nothing moves.
    writeFile(u"big.mp3"_s, "taken");
    EXPECT_EQ(Common::moveFile(there, tempFile(u"big.mp3"_s)), MoveResult::DestinationExists);
    EXPECT_EQ(readAll(tempFile(u"big.mp3"_s)), "taken");
    EXPECT_EQ(Common::moveFile(there, tempFile(u"back.mp3"_s)), MoveResult::Moved);
    EXPECT_EQ(readAll(tempFile(u"back.mp3"_s)), payload);
    EXPECT_FALSE(QFileInfo::exists(there));
}

TEST_F(CommonFiles, DeleteRefusesReadOnlyAndMissingFiles)
{
    const QString plain = writeFile(u"a.mp3"_s, "a");
    const QString locked = writeFile(u"b.mp3"_s, "b");
    makeReadOnly(locked);
    EXPECT_TRUE(Common::deleteFile(plain));
    EXPECT_FALSE(QFileInfo::exists(plain));
    EXPECT_FALSE(Common::deleteFile(locked));
    EXPECT_TRUE(QFileInfo::exists(locked));
    EXPECT_FALSE(Common::deleteFile(plain));
    QDir(tempPath()).mkdir(u"folder"_s);
    EXPECT_FALSE(Common::deleteFile(tempFile(u"folder"_s)));
    EXPECT_TRUE(QFileInfo(tempFile(u"folder"_s)).isDir());
}

TEST_F(CommonFiles, WriteTextFileEndsWithCrLfAndReportsErrors)
{
    const QString file = tempFile(u"list.pls"_s);
    EXPECT_EQ(Common::writeTextFile(file, u"[playlist]\r\nFile1=Ärger.mp3"_s), QString());
    EXPECT_EQ(readAll(file), QByteArray("[playlist]\r\nFile1=\xC3\x84rger.mp3\r\n"));
    EXPECT_EQ(Common::writeTextFile(file, u"short"_s), QString());
    EXPECT_EQ(readAll(file), "short\r\n");
    EXPECT_FALSE(Common::writeTextFile(tempFile(u"no/such/folder/x.txt"_s), u"x"_s).isEmpty());
    QDir(tempPath()).mkdir(u"dir"_s);
    EXPECT_FALSE(Common::writeTextFile(tempFile(u"dir"_s), u"x"_s).isEmpty());
    makeReadOnly(file);
    EXPECT_FALSE(Common::writeTextFile(file, u"over"_s).isEmpty());
    EXPECT_EQ(readAll(file), "short\r\n");
}

TEST_F(CommonFiles, CreateNewFileProbesWhetherANameCanBeMade)
{
    const QString name = tempFile(u"probe.ini"_s);
    const int handle = Common::createNewFile(name);
    ASSERT_GE(handle, 0);
    EXPECT_TRUE(Common::closeFileHandle(handle));
    EXPECT_FALSE(Common::closeFileHandle(handle));
    EXPECT_TRUE(Common::fileExists(name));
    EXPECT_EQ(QFileInfo(name).size(), 0);

    EXPECT_EQ(Common::createNewFile(name), -1); // exists already
    EXPECT_EQ(Common::createNewFile(tempFile(u"missing/x.ini"_s)), -1);
    EXPECT_EQ(Common::createNewFile(QString()), -1);
    EXPECT_FALSE(Common::closeFileHandle(-1));
}

TEST_F(CommonFiles, DriveKindOfRealPaths)
{
    EXPECT_EQ(Common::getDriveTypeName(QString()), u"Unrecognized"_s);
    const QString here = Common::getDriveTypeName(tempPath());
    EXPECT_TRUE(here == u"Drive Fixed"_s || here == u"Ram disk"_s || here == u"Removable"_s) << here.toStdString();
    // A file that does not exist yet lives on the drive of its nearest folder.
    EXPECT_EQ(Common::getDriveTypeName(tempFile(u"later/song.mp3"_s)), here);
    EXPECT_FALSE(Common::isOnOpticalMedium(tempPath()));
    if (QFileInfo(u"/dev/shm"_s).isDir()) {
        EXPECT_EQ(Common::getDriveTypeName(u"/dev/shm"_s), u"Ram disk"_s);
    }
}

TEST_F(CommonFiles, SystemFolderWithAndWithoutSeparator)
{
    const QString with = Common::getSystemFolder(-1);
    const QString without = Common::getSystemFolder(0);
    EXPECT_TRUE(with.endsWith(u'/'));
    EXPECT_FALSE(without.endsWith(u'/'));
    EXPECT_EQ(with, without + u'/');
    EXPECT_TRUE(QFileInfo(without).isDir());
    EXPECT_EQ(Common::getSystemFolder(5), without);
}
