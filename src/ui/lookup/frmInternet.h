#pragma once
// The lookup window ("Internet Search"): a small browser on the music-information sites. It
// submits the search for the user, reads every page of a known site at each tick of its polling
// timer and, once a reader has filled the album record, shows the track list over it. OK there
// ends the lookup: the window then answers Accepted with the record handed over.

#include "lookup/SiteReaders.h"

#include <QDialog>
#include <QList>
#include <QPixmap>

class CandidatePanel;
class LookupPageDriver;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class ButtonEx;
class QStatusBar;
class QTimer;
class QVBoxLayout;
class QWebEngineProfile;
class QWebEngineView;
class frmTracks;

class frmInternet : public QDialog
{
    Q_OBJECT
public:
    /// currentDirectory: the album folder; files: the working list the files are paired from.
    frmInternet(const QString &currentDirectory, const WorkingList &files, QWidget *parent = nullptr);
    ~frmInternet() override;

    /// After OK of the track list: the record as it was handed over, and its cover.
    [[nodiscard]] const AlbumRecord &handedOverRecord() const { return handedOver_; }
    [[nodiscard]] bool coverShown() const { return !cover_.isNull(); }
    [[nodiscard]] QPixmap cover() const { return cover_; }

    [[nodiscard]] QWebEngineView *view() const { return web; }
    /// The track list dialog while it is shown, else null.
    [[nodiscard]] frmTracks *trackList() const { return tracks_; }
    /// The candidate list beside the page ("Find automatically").
    [[nodiscard]] CandidatePanel *candidatePanel() const { return candidates_; }
    /// The polling timer's interval, 0 while it is stopped.
    [[nodiscard]] int pollInterval() const;
    /// What the fillers derive their search text from: the folder box as it reads now.
    [[nodiscard]] const SearchInput &searchInput() const { return lookup_.search; }

    /// "Capture track list": the selection on the page, else the page's best track list, opens
    /// in the track list dialog; nothing found says so and the window stays as it is.
    void captureTrackList();
    /// "Paste track list": the clipboard's text read as a track list, likewise.
    void pasteTrackList();

public slots:
    void done(int result) override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void buildButtons();
    ButtonEx *makeButton(const QString &name, const QString &text, const QString &tip = {});
    QHBoxLayout *buildButtonRows(QVBoxLayout *layout);
    void buildPageArea(QVBoxLayout *layout, QHBoxLayout *folderRow);
    void connectCandidatePanel();
    void connectButtons();
    void addPageMenuAndKeys();
    void openSite(SiteKind kind);
    void reload();
    void copySearchText();
    void updateCaption();
    void busyTick();
    void showTrackList();
    void findAutomatically();
    void showCaptured(bool found, const QString &nothingFound, const QString &title);

    LookupContext lookup_;
    AlbumRecord handedOver_;
    QPixmap cover_;
    QList<QPixmap> busyFrames_;
    int busyCounter_ = 0;
    bool closing_ = false;
    QString folder_;
    // The record shown next came from the album search: it opens paired by best match.
    bool searchRecord_ = false;

    QWebEngineProfile *profile_ = nullptr;
    QWebEngineView *web = nullptr;
    LookupPageDriver *poller_ = nullptr;
    frmTracks *tracks_ = nullptr;
    QTimer *tmrBusy = nullptr;
    QLabel *imgBusy = nullptr;
    QLineEdit *txtDirectory = nullptr;
    ButtonEx *cmdAmg = nullptr;
    ButtonEx *cmdGracenote = nullptr;
    ButtonEx *cmdFreeDb = nullptr;
    ButtonEx *cmdMusicBrainz = nullptr;
    ButtonEx *cmdBack = nullptr;
    ButtonEx *cmdForward = nullptr;
    ButtonEx *cmdReload = nullptr;
    ButtonEx *cmdStop = nullptr;
    ButtonEx *cmdCopy = nullptr;
    ButtonEx *cmdFindAuto = nullptr;
    CandidatePanel *candidates_ = nullptr;
    ButtonEx *cmdCapture = nullptr;
    ButtonEx *cmdPaste = nullptr;
    QStatusBar *StatusBar1 = nullptr;
};
