#include "browser/LookupPageDriver.h"

#include "browser/PageBridge.h"
#include "lookup/LookupStates.h"

#include <QPointer>
#include <QWebEnginePage>

using namespace Qt::StringLiterals;

LookupPageDriver::LookupPageDriver(QWebEnginePage *page, LookupContext &lookup, QObject *parent)
    : QObject(parent), page_(page), lookup_(lookup)
{
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { snapshotAsked_.start(); });
    connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl &url) {
        snapshotAsked_.start();
        navigationCompleted(lookup_, url.toString());
        updateTimer();
    });
    connect(page_, &QWebEnginePage::loadFinished, this,
            [this](bool) { documentCompleted(lookup_, page_->url().toString()); });
    connect(&timer_, &QTimer::timeout, this, &LookupPageDriver::tick);
    // A page nested too deeply can end the engine's renderer: nothing answers any more, and the
    // lookup would wait for its timeout.
    connect(page_, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus && lookup_.state.timerInterval > 0)
                    giveUp(u"The page cannot be read: the browser stopped showing it (a page nested too deeply or too large ends it)."_s);
            });
    updateTimer();
}

void LookupPageDriver::updateTimer()
{
    const int interval = lookup_.state.timerInterval;
    if (interval <= 0)
        timer_.stop();
    else if (!timer_.isActive() || timer_.interval() != interval)
        timer_.start(interval);
}

void LookupPageDriver::setPaused(bool paused)
{
    paused_ = paused;
}

void LookupPageDriver::tick()
{
    // A snapshot that does not answer (the engine still loading, a script error) is simply
    // asked for again at a later tick; a page that answers none for SnapshotPatience after its
    // navigation began keeps the renderer busy for good (a page of 100,000 nested levels takes
    // minutes) and is given up with a message rather than at the lookup's timeout.
    if (paused_ || (snapshotPending_ && snapshotAsked_.elapsed() < 2000))
        return;
    if (snapshotPending_ && snapshotAsked_.isValid() && snapshotAsked_.elapsed() >= SnapshotPatience) {
        giveUp(u"The page does not answer: it is too large or nested too deeply to be read."_s);
        return;
    }
    if (!snapshotPending_)
        snapshotAsked_.start();
    snapshotPending_ = true;
    PageBridge::takeSnapshot(page_, [this, guard = QPointer<LookupPageDriver>(this)](const HtmlDocument &doc) {
        if (!guard)
            return;
        snapshotPending_ = false;
        if (paused_)
            return;
        const bool finished = pollTick(doc, lookup_);
        PageBridge::carryOut(page_, lookup_.actions);
        updateTimer();
        if (finished) {
            emit recordRead();
        } else if (doc.tooDeep && tooDeepReported_ != doc.url) {
            tooDeepReported_ = doc.url;
            emit readFailed(HtmlDocument::tooDeepText());
        } else if (!lookup_.pendingRelease.isEmpty()) {
            fetchRelease(doc.url);
        }
    });
}

void LookupPageDriver::giveUp(const QString &problem)
{
    lookup_.state.timerInterval = 0;
    snapshotPending_ = false;
    updateTimer();
    emit readFailed(problem);
}

void LookupPageDriver::fetchRelease(const QString &address)
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
