#include "jobs/RenameUndo.h"

#include "audio/Mp3FileBytes.h"
#include "foundation/Common.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/RenameJobFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

using RenameJobFiles::withoutTrailingSeparator;

/// Deletes the temporary copies a kill left that were made for a path (a move between file
/// systems, a tag rewrite, an output written beside the one it replaces).
void dropTemporaryCopiesFor(const QString &path)
{
    const QFileInfo target(path);
    for (const QString &name : TemporaryFiles::inFolder(target.absolutePath()))
        if (TemporaryFiles::belongsTo(name, target.fileName()))
            QFile::remove(target.dir().filePath(name));
}

/// Puts a file back at its old path and the bytes it had; appends to the report.
void undoFile(const JournalFile &f, UndoReport &report)
{
    // Another file stood at the destination: this one never moved and was never tagged.
    if (f.destinationTaken)
        return;
    QString current = f.from;
    if (!f.inPlace) {
        dropTemporaryCopiesFor(f.to);
        const QString scratch = f.from + QString::fromUtf16(Common::CaseRenameSuffix);
        if (Common::fileExists(f.to) && Common::fileExists(f.from) && !RenameJobFiles::sameObject(f.to, f.from)) {
            // A move between file systems placed its copy but had not removed the source yet.
            if (JobJournal::hashFile(f.from) != f.hashBefore || !Common::sameContent(f.from, f.to)) {
                report.left.append(f.from + u": left, another file is at "_s + f.to);
                return;
            }
            QFile::remove(f.to);
        } else if (Common::fileExists(f.to)) {
            current = f.to;
        } else if (Common::fileExists(scratch) && !Common::fileExists(f.from)) {
            current = scratch; // caught in the middle of a letter-case rename
        } else if (!Common::fileExists(f.from)) {
            report.left.append(f.from + u": left, the file is neither at "_s + f.to + u" nor at its old path"_s);
            return;
        }
    }
    const QByteArray before = JobJournal::hashFile(current);
    const FileRestore bytes = RenameUndo::restoreBytes(f, current);
    if (!bytes.ok) {
        report.left.append(current + u": left, "_s + bytes.message);
        return;
    }
    const bool rewritten = before != f.hashBefore;
    if (current != f.from) {
        if (Common::moveFile(current, f.from) != Common::MoveResult::Moved) {
            report.left.append(current + u": left, it cannot be moved back to "_s + f.from);
            return;
        }
    }
    if (f.permissions != 0)
        QFile::setPermissions(f.from, QFile::Permissions(f.permissions));
    if (rewritten || current != f.from)
        report.restored.append(u"Restored: "_s + f.from);
}

void undoOutput(const JournalOutput &out, UndoReport &report)
{
    dropTemporaryCopiesFor(out.path);
    if (!Common::fileExists(out.path)) {
        // The job replaces an earlier file in one step: it can only be gone by another hand.
        if (out.existed) {
            if (const QString error = TemporaryFiles::writeInPlace(out.path, out.oldBytes); !error.isEmpty())
                report.left.append(out.path + u": left, the earlier file cannot be written back: "_s + error);
            else
                report.restored.append(u"Earlier file restored: "_s + out.path);
        }
        return;
    }
    const QByteArray hash = JobJournal::hashFile(out.path);
    if (out.existed && hash == out.oldHash)
        return;
    if (hash != out.newHash) {
        report.left.append(out.path + u": left, it was changed since the job"_s);
        return;
    }
    if (out.existed) {
        RenameJobFiles::clearReadOnly(out.path);
        if (const QString error = TemporaryFiles::writeInPlace(out.path, out.oldBytes); !error.isEmpty())
            report.left.append(out.path + u": left, the earlier file cannot be written back: "_s + error);
        else
            report.restored.append(u"Earlier file restored: "_s + out.path);
    } else if (QFile::remove(out.path)) {
        report.restored.append(u"Removed: "_s + out.path);
    } else {
        report.left.append(out.path + u": left, it cannot be removed"_s);
    }
}

void undoOldFolder(const JournalOldFolder &old, UndoReport &report)
{
    if (!Common::folderExists(old.folder)) {
        if (!QDir().mkpath(old.folder)) {
            report.left.append(old.folder + u": left, the removed old folder cannot be made again"_s);
            return;
        }
        report.restored.append(u"Old folder made again: "_s + old.folder);
    }
    for (const JournalOldFolder::Entry &entry : old.entries) {
        const QString path = QDir(old.folder).filePath(entry.name);
        if (QFileInfo::exists(path))
            continue;
        const QByteArray hash = JobJournal::hashBytes(entry.bytes);
        if (!entry.movedTo.isEmpty() && JobJournal::hashFile(entry.movedTo) == hash
            && Common::moveFile(entry.movedTo, path) == Common::MoveResult::Moved) {
            report.restored.append(u"Moved back into the old folder: "_s + path);
        } else if (TemporaryFiles::writeInPlace(path, entry.bytes).isEmpty()) {
            report.restored.append(u"Restored in the old folder: "_s + path);
        } else {
            report.left.append(path + u": left, it cannot be written back"_s);
        }
    }
}

void undoFolders(const QStringList &levels, UndoReport &report)
{
    for (auto it = levels.crbegin(); it != levels.crend(); ++it) {
        const QString level = withoutTrailingSeparator(*it);
        if (!Common::folderExists(level))
            continue;
        if (!QDir().rmdir(level)) {
            report.left.append(level + u": left, the folder the job made is not empty"_s);
            return; // the levels above hold it
        }
        report.restored.append(u"Folder removed: "_s + level);
    }
}

