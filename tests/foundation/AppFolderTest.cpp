// Where the program keeps its masks and downloads: beside itself when portable (the build
// folder included), in the user's folders when installed, decided from the program's folder.
#include "foundation/AppFolder.h"
#include "foundation/Common.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

using namespace Qt::StringLiterals;
using AppFolder::Layout;

class AppFolderTest : public VarneltTest
{
protected:
    AppFolder::Places placesOf(const QString &relative) const
    {
        return AppFolder::placesFor(tempFile(relative), tempFile(u"data"_s), tempFile(u"cache"_s));
    }
};

TEST_F(AppFolderTest, PortableBesideTheProgramInstalledInTheUsersFolders)
{
    // A portable copy or the build folder: a writable folder of its own.
    QDir().mkpath(tempFile(u"portable"_s));
    AppFolder::Places places = placesOf(u"portable"_s);
    EXPECT_EQ(places.layout, Layout::Portable);
    EXPECT_EQ(places.masksParent, tempFile(u"portable"_s));
    EXPECT_EQ(places.downloadParent, tempFile(u"portable"_s));
    EXPECT_EQ(places.licenseFile, tempFile(u"portable/license.txt"_s));
    EXPECT_TRUE(places.masksSeed.isEmpty());

    // The bin folder of an installed tree, writable or not (a prefix in the user's home).
    QDir().mkpath(tempFile(u"usr/bin"_s));
    QDir().mkpath(tempFile(u"usr/share/varnelt/Masks"_s));
    places = placesOf(u"usr/bin"_s);
    EXPECT_EQ(places.layout, Layout::Installed);
    EXPECT_EQ(places.masksParent, tempFile(u"data"_s));
    EXPECT_EQ(places.downloadParent, tempFile(u"cache"_s));
    EXPECT_EQ(places.masksSeed, tempFile(u"usr/share/varnelt/Masks"_s));
    EXPECT_EQ(places.licenseFile, tempFile(u"usr/share/varnelt/license.txt"_s));

    // A portable copy unpacked into such a bin folder keeps its own writable "Masks".
    QDir().mkpath(tempFile(u"usr/bin/Masks"_s));
    EXPECT_EQ(placesOf(u"usr/bin"_s).layout, Layout::Portable);

    // A program folder the user cannot write (not testable as root, who writes anywhere).
    if (geteuid() != 0) {
        QDir().mkpath(tempFile(u"readonly"_s));
        QFile::setPermissions(tempFile(u"readonly"_s), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(placesOf(u"readonly"_s).layout, Layout::Installed);
        QFile::setPermissions(tempFile(u"readonly"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The running program's places follow the same rule, downloads included.
    AppFolder::setOverride(tempFile(u"usr/bin"_s));
    QDir().rmdir(tempFile(u"usr/bin/Masks"_s));
    EXPECT_EQ(Common::downloadFolder(), tempFile(u"usercache/Download"_s));
    EXPECT_TRUE(Common::checkDownloadFolder());
    EXPECT_TRUE(QFileInfo(tempFile(u"usercache/Download"_s)).isDir());
    EXPECT_FALSE(QFileInfo::exists(tempFile(u"usr/bin/Download"_s)));
}
