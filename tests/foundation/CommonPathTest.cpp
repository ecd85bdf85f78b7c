// Path strings in both spellings: the Windows rules as text cases, their POSIX counterparts.

#include "foundation/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Common::PathStyle;

namespace {
constexpr auto Win = PathStyle::Windows;
constexpr auto Posix = PathStyle::Posix;
} // namespace

TEST(CommonPath, AddBackslashTrimsAndAppendsOnce)
{
    EXPECT_EQ(Common::addBackslash(u"  "_s, Win), u"  "_s);
    EXPECT_EQ(Common::addBackslash(QString(), Win), QString());
    EXPECT_EQ(Common::addBackslash(u" C:\\dir "_s, Win), u"C:\\dir\\"_s);
    EXPECT_EQ(Common::addBackslash(u"C:\\dir\\"_s, Win), u"C:\\dir\\"_s);
    EXPECT_EQ(Common::addBackslash(u" /music/dir "_s, Posix), u"/music/dir/"_s);
    EXPECT_EQ(Common::addBackslash(u"/"_s, Posix), u"/"_s);
    // A Windows-style path on POSIX gets the POSIX separator: "\" is an ordinary character there.
    EXPECT_EQ(Common::addBackslash(u"C:\\dir\\"_s, Posix), u"C:\\dir\\/"_s);
}

TEST(CommonPath, FileNameAndTitleAcceptBothSeparators)
{
    EXPECT_EQ(Common::getFileName(u"a/b.jpg"_s), u"b.jpg"_s);
    EXPECT_EQ(Common::getFileName(u"C:\\dir\\"_s), QString());
    EXPECT_EQ(Common::getFileName(u"C:\\x/y\\z.mp3"_s), u"z.mp3"_s);
    EXPECT_EQ(Common::getFileName(u"c:\\a/b"_s), u"b"_s);
    EXPECT_EQ(Common::getFileName(u"plain.mp3"_s), u"plain.mp3"_s);
    EXPECT_EQ(Common::getFileTitle(u"C:\\my.dir\\song"_s), u"song"_s);
    EXPECT_EQ(Common::getFileTitle(u"/my.dir/song"_s), u"song"_s);
    EXPECT_EQ(Common::getFileTitle(u"a.b.mp3"_s), u"a.b"_s);
    EXPECT_EQ(Common::getFileTitle(u"/x/01 - Intro.mp3"_s), u"01 - Intro"_s);
}

TEST(CommonPath, FolderPathKeepsTheSeparator)
{
    EXPECT_EQ(Common::getFolderPath(u"C:\\m\\song.mp3"_s, Win), u"C:\\m\\"_s);
    EXPECT_EQ(Common::getFolderPath(u"song.mp3"_s, Win), QString());
    EXPECT_EQ(Common::getFolderPath(u"/m/song.mp3"_s, Posix), u"/m/"_s);
    EXPECT_EQ(Common::getFolderPath(u"/song.mp3"_s, Posix), u"/"_s);
    EXPECT_EQ(Common::getFolderPath(u"a/b.mp3"_s, Win), QString());
}

TEST(CommonPath, ParentFolderIgnoresTheClosingSeparator)
{
    EXPECT_EQ(Common::getParentFolder(u"C:\\a\\b"_s, Win), u"C:\\a"_s);
    EXPECT_EQ(Common::getParentFolder(u"C:\\a\\b\\"_s, Win), u"C:\\a"_s);
    EXPECT_EQ(Common::getParentFolder(u"C:\\a"_s, Win), u"C:"_s);
    EXPECT_EQ(Common::getParentFolder(u"song.mp3"_s, Win), QString());
    EXPECT_EQ(Common::getParentFolder(u"\\"_s, Win), QString());
    EXPECT_EQ(Common::getParentFolder(QString(), Win), QString());
    EXPECT_EQ(Common::getParentFolder(u"/a/b/"_s, Posix), u"/a"_s);
    EXPECT_EQ(Common::getParentFolder(u"/a"_s, Posix), u"/"_s);
    EXPECT_EQ(Common::getParentFolder(u"/"_s, Posix), QString());
}

TEST(CommonPath, LastPathPart)
{
    EXPECT_EQ(Common::getLastPathPart(u"C:\\mp3\\Artist - Album"_s, Win), u"Artist - Album"_s);
    EXPECT_EQ(Common::getLastPathPart(u"C:\\mp3\\"_s, Win), QString());
    EXPECT_EQ(Common::getLastPathPart(u"/mp3/Album"_s, Posix), u"Album"_s);
    EXPECT_EQ(Common::getLastPathPart(u"Album"_s, Posix), u"Album"_s);
}

