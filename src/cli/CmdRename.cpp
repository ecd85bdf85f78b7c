// varnelt-cli rename DIR [options]
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/LogPrinter.h"
#include "cli/LookupPlan.h"
#include "cli/RenameOptions.h"
#include "cli/RenamePlan.h"
#include "foundation/Common.h"
#include "foundation/Settings.h"
#include "jobs/AlbumRenameJob.h"
#include "naming/MaskFiles.h"
#include "naming/MaskLanguage.h"
#include "naming/NameBuilder.h"

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
    const QList<MaskEntry> entries = readMaskInfo();
    // Unlike the window, the command line falls back on the list's first mask, not the key's default.
    const MaskChoice choice = chooseRememberedMask(entries, Settings().value(SettingsKeys::LastMask.name));
    mask = choice.text;
    if (mask.isEmpty())
        return Cli::fail(u"no mask: give one with --mask"_s);
    return Cli::Success;
}

/// coverFile: the picture to copy as the album cover (--cover, or the cover a lookup downloaded).
RenameJobInput jobInput(const RenameCommandOptions &options, const RenamePlan &plan, const QString &mask,
                        const QString &coverFile)
{
    RenameJobInput input;
    input.rows = plan.rows;
    // The job and the name builder want the folder without a trailing separator.
    input.currentDirectory = QFileInfo(options.folder).absoluteFilePath();
    input.album = plan.album;
    input.naming.mask = mask;
    input.naming.destination = options.destination;
    input.naming.textEffect = options.textEffect;
    input.naming.replaceSpaces = options.replaceSpaces;
    input.tagVersions = options.id3Mode;
    // "ID3v1 Only" disables the total-tracks option, as the rename page does.
    input.totalTracks = options.totalTracks && options.id3Mode != TagVersions::V1Only;
    input.totalTrackText = plan.totalTracks;
    input.joliet = options.joliet;
    input.outputs.playlist = options.playlistDir.has_value();
    input.outputs.playlistDir = options.playlistDir.value_or(0);
    input.outputs.cover = !coverFile.isEmpty();
    input.outputs.coverShown = input.outputs.cover;
    input.outputs.coverDir = options.coverDir;
    input.outputs.coverDownloadFileName = coverFile.isEmpty() ? QString() : QFileInfo(coverFile).absoluteFilePath();
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
    RenamePlan plan;
    QString error;
    QString coverFile = options.coverFile;
    const int status = options.lookupUrl.isEmpty() ? buildRenamePlan(options, plan, error)
                                                   : buildLookupPlan(options, plan, coverFile, error);
    if (status != Cli::Success)
        return Cli::fail(error, status);

    const RenameJobInput input = jobInput(options, plan, mask, coverFile);
    if (options.dryRun) {
        for (int i = 0; i < input.rows.size(); ++i) {
            const RenameRow &row = input.rows.at(i);
            const TrackInput track{row.title, i + 1, row.fileName, row.trackText};
            QString path = buildNewFileName(input.album, input.naming, input.currentDirectory, track);
            // The path the job would give the file: shortened as it is when Joliet names are asked for.
            if (input.joliet)
                path = Common::getFolderPath(path) + Joliet::limitName(Common::getFileName(path), u".mp3"_s);
            Cli::out() << path << '\n';
        }
        Cli::out().flush();
        return Cli::Success;
    }

    ResultLog log;
    Cli::Progress progress;
    runAlbumRenameJob(input, log, [&](int done, int total) {
        progress.show(done, total, done > 0 && done <= input.rows.size() ? input.rows.at(done - 1).fileName : QString());
    });
    progress.finish();
    Cli::out() << logAsText(log);
    Cli::out() << ResultLog::summaryLine(log.renamedCount(), int(input.rows.size()), log.warningCount(),
                                         log.errorCount())
               << Qt::endl;
    return log.errorCount() > 0 ? Cli::JobErrors : Cli::Success;
}
