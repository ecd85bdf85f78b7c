// Facts asked of the system: the kind of drive a path lives on, the system library folder, and
// the desktop trash behind the shell delete and the journalled move to the trash.

#include "foundation/Common.h"
#include "foundation/DesktopTrash.h"
#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace Common {

namespace {

// The nearest folder of the path that exists, so a drive can be named for a file not made yet.
QString existingAncestor(const QString &path)
{
    QFileInfo info(path);
    QString current = info.absoluteFilePath();
    while (!current.isEmpty() && !QFileInfo::exists(current)) {
        const QString up = QFileInfo(current).absolutePath();
        if (up == current)
            return QString();
        current = up;
    }
    return current;
}

#ifndef Q_OS_WIN
// /sys/class/block/<name>/removable, looked up for the partition and for its whole disk.
bool blockDeviceRemovable(const QByteArray &device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString name = QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath().section(u'/', -1);
    if (name.isEmpty())
        return false;
    const QString sysPath = QFileInfo(u"/sys/class/block/"_s + name).canonicalFilePath();
    if (sysPath.isEmpty())
        return false;
    const QStringList candidates = {sysPath + u"/removable"_s, QFileInfo(sysPath).absolutePath() + u"/removable"_s};
    for (const QString &candidate : candidates) {
        QFile flag(candidate);
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
    }
    return false;
}
#endif

// Returns a file that QFile::moveToTrash put outside any trash to its place, and removes the
// description and the (then empty) folders made for it there.
void putBack(const QString &landed, const QString &original)
{
    if (!QFile::rename(landed, original))
        return;
    const QFileInfo info(landed);
    QDir filesDir = info.absoluteDir();
    QDir top = filesDir;
    if (!top.cdUp())
        return;
    QFile::remove(trashInfoOf(landed));
    top.rmdir(u"info"_s); // only when empty
    top.rmdir(filesDir.dirName());
}

QString dataHome()
{
    return qEnvironmentVariableIsEmpty("XDG_DATA_HOME") ? QDir::homePath() + u"/.local/share"_s
                                                         : qEnvironmentVariable("XDG_DATA_HOME");
}

// The original path a trash description names, read from at most its first 64 KB (a path is
// far shorter); empty when it names none. Paths in a trash at the top of a volume may be
// relative to that volume.
QString describedPath(const QString &infoPath, const QString &volumeRoot)
{
    QFile file(infoPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : file.read(64 * 1024).split('\n')) {
        if (!line.startsWith("Path="))
            continue;
        const QString path = QUrl::fromPercentEncoding(line.mid(5).trimmed());
        if (path.isEmpty())
            return {};
        return QDir::cleanPath(path.startsWith(u'/') ? path : QDir(volumeRoot).filePath(path));
    }
    return {};
}

} // namespace

bool isInsideTrash(const QString &trashedPath)
{
    if (trashedPath.isEmpty() || !QFileInfo::exists(trashedPath))
        return false;
#ifdef Q_OS_WIN
    return true; // the Recycle Bin has a layout of its own
#else
    const QDir filesDir = QFileInfo(trashedPath).absoluteDir();
    if (filesDir.dirName() != u"files"_s)
        return false;
    QDir trashDir = filesDir;
    if (!trashDir.cdUp() || !trashDir.exists(u"info"_s))
        return false;
    const QString name = trashDir.dirName();
    QDir above = trashDir;
    const bool perUserTopDir = above.cdUp() && above.dirName() == u".Trash"_s;
    return name == u"Trash"_s || name.startsWith(u".Trash-"_s) || perUserTopDir;
#endif
}

QString trashInfoOf(const QString &trashedPath)
{
    const QFileInfo info(trashedPath);
    const QString top = QFileInfo(info.absolutePath()).absolutePath();
    return QDir(top).filePath(u"info/"_s + info.fileName() + u".trashinfo"_s);
}

QString moveToTrash(const QString &path)
{
#ifndef Q_OS_WIN
    // Without its folders Qt reports success and moves the file somewhere else.
    QDir().mkpath(dataHome() + u"/Trash/files"_s);
    QDir().mkpath(dataHome() + u"/Trash/info"_s);
#endif
    if (!fileExists(path))
        return {};
    QString landed;
    const bool reported = QFile::moveToTrash(path, &landed);
    if (reported && isInsideTrash(landed) && !QFileInfo::exists(path)) {
        StopPoints::reached("trashed");
        return landed;
    }
    // Anything that did not end in the trash goes back where it was.
    if (!landed.isEmpty() && QFileInfo::exists(landed) && !QFileInfo::exists(path))
        putBack(landed, path);
    return {};
}