TEST(CommonPath, WindowsRoots)
{
    EXPECT_EQ(Common::getPathRoot(u"C:\\mp3\\x"_s, Win), u"C:\\"_s);
    EXPECT_EQ(Common::getPathRoot(u"  d:\\  "_s, Win), u"d:\\"_s);
    EXPECT_EQ(Common::getPathRoot(u"C:"_s, Win), QString());
    EXPECT_EQ(Common::getPathRoot(u"C:\\"_s, Win), u"C:\\"_s);
    EXPECT_EQ(Common::getPathRoot(u"C:dir"_s, Win), QString());
    EXPECT_EQ(Common::getPathRoot(u"\\\\server\\share"_s, Win), QString());
    EXPECT_EQ(Common::getPathRoot(u"\\\\server\\share\\"_s, Win), u"\\\\server\\share\\"_s);
    EXPECT_EQ(Common::getPathRoot(u"\\\\server\\share\\music\\a"_s, Win), u"\\\\server\\share\\"_s);
    EXPECT_EQ(Common::getPathRoot(u"\\\\\\share\\x"_s, Win), QString()); // empty server name
    EXPECT_EQ(Common::getPathRoot(u"\\\\server\\\\x"_s, Win), QString()); // empty share name
    EXPECT_EQ(Common::getPathRoot(u"dir\\sub"_s, Win), QString());
    EXPECT_EQ(Common::getPathRoot(u"/music"_s, Win), QString());
}

TEST(CommonPath, PosixRoots)
{
    EXPECT_EQ(Common::getPathRoot(u"/music/a"_s, Posix), u"/"_s);
    EXPECT_EQ(Common::getPathRoot(u" /a "_s, Posix), u"/"_s);
    EXPECT_EQ(Common::getPathRoot(u"dir/sub"_s, Posix), QString());
    EXPECT_EQ(Common::getPathRoot(u"C:\\x"_s, Posix), QString());
    EXPECT_EQ(Common::getPathRoot(QString(), Posix), QString());
}

TEST(CommonPath, ReplaceTextNeverSearchesItsOwnInsertions)
{
    EXPECT_EQ(Common::replaceText(u"aaa"_s, u"a"_s, u"aa"_s), u"aaaaaa"_s);
    EXPECT_EQ(Common::replaceText(u"a-b-c"_s, u"-"_s, QString()), u"abc"_s);
    EXPECT_EQ(Common::replaceText(u"--x--"_s, u"-"_s, QString()), u"x"_s);
    EXPECT_EQ(Common::replaceText(u"Abc"_s, u"a"_s, u"x"_s, Qt::CaseInsensitive), u"xbc"_s);
    EXPECT_EQ(Common::replaceText(u"Abc"_s, u"a"_s, u"x"_s), u"Abc"_s);
    EXPECT_EQ(Common::replaceText(u"abab"_s, u"ab"_s, u"b"_s), u"bb"_s);
    EXPECT_EQ(Common::replaceText(QString(), u"a"_s, u"b"_s), QString());
    EXPECT_EQ(Common::replaceText(u"abc"_s, QString(), u"x"_s), u"abc"_s);
}

TEST(CommonPath, DriveKindsFromFileSystemTypes)
{
    EXPECT_EQ(Common::driveTypeNameForFileSystem(u"iso9660"_s, true), u"CD-Rom"_s);
    EXPECT_EQ(Common::driveTypeNameForFileSystem(u"UDF"_s, false), u"CD-Rom"_s);
    for (const auto &type : {u"nfs"_s, u"nfs4"_s, u"cifs"_s, u"smb3"_s, u"fuse.sshfs"_s})
        EXPECT_EQ(Common::driveTypeNameForFileSystem(type, false), u"Remote"_s) << type.toStdString();
    EXPECT_EQ(Common::driveTypeNameForFileSystem(u"tmpfs"_s, false), u"Ram disk"_s);
    EXPECT_EQ(Common::driveTypeNameForFileSystem(u"ramfs"_s, false), u"Ram disk"_s);
    EXPECT_EQ(Common::driveTypeNameForFileSystem(u"vfat"_s, true), u"Removable"_s);
    EXPECT_EQ(Common::driveTypeNameForFileSystem(u"ext4"_s, false), u"Drive Fixed"_s);
    EXPECT_EQ(Common::driveTypeNameForFileSystem(QString(), false), u"Unrecognized"_s);
}
