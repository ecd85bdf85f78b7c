#include "jobs/RenameUndo.h"

#include "audio/Mp3FileBytes.h"
#include "foundation/Common.h"
#include "foundation/DesktopTrash.h"
#include "foundation/FolderLock.h"
#include "foundation/TemporaryFiles.h"
#include "jobs/RenameJobFiles.h"
#include "jobs/TagBytesRestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

using RenameJobFiles::withoutTrailingSeparator;

/// The folders a job may change, and whether a path the journal names lies inside them.
class Scope
{
public:
    explicit Scope(const QStringList &roots)
    {
        for (const QString &root : roots)
            if (plainPath(root))
                roots_.append(resolved(withoutTrailingSeparator(root)));
    }

    /// Empty when the undo may act on the path; else why not, for the report.
    [[nodiscard]] QString refusal(const QString &path) const
    {
        if (!plainPath(path))
            return u"refused, the journal names no plain path"_s;
        const QString real = resolved(withoutTrailingSeparator(path));
        for (const QString &root : roots_)
            if (inside(real, root))
                return {};
        return u"refused, it lies outside the folders of the job"_s;
    }

    /// True when the path is inside the job's folders or above one of them (a folder level the
    /// job made on its way to the destination).
    [[nodiscard]] bool holdsOrLeadsTo(const QString &path) const
    {
        if (!plainPath(path))
            return false;
        const QString real = resolved(withoutTrailingSeparator(path));
        for (const QString &root : roots_)
            if (inside(real, root) || inside(root, real))
                return true;
        return false;
    }

    /// An absolute path without "." or ".." levels.
    static bool plainPath(const QString &path)
    {
        if (path.isEmpty() || !QDir::isAbsolutePath(path) || path.contains(QChar(0)))
            return false;
#ifdef Q_OS_WIN
        const QStringList levels = QString(path).replace(u'\\', u'/').split(u'/');
#else
        const QStringList levels = path.split(u'/');
#endif
        for (const QString &level : levels)
            if (level == u"."_s || level == u".."_s)
                return false;
        return true;
    }

private:
    static bool inside(const QString &path, const QString &root)
    {
        if (root == u"/"_s)
            return path.startsWith(u'/');
        return path == root || (path.startsWith(root) && path.at(root.size()) == u'/');
    }

    /// The path with every link followed: the deepest level that exists resolved, the rest as
    /// named. A link that leads nowhere is taken as what it names.
    QString resolved(const QString &path) const
    {
        const QFileInfo info(path);
        if (info.isSymLink()) {
            const QString target = info.symLinkTarget();
            return target.isEmpty() || target == path ? path : resolved(target);
        }
        const QString parent = info.path();
        if (parent == path || parent.isEmpty())
            return path;
        auto known = folders_.constFind(parent);
        if (known == folders_.constEnd()) {
            const QFileInfo folder(parent);
            QString real = folder.isDir() && !folder.isSymLink() ? folder.canonicalFilePath() : QString();
            if (real.isEmpty())
                real = resolved(parent);
            known = folders_.insert(parent, real);
        }
        return *known == u"/"_s ? QString(u'/' + info.fileName()) : QString(*known + u'/' + info.fileName());
    }

    QStringList roots_;
    mutable QHash<QString, QString> folders_;
};

/// The temporary copies a kill left in the folders the undo goes through, each folder listed
/// once (an album of many files is not listed again for every file).
class Leftovers
{
public:
    /// Deletes the temporary copies made for a path (a move between file systems, a tag
    /// rewrite, an output written beside the one it replaces).
    void dropFor(const QString &path)
    {
        const QFileInfo target(path);
        QStringList *names = namesIn(target.absolutePath());
        for (auto it = names->begin(); it != names->end();) {
            if (TemporaryFiles::belongsTo(*it, target.fileName()) && QFile::remove(target.dir().filePath(*it)))
                it = names->erase(it);
            else
                ++it;
        }
    }

    /// Whether temporary copies were made for a path.
    bool hasCopiesFor(const QString &path)
    {
        const QFileInfo target(path);
        const QStringList *names = namesIn(target.absolutePath());
        return std::any_of(names->cbegin(), names->cend(),
                           [&](const QString &name) { return TemporaryFiles::belongsTo(name, target.fileName()); });
    }

