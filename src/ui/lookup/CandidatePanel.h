#pragma once
// The lookup window's candidate list: "Find automatically" searches the web service for the
// folder's album without browsing, and the candidates it finds are listed best first (score,
// artist, album, year, tracks, format; the score's criteria as tooltip). Enter or a double
// click on one chooses it.

#include "lookup/AlbumSearch.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

class CandidatePanel : public QWidget
{
    Q_OBJECT
public:
    explicit CandidatePanel(QWidget *parent = nullptr);

    /// Starts the search for the working list of the folder (a running one is cancelled).
    void find(const QString &folder, const WorkingList &files, const QString &service);
    /// Stops a running search; nothing more is reported.
    void cancel();
    [[nodiscard]] bool isSearching() const { return search_.isRunning(); }
    /// What the folder told the last search.
    [[nodiscard]] const FolderEvidence &evidence() const { return evidence_; }
    [[nodiscard]] const QList<Candidate> &candidates() const { return candidates_; }
    [[nodiscard]] QTreeWidget *list() const { return lstCandidates; }

signals:
    void busyChanged(bool busy);
    void progress(const QString &text);
    /// The search found nothing or could not be made: one line saying why.
    void failed(const QString &message);
    void chosen(const Candidate &candidate);

private:
    void searchFinished(const QList<Candidate> &candidates, const QString &error);

    AlbumSearch search_;
    FolderEvidence evidence_;
    QList<Candidate> candidates_;
    QLabel *lblCandidates = nullptr;
    QTreeWidget *lstCandidates = nullptr;
};
