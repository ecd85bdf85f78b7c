#pragma once
// The track list dialog ("Tracks found"): the album record a site reader filled, one row per
// track with the user's file paired to it, the album score, and the moves that change the
// pairing. OK hands the record over (the dialog then answers Accepted); Continue discards it.

#include "lookup/AlbumRecord.h"
#include "lookup/EvidencePairing.h"
#include "lookup/SiteReaders.h"

#include <QDialog>
#include <QPixmap>

class CoverDownload;
class QCheckBox;
class QLabel;
class QLineEdit;
class ButtonEx;
class QTimer;
class QTreeWidget;

class frmTracks : public QDialog
{
    Q_OBJECT
public:
    explicit frmTracks(const AlbumRecord &record, QWidget *parent = nullptr);
    ~frmTracks() override;

    /// The record as the dialog shows it: the rows in their current pairing, the album fields
    /// as typed.
    [[nodiscard]] AlbumRecord record() const;
    /// True when the cover picture was downloaded and is shown.
    [[nodiscard]] bool coverShown() const;
    [[nodiscard]] QPixmap cover() const { return cover_; }
    /// The album score of the current pairing, as lblScore shows it.
    [[nodiscard]] int score() const { return score_; }

    /// The folder of the record's files: their tags and lengths are the evidence of best match
    /// and of the pairs' scores.
    void setFolder(const QString &folder);
    /// Pairs by best match as the dialog opens (an album from a search; else as the setting
    /// "Pair by best match when an album arrives" says).
    void setBestMatchOnOpen(bool on) { bestMatchOnOpen_ = on; }
    /// The score and reason of each row's pair, as the Score column and the tooltips show them.
    [[nodiscard]] const QList<PairScore> &pairScores() const { return pairScores_; }
    /// The files the record is paired from and the album folder: "Paste track list" pairs a
    /// pasted list with them as the lookup paired the record.
    void setWorkingList(const WorkingList &files, const QString &directory);

    /// Sizes the list for its rows (a list taller than the screen allows stops there and its
    /// "File Name" column narrows) and places the buttons under it.
    void fitToRows();

public slots:
    void autoOrder();
    void bestMatch();
    void moveUp();
    void moveDown();
    /// "Paste track list": the clipboard's text replaces the record's tracks and album fields.
    void pasteTrackList();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void fillRows();
    void firstActivation();
    void showScore(bool scoreOnly);
    void moveSelected(int direction);
    void coverArrived(const QString &error);
    const QList<FileEvidence> &evidence();
    void scoreCurrentPairs();
    void showAlbumFields();

    AlbumRecord record_;
    QList<TrackRow> rows_;
    QPixmap cover_;
    CoverDownload *download_ = nullptr;
    QString coverFileName_;
    int score_ = 0;
    bool dialogShown_ = false;
    QString folder_;
    QList<FileEvidence> evidence_;
    bool evidenceRead_ = false;
    QList<PairScore> pairScores_;
    bool bestMatchOnOpen_ = false;
    WorkingList files_;
    QString directory_;

    QLineEdit *txtArtist = nullptr;
    QLineEdit *txtAlbum = nullptr;
    QLineEdit *txtGenre = nullptr;
    QLineEdit *txtYear = nullptr;
    QTreeWidget *lstTracks = nullptr;
    QLabel *ImgCover = nullptr;
    QLabel *lblLoad = nullptr;
    QLabel *lblScore = nullptr;
    ButtonEx *cmdOk = nullptr;
    ButtonEx *cmdContinue = nullptr;
    ButtonEx *cmdAutoOrder = nullptr;
    ButtonEx *cmdBestMatch = nullptr;
    QCheckBox *chkBestMatch = nullptr;
    ButtonEx *cmdUp = nullptr;
    ButtonEx *cmdDown = nullptr;
    ButtonEx *cmdPaste = nullptr;
    QTimer *tmrTimeOut = nullptr;
};