void undoCaseFolder(const JournalContents::CaseFolder &step, UndoReport &report)
{
    const QString from = withoutTrailingSeparator(step.from);
    const QString via = withoutTrailingSeparator(step.via);
    const QString to = withoutTrailingSeparator(step.to);
    if (Common::folderExists(via) && !Common::folderExists(from)) {
        if (QDir().rename(via, from))
            report.restored.append(u"Folder name restored: "_s + from);
        else
            report.left.append(via + u": left, it cannot get its name "_s + from + u" back"_s);
        return;
    }
    if (!Common::folderExists(to) || from == to
        || (Common::folderExists(from) && !RenameJobFiles::sameObject(from, to)))
        return;
    if (withoutTrailingSeparator(RenameJobFiles::renameFolderCase(to, via, from)) == from)
        report.restored.append(u"Folder name restored: "_s + from);
    else
        report.left.append(to + u": left, it cannot get its name "_s + from + u" back"_s);
}

} // namespace

FileRestore RenameUndo::restoreBytes(const JournalFile &entry, const QString &path)
{
    const QByteArray hash = JobJournal::hashFile(path);
    if (hash.isEmpty())
        return {false, path, u"it cannot be read"_s};
    if (hash == entry.hashBefore)
        return {true, path, {}};
    if (!entry.hashAfter.isEmpty() && hash != entry.hashAfter)
        return {false, path, u"it was changed since the job"_s};

    // The old tags around the present audio go into a new file beside it, hashed on the way
    // (the audio is streamed, never held whole); only a copy that hashes as the file did before
    // the job takes its place.
    const Mp3FileBytes layout(path);
    QFile current(path);
    if (!layout.isOpen() || !current.open(QIODevice::ReadOnly))
        return {false, path, u"it cannot be read"_s};
    const qint64 end = current.size() - (layout.hasV1() ? 128 : 0);
    if (layout.audioStart() > end || !current.seek(layout.audioStart()))
        return {false, path, u"it cannot be read"_s};
    QFile copy;
    if (!TemporaryFiles::openNewFor(copy, path, QIODevice::WriteOnly))
        return {false, path, u"its old bytes cannot be written back: "_s + copy.errorString()};
    JobJournal::Hasher rebuilt;
    QString failure;
    const auto put = [&](const QByteArray &bytes) {
        rebuilt.add(bytes);
        if (failure.isEmpty() && copy.write(bytes) != bytes.size())
            failure = u"its old bytes cannot be written back: "_s + copy.errorString();
    };
    put(entry.tagRegion);
    for (qint64 left = end - layout.audioStart(); left > 0 && failure.isEmpty();) {
        const QByteArray chunk = current.read(std::min<qint64>(left, 1 << 20));
        if (chunk.isEmpty())
            failure = u"it cannot be read"_s;
        left -= chunk.size();
        put(chunk);
    }
    put(entry.trailer);
    if (failure.isEmpty() && !copy.flush())
        failure = u"its old bytes cannot be written back: "_s + copy.errorString();
    if (failure.isEmpty() && rebuilt.result() != entry.hashBefore)
        failure = entry.hashAfter.isEmpty() ? u"its audio is not the original's"_s : u"it was changed since the job"_s;
    if (failure.isEmpty() && !TemporaryFiles::syncToDisk(int(copy.handle())))
        failure = u"its old bytes cannot be written back: Unable to write the file to the disk"_s;
    copy.close();
    if (failure.isEmpty()) {
        QFile::setPermissions(copy.fileName(), QFile::permissions(path) | QFile::WriteOwner);
        if (const QString error = TemporaryFiles::renameOver(copy.fileName(), path); !error.isEmpty())
            failure = u"its old bytes cannot be written back: "_s + error;
    }
    if (!failure.isEmpty()) {
        QFile::remove(copy.fileName());
        return {false, path, failure};
    }
    return {true, path, {}};
}

UndoReport RenameUndo::undoJob(const JournalContents &job)
{
    UndoReport report;
    report.id = job.id;
    if (!job.valid || job.undoState == u"undone") {
        report.nothingToUndo = true;
        report.why = u"nothing to undo: job %1 was already undone"_s.arg(job.id);
        return report;
    }
    for (auto it = job.steps.crbegin(); it != job.steps.crend(); ++it) {
        switch (it->kind) {
        case JournalStep::Kind::OldFolder: undoOldFolder(job.oldFolders.at(it->index), report); break;
        case JournalStep::Kind::Output: undoOutput(job.outputs.at(it->index), report); break;
        case JournalStep::Kind::File: undoFile(job.files.at(it->index), report); break;
        case JournalStep::Kind::MakeFolders: undoFolders(job.madeFolders.at(it->index), report); break;
        case JournalStep::Kind::CaseFolder: undoCaseFolder(job.caseFolders.at(it->index), report); break;
        }
    }
    JobJournal::noteUndo(job.path, report.left.isEmpty());
    return report;
}

UndoReport RenameUndo::undo(const QString &id)
{
    const QList<JournalContents> jobs = JobJournal::list();
    for (const JournalContents &job : jobs) {
        if (id.isEmpty() || job.id == id)
            return undoJob(JobJournal::read(job.path));
    }
    UndoReport none;
    none.nothingToUndo = true;
    none.id = id;
    none.why = id.isEmpty() ? u"nothing to undo: no rename job is recorded"_s
                            : u"nothing to undo: no rename job %1 is recorded"_s.arg(id);
    return none;
}
