#include "audio/SafeFileRewrite.h"

#include "foundation/TemporaryFiles.h"

#include <QFile>
#include <QFileInfo>


#ifdef Q_OS_UNIX
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
// before its name replaces the original's.
bool syncToDisk(const QString &path)
{
#ifdef Q_OS_UNIX
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(path);
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

Outcome replaceWithEditedCopy(const QString &path, const Step &edit, const Step &verify)
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
        if (!copyInto(source, copy))
            return Outcome::CopyFailed;
    }
    copy.close();

    if (!edit(copyPath))
        return Outcome::EditFailed;
    if (!verify(copyPath))
        return Outcome::VerifyFailed;
    if (!syncToDisk(copyPath))
        return Outcome::CopyFailed;
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
