#include "cli/LookupRequest.h"

#include "cli/CliSupport.h"
#include "cli/LookupRun.h"
#include "foundation/Common.h"
#include "jobs/LookupHandOver.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

/// Downloads the cover to path; a failure is reported and leaves no file.
bool downloadCover(const QString &url, const QString &path)
{
    // A cover larger than this is no cover: the download stops.
    constexpr qint64 MaxCoverBytes = 20 * 1024 * 1024;
    if (!Common::createFolderPath(Common::getFolderPath(path)))
        return false;
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(20000);
    QNetworkReply *reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxCoverBytes)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->deleteLater();
    const QByteArray bytes = reply->readAll();
    if (reply->error() != QNetworkReply::NoError || bytes.isEmpty() || bytes.size() > MaxCoverBytes) {
        Cli::err() << "varnelt-cli: the cover could not be downloaded: " << url << Qt::endl;
        return false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

int buildLookupRequest(const RenameCommandOptions &options, RenameRequest &request, QString &coverFile, QString &error)
{
    LookupRunOptions run;
    run.folder = options.folder;
    run.url = options.lookupUrl;
    run.only = options.only;
    run.autoOrder = options.autoOrder;
    run.timeoutSeconds = options.lookupTimeout;
    LookupContext lookup;
    if (error = workingListFor(run, lookup.files); !error.isEmpty())
        return Cli::Usage;
    if (lookup.files.fileNames.isEmpty()) {
        error = u"no MP3 files in %1"_s.arg(options.folder);
        return Cli::Usage;
    }
    int score = 0;
    if (!runLookup(run, lookup, score)) {
        error = u"no album page was recognised within %1 s: nothing renamed"_s.arg(run.timeoutSeconds);
        return Cli::JobErrors;
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
