// varnelt-cli rename DIR [options]
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/LogPrinter.h"
#include "cli/LookupRequest.h"
#include "cli/RenameOptions.h"
#include "cli/RenameRequest.h"
#include "foundation/MessageGateway.h"
#include "foundation/Common.h"
#include "foundation/Settings.h"
#include "jobs/RenamePlan.h"
#include "naming/MaskFiles.h"
#include "naming/MaskLanguage.h"
#include "naming/NameBuilder.h"
#include "foundation/PrintableText.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

/// The mask of the run: --mask (checked as the mask editor checks it), else the remembered
/// "Last Mask", else the first mask of the drop-down.
int chooseMask(const RenameCommandOptions &options, QString &mask)
{
    if (options.mask) {
        const MaskCheck check = validateMask(*options.mask);
        if (!check.valid)
            return Cli::fail(u"--mask: %1"_s.arg(Cli::messageLine(Msg::Message{check.message, {}, {}, {}, {}})));
        mask = check.text;
        return Cli::Success;
    }
    QStringList problems;
    const QList<MaskEntry> entries = readMaskInfo(problems);
    for (const QString &problem : problems)
        Msg::showError(problem);
    // Unlike the window, the command line falls back on the list's first mask, not the key's default.
    const MaskChoice choice = chooseRememberedMask(entries, Settings().value(SettingsKeys::LastMask, QString()));
    mask = choice.text;
    if (mask.isEmpty())
        return Cli::fail(u"no mask: give one with --mask"_s);
    // A remembered mask is refused as the rename page refuses it, before a name is built from it:
    // a setting of megabytes would otherwise be expanded for every file.
    if (const QString tooLong = maskLengthProblem(mask); !tooLong.isEmpty())
        return Cli::fail(u"Last Mask: %1"_s.arg(tooLong));
    return Cli::Success;
}

/// coverFile: the picture to copy as the album cover (--cover, or the cover a lookup downloaded).
RenameJobInput jobInput(const RenameCommandOptions &options, const RenameRequest &request, const QString &mask,
                        const QString &coverFile)
{
    RenameJobInput input;
    input.rows = request.rows;
    // The job and the name builder want the folder without a trailing separator.
    input.currentDirectory = QFileInfo(options.folder).absoluteFilePath();
    input.album = request.album;
    input.naming.mask = mask;
    input.naming.destination = options.destination;
    input.naming.textEffect = options.textEffect;
    input.naming.replaceSpaces = options.replaceSpaces;
    input.tagVersions = options.id3Mode;
    // "ID3v1 Only" disables the total-tracks option, as the rename page does.
    input.totalTracks = options.totalTracks && options.id3Mode != TagVersions::V1Only;
    input.totalTrackText = request.totalTracks;
    input.joliet = options.joliet;
    input.id3v2Version = options.id3v2Version;
    // A profile embeds the cover when there is one; --embed-cover without one is refused earlier.
    input.embedCover.on = options.embedCover && !coverFile.isEmpty();
    input.embedCover.file = input.embedCover.on ? QFileInfo(coverFile).absoluteFilePath() : QString();
    input.embedCover.fit = options.coverFit;
    input.outputs.playlist = options.playlistDir.has_value();
    input.outputs.playlistDir = outputFolderOf(options.playlistDir.value_or(0));
    input.outputs.cover = !coverFile.isEmpty();
    input.outputs.coverShown = input.outputs.cover;
    input.outputs.coverDir = outputFolderOf(options.coverDir);
    input.outputs.coverDownloadFileName = coverFile.isEmpty() ? QString() : QFileInfo(coverFile).absoluteFilePath();
    input.outputs.html = options.htmlDir.has_value();
    input.outputs.htmlDir = outputFolderOf(options.htmlDir.value_or(0));
    return input;
}

} // namespace

int runRenameCommand(const QStringList &args)
{
    RenameCommandOptions options;
    if (const QString problem = parseRenameOptions(args, options); !problem.isEmpty())
        return Cli::fail(problem);
    if (!QFileInfo(options.folder).isDir())
        return Cli::fail(u"no such folder: %1"_s.arg(options.folder));
    if (!options.coverFile.isEmpty() && !QFileInfo(options.coverFile).isFile())
        return Cli::fail(u"no such cover file: %1"_s.arg(options.coverFile));
    Cli::installPresenter(options.yes);

    QString mask;
    if (const int status = chooseMask(options, mask); status != Cli::Success)
        return status;
    RenameRequest request;
    QString error;
    QString coverFile = options.coverFile;
    const int status = !options.fromLookup() ? buildRenameRequest(options, request, error)
                                             : buildLookupRequest(options, request, coverFile, error);
    if (status != Cli::Success)
        return Cli::fail(error, status);

    const AlbumRenamePlan plan = planAlbumRename(jobInput(options, request, mask, coverFile));
    if (options.dryRun) {
        for (const PlannedRename &row : plan.rows)
            Cli::out() << printableText(row.destination) << '\n';
        Cli::out().flush();
        return Cli::Success;
    }

    // Nobody is there to weigh the problems: they stop the run before anything changes, unless
    // --yes goes on anyway (the rows with problems then fail as the job logs them).
    // Warnings are printed, never counted: a run whose only findings are warnings goes on (and
    // --preflight ends with 0), as the job does the same with or without them.
    const QList<PreflightProblem> problems = preflightRenamePlan(plan);
    const QList<PreflightProblem> warnings = preflightAlbumWarnings(plan);
    if (options.preflight || !problems.isEmpty() || !warnings.isEmpty())
        Cli::out() << preflightAsText(plan, problems, options.preflight, warnings);
    if (options.preflight) {
        Cli::out().flush();
        return problems.isEmpty() ? Cli::Success : Cli::JobErrors;
    }
    if (!problems.isEmpty() && !options.yes) {
        Cli::out().flush();
        return Cli::fail(u"the pre-flight found problems; nothing was changed (--yes goes on anyway)"_s,
                         Cli::JobErrors);
    }

    const RenameList &rows = plan.input.rows;
    ResultLog log;
    Cli::Progress progress;
    const RenameJobOutcome outcome = executeRenamePlan(plan, log, [&](int done, int total) {
        progress.show(done, total, done > 0 && done <= rows.size() ? rows.at(done - 1).fileName : QString());
    });
    if (outcome.failure)
        Msg::ask(*outcome.failure);
    progress.finish();
    Cli::out() << logAsText(log);
    Cli::out() << ResultLog::summaryLine(log.renamedCount(), int(rows.size()), log.warningCount(),
                                         log.errorCount())
               << Qt::endl;
    return log.errorCount() > 0 ? Cli::JobErrors : Cli::Success;
}
