#include "LastRenameUndo.h"

#include "foundation/MessageGateway.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"

#include <QApplication>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

const QString undoTitle = u"Undo last rename"_s;

/// The first lines of a list, then how many more there are, so a big album fits on the screen.
QString shortList(const QStringList &lines)
{
    constexpr int Shown = 15;
    QString text = lines.mid(0, Shown).join(u'\n');
    if (lines.size() > Shown)
        text += u"\n... and %1 more"_s.arg(lines.size() - Shown);
    return text;
}

} // namespace

bool LastRenameUndo::run()
{
    const QList<JournalContents> jobs = JobJournal::list();
    if (jobs.isEmpty() || jobs.first().undoState == u"undone") {
        Msg::ask(u"Nothing to undo: no rename job is recorded since the last undo."_s, undoTitle,
                 Msg::Icon::Information);
        return false;
    }
    const JournalContents &job = jobs.first();
    const QString question = u"Undo the rename of %1 file(s) from the folder\n%2\nmade on %3 ?\n"
                             u"Every file goes back to its old name, folder and tags; a file changed since "
                             u"then is left as it is."_s
                                 .arg(job.fileCount)
                                 .arg(job.folder, QLocale().toString(job.date, QLocale::ShortFormat));
    if (Msg::ask(question, undoTitle, Msg::Icon::Question, Msg::Buttons::YesNo, Msg::Answer::No) != Msg::Answer::Yes)
        return false;

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UndoReport report = RenameUndo::undoJob(JobJournal::read(job.path));
    QApplication::restoreOverrideCursor();
    if (report.refused) {
        Msg::ask(report.why, undoTitle, Msg::Icon::Exclamation);
        return false;
    }

    QString text = report.complete() ? u"The rename was undone."_s : u"The rename was undone in part."_s;
    // Each line says what was done ("Restored: ...", "Removed: ..."): the heading names neither.
    if (!report.restored.isEmpty())
        text += u"\n\nUndone:\n"_s + shortList(report.restored);
    if (!report.left.isEmpty())
        text += u"\n\nLeft as they are:\n"_s + shortList(report.left);
    if (!report.notRecorded.isEmpty())
        text += u"\n\nThe outcome cannot be recorded in the journal: "_s + report.notRecorded;
    const bool clean = report.complete() && report.notRecorded.isEmpty();
    Msg::ask(text, undoTitle, clean ? Msg::Icon::Information : Msg::Icon::Exclamation);
    return true;
}
