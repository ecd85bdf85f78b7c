#include "jobs/RowVerdict.h"

#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/RenameJobFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

FileStamp stampOf(const QString &path)
{
    FileStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return stamp;
    stamp.there = true;
    stamp.size = info.size();
    stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#else
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.there = true;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
#ifdef Q_OS_DARWIN
    const struct timespec &modified = st.st_mtimespec;
#else
    const struct timespec &modified = st.st_mtim;
#endif
    stamp.modifiedNs = qint64(modified.tv_sec) * 1000000000 + modified.tv_nsec;
#endif
    return stamp;
}

namespace {

/// Whether the user may do this to an existing path; the system's own answer where it has one,
/// so a read-only mount or an immutable folder counts as well as the permission bits.
bool mayAccess(const QString &path, bool write)
{
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    return write ? info.isWritable() : info.isReadable();
#else
    const int mode = write ? (W_OK | X_OK) : R_OK;
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
#endif
}

bool canWriteIn(const QString &folder)
{
    return QFileInfo(folder).isDir() && mayAccess(folder, true);
}

const QString MoveRefusedText = u"File move error. Read-only media, not enough rights or file in use"_s;
const QString FolderRefusedText = u"Path creation error. Read-only media or not enough rights."_s;

RowVerdict refused(RowVerdict::Refusal why, const QString &logText, const QString &detail)
{
    RowVerdict verdict;
    verdict.action = RowVerdict::Action::Refused;
    verdict.refusal = why;
    verdict.logText = logText;
    verdict.detail = detail;
    return verdict;
}

/// The verdict on an existing destination that is not the row's file to move onto.
RowVerdict onExistingDestination(const QString &source, const QString &destination)
{
    RowVerdict verdict;
    if (RenameJobFiles::sameObject(source, destination)) {
        verdict.action = RowVerdict::Action::InPlace;
        verdict.logText = u"Destination file already exists"_s + u". File size is the same"_s;
        return verdict;
    }
    // finishInterruptedMove leaves a read-only source where it is, and removing the source
    // needs its folder's leave too.
    if (Common::isInterruptedMoveCopy(source, destination)
        && QFileInfo(source).permissions().testFlag(QFileDevice::WriteOwner)
        && canWriteIn(Common::getFolderPath(source))) {
        verdict.action = RowVerdict::Action::FinishMove;
        verdict.logText = u"Destination file already exists"_s
            + u". It is the complete copy left by an interrupted move: the move is finished."_s;
        return verdict;
    }
    // A byte-for-byte copy of a different file is not this row's file: both stay.
    const QString detail = u"another file already has its new name: "_s + destination;
    if (Common::sameContent(source, destination)) {
        verdict = refused(RowVerdict::Refusal::DestinationTaken,
                          u"An identical copy of this file already exists at the destination. "
                          u"Both files are left as they are."_s,
                          detail);
        verdict.warningOnly = true;
        return verdict;
    }
    const bool sameSize = RenameJobFiles::sizeInKilobytes(source) == RenameJobFiles::sizeInKilobytes(destination);
    return refused(RowVerdict::Refusal::DestinationTaken,
                   u"Destination file already exists"_s
                       + (sameSize ? u". File content is different."_s : u". File size is different."_s),
                   detail);
}

} // namespace

QStringList missingFolderLevels(const QString &folder)
{
    QStringList levels;
    QString level = QDir::cleanPath(folder);
    while (!level.isEmpty() && !Common::folderExists(level)) {
        levels.append(level);
        const QString parent = QFileInfo(level).path();
        if (parent == level)
            break;
        level = parent;
    }
    return levels;
}

