#pragma once
// The album search without browsing, its asking half: the release search of the web service,
// then the most promising releases read in full, one request a second through the
// MusicBrainz client, each scored against the folder. A refused request (503) is asked again
// once, after a pause; the whole search ends by its time limit at the latest.

#include "lookup/AlbumCandidates.h"
#include "lookup/MusicBrainz.h"

#include <QObject>
#include <QTimer>

class AlbumSearch : public QObject
{
    Q_OBJECT
public:
    /// Results of the release search taken, and releases read in full.
    static constexpr int MaxResults = 25;
    static constexpr int MaxCandidates = 8;
    /// The pause before a refused request is asked again.
    static constexpr int RetryPauseMs = 2000;

    explicit AlbumSearch(QObject *parent = nullptr);
    ~AlbumSearch() override;

    /// Starts the search (a running one is cancelled first); finished follows once.
    void start(const FolderEvidence &evidence, const QString &service, int timeoutMs = 60000);
    /// Stops the search: requests under way are dropped and finished is not sent.
    void cancel();
    [[nodiscard]] bool isRunning() const { return running_; }
    /// The address of the release search last asked.
    [[nodiscard]] QUrl searchUrl() const { return searchUrl_; }

signals:
    /// A line for a status bar: what is being asked.
    void progress(const QString &text);
    /// The candidates best first; with none, error says why in one line ("" never with none).
    void finished(const QList<Candidate> &candidates, const QString &error);

private:
    void ask(const QUrl &url, bool retried, std::function<void(const QByteArray &, const QString &)> then);
    void searchAnswered(const QByteArray &body, const QString &error);
    void readNext();
    void finish(const QString &error);

    MusicBrainzClient *client_ = nullptr;
    QTimer deadline_;
    FolderEvidence evidence_;
    QString service_;
    QUrl searchUrl_;
    QList<SearchHit> toRead_;
    QList<Candidate> candidates_;
    QStringList problems_;
    bool running_ = false;
    // Each start gets its own number, so an answer of a cancelled search is dropped.
    int generation_ = 0;
};
