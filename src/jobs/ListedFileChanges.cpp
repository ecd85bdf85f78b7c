#include "jobs/ListedFileChanges.h"

#include "foundation/Common.h"
#include "foundation/DesktopTrash.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameJobFiles.h"
#include "jobs/TagBatch.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

QString folderOf(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absolutePath());
}

} // namespace

QString ListedFileChanges::renameFailureText()
{
    return u"File rename error. File name already exist, read-only media, not enough rights or file in use"_s;
}

QString ListedFileChanges::renameFile(const QString &from, const QString &to)
{
    // A name that is taken is refused before any journal is written: a journal of a rename that
    // never happened would take the place of the change an undo is meant for.
    const QFileInfo target(to);
    if ((target.exists() || target.isSymLink()) && !RenameJobFiles::sameObject(from, to))
        return renameFailureText();
    if (!Common::fileExists(from))
        return renameFailureText();
    const QString folder = folderOf(from);
    JobJournal journal;
    if (!journal.begin(ChangeKind::ListRename, folder, 1, {folder, folderOf(to)}))
        return TagBatch::journalFailureText(journal.error());
    if (!journal.recordFile(1, from, to, false)) {
        const QString error = journal.error();
        journal.discard();
        return TagBatch::journalFailureText(error);
    }
    if (Common::moveFile(from, to) != Common::MoveResult::Moved) {
        if (Common::fileExists(from) && !QFileInfo::exists(to))
            journal.discard();
        return renameFailureText();
    }
    journal.noteMoved(1, to);
    // The move leaves the bytes as they were: an undo that finds others (another program wrote
    // the file since) leaves the file alone instead of putting the old tags around new audio.
    if (const std::optional<JournalFile> record = journal.fileRecord(1); record && !record->hashBefore.isEmpty())
        journal.noteTaggedHash(1, record->hashBefore);
    journal.finish();
    return {};
}

ListedFileChanges::TrashOutcome ListedFileChanges::trashFiles(const QString &folder, const QStringList &paths)
{
    TrashOutcome outcome;
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList roots {root};
    for (const QString &path : paths)
        if (const QString dir = folderOf(path); !roots.contains(dir))
            roots.append(dir);
    JobJournal journal;
    const auto giveUp = [&] {
        outcome.error = TagBatch::journalFailureText(journal.error());
        outcome.notMoved = paths;
        journal.discard();
        return outcome;
    };
    // The records of all the files reach the disk together, before the first one moves.
    journal.hold();
    if (!journal.begin(ChangeKind::Trash, root, int(paths.size()), roots))
        return giveUp();
    QList<int> recorded;
    for (int k = 1; k <= paths.size(); ++k) {
        const QString &path = paths.at(k - 1);
        const QByteArray hash = Common::fileExists(path) ? JobJournal::hashFile(path) : QByteArray();
        if (hash.isEmpty()) {
            outcome.notMoved.append(path);
            continue;
        }
        if (!journal.recordTrash(k, path, hash))
            return giveUp();
        recorded.append(k);
    }
    if (!journal.commit())
        return giveUp();
    journal.hold();
    for (const int k : std::as_const(recorded)) {
        const QString &path = paths.at(k - 1);
        const QString landed = Common::moveToTrash(path);
        if (landed.isEmpty()) {
            outcome.notMoved.append(path);
            continue;
        }
        journal.noteTrashed(k, landed, Common::trashInfoOf(landed));
        ++outcome.moved;
    }
    journal.finish();
    if (outcome.moved > 0)
        outcome.journalId = journal.id();
    return outcome;
}
