#include "AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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
} // namespace

void setOverride(const QString &folder)
{
    overrideSlot() = folder;
}

void setUserDataOverride(const QString &folder)
{
    userDataSlot() = folder;
}

QString userDataPath()
{
    if (!userDataSlot().isEmpty())
        return QDir::toNativeSeparators(QDir::cleanPath(userDataSlot()));
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

QString path()
{
    if (!overrideSlot().isEmpty())
        return QDir::toNativeSeparators(QDir::cleanPath(overrideSlot()));
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable())
        return QDir::toNativeSeparators(exeDir);
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir().mkpath(data);
    return QDir::toNativeSeparators(data);
}

} // namespace AppFolder
