#include "lookup/AlbumSearch.h"

using namespace Qt::StringLiterals;

AlbumSearch::AlbumSearch(QObject *parent) : QObject(parent)
{
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        finish(u"The MusicBrainz web service did not answer within %1 s."_s.arg(deadline_.interval() / 1000));
    });
}

AlbumSearch::~AlbumSearch() = default;

void AlbumSearch::start(const FolderEvidence &evidence, const QString &service, int timeoutMs)
{
    cancel();
    running_ = true;
    ++generation_;
    client_ = new MusicBrainzClient(this);
    evidence_ = evidence;
    service_ = service;
    toRead_.clear();
    candidates_.clear();
    problems_.clear();
    deadline_.start(std::max(1000, timeoutMs));
    searchUrl_ = releaseSearchUrl(service, evidence, MaxResults);
    emit progress(u"Searching MusicBrainz for %1..."_s.arg(evidence.album));
    ask(searchUrl_, false, [this](const QByteArray &body, const QString &error) { searchAnswered(body, error); });
}

void AlbumSearch::cancel()
{
    deadline_.stop();
    running_ = false;
    ++generation_;
    // Its network manager goes with it, and with that every reply under way; later, since a
    // reply of it may be the one reporting now. Answers still coming are of an old generation.
    if (client_)
        client_->deleteLater();
    client_ = nullptr;
}

void AlbumSearch::ask(const QUrl &url, bool retried, std::function<void(const QByteArray &, const QString &)> then)
{
    const int generation = generation_;
    client_->fetch(url, [this, url, retried, generation, then](const QByteArray &body, int status, const QString &error) {
        if (generation != generation_)
            return;
        if (status == 503 && !retried) {
            // The service asks clients that go too fast to slow down: one pause, one more try.
            QTimer::singleShot(RetryPauseMs, this, [this, url, generation, then] {
                if (generation == generation_)
                    ask(url, true, then);
            });
            return;
        }
        if (status == 503)
            then({}, u"The MusicBrainz web service refused the request twice (HTTP status 503): it is busy; try again later."_s);
        else
            then(body, error);
    });
}

void AlbumSearch::searchAnswered(const QByteArray &body, const QString &error)
{
    if (!error.isEmpty()) {
        finish(error);
        return;
    }
    QList<SearchHit> hits;
    if (const QString problem = parseReleaseSearch(body, MaxResults, hits); !problem.isEmpty()) {
        finish(problem);
        return;
    }
    if (hits.isEmpty()) {
        finish(u"No album was found on MusicBrainz for \"%1\"."_s.arg(evidence_.album));
        return;
    }
    toRead_ = mostPromising(hits, evidence_, MaxCandidates);
    readNext();
}

void AlbumSearch::readNext()
{
    if (toRead_.isEmpty()) {
        finish(candidates_.isEmpty() ? problems_.value(0, u"No album was found on MusicBrainz."_s) : QString());
        return;
    }
    const SearchHit hit = toRead_.takeFirst();
    emit progress(u"Reading %1 - %2 (%3 left)..."_s.arg(hit.artist, hit.title).arg(toRead_.size()));
    ask(musicbrainzReleaseUrl(service_, hit.id), false, [this, hit](const QByteArray &body, const QString &error) {
        MbRelease release;
        const QString problem = error.isEmpty() ? parseMusicBrainzRelease(body, release) : error;
        if (problem.isEmpty())
            candidates_.append(scoreCandidate(hit, release, evidence_));
        else
            problems_.append(problem);
        readNext();
    });
}

void AlbumSearch::finish(const QString &error)
{
    if (!running_)
        return;
    QList<Candidate> found = candidates_;
    rankCandidates(found);
    cancel();
    emit finished(found, found.isEmpty() ? error : QString());
}
