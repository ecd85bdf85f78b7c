#include "ui/lookup/CandidatePanel.h"

#include "lookup/FileEvidence.h"

#include <QApplication>
#include <algorithm>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CandidatePanel::CandidatePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"fraCandidates"_s);
    lblCandidates = new QLabel(u"Albums found :"_s, this);
    lblCandidates->setObjectName(u"lblCandidates"_s);
    lstCandidates = new QTreeWidget(this);
    lstCandidates->setObjectName(u"lstCandidates"_s);
    lblCandidates->setBuddy(lstCandidates);
    lstCandidates->setColumnCount(6);
    // The score first: the list is ranked by it, and it stays in sight however long the names.
    lstCandidates->setHeaderLabels({u"Score"_s, u"Artist"_s, u"Album"_s, u"Year"_s, u"Tracks"_s, u"Format"_s});
    lstCandidates->setRootIsDecorated(false);
    lstCandidates->setUniformRowHeights(true);
    lstCandidates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstCandidates->setMinimumWidth(420);
    // The album takes what the other columns leave, so the format stays in sight.
    lstCandidates->header()->setStretchLastSection(false);
    lstCandidates->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblCandidates);
    layout->addWidget(lstCandidates, 1);

    // Enter and a double click both activate an item.
    connect(lstCandidates, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const int row = lstCandidates->indexOfTopLevelItem(item);
        if (row >= 0 && row < candidates_.size() && !search_.isRunning())
            emit chosen(candidates_.at(row));
    });
    connect(&search_, &AlbumSearch::progress, this, &CandidatePanel::progress);
    connect(&search_, &AlbumSearch::finished, this, &CandidatePanel::searchFinished);
}

void CandidatePanel::find(const QString &folder, const WorkingList &files, const QString &service)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    evidence_ = readFolderEvidence(folder, files);
    QApplication::restoreOverrideCursor();
    candidates_.clear();
    lstCandidates->clear();
    lblCandidates->setText(u"Searching..."_s);
    search_.start(evidence_, service);
    emit busyChanged(true);
}

void CandidatePanel::cancel()
{
    if (!search_.isRunning())
        return;
    search_.cancel();
    lblCandidates->setText(u"Albums found :"_s);
    emit busyChanged(false);
}

void CandidatePanel::searchFinished(const QList<Candidate> &candidates, const QString &error)
{
    candidates_ = candidates;
    lblCandidates->setText(candidates.isEmpty() ? u"No album found"_s : u"Albums found :"_s);
    QList<QTreeWidgetItem *> items;
    for (const Candidate &c : candidates) {
        QString album = c.release.title;
        if (!c.release.disambiguation.isEmpty())
            album += u" ("_s + c.release.disambiguation + u')';
        if (c.medium >= 0)
            album += u" [disc %1]"_s.arg(c.medium + 1);
        auto *item = new QTreeWidgetItem({QString::number(c.score), c.release.artist, album, c.release.year,
                                          QString::number(c.trackCount()), c.release.formatText()});
        for (int column : {0, 3, 4})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        const QString why = u"%1 - %2\nScore %3/1000: %4"_s.arg(c.release.artist, album).arg(c.score).arg(c.criteriaText());
        for (int column = 0; column < 6; ++column)
            item->setToolTip(column, why);
        items.append(item);
    }
    lstCandidates->addTopLevelItems(items);
    // Long artist names are cut, so year, tracks, format and score stay in sight; the tooltip
    // names the release in full.
    for (int column : {0, 1, 3, 4, 5}) {
        lstCandidates->resizeColumnToContents(column);
        if (column == 1 || column == 5)
            lstCandidates->setColumnWidth(column, std::min(lstCandidates->columnWidth(column), 110));
    }
    emit progress(candidates.isEmpty() ? error : u"%1 albums found; Enter or a double click opens one."_s.arg(candidates.size()));
    emit busyChanged(false);
    if (candidates.isEmpty()) {
        emit failed(error);
        return;
    }
    lstCandidates->setCurrentItem(items.first());
    lstCandidates->setFocus();
}
