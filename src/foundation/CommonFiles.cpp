// Files and folders on the real file system: existence tests, folder creation, moves, deletion
// and small text files.

#include "foundation/Common.h"

#include "foundation/AppFolder.h"
#include "foundation/Basic.h"
#include "foundation/TemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace Common {

namespace {

enum class RenameOutcome { Done, CrossDevice, Failed };

/// The system's reason for the last failed step of moveFile (0 when it gave none).
thread_local int lastMoveErrno = 0;

/// Keeps the system's reason of a step that just failed.
void noteMoveError()
{
    if (errno != 0)
        lastMoveErrno = errno;
}

// Renames without ever replacing an existing file: plain rename() on POSIX would overwrite
// the target silently.
RenameOutcome renameNoReplace(const QString &from, const QString &to)
{
#if defined(Q_OS_LINUX)
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return RenameOutcome::Done;
    if (errno == EXDEV)
        return RenameOutcome::CrossDevice;
    if (errno != EINVAL && errno != ENOSYS) {
        noteMoveError();
        return RenameOutcome::Failed;
    }
    // A file system without RENAME_NOREPLACE: a hard link cannot replace anything either.
    if (::link(src.constData(), dst.constData()) == 0) {
        ::unlink(src.constData());
        return RenameOutcome::Done;
    }
    if (errno == EXDEV)
        return RenameOutcome::CrossDevice;
    noteMoveError();
    return RenameOutcome::Failed;
#else
    if (QFileInfo::exists(to))
        return RenameOutcome::Failed;
    if (QDir().rename(from, to))
        return RenameOutcome::Done;
    // QDir::rename never copies; tell a move between volumes from other failures by the root.
    if (QFileInfo(from).absolutePath().left(2).compare(QFileInfo(to).absolutePath().left(2), Qt::CaseInsensitive) != 0)
        return RenameOutcome::CrossDevice;
    return RenameOutcome::Failed;
#endif
}

// Copies into a temporary file in the destination folder, flushed to disk and checked against
// the source, and only then gives it the destination name (never replacing a file there). A
// crash leaves at most a temporary file, never a truncated file under the real name.
bool copyVerified(const QString &source, const QString &destination)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QFile out;
    errno = 0;
    if (!TemporaryFiles::openNewFor(out, destination, QIODevice::WriteOnly)) {
        noteMoveError();
        return false;
    }
    bool ok = true;
    constexpr qint64 chunk = 1 << 20;
    while (ok && !in.atEnd()) {
        const QByteArray data = in.read(chunk);
        ok = !data.isEmpty() && out.write(data) == data.size();
    }
    ok = ok && out.flush() && TemporaryFiles::syncToDisk(int(out.handle()));
    if (!ok)
        noteMoveError();
    // The copy keeps the source's time (a file time can only be set on an open file); a rerun
    // tells its own finished copy from another file by it.
    ok = ok && out.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
    out.close();
    ok = ok && out.error() == QFileDevice::NoError && sameContent(source, out.fileName());
    if (ok) {
        // A copy from a read-only medium must stay writable, or it could never be tagged.
        out.setPermissions(in.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        StopPoints::reached("move-copied");
        ok = renameNoReplace(out.fileName(), destination) == RenameOutcome::Done;
    }
    if (!ok) {
        QFile::remove(out.fileName());
        return false;
    }
    return true;
}

bool sameFileSystem(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return QFileInfo(a).absoluteFilePath().left(2).compare(QFileInfo(b).absoluteFilePath().left(2), Qt::CaseInsensitive) == 0;
#else
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
        && sa.st_dev == sb.st_dev;
#endif
}

bool hasOwnerWriteBit(const QString &path)
{
    return QFileInfo(path).permissions().testFlag(QFileDevice::WriteOwner);
}

MoveResult moveSteps(const QString &source, const QString &destination)
{
    if (fileExists(destination))
        return MoveResult::DestinationExists;
    if (!folderExists(getFolderPath(destination)))
        return MoveResult::FolderMissing;

    const RenameOutcome outcome = renameNoReplace(source, destination);
    if (outcome == RenameOutcome::Done)
        return fileExists(destination) ? MoveResult::Moved : MoveResult::NotThere;

    if (isOnOpticalMedium(source)) {
        // The source on the disc stays where it is.
        return copyVerified(source, destination) && fileExists(destination) ? MoveResult::Moved
                                                                              : MoveResult::NotThere;
    }
    if (outcome != RenameOutcome::CrossDevice)
        return MoveResult::MoveFailed;

    // Between two file systems a move is a copy, a check and the removal of the source. If
    // the source cannot be removed the copy is taken back, so the file is never doubled.
    if (!copyVerified(source, destination))
        return MoveResult::MoveFailed;
    StopPoints::reached("move-placed");
    if (!QFile::remove(source)) {
        QFile::remove(destination);
        return MoveResult::MoveFailed;
    }
    return fileExists(destination) ? MoveResult::Moved : MoveResult::NotThere;
}

} // namespace