QString folderCreationProblem(const QString &folder, const QStringList &toCreate)
{
    for (const QString &level : toCreate) {
        if (QFileInfo::exists(level))
            return u"the folder "_s + level + u" cannot be created: a file of that name is in the way"_s;
    }
    if (toCreate.isEmpty()) {
        if (!canWriteIn(folder))
            return u"its new folder cannot be written (read-only or no permission): "_s + folder;
        return {};
    }
    const QString top = toCreate.first();
    const QString parent = QFileInfo(top).path();
    if (!canWriteIn(parent))
        return u"the folder "_s + top + u" cannot be created (read-only or no permission in "_s + parent + u')';
    return {};
}

RowVerdict decideRow(const QString &fileName, const QString &source, const QString &destination,
                     const RowContext &context)
{
    using Refusal = RowVerdict::Refusal;
    RowVerdict verdict = [&] {
        // A row names a file inside the listed folder: a name that would reach outside it (or
        // the folder itself) is no file of the list.
        if (fileName.isEmpty() || fileName == u"."_s || fileName == u".."_s || fileName.contains(u'/')
            || fileName.contains(Common::separator()) || !QFileInfo(source).isFile())
            return refused(Refusal::SourceUnusable, u"Source file not found"_s,
                           u"the file is not in the folder any more"_s);
        if (!mayAccess(source, false))
            return refused(Refusal::SourceUnusable, u"Source file cannot be read. Not enough rights."_s,
                           u"the file cannot be read (no permission)"_s);
        // A name the destination's file system cannot hold would fail later with a misleading cause.
        if (const QString tooLong = TemporaryFiles::tooLongMessage(destination); !tooLong.isEmpty())
            return refused(Refusal::NameTooLong, tooLong, tooLong);
        if (context.sameDestinationNumber > 0)
            return refused(Refusal::SameDestination,
                           u"File %1 (%2) gets the same new name first: this file is left as it is."_s
                               .arg(context.sameDestinationNumber)
                               .arg(context.sameDestinationName),
                           u"it would get the same new name as file %1 (%2): %3"_s.arg(context.sameDestinationNumber)
                               .arg(context.sameDestinationName, destination));

        const QFileInfo target(destination);
        const bool caseOnly = source != destination && source.compare(destination, Qt::CaseInsensitive) == 0
            && RenameJobFiles::sameObject(source, destination);
        if ((target.exists() || target.isSymLink()) && !context.destinationLeaves && !caseOnly)
            return onExistingDestination(source, destination);

        // Moving a file out of a folder writes that folder too.
        const QString sourceFolder = Common::getFolderPath(source);
        const QString folder = QDir::cleanPath(Common::getFolderPath(destination));
        if (!RenameJobFiles::sameFolder(sourceFolder, folder) && !canWriteIn(sourceFolder))
            return refused(Refusal::FolderNotWritable, MoveRefusedText,
                           u"the file cannot be moved out of its folder (read-only or no permission): "_s + sourceFolder);
        const QStringList missing = missingFolderLevels(folder);
        if (const QString problem = folderCreationProblem(folder, QStringList(missing.crbegin(), missing.crend()));
            !problem.isEmpty())
            return refused(Refusal::FolderNotWritable, missing.isEmpty() ? MoveRefusedText : FolderRefusedText,
                           problem);
        return RowVerdict {};
    }();
    verdict.source = stampOf(source);
    verdict.destination = verdict.action == RowVerdict::Action::Move && context.destinationLeaves
        ? FileStamp {}
        : stampOf(destination);
    return verdict;
}

bool renamesFolderCase(const QString &sourceFolder, const QString &firstDestination)
{
    const bool caseOnly = firstDestination != sourceFolder
        && firstDestination.compare(sourceFolder, Qt::CaseInsensitive) == 0;
    // A different folder of that spelling (case-sensitive systems) is used as it is.
    return caseOnly && Common::folderExists(sourceFolder)
        && (!Common::folderExists(firstDestination) || RenameJobFiles::sameObject(firstDestination, sourceFolder));
}

bool oldFolderStays(const QString &sourceFolder, const QString &firstDestination)
{
    return RenameJobFiles::sameFolder(firstDestination, sourceFolder) || renamesFolderCase(sourceFolder, firstDestination);
}
