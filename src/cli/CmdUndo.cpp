// varnelt-cli undo [--list | ID]
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "foundation/PrintableText.h"
#include "jobs/JobJournal.h"
#include "jobs/RenameUndo.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

int listJobs()
{
    const QList<JournalContents> jobs = JobJournal::list();
    if (jobs.isEmpty())
        return Cli::fail(u"nothing to undo: no change is recorded"_s);
    for (const JournalContents &job : jobs) {
        Cli::out() << job.id << '\t' << job.date.toString(u"yyyy-MM-dd HH:mm:ss"_s) << '\t'
                   << RenameUndo::captionOf(job) << '\t' << printableText(job.folder) << '\t' << job.fileCount << '\t' << job.state() << '\n';
    }
    Cli::out().flush();
    return Cli::Success;
}

} // namespace

int runUndoCommand(const QStringList &args)
{
    static const QRegularExpression number(u"^[0-9]{1,9}$"_s);
    if (args.size() > 1 || (args.size() == 1 && args.first() != u"--list" && !number.match(args.first()).hasMatch()))
        return Cli::fail(u"undo takes nothing, --list or a job id: varnelt-cli undo [--list | ID]"_s);
    if (args.size() == 1 && args.first() == u"--list")
        return listJobs();

    const QString id = args.isEmpty() ? QString() : args.first();
    const UndoReport report = RenameUndo::undo(id);
    if (report.nothingToUndo)
        return Cli::fail(report.why);
    if (report.refused)
        return Cli::fail(report.why, Cli::JobErrors);
    for (const QString &line : report.restored)
        Cli::out() << "[restored] " << printableText(line) << '\n';
    for (const QString &line : report.left)
        Cli::out() << "[left] " << printableText(line) << '\n';
    Cli::out() << "Change " << report.id << " (" << printableText(report.description) << ")"
               << (report.complete() ? ": undone" : ": undone in part");
    // An outcome the journal does not keep would be undone again, or listed as interrupted.
    if (!report.notRecorded.isEmpty())
        Cli::out() << "; the outcome cannot be recorded in the journal: " << printableText(report.notRecorded);
    Cli::out() << Qt::endl;
    return report.complete() && report.notRecorded.isEmpty() ? Cli::Success : Cli::JobErrors;
}
