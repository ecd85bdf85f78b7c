#include "cli/LookupRequest.h"

#include "cli/CliSupport.h"
#include "cli/LookupRun.h"
#include "cli/SearchLookup.h"
#include "foundation/Common.h"
#include "album/LookupHandOver.h"
#include "lookup/CoverDownload.h"

#include <QEventLoop>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

/// Downloads the cover to path; a failure is reported and leaves no file.
bool downloadCover(const QString &url, const QString &path)
{
    CoverDownload download;
    QEventLoop loop;
    QString error;
    QObject::connect(&download, &CoverDownload::finished, &loop, [&](const QString &problem) {
        error = problem;
        loop.quit();
    });
    download.start(url, path);
    loop.exec();
    if (!error.isEmpty())
        Cli::err() << "varnelt-cli: the cover could not be downloaded: " << url << " (" << error << ")" << Qt::endl;
    return error.isEmpty();
}

} // namespace

int buildLookupRequest(const RenameCommandOptions &options, RenameRequest &request, QString &coverFile, QString &error)
{
    LookupRunOptions run;
    run.folder = options.folder;
    run.url = options.captureUrl.isEmpty() ? options.lookupUrl : options.captureUrl;
    run.capture = !options.captureUrl.isEmpty();
    run.fromText = options.fromTextFile;
    run.only = options.only;
    run.autoOrder = options.pairing.isEmpty() ? options.autoOrder : options.pairing == u"auto";
    run.timeoutSeconds = options.lookupTimeout;
    LookupContext lookup;
    if (error = workingListFor(run, lookup.files); !error.isEmpty())
        return Cli::Usage;
    if (lookup.files.fileNames.isEmpty()) {
        error = u"no MP3 files in %1"_s.arg(options.folder);
        return Cli::Usage;
    }
    int score = 0;
    QList<PairScore> scores;
    if (options.search) {
        FolderEvidence evidence;
        QList<Candidate> candidates;
        if (!searchCandidates(options.folder, lookup.files, options.artist.value_or(QString()),
                              options.album.value_or(QString()), run.timeoutSeconds, evidence, candidates, error)) {
            error += u" Nothing renamed."_s;
            return Cli::JobErrors;
        }
        // --auto-order means --pairing auto here too; neither given, the search's best match.
        const PairingChoice pairing = options.pairing == u"position" ? PairingChoice::Position
                                      : run.autoOrder                ? PairingChoice::Auto
                                                                     : PairingChoice::Best;
        score = bestCandidateRecord(candidates.first(), evidence, pairing, lookup, scores);
    } else {
        if (!runLookup(run, lookup, score, error)) {
            error += error.endsWith(u'.') ? u" Nothing renamed."_s : u": nothing renamed"_s;
            return Cli::JobErrors;
        }
        if (options.pairing == u"best")
            score = pairLookupByBestMatch(options.folder, lookup, scores);
    }
    const AlbumRecord &record = lookup.record;
    const QString coverPath = record.coverUrl.isEmpty() ? QString() : coverDownloadPath(record.coverUrl);
    const bool coverShown = !coverPath.isEmpty() && downloadCover(record.coverUrl, coverPath);
    const LookupHandOver handOver = handOverLookup(record, QFileInfo(options.folder).absoluteFilePath(), coverShown);
    request.rows = handOver.rows;
    request.album = handOver.album;
    request.totalTracks = handOver.totalTracks;
    applyAlbumOptions(options, request.album);
    coverFile = handOver.coverDownloadFileName;
    if (request.rows.isEmpty()) {
        error = u"the lookup paired no file with a track: nothing renamed"_s;
        return Cli::JobErrors;
    }
    return Cli::Success;
}
