// The undo journal read in full and as a summary, then the undo planned and carried out on a
// scratch folder. Lines that start with "{" get the checksum they need, so the fuzzer reaches
// the records; "$ROOT" stands for the scratch folder. A journal naming anything outside the
// scratch folder is read but never undone: the undo would act on the machine's own files.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "jobs/RenameUndo.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

QByteArray framed(const QByteArray &input, const QByteArray &root)
{
    QByteArray text = input;
    text.replace("$ROOT", root);
    QByteArray out;
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith('{'))
            out += QCryptographicHash::hash(line, QCryptographicHash::Sha1).left(4).toHex() + ' ';
        out += line + '\n';
    }
    // The input's last piece had no line end: it stays torn.
    if (!text.endsWith('\n'))
        out.chop(1);
    return out;
}

bool inside(const QString &root, const QString &path)
{
    return path.isEmpty() || (QDir::isAbsolutePath(path) && QDir::cleanPath(path).startsWith(root + u'/'));
}

bool onlyInside(const QString &root, const JournalContents &c)
{
    bool ok = inside(root, c.folder) && inside(root, c.destination);
    for (const auto &cf : c.caseFolders)
        ok = ok && inside(root, cf.from) && inside(root, cf.via) && inside(root, cf.to);
    for (const QStringList &levels : c.madeFolders)
        for (const QString &level : levels)
            ok = ok && inside(root, level);
    for (const JournalFile &f : c.files)
        ok = ok && inside(root, f.from) && inside(root, f.to);
    for (const JournalOutput &o : c.outputs)
        ok = ok && inside(root, o.path);
    for (const JournalTrashed &t : c.trashed)
        ok = ok && inside(root, t.path) && inside(root, t.trashedPath) && inside(root, t.infoPath);
    for (const JournalOldFolder &old : c.oldFolders) {
        ok = ok && inside(root, old.folder);
        for (const auto &e : old.entries)
            ok = ok && inside(root, old.folder + u'/' + e.name) && inside(root, e.movedTo);
    }
    return ok;
}

} // namespace

int Fuzz::journal_undo(const std::uint8_t *data, std::size_t size)
{
    const QString root = FuzzSupport::freshScratch() + QStringLiteral("/disk");
    QDir().mkpath(root);
    const QByteArray text = framed(FuzzSupport::bytes(data, size), root.toUtf8());
    const QString path = FuzzSupport::writeFile(JobJournal::folder(), QStringLiteral("job-1.journal"), text);

    const JournalContents summary = JobJournal::readSummary(path);
    const JournalContents full = JobJournal::read(path);
    FUZZ_CHECK(!summary.valid || full.valid);
    for (const JournalStep &step : full.steps) {
        FUZZ_CHECK(step.index >= 0);
        switch (step.kind) {
        case JournalStep::Kind::CaseFolder: FUZZ_CHECK(step.index < full.caseFolders.size()); break;
        case JournalStep::Kind::MakeFolders: FUZZ_CHECK(step.index < full.madeFolders.size()); break;
        case JournalStep::Kind::File: FUZZ_CHECK(step.index < full.files.size()); break;
        case JournalStep::Kind::Output: FUZZ_CHECK(step.index < full.outputs.size()); break;
        case JournalStep::Kind::OldFolder: FUZZ_CHECK(step.index < full.oldFolders.size()); break;
        case JournalStep::Kind::Trash: FUZZ_CHECK(step.index < full.trashed.size()); break;
        }
    }
    (void)JobJournal::list();
    if (!full.valid || !onlyInside(root, full))
        return 0;
    // The moved files stand where the journal says, with the tags it recorded around some audio,
    // so the undo has something to put back.
    for (const JournalFile &f : full.files) {
        if (!f.to.isEmpty() && !QFileInfo::exists(f.to))
            FuzzSupport::writeFile(QFileInfo(f.to).absolutePath(), QFileInfo(f.to).fileName(),
                                   f.tagRegion + QByteArray(64, 'a') + f.trailer);
    }
    const UndoReport report = RenameUndo::undoJob(full);
    // Undone once, a second undo finds nothing more to do.
    if (report.complete()) {
        const UndoReport again = RenameUndo::undoJob(JobJournal::read(path));
        FUZZ_CHECK(again.nothingToUndo || again.restored.isEmpty());
    }
    return 0;
}