QStringList foundInTrash(const QString &originalPath)
{
    QList<std::pair<QString, QString>> trashes; // each trash, and the folder its paths are relative to
#ifndef Q_OS_WIN
    trashes.append({dataHome() + u"/Trash"_s, u"/"_s});
    const QString volume = QStorageInfo(QFileInfo(originalPath).absolutePath()).rootPath();
    if (!volume.isEmpty()) {
        const QString uid = QString::number(::getuid());
        trashes.append({QDir(volume).filePath(u".Trash-"_s + uid), volume});
        trashes.append({QDir(volume).filePath(u".Trash/"_s + uid), volume});
    }
#endif
    const QString wanted = QDir::cleanPath(originalPath);
    QStringList found;
    for (const auto &[trash, root] : std::as_const(trashes)) {
        const QDir info(trash + u"/info"_s);
        for (const QString &name : info.entryList({u"*.trashinfo"_s}, QDir::Files | QDir::Hidden)) {
            const QString trashed = trash + u"/files/"_s + name.chopped(int(qstrlen(".trashinfo")));
            if (describedPath(info.filePath(name), root) == wanted && fileExists(trashed))
                found << trashed;
        }
    }
    return found;
}

QString driveTypeNameForFileSystem(const QString &fileSystemType, bool removableDevice)
{
    const QString type = fileSystemType.toLower();
    if (type.isEmpty())
        return u"Unrecognized"_s;
    if (type == u"iso9660"_s || type == u"udf"_s)
        return u"CD-Rom"_s;
    static const QStringList remote = {u"nfs"_s, u"nfs4"_s, u"cifs"_s, u"smb3"_s, u"smbfs"_s, u"sshfs"_s,
                                       u"fuse.sshfs"_s, u"9p"_s, u"afs"_s, u"ceph"_s, u"glusterfs"_s,
                                       u"fuse.glusterfs"_s, u"davfs"_s, u"fuse.davfs"_s, u"ncpfs"_s,
                                       u"fuse.rclone"_s, u"fuse.s3fs"_s};
    if (remote.contains(type))
        return u"Remote"_s;
    if (type == u"tmpfs"_s || type == u"ramfs"_s)
        return u"Ram disk"_s;
    return removableDevice ? u"Removable"_s : u"Drive Fixed"_s;
}

QString getDriveTypeName(const QString &driveOrPath)
{
#ifdef Q_OS_WIN
    if (driveOrPath.isEmpty())
        return u"Unrecognized"_s;
    if (driveOrPath.startsWith(u"\\\\"_s))
        return u"Remote"_s;
    const QString root = driveOrPath.left(1) + u":\\"_s;
    switch (::GetDriveTypeW(reinterpret_cast<LPCWSTR>(root.utf16()))) {
    case DRIVE_REMOVABLE: return u"Removable"_s;
    case DRIVE_FIXED: return u"Drive Fixed"_s;
    case DRIVE_REMOTE: return u"Remote"_s;
    case DRIVE_CDROM: return u"CD-Rom"_s;
    case DRIVE_RAMDISK: return u"Ram disk"_s;
    default: return u"Unrecognized"_s;
    }
#else
    if (driveOrPath.trimmed().isEmpty())
        return u"Unrecognized"_s;
    const QString existing = existingAncestor(driveOrPath);
    if (existing.isEmpty())
        return u"Unrecognized"_s;
    const QStorageInfo storage(existing);
    if (!storage.isValid())
        return u"Unrecognized"_s;
    return driveTypeNameForFileSystem(QString::fromLatin1(storage.fileSystemType()),
                                      blockDeviceRemovable(storage.device()));
#endif
}

bool isOnOpticalMedium(const QString &path)
{
    return getDriveTypeName(path) == u"CD-Rom"_s;
}

QString getSystemFolder(int flag)
{
    QString folder;
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
    if (length > 0 && length <= MAX_PATH)
        folder = QString::fromWCharArray(buffer, int(length));
#else
    // The folder that holds the C library is the system's library folder (the multiarch one
    // on Debian); dladdr tells where it was loaded from.
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void *>(&::close), &info) != 0 && info.dli_fname != nullptr)
        folder = QFileInfo(QFileInfo(QFile::decodeName(info.dli_fname)).canonicalFilePath()).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = u"/usr/lib"_s;
#endif
    const QChar sep = separator();
    if (flag == -1 && !folder.isEmpty() && !folder.endsWith(sep))
        folder += sep;
    else if (flag == 0 && folder.endsWith(sep) && folder.size() > 1)
        folder.chop(1);
    return folder;
}

int shellDeleteFiles(const QString &fileList, quint32 flags)
{
    Q_UNUSED(flags) // every delete goes to the trash; the caller has asked the question already
    int moved = 0;
    const QStringList paths = fileList.split(QChar(u'\0'), Qt::SkipEmptyParts);
    for (const QString &path : paths)
        if (!moveToTrash(path).isEmpty())
            ++moved;
    return moved;
}

} // namespace Common
