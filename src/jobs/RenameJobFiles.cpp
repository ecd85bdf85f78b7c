#include "jobs/RenameJobFiles.h"

#include "foundation/Basic.h"
#include "foundation/Common.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString withoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(Common::separator())))
        path.chop(1);
    return path;
}

} // namespace

bool RenameJobFiles::sameObject(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    return !ca.isEmpty() && ca.compare(cb, Qt::CaseInsensitive) == 0;
#else
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#endif
}

Qt::CaseSensitivity RenameJobFiles::fileNameCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool RenameJobFiles::sameFolder(const QString &a, const QString &b)
{
    if (Common::folderExists(a) && Common::folderExists(b))
        return sameObject(a, b);
    return QDir::cleanPath(withoutTrailingSeparator(a))
               .compare(QDir::cleanPath(withoutTrailingSeparator(b)), fileNameCase())
           == 0;
}

bool RenameJobFiles::clearReadOnly(const QString &path)
{
    const QFile::Permissions perms = QFile::permissions(path);
    if (perms & QFile::WriteOwner)
        return true;
    return QFile::setPermissions(path, perms | QFile::WriteOwner);
}

bool RenameJobFiles::sameContent(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 chunk = 1 << 16;
    while (!fa.atEnd()) {
        const QByteArray ba = fa.read(chunk);
        if (ba.isEmpty() || ba != fb.read(chunk))
            return false;
    }
    return true;
}

long long RenameJobFiles::sizeInKilobytes(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return -1;
    return Basic::roundEven(double(info.size()) / 1024.0);
}

QString RenameJobFiles::renameFolderCase(const QString &folder, const QString &scratch, const QString &newSpelling)
{
    const QString from = withoutTrailingSeparator(folder);
    const QString via = withoutTrailingSeparator(scratch);
    const QString to = withoutTrailingSeparator(newSpelling);
    QDir dir;
    // Never rename onto something that is there already: a rename could replace an empty folder.
    if (QFileInfo::exists(via) || !dir.rename(from, via))
        return Common::addBackslash(from);
    if ((QFileInfo::exists(to) && !sameObject(to, via)) || !dir.rename(via, to)) {
        // The folder must not stay under the scratch name: put the old name back.
        if (dir.rename(via, from))
            return Common::addBackslash(from);
        return Common::addBackslash(via);
    }
    return Common::addBackslash(to);
}

bool RenameJobFiles::removeEmptiedFolder(const QString &folder, const QStringList &keep)
{
    const QString path = withoutTrailingSeparator(folder);
    if (!Common::folderExists(path))
        return false;
    const QString base = Common::addBackslash(path);
    const QString name = Common::getLastPathPart(path);
    const QStringList outputs {name + u".pls"_s, name + u".jpg"_s, name + u".htm"_s};

    QDir dir(path);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    // A file of the album (or anything else) still there: the folder and its outputs stay.
    for (const QString &entry : entries)
        if (!outputs.contains(entry) || !Common::fileExists(base + entry))
            return false;

    // An output of this run that happens to carry the folder's name keeps the folder alive.
    for (const QString &entry : entries)
        for (const QString &k : keep)
            if (sameObject(base + entry, k))
                return false;

    for (const QString &entry : entries) {
        const QString file = base + entry;
        clearReadOnly(file);
        if (!Common::deleteFile(file))
            return false;
    }
    if (!clearReadOnly(path))
        return false;
    dir.rmdir(path);
    return !Common::folderExists(path);
}
