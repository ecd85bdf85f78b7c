#include "browser/LookupPoller.h"

#include "browser/PageBridge.h"
#include "lookup/LookupPoll.h"

#include <QPointer>
#include <QWebEnginePage>

LookupPoller::LookupPoller(QWebEnginePage *page, LookupContext &lookup, QObject *parent)
    : QObject(parent), page_(page), lookup_(lookup)
{
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        navigationCompleted(lookup_, url.toString());
        updateTimer();
    });
    connect(page_, &QWebEnginePage::loadFinished, this,
            [this](bool) { documentCompleted(lookup_, page_->url().toString()); });
    connect(&timer_, &QTimer::timeout, this, &LookupPoller::tick);
    updateTimer();
}

void LookupPoller::updateTimer()
{
    const int interval = lookup_.state.timerInterval;
    if (interval <= 0)
        timer_.stop();
    else if (!timer_.isActive() || timer_.interval() != interval)
        timer_.start(interval);
}

void LookupPoller::setPaused(bool paused)
{
    paused_ = paused;
}

void LookupPoller::tick()
{
    // A snapshot that does not answer (the engine still loading, a script error) is simply
    // asked for again at a later tick.
    if (paused_ || (snapshotPending_ && snapshotAsked_.elapsed() < 2000))
        return;
    snapshotPending_ = true;
    snapshotAsked_.start();
    PageBridge::takeSnapshot(page_, [this, guard = QPointer<LookupPoller>(this)](const HtmlDocument &doc) {
        if (!guard)
            return;
        snapshotPending_ = false;
        if (paused_)
            return;
        const bool finished = pollTick(doc, lookup_);
        PageBridge::carryOut(page_, lookup_.actions);
        updateTimer();
        if (finished)
            emit recordRead();
        else if (!lookup_.pendingRelease.isEmpty())
            fetchRelease(doc.url);
    });
}

void LookupPoller::fetchRelease(const QString &address)
{
    const QString id = std::exchange(lookup_.pendingRelease, QString());
    musicbrainz_.fetchRelease(lookup_.sites.musicbrainzService, id,
                              [this, address](const QByteArray &body, const QString &error) {
        if (paused_)
            return;
        QString problem = error;
        if (problem.isEmpty())
            problem = readMusicBrainzRelease(body, lookup_.sites.coverArtService, lookup_);
        if (!problem.isEmpty()) {
            emit readFailed(problem);
            return;
        }
        finishRecord(lookup_, address);
        updateTimer();
        emit recordRead();
    });
}
