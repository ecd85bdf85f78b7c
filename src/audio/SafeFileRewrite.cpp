#include "audio/SafeFileRewrite.h"

#include "foundation/TemporaryFiles.h"

#include <QFile>
#include <QFileInfo>


#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace SafeFileRewrite {

namespace {

constexpr qint64 ChunkSize = 1 << 20;

bool copyInto(QFile &source, QFile &target)
{
    QByteArray buffer;
    while (!source.atEnd()) {
        buffer = source.read(ChunkSize);
        if (buffer.isEmpty() && source.error() != QFileDevice::NoError)
            return false;
        if (target.write(buffer) != buffer.size())
            return false;
    }
    return source.error() == QFileDevice::NoError && target.flush();
}

// The rename below is only as safe as the data under it: the copy's bytes must be on the disk
// before its name replaces the original's. Any open handle of the file syncs all of it.
bool syncToDisk(const QFile &file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

/// The identity of a file on its disk; all zero where the system cannot say.
struct FileIdentity {
    quint64 device = 0, inode = 0;
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

FileIdentity identityOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino)};
#else
    return {1, 1};
#endif
}

FileIdentity identityOf(const QFile &open)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::fstat(open.handle(), &st) != 0)
        return {};
    return {quint64(st.st_dev), quint64(st.st_ino)};
#else
    Q_UNUSED(open);
    return {1, 1};
#endif
}

} // namespace

bool isReadOnlyFile(const QString &path)
{
    const QFileInfo info(path);
    return !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner);
}

Outcome replaceWithWrittenCopy(const QString &path, const Fill &fill, const Step &verify, SyncGroup *group)
{
    // Work on the real file behind a link, so the link stays a link.
    QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return Outcome::CopyFailed;
    const QFileInfo info(target);

    // A short name of its own: the file's name plus a suffix would not fit beside a name near
    // the file system's limit.
    QFile copy;
    if (!TemporaryFiles::openNewFor(copy, target, QIODevice::ReadWrite))
        return Outcome::CannotCreate;
    const QString copyPath = copy.fileName();
    // Removes the copy on every way out but the rename into place.
    struct Remover {
        QString path;
        ~Remover()
        {
            if (!path.isEmpty())
                QFile::remove(path);
        }
    } remover{copyPath};

    FileIdentity original;
    {
        QFile source(target);
        if (!source.open(QIODevice::ReadOnly))
            return Outcome::CopyFailed;
        original = identityOf(source);
        if (!fill(source, copy) || !copy.flush())
            return Outcome::CopyFailed;
    }

    // The new file stays open, for the sync, while the check opens it by its name.
    if (!verify(copyPath))
        return Outcome::VerifyFailed;
    // In a group the original stays linked beside the new file until the group's one sync.
    if (!(group && group->keep(target)) && !syncToDisk(copy))
        return Outcome::CopyFailed;
    copy.close();
    StopPoints::reached("rewrite-copied");
    QFile::setPermissions(copyPath, info.permissions());

    // Another program may have moved the file away (or put another in its place) while the copy
    // was made: the rename would then bring back a file under a name that is no longer its own.
    if (original == FileIdentity {} || identityOf(target) != original)
        return Outcome::Replaced;
    if (!TemporaryFiles::renameOver(copyPath, target).isEmpty())
        return Outcome::ReplaceFailed;
    remover.path.clear();
    return Outcome::Ok;
}

bool SyncGroup::keep(const QString &target)
{
#ifdef Q_OS_UNIX
    for (int attempt = 0; attempt < 3; ++attempt) {
        const QString name = TemporaryFiles::pathFor(target);
        if (::link(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()) == 0) {
            kept_.append(name);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
#else
    Q_UNUSED(target);
#endif
    return false;
}

bool SyncGroup::settle()
{
    if (kept_.isEmpty())
        return true;
#ifdef Q_OS_UNIX
    // One sync for each file system the kept files are on (most often one).
    QList<dev_t> synced;
    bool moved = false;
    for (const QString &name : std::as_const(kept_)) {
        struct stat st;
        if (::stat(QFile::encodeName(name).constData(), &st) != 0) {
            moved = true; // its folder was renamed since: where its file system is is not known
            continue;
        }
        if (synced.contains(st.st_dev))
            continue;
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly) || ::syncfs(file.handle()) != 0)
            return false;
        synced.append(st.st_dev);
    }
    if (moved)
        ::sync();
#endif
    for (const QString &name : std::as_const(kept_))
        QFile::remove(name);
    kept_.clear();
    return true;
}

bool appendFrom(QFile &source, qint64 offset, QFile &target)
{
    return offset >= 0 && offset <= source.size() && source.seek(offset) && copyInto(source, target);
}

bool sameTail(const QString &a, qint64 fromA, const QString &b, qint64 fromB)
{
    QFile fileA(a);
    QFile fileB(b);
    if (!fileA.open(QIODevice::ReadOnly) || !fileB.open(QIODevice::ReadOnly))
        return false;
    if (fromA < 0 || fromB < 0 || fileA.size() - fromA != fileB.size() - fromB)
        return false;
    if (!fileA.seek(fromA) || !fileB.seek(fromB))
        return false;
    qint64 left = fileA.size() - fromA;
    while (left > 0) {
        const QByteArray chunkA = fileA.read(qMin(left, ChunkSize));
        const QByteArray chunkB = fileB.read(chunkA.size());
        if (chunkA.isEmpty() || chunkA != chunkB)
            return false;
        left -= chunkA.size();
    }
    return true;
}

} // namespace SafeFileRewrite