bool sameContent(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!fa.atEnd()) {
        const QByteArray ba = fa.read(chunk);
        if (ba.isEmpty() || ba != fb.read(chunk))
            return false;
    }
    return true;
}

bool fileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool folderExists(const QString &path)
{
    QString folder = path;
    const QChar sep = separator();
    if (folder.endsWith(sep) && folder != getPathRoot(folder))
        folder.chop(1);
    if (folder.isEmpty())
        return false;
    return QFileInfo(folder).isDir();
}

bool createFolderPath(const QString &path)
{
    const QString trimmed = Basic::trim(path);
    const QString root = getPathRoot(trimmed);
    if (root.isEmpty() || (resolvedStyle(PathStyle::Native) == PathStyle::Windows && trimmed.size() <= 2))
        return false;
    const QString full = addBackslash(trimmed);
    const QChar sep = separator();
    // Levels are created from the root downwards; the last one too, since full ends in sep.
    for (qsizetype at = full.indexOf(sep, root.size()); at >= 0; at = full.indexOf(sep, at + 1)) {
        const QString level = full.left(at);
        if (level.isEmpty() || folderExists(level))
            continue;
        if (!QDir().mkdir(level))
            return false;
    }
    return folderExists(full);
}

QString downloadFolder()
{
    return addBackslash(AppFolder::places().downloadParent) + u"Download"_s;
}

bool checkDownloadFolder()
{
    const QString folder = downloadFolder();
    return folderExists(folder) || createFolderPath(folder);
}

QString lastMoveError()
{
    return lastMoveErrno == 0 ? QString() : QString::fromLocal8Bit(std::strerror(lastMoveErrno));
}

bool lastMoveFoundNoSpace()
{
    return lastMoveErrno == ENOSPC
#ifdef EDQUOT
        || lastMoveErrno == EDQUOT
#endif
        ;
}

MoveResult moveFile(const QString &source, const QString &destination)
{
    lastMoveErrno = 0;
    try {
        if (!fileExists(source))
            return MoveResult::SourceMissing;

        if (source != destination && source.compare(destination, Qt::CaseInsensitive) == 0) {
            // Only the letter case changes: go through a temporary name, so the rename also
            // works on file systems that ignore letter case.
            const QString temporary = source + QString::fromUtf16(CaseRenameSuffix);
            if (renameNoReplace(source, temporary) != RenameOutcome::Done)
                return MoveResult::MoveFailed;
            StopPoints::reached("case-scratch");
            const MoveResult result = moveSteps(temporary, destination);
            // A failed move must not leave the file under the temporary name.
            if (result != MoveResult::Moved && fileExists(temporary))
                renameNoReplace(temporary, source);
            return result;
        }
        return moveSteps(source, destination);
    } catch (...) {
        return MoveResult::Error;
    }
}

bool deleteFile(const QString &path)
{
    if (!fileExists(path))
        return false;
    // Read-only means no owner write bit, and is refused even where the user could delete it.
    if (!hasOwnerWriteBit(path))
        return false;
    QFile::remove(path);
    return !fileExists(path);
}

QString writeTextFile(const QString &fileName, const QString &text)
{
    // A read-only file is refused as on any desktop, even where the user could replace it.
    if (fileExists(fileName) && !hasOwnerWriteBit(fileName))
        return u"Permission denied"_s;
    return TemporaryFiles::writeInPlace(fileName, textFileBytes(text));
}

QByteArray textFileBytes(const QString &text)
{
    return text.toUtf8() + "\r\n";
}

bool isInterruptedMoveCopy(const QString &source, const QString &destination)
{
    // Only a move between file systems copies; it gives the copy the source's time and removes
    // the source last, so a crash in between leaves two equal files with one time.
    const QFileInfo from(source), to(destination);
    return from.isFile() && to.isFile() && from.size() == to.size() && from.lastModified() == to.lastModified()
        && !sameFileSystem(source, destination) && sameContent(source, destination);
}

bool finishInterruptedMove(const QString &source, const QString &destination)
{
    return isInterruptedMoveCopy(source, destination) && hasOwnerWriteBit(source) && QFile::remove(source);
}

int createNewFile(const QString &fileName)
{
    if (fileName.isEmpty())
        return -1;
#ifdef Q_OS_WIN
    const int handle = ::_wopen(reinterpret_cast<const wchar_t *>(fileName.utf16()),
                                _O_RDONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    const int handle = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
    return handle < 0 ? -1 : handle;
}

bool closeFileHandle(int handle)
{
    if (handle < 0)
        return false;
#ifdef Q_OS_WIN
    return ::_close(handle) == 0;
#else
    return ::close(handle) == 0;
#endif
}

} // namespace Common