    /// Puts back over `path` the original a tag rewrite kept linked beside it (a kill or a power
    /// cut came before the change's one sync): the temporary file made for it whose bytes hash to
    /// `hash`. True when one was put back.
    bool takeKeptOriginal(const QString &path, const QByteArray &hash)
    {
        const QFileInfo target(path);
        QStringList *names = namesIn(target.absolutePath());
        for (auto it = names->begin(); it != names->end(); ++it) {
            const QString kept = target.dir().filePath(*it);
            // Only a file of its own: a link would put a link in the file's place.
            if (TemporaryFiles::belongsTo(*it, target.fileName()) && !QFileInfo(kept).isSymLink()
                && JobJournal::hashFile(kept) == hash
                && TemporaryFiles::renameOver(kept, path).isEmpty()) {
                names->erase(it);
                return true;
            }
        }
        return false;
    }

private:
    QStringList *namesIn(const QString &folder)
    {
        auto names = listed_.find(folder);
        if (names == listed_.end())
            names = listed_.insert(folder, TemporaryFiles::inFolder(folder));
        return &*names;
    }

    QHash<QString, QStringList> listed_;
};

/// Whether a file holds what a power cut leaves of new bytes that never reached the disk:
/// nothing, or zeros where its start should be.
bool lostInACrash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4096);
    return std::all_of(head.cbegin(), head.cend(), [](char c) { return c == 0; });
}

/// Gives a file its recorded permission bits; a value no music file has is not given.
void restoreMode(const JournalFile &f, UndoReport &report)
{
    if (f.mode < 0)
        return;
    if ((f.mode & ~0777) != 0) {
        report.left.append(f.from + u": its recorded permissions %1 are refused (no set-id or sticky bits, "
                                    u"nothing beyond 0777); they are left as they are"_s
                                        .arg(f.mode, 0, 8));
        return;
    }
#ifdef Q_OS_UNIX
    ::chmod(QFile::encodeName(f.from).constData(), mode_t(f.mode));
#endif
}

/// What one undo works with.
struct Undo
{
    const JournalContents &job;
    Scope scope;
    Leftovers leftovers;
    UndoReport &report;

    void file(const JournalFile &f);
    bool makeSourceFolder(const QString &path);
    void output(const JournalOutput &out);
    void oldFolder(const JournalOldFolder &old);
    void folders(const QStringList &levels);
    void caseFolder(const JournalContents::CaseFolder &step);
    void trash(const JournalTrashed &t);
    void damage();
};

/// The folder of the file's old path made again when it is gone (the user removed it, or the
/// record of the old folder's removal was lost), when it is the folder the job listed.
bool Undo::makeSourceFolder(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (Common::folderExists(folder))
        return true;
    if (QDir::cleanPath(folder).compare(QDir::cleanPath(job.folder), Qt::CaseInsensitive) != 0)
        return false;
    if (!QDir().mkpath(folder))
        return false;
    report.restored.append(u"Old folder made again: "_s + folder);
    return true;
}

