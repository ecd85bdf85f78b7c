#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace AppFolder {
namespace {
QString &overrideSlot()
{
    static QString slot;
    return slot;
}

QString &userDataSlot()
{
    static QString slot;
    return slot;
}

QString &userCacheSlot()
{
    static QString slot;
    return slot;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

bool writableFolder(const QString &path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString userCachePath()
{
    if (!userCacheSlot().isEmpty())
        return native(userCacheSlot());
    return native(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
}
} // namespace

Places placesFor(const QString &programFolder, const QString &userData, const QString &userCache)
{
    const QString program = native(programFolder);
    const QString shared = QDir::cleanPath(programFolder + u"/../share/varnelt"_s);
    Places places;
    const bool portable = writableFolder(programFolder + u"/Masks"_s)
        || (writableFolder(programFolder) && !QFileInfo(shared).isDir());
    if (portable) {
        places.masksParent = program;
        places.downloadParent = program;
        places.licenseFile = native(programFolder + u"/license.txt"_s);
        return places;
    }
    places.layout = Layout::Installed;
    places.masksParent = native(userData);
    places.downloadParent = native(userCache);
    places.licenseFile = native(shared + u"/license.txt"_s);
    places.masksSeed = native(shared + u"/Masks"_s);
    return places;
}

Places places()
{
    const QString program = overrideSlot().isEmpty() ? QCoreApplication::applicationDirPath() : overrideSlot();
    return placesFor(program, userDataPath(), userCachePath());
}

QString path()
{
    return places().masksParent;
}

void setOverride(const QString &folder)
{
    overrideSlot() = folder;
}

void setUserDataOverride(const QString &folder)
{
    userDataSlot() = folder;
}

void setUserCacheOverride(const QString &folder)
{
    userCacheSlot() = folder;
}

QString userDataPath()
{
    if (!userDataSlot().isEmpty())
        return native(userDataSlot());
    return native(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

} // namespace AppFolder
