#pragma once
// The lookup window's polling timer and navigation notifications over a live page: each tick
// takes a fresh snapshot, runs the matching site's reader on it and carries its fillers'
// actions out; a MusicBrainz release page is read through the web service. The lookup window
// and varnelt-cli drive a lookup through this one class.

#include "lookup/MusicBrainz.h"
#include "lookup/SiteReaders.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWebEnginePage;

class LookupPageDriver : public QObject
{
    Q_OBJECT
public:
    /// Watches the page's navigations for the lookup; the timer starts at the lookup's interval.
    LookupPageDriver(QWebEnginePage *page, LookupContext &lookup, QObject *parent = nullptr);

    /// Runs the timer at the lookup's current interval (stops it at 0).
    void updateTimer();
    /// While paused no tick reads a page and no answer of a running tick is used.
    void setPaused(bool paused);
    [[nodiscard]] bool isPaused() const { return paused_; }
    [[nodiscard]] int interval() const { return timer_.isActive() ? timer_.interval() : 0; }

signals:
    /// A reader filled the record (not-found rows added, timer stopped).
    void recordRead();
    /// The page cannot be read (the MusicBrainz web service gave no release, the page does not
    /// answer, its renderer ended, it is nested too deeply): one line saying why.
    void readFailed(const QString &problem);

public:
    /// How long a snapshot may go unanswered before the page counts as one that cannot be read.
    static constexpr int SnapshotPatience = 15000;

private:
    void tick();
    void giveUp(const QString &problem);
    void fetchRelease(const QString &address);

    QWebEnginePage *page_;
    LookupContext &lookup_;
    MusicBrainzClient musicbrainz_;
    QTimer timer_;
    QElapsedTimer snapshotAsked_;
    bool snapshotPending_ = false;
    bool paused_ = false;
    /// The page whose depth was already reported.
    QString tooDeepReported_;
};