/// Puts a file back at its old path and the bytes it had; appends to the report.
void Undo::file(const JournalFile &f)
{
    // Another file stood at the destination: this one never moved and was never tagged.
    if (f.destinationTaken)
        return;
    for (const QString &path : {f.from, f.to}) {
        if (const QString refused = scope.refusal(path); !refused.isEmpty()) {
            report.left.append(path + u": "_s + refused);
            return;
        }
    }
    QString current = f.from;
    // A rewrite whose new bytes may not have reached the disk left the original linked beside
    // the file: it is the file as it was, unless the file was changed since the job.
    if (const QString at = Common::fileExists(f.to) ? f.to : f.from; leftovers.hasCopiesFor(at)) {
        const QByteArray now = JobJournal::hashFile(at);
        if (now != f.hashBefore && (f.hashAfter.isEmpty() || now == f.hashAfter || lostInACrash(at))
            && leftovers.takeKeptOriginal(at, f.hashBefore))
            report.restored.append(u"Restored from the copy kept beside it: "_s + at);
    }
    // A copy a kill left beside the file (a move between file systems, a tag rewrite) goes,
    // wherever the file was written.
    leftovers.dropFor(f.to);
    if (!f.inPlace) {
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
    if (before.isEmpty()) {
        report.left.append(current + u": left, it cannot be read"_s);
        return;
    }
    const bool rewritten = before != f.hashBefore;
    const QString foundAt = current;
    const auto moveBack = [&] {
        if (!makeSourceFolder(f.from)) {
            report.left.append(current + u": left, its old folder cannot be made again"_s);
            return false;
        }
        if (const Common::MoveResult moved = Common::moveFile(current, f.from); moved != Common::MoveResult::Moved) {
            const QString cause = Common::lastMoveError();
            report.left.append(current + u": left, it cannot be moved back to "_s + f.from
                               + (cause.isEmpty() ? QString() : u": "_s + cause));
            return false;
        }
        current = f.from;
        return true;
    };
    // A file that holds what the job left (or still its old bytes) moves back first and gets its
    // old tags where it was: the disk it was moved to may be the one that is full.
    if (current != f.from && (!rewritten || (!f.hashAfter.isEmpty() && before == f.hashAfter)) && !moveBack())
        return;
    const FileRestore bytes = restoreTagBytes(f, current);
    if (!bytes.ok) {
        report.left.append(current + u": left, "_s + bytes.message);
        return;
    }
    if (current != f.from && !moveBack())
        return;
    restoreMode(f, report);
    if (rewritten || foundAt != f.from)
        report.restored.append(u"Restored: "_s + f.from);
}

void Undo::output(const JournalOutput &out)
{
    if (const QString refused = scope.refusal(out.path); !refused.isEmpty()) {
        report.left.append(out.path + u": "_s + refused);
        return;
    }
    if (out.existed && JobJournal::hashBytes(out.oldBytes) != out.oldHash) {
        report.left.append(out.path + u": refused, its record does not hold the earlier file"_s);
        return;
    }
    leftovers.dropFor(out.path);
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

void Undo::oldFolder(const JournalOldFolder &old)
{
    if (const QString refused = scope.refusal(old.folder); !refused.isEmpty()) {
        report.left.append(old.folder + u": "_s + refused);
        return;
    }
    // The clean-up only ever removed files of the folder itself, under plain names.
    for (const JournalOldFolder::Entry &entry : old.entries) {
        const bool plainName = !entry.name.isEmpty() && entry.name != u"."_s && entry.name != u".."_s
            && !entry.name.contains(u'/') && !entry.name.contains(u'\\') && !entry.name.contains(QChar(0));
        const QString refused = !plainName ? u"refused, the journal names no plain file name"_s
            : entry.movedTo.isEmpty()      ? QString()
                                           : scope.refusal(entry.movedTo);
        if (!refused.isEmpty()) {
            report.left.append(old.folder + u": "_s + entry.name + u": "_s + refused);
            return;
        }
    }
    if (!Common::folderExists(old.folder)) {
        if (!QDir().mkpath(old.folder)) {
            report.left.append(old.folder + u": left, the removed old folder cannot be made again"_s);
            return;
        }
        report.restored.append(u"Old folder made again: "_s + old.folder);
    }
    for (const JournalOldFolder::Entry &entry : old.entries) {
        const QString path = QDir(old.folder).filePath(entry.name);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
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

void Undo::folders(const QStringList &levels)
{
    for (const QString &level : levels) {
        if (!scope.holdsOrLeadsTo(level)) {
            report.left.append(level + u": refused, it lies outside the folders of the job"_s);
            return;
        }
    }
    for (auto it = levels.crbegin(); it != levels.crend(); ++it) {
        const QString level = withoutTrailingSeparator(*it);
        if (!Common::folderExists(level) || QFileInfo(level).isSymLink())
            continue;
        if (!QDir().rmdir(level)) {
            report.left.append(level + u": left, the folder the job made is not empty"_s);
            return; // the levels above hold it
        }
        report.restored.append(u"Folder removed: "_s + level);
    }
}

void Undo::caseFolder(const JournalContents::CaseFolder &step)
{
    const QString from = withoutTrailingSeparator(step.from);
    const QString via = withoutTrailingSeparator(step.via);
    const QString to = withoutTrailingSeparator(step.to);
    // The job renames only the folder it listed, to another letter case of its name.
    const bool ownStep = QDir::cleanPath(from) == QDir::cleanPath(job.folder)
        && from.compare(to, Qt::CaseInsensitive) == 0 && via == from + QString::fromUtf16(Common::CaseRenameSuffix);
    for (const QString &path : {from, via, to}) {
        const QString refused = ownStep ? scope.refusal(path) : u"refused, it is no letter-case rename of the job's folder"_s;
        if (!refused.isEmpty()) {
            report.left.append(path + u": "_s + refused);
            return;
        }
    }
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

/// Moves a trashed file back to its place, when the place is free and the trash still holds the
/// very bytes the journal recorded, and removes the trash's description of it.
void Undo::trash(const JournalTrashed &t)
{
    if (const QString refused = scope.refusal(t.path); !refused.isEmpty()) {
        report.left.append(t.path + u": "_s + refused);
        return;
    }
    QString trashed = t.trashedPath;
    QString info = t.infoPath;
    if (trashed.isEmpty()) {
        // No note says where it went: the change stopped before the move, or right after it.
        if (QFileInfo::exists(t.path) || QFileInfo(t.path).isSymLink())
            return;
        for (const QString &candidate : Common::foundInTrash(t.path)) {
            if (JobJournal::hashFile(candidate) == t.hash) {
                trashed = candidate;
                info = Common::trashInfoOf(candidate);
                break;
            }
        }
        if (trashed.isEmpty()) {
            report.left.append(t.path + u": left, it is neither at its place nor found in the trash"_s);
            return;
        }
    }
    // The journal's word for where the file went is taken only for a file of a trash, beside
    // the description that trash keeps of it.
    const QFileInfo inTrash(trashed);
    if (!Scope::plainPath(trashed) || (inTrash.exists() && (inTrash.isSymLink() || !inTrash.isFile()))
        || (inTrash.exists() && !Common::isInsideTrash(trashed)) || info != Common::trashInfoOf(trashed)) {
        report.left.append(trashed + u": refused, the journal names no file of a trash"_s);
        return;
    }
    if (!inTrash.exists()) {
        if (JobJournal::hashFile(t.path) != t.hash)
            report.left.append(t.path + u": left, it is neither at its place nor in the trash at "_s + trashed);
        return; // already back
    }
    if (QFileInfo::exists(t.path) || QFileInfo(t.path).isSymLink()) {
        report.left.append(trashed + u": left in the trash, another file is at its place "_s + t.path);
        return;
    }
    if (inTrash.size() != t.size || JobJournal::hashFile(trashed) != t.hash) {
        report.left.append(trashed + u": left in the trash, it is not the file that was moved there"_s);
        return;
    }
    if (!makeSourceFolder(t.path)) {
        report.left.append(trashed + u": left in the trash, its folder cannot be made again"_s);
        return;
    }
    if (Common::moveFile(trashed, t.path) != Common::MoveResult::Moved) {
        const QString cause = Common::lastMoveError();
        report.left.append(trashed + u": left in the trash, it cannot be moved back to "_s + t.path
                           + (cause.isEmpty() ? QString() : u": "_s + cause));
        return;
    }
    if (QFileInfo(info).isFile() && !QFileInfo(info).isSymLink())
        QFile::remove(info);
    report.restored.append(u"Restored from the trash: "_s + t.path);
}

/// Names what damaged lines of the journal took with them.
void Undo::damage()
{
    for (const int line : job.damagedLines)
        report.left.append(u"%1: line %2 is damaged; what it recorded is not undone"_s.arg(job.path).arg(line));
    if (job.damagedLines.isEmpty())
        return;
    QSet<int> recorded;
    for (const JournalFile &f : job.files)
        recorded.insert(f.fileNumber);
    for (const JournalTrashed &t : job.trashed)
        recorded.insert(t.fileNumber);
    for (auto it = job.movedPaths.cbegin(); it != job.movedPaths.cend(); ++it)
        if (!recorded.contains(it.key()) && Common::fileExists(it.value()))
            report.left.append(it.value() + u": left, its record in the journal is damaged"_s);
}

} // namespace

UndoReport RenameUndo::undoJob(const JournalContents &job)
{
    UndoReport report;
    report.id = job.id;
    report.description = descriptionOf(job);
    if (!job.valid && !job.damagedLines.isEmpty()) {
        report.left.append(job.path + u": the job record is damaged; nothing of job %1 can be undone"_s.arg(job.id));
        return report;
    }
    if (job.valid && !job.kind) {
        report.refused = true;
        report.why = u"job %1 holds a kind of change this version does not know; it is left as it is"_s.arg(job.id);
        return report;
    }
    if (!job.valid || job.undoState == u"undone") {
        report.nothingToUndo = true;
        report.why = u"nothing to undo: job %1 was already undone"_s.arg(job.id);
        return report;
    }
    // A job still running (or another undo of it) holds these folders.
    const FolderLock lock(job.roots);
    if (!lock.isHeld()) {
        report.refused = true;
        report.why = FolderLock::busyText();
        return report;
    }
    Undo undo {job, Scope(job.roots), {}, report};
    // Newest first. A job records its files ahead, before the folders it makes for them: the
    // files go back before any folder the job made is taken away, and the listed folder gets
    // its old name last.
    const auto stage = [](JournalStep::Kind kind) {
        return kind == JournalStep::Kind::CaseFolder ? 2 : kind == JournalStep::Kind::MakeFolders ? 1 : 0;
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (auto it = job.steps.crbegin(); it != job.steps.crend(); ++it) {
            if (stage(it->kind) != pass)
                continue;
            switch (it->kind) {
            case JournalStep::Kind::OldFolder: undo.oldFolder(job.oldFolders.at(it->index)); break;
            case JournalStep::Kind::Output: undo.output(job.outputs.at(it->index)); break;
            case JournalStep::Kind::File: undo.file(job.files.at(it->index)); break;
            case JournalStep::Kind::MakeFolders: undo.folders(job.madeFolders.at(it->index)); break;
            case JournalStep::Kind::CaseFolder: undo.caseFolder(job.caseFolders.at(it->index)); break;
            case JournalStep::Kind::Trash: undo.trash(job.trashed.at(it->index)); break;
            }
        }
    }
    undo.damage();
    QString error;
    if (!JobJournal::noteUndo(job.path, report.left.isEmpty(), &error))
        report.notRecorded = error.isEmpty() ? u"Unknown error"_s : error;
    return report;
}

std::optional<JournalContents> RenameUndo::nextToUndo(const QList<JournalContents> &journals)
{
    // Undoing twice takes back the last two changes: one undone is passed over, one undone in
    // part can be tried again.
    for (const JournalContents &job : journals)
        if (job.undoState != u"undone")
            return job;
    return std::nullopt;
}

std::optional<JournalContents> RenameUndo::nextToUndo()
{
    return nextToUndo(JobJournal::list());
}

QString RenameUndo::captionOf(const JournalContents &job)
{
    if (!job.valid)
        return u"Damaged change"_s;
    return job.kind ? ChangeKinds::caption(*job.kind) : u"Unknown change"_s;
}

QString RenameUndo::descriptionOf(const JournalContents &job)
{
    // A folder path of the longest a file system allows still fits.
    constexpr qsizetype Longest = 4200;
    QString text = job.description;
    if (text.isEmpty())
        text = job.valid && job.kind ? ChangeKinds::describe(*job.kind, job.fileCount, job.folder)
                                     : captionOf(job) + u" "_s + job.id;
    if (text.size() > Longest)
        text = text.first(Longest) + u"..."_s;
    return text;
}

UndoReport RenameUndo::undo(const QString &id)
{
    const QList<JournalContents> jobs = JobJournal::list();
    if (id.isEmpty()) {
        if (const std::optional<JournalContents> next = nextToUndo(jobs))
            return undoJob(JobJournal::read(next->path));
    } else {
        for (const JournalContents &job : jobs)
            if (job.id == id)
                return undoJob(JobJournal::read(job.path));
    }
    if (id.isEmpty() && !jobs.isEmpty()) {
        UndoReport none;
        none.nothingToUndo = true;
        none.id = jobs.first().id;
        none.why = u"nothing to undo: every recorded change was undone"_s;
        return none;
    }
    UndoReport none;
    none.nothingToUndo = true;
    none.id = id;
    none.why = id.isEmpty() ? u"nothing to undo: no change is recorded"_s
                            : u"nothing to undo: no change %1 is recorded"_s.arg(id);
    return none;
}
