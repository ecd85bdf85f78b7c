#include "cli/SearchLookup.h"

#include "cli/CliSupport.h"
#include "cli/LookupRun.h"
#include "lookup/AlbumSearch.h"
#include "lookup/BestMatch.h"
#include "lookup/FileEvidence.h"
#include "lookup/MusicBrainzRelease.h"
#include "lookup/TrackOrdering.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

using namespace Qt::StringLiterals;

bool parseSearchOption(const QStringList &args, int &i, LookupRunOptions &options, QString &error)
{
    const QString &arg = args.at(i);
    if (arg == u"--search") {
        options.search = true;
        return true;
    }
    if (arg == u"--best") {
        options.best = true;
        return true;
    }
    if (arg != u"--artist" && arg != u"--album" && arg != u"--pairing")
        return false;
    if (i + 1 >= args.size()) {
        error = u"%1 needs a value"_s.arg(arg);
        return true;
    }
    const QString value = args.at(++i);
    if (arg == u"--artist") {
        options.searchArtist = value;
    } else if (arg == u"--album") {
        options.searchAlbum = value;
    } else if (value == u"position") {
        options.pairing = PairingChoice::Position;
        options.autoOrder = false;
    } else if (value == u"auto") {
        options.pairing = PairingChoice::Auto;
        options.autoOrder = true;
    } else if (value == u"best") {
        options.pairing = PairingChoice::Best;
        options.autoOrder = false;
    } else {
        error = u"--pairing takes position, auto or best, not '%1'"_s.arg(value);
    }
    return true;
}

bool searchCandidates(const QString &folder, const WorkingList &files, const QString &artist, const QString &album,
                      int timeoutSeconds, FolderEvidence &evidence, QList<Candidate> &candidates, QString &failure)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    evidence = folderEvidence(path, readFileEvidence(path, files.filesInPairingOrder()), artist, album);
    AlbumSearch search;
    QEventLoop loop;
    bool done = false;
    QObject::connect(&search, &AlbumSearch::finished, &loop, [&](const QList<Candidate> &found, const QString &why) {
        candidates = found;
        failure = why;
        done = true;
        loop.quit();
    });
    search.start(evidence, SiteTable::fromSettings().musicbrainzService, timeoutSeconds * 1000);
    if (!done)
        loop.exec();
    return !candidates.isEmpty();
}

int bestCandidateRecord(const Candidate &candidate, const FolderEvidence &evidence, PairingChoice pairing,
                        LookupContext &lookup, QList<PairScore> &scores)
{
    const QString cover = SiteTable::fromSettings().coverArtService;
    if (pairing == PairingChoice::Best) {
        lookup.record = recordForCandidate(candidate, lookup.files, evidence, cover, &scores);
        return orderTracks(lookup.record.rows, true);
    }
    fillRecordFromRelease(candidate.release, candidate.medium, cover, lookup);
    addNotFoundRows(lookup.record, lookup.files);
    return orderTracks(lookup.record.rows, pairing != PairingChoice::Auto);
}

int pairLookupByBestMatch(const QString &folder, LookupContext &lookup, QList<PairScore> &scores)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    scores = pairByBestMatch(lookup.record, readFileEvidence(path, lookup.files.filesInPairingOrder()));
    return orderTracks(lookup.record.rows, true);
}

void printLookupRecord(const AlbumRecord &r, int score, const QList<PairScore> &scores)
{
    QTextStream &out = Cli::out();
    out << "artist: " << r.artist << '\n' << "album: " << r.album << '\n' << "genre: " << r.genre << '\n'
        << "year: " << r.year << '\n' << "cover: " << r.coverUrl << '\n';
    for (int i = 0; i < r.rows.size(); ++i) {
        const TrackRow &row = r.rows.at(i);
        out << row.text << '\t' << row.fileName;
        if (!scores.isEmpty() && i < scores.size() && !scores.at(i).reason.isEmpty())
            out << '\t' << scores.at(i).score << '\t' << scores.at(i).reason;
        out << '\n';
    }
    out << albumScoreText(score) << Qt::endl;
}

int runSearchCommand(const LookupRunOptions &options)
{
    LookupContext lookup;
    if (const QString problem = workingListFor(options, lookup.files); !problem.isEmpty())
        return Cli::fail(problem);
    if (lookup.files.fileNames.isEmpty())
        return Cli::fail(u"no MP3 files in %1"_s.arg(options.folder));
    FolderEvidence evidence;
    QList<Candidate> candidates;
    QString failure;
    if (!searchCandidates(options.folder, lookup.files, options.searchArtist, options.searchAlbum,
                          options.timeoutSeconds, evidence, candidates, failure)) {
        Cli::err() << "varnelt-cli: " << failure << Qt::endl;
        return Cli::JobErrors;
    }
    if (!options.best) {
        for (const Candidate &c : std::as_const(candidates)) {
            // A tab or a line break inside a value would break the columns.
            auto clean = [](QString text) { return text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' '); };
            Cli::out() << c.score << '\t' << c.hit.id << '\t' << clean(c.release.artist) << '\t' << clean(c.release.title)
                       << '\t' << clean(c.release.year) << '\t' << c.trackCount() << '\n';
        }
        Cli::out().flush();
        return Cli::Success;
    }
    QList<PairScore> scores;
    const int score = bestCandidateRecord(candidates.first(), evidence, options.pairing.value_or(PairingChoice::Best),
                                          lookup, scores);
    printLookupRecord(lookup.record, score, scores);
    return Cli::Success;
}
