#include "foundation/FolderLock.h"

#include "foundation/AppFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

/// The folder as one spelling: resolved where it exists (another spelling or a link to it gives
/// the same lock), cleaned where it does not; without letter case where file names ignore it.
QString lockKey(const QString &folder)
{
    const QFileInfo info(folder);
    QString key = info.exists() ? info.canonicalFilePath() : QString();
    if (key.isEmpty())
        key = QDir::cleanPath(info.absoluteFilePath());
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    key = key.toCaseFolded();
#endif
    return key;
}

enum class Taken { Yes, Busy, NoLockFile };

/// Locks the file for this process without waiting; the handle stays open while it is held.
Taken lockFile(const QString &path, int &handle)
{
#ifdef Q_OS_UNIX
    handle = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (handle < 0)
        return Taken::NoLockFile;
    if (::flock(handle, LOCK_EX | LOCK_NB) == 0)
        return Taken::Yes;
    const bool busy = errno == EWOULDBLOCK;
    ::close(handle);
    handle = -1;
    return busy ? Taken::Busy : Taken::NoLockFile;
#else
    Q_UNUSED(path);
    handle = -1;
    return Taken::NoLockFile;
#endif
}

} // namespace

FolderLock::FolderLock(const QStringList &folders)
{
    const QString dir = QDir(AppFolder::userDataPath()).filePath(u"Locks"_s);
    QDir().mkpath(dir);
    QStringList keys;
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QString key = lockKey(folder);
        if (!keys.contains(key))
            keys.append(key);
    }
    held_ = true;
    for (const QString &key : std::as_const(keys)) {
        const QByteArray name = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).left(12).toHex();
        int handle = -1;
        const Taken taken = lockFile(QDir(dir).filePath(QString::fromLatin1(name) + u".lock"_s), handle);
        if (taken == Taken::Busy) {
            held_ = false;
            release();
            return;
        }
        if (taken == Taken::Yes)
            handles_.push_back(handle);
    }
}

FolderLock::~FolderLock()
{
    release();
}

void FolderLock::release()
{
#ifdef Q_OS_UNIX
    for (const int handle : handles_)
        ::close(handle);
#endif
    handles_.clear();
}

QString FolderLock::busyText()
{
    return u"Another Varnelt job is changing this folder."_s;
}
