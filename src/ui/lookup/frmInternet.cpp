#include "ui/lookup/frmInternet.h"

#include "browser/LookupPageDriver.h"
#include "browser/PageBridge.h"
#include "foundation/Common.h"
#include "foundation/MessageGateway.h"
#include "foundation/Settings.h"
#include "foundation/Version.h"
#include "lookup/HtmlDocument.h"
#include "lookup/AlbumCandidates.h"
#include "lookup/SearchField.h"
#include "ui/lookup/CandidatePanel.h"
#include "ui/lookup/frmTracks.h"
#include "ui/widgets/WindowPlacement.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QSplitter>
#include "ui/widgets/ButtonEx.h"
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {

const PlacementKeys BrowserPlacement{SettingsKeys::BrowserWindowState, SettingsKeys::BrowserWidth,
                                     SettingsKeys::BrowserHeight, SettingsKeys::BrowserTop,
                                     SettingsKeys::BrowserLeft};

bool isAdvertising(const QString &address)
{
    return address.contains(u"ad."_s, Qt::CaseInsensitive) || address.contains(u"doubleclick."_s, Qt::CaseInsensitive);
}

/// The browser of the lookup window: pop-up windows never open; the page's context menu
/// offers the window's own actions after the browser's.
class LookupView : public QWebEngineView
{
public:
    LookupView(QWebEngineProfile *profile, QWidget *parent, std::function<void()> refused)
        : QWebEngineView(parent), refused_(std::move(refused))
    {
        setPage(new QWebEnginePage(profile, this));
    }

    void setMenuActions(const QList<QAction *> &actions) { menuActions_ = actions; }

protected:
    QWebEngineView *createWindow(QWebEnginePage::WebWindowType) override
    {
        refused_();
        return nullptr;
    }

    void contextMenuEvent(QContextMenuEvent *event) override
    {
        QMenu *menu = createStandardContextMenu();
        if (!menu)
            menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addSeparator();
        menu->addActions(menuActions_);
        menu->popup(event->globalPos());
    }

private:
    std::function<void()> refused_;
    QList<QAction *> menuActions_;
};

/// The busy indicator's pictures: three frames of a turning mark, then the idle frame.
QList<QPixmap> drawBusyFrames()
{
    QList<QPixmap> frames;
    for (int frame = 1; frame <= 4; ++frame) {
        QPixmap picture(20, 20);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        for (int dot = 0; dot < 3; ++dot) {
            const bool lit = frame < 4 && dot == frame - 1;
            p.setBrush(lit ? QColor(40, 110, 200) : QColor(180, 180, 180));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(4 + dot * 6, 10), 2.5, 2.5);
        }
        frames.append(picture);
    }
    return frames;
}

} // namespace

frmInternet::frmInternet(const QString &currentDirectory, const WorkingList &files, QWidget *parent)
    : QDialog(parent), busyFrames_(drawBusyFrames())
{
    setObjectName(u"frmInternet"_s);
    setSizeGripEnabled(true);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    lookup_.sites = SiteTable::fromSettings();
    lookup_.files = files;
    folder_ = currentDirectory;
    lookup_.search = SearchInput::forSelectedFile(Common::addBackslash(currentDirectory), files);
    // The engine is made only now, when the window first opens: the program starts without it.
    profile_ = new QWebEngineProfile(this);
    buildControls();
    txtDirectory->setText(Common::addBackslash(currentDirectory));
    // The fillers search for what the folder box says, edits included.
    connect(txtDirectory, &QLineEdit::textChanged, this, [this](const QString &text) { lookup_.search.directory = text; });
    restoreWindowPlacement(this, BrowserPlacement);
    setWindowTitle(u" Varnelt - Internet Search"_s);

    poller_ = new LookupPageDriver(web->page(), lookup_, this);
    connect(poller_, &LookupPageDriver::recordRead, this, [this] {
        QTimer::singleShot(0, this, &frmInternet::showTrackList);
    });
    connect(poller_, &LookupPageDriver::readFailed, this, [](const QString &problem) { Msg::showError(problem); });
    QWebEnginePage *page = web->page();
    connect(page, &QWebEnginePage::urlChanged, this, &frmInternet::updateCaption);
    connect(page, &QWebEnginePage::titleChanged, this, &frmInternet::updateCaption);
    connect(page, &QWebEnginePage::linkHovered, this, [this](const QString &url) { StatusBar1->showMessage(url); });
    // The view keeps the shown page's address until the new one arrives: the load names its own.
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &load) {
        if (load.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            StatusBar1->showMessage(u"Opening page %1..."_s.arg(load.url().toString()));
    });
    connect(page, &QWebEnginePage::loadProgress, this, [this](int progress) {
        // A search under way keeps the indicator running whatever the page does.
        if (progress != 0)
            tmrBusy->start(300);
        else if (!candidates_->isSearching())
            tmrBusy->stop();
    });
    connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        StatusBar1->showMessage(ok ? u"Done"_s : u"The page could not be opened."_s);
        const QString address = web->url().toString();
        if (!isAdvertising(address) && lookup_.sites.siteForAddress(address) && !candidates_->isSearching())
            tmrBusy->stop();
    });

    tmrBusy = new QTimer(this);
    connect(tmrBusy, &QTimer::timeout, this, &frmInternet::busyTick);
    tmrBusy->start(250);

    const Site &site = lookup_.sites.siteForLastSite(Settings().value(SettingsKeys::LastSite));
    web->load(QUrl::fromUserInput(site.home));
}

frmInternet::~frmInternet()
{
    // The page must go before its profile.
    delete poller_;
    delete web;
}

void frmInternet::buildControls()
{
    // Made in this order, which is the order Tab follows.
    buildButtons();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    QHBoxLayout *folderRow = buildButtonRows(layout);
    buildPageArea(layout, folderRow);
    connectCandidatePanel();
    connectButtons();
    addPageMenuAndKeys();
}

void frmInternet::buildButtons()
{
    struct Spec
    {
        ButtonEx *&button;
        QString name;
        QString text;
        QString tip = {};
    };
    const Spec specs[] = {
        {cmdAmg, u"cmdAmg"_s, u"All Music Guide"_s},
        {cmdGracenote, u"cmdGracenote"_s, u"Gracenote"_s},
        {cmdFreeDb, u"cmdFreeDb"_s, u"freedb"_s},
        {cmdMusicBrainz, u"cmdMusicBrainz"_s, u"MusicBrainz"_s},
        {cmdBack, u"cmdBack"_s, u"Back"_s},
        {cmdForward, u"cmdForward"_s, u"Forward"_s},
        {cmdReload, u"cmdReload"_s, u"Reload"_s},
        {cmdStop, u"cmdStop"_s, u"Stop"_s},
        {cmdCopy, u"cmdCopy"_s, u"Copy"_s, u"Puts the selected part of the folder into the page's search field"_s},
        {cmdCapture, u"cmdCapture"_s, u"Capture track list"_s,
         u"Reads the track list of the page, or of the part of it you selected"_s},
        {cmdPaste, u"cmdPaste"_s, u"Paste track list"_s, u"Reads a track list copied to the clipboard, one track a line"_s},
    };
    for (const Spec &spec : specs)
        spec.button = makeButton(spec.name, spec.text, spec.tip);
    txtDirectory = new QLineEdit(this);
    txtDirectory->setObjectName(u"txtDirectory"_s);
    imgBusy = new QLabel(this);
    imgBusy->setObjectName(u"imgBusy"_s);
    imgBusy->setPixmap(busyFrames_.last());
}

ButtonEx *frmInternet::makeButton(const QString &name, const QString &text, const QString &tip)
{
    auto *b = new ButtonEx(text, this);
    b->setObjectName(name);
    b->setFocusPolicy(Qt::TabFocus);
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

QHBoxLayout *frmInternet::buildButtonRows(QVBoxLayout *layout)
{
    auto *sitesRow = new QHBoxLayout;
    for (ButtonEx *b : {cmdAmg, cmdGracenote, cmdFreeDb, cmdMusicBrainz})
        sitesRow->addWidget(b);
    sitesRow->addStretch(1);
    for (ButtonEx *b : {cmdBack, cmdForward, cmdReload, cmdStop})
        sitesRow->addWidget(b);
    sitesRow->addWidget(imgBusy);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(u"Folder :"_s, this));
    folderRow->addWidget(txtDirectory, 1);
    folderRow->addWidget(cmdCopy);
    folderRow->addWidget(cmdCapture);
    folderRow->addWidget(cmdPaste);
    layout->addLayout(sitesRow);
    layout->addLayout(folderRow);
    return folderRow;
}

void frmInternet::buildPageArea(QVBoxLayout *layout, QHBoxLayout *folderRow)
{
    web = new LookupView(profile_, this, [this] {
        StatusBar1->showMessage(u"A pop-up window was refused."_s);
    });
    web->setObjectName(u"web"_s);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(u"StatusBar1"_s);
    StatusBar1->setSizeGripEnabled(false);
    cmdFindAuto = makeButton(u"cmdFindAuto"_s, u"&Find automatically"_s,
                             u"Searches MusicBrainz for this folder's album without browsing"_s);
    folderRow->addWidget(cmdFindAuto);
    candidates_ = new CandidatePanel(this);
    candidates_->hide();
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(u"splPage"_s);
    split->addWidget(web);
    split->addWidget(candidates_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    layout->addWidget(StatusBar1);
}

void frmInternet::connectCandidatePanel()
{
    connect(cmdFindAuto, &ButtonEx::clicked, this, &frmInternet::findAutomatically);
    connect(candidates_, &CandidatePanel::busyChanged, this, [this](bool busy) {
        cmdFindAuto->setEnabled(!busy);
        if (busy)
            tmrBusy->start(300);
        else
            tmrBusy->stop();
    });
    connect(candidates_, &CandidatePanel::progress, this, [this](const QString &text) { StatusBar1->showMessage(text); });
    connect(candidates_, &CandidatePanel::failed, this, [this](const QString &message) {
        StatusBar1->showMessage(message);
        Msg::ask(message, u"Find automatically"_s, Msg::Icon::Exclamation);
    });
    connect(candidates_, &CandidatePanel::chosen, this, [this](const Candidate &candidate) {
        if (tracks_)
            return;
        lookup_.record = recordForCandidate(candidate, lookup_.files, candidates_->evidence(),
                                            lookup_.sites.coverArtService);
        searchRecord_ = true;
        showTrackList();
    });
}

void frmInternet::connectButtons()
{
    connect(cmdAmg, &ButtonEx::clicked, this, [this] { openSite(SiteKind::Amg); });
    connect(cmdGracenote, &ButtonEx::clicked, this, [this] { openSite(SiteKind::Cddb); });
    connect(cmdFreeDb, &ButtonEx::clicked, this, [this] { openSite(SiteKind::Freedb); });
    connect(cmdMusicBrainz, &ButtonEx::clicked, this, [this] { openSite(SiteKind::MusicBrainz); });
    connect(cmdBack, &ButtonEx::clicked, this, [this] { web->back(); txtDirectory->setFocus(); });
    connect(cmdForward, &ButtonEx::clicked, this, [this] { web->forward(); txtDirectory->setFocus(); });
    connect(cmdStop, &ButtonEx::clicked, this, [this] {
        web->stop();
        lookup_.state.pageLoaded = false;
        txtDirectory->setFocus();
    });
    connect(cmdReload, &ButtonEx::clicked, this, &frmInternet::reload);
    connect(cmdCopy, &ButtonEx::clicked, this, &frmInternet::copySearchText);
    connect(cmdCapture, &ButtonEx::clicked, this, &frmInternet::captureTrackList);
    connect(cmdPaste, &ButtonEx::clicked, this, &frmInternet::pasteTrackList);
}

void frmInternet::addPageMenuAndKeys()
{
    auto *mnuCapture = new QAction(u"Capture track list"_s, this);
    mnuCapture->setObjectName(u"mnuCaptureTrackList"_s);
    connect(mnuCapture, &QAction::triggered, this, &frmInternet::captureTrackList);
    auto *mnuPaste = new QAction(u"Paste track list"_s, this);
    mnuPaste->setObjectName(u"mnuPasteTrackList"_s);
    connect(mnuPaste, &QAction::triggered, this, &frmInternet::pasteTrackList);
    static_cast<LookupView *>(web)->setMenuActions({mnuCapture, mnuPaste});
    // F5 anywhere in the window, the browser included, reloads.
    auto *f5 = new QAction(this);
    f5->setShortcut(Qt::Key_F5);
    f5->setShortcutContext(Qt::WindowShortcut);
    connect(f5, &QAction::triggered, this, &frmInternet::reload);
    addAction(f5);
}

int frmInternet::pollInterval() const
{
    return poller_->interval();
}

void frmInternet::openSite(SiteKind kind)
{
    web->stop();
    web->load(QUrl::fromUserInput(lookup_.sites.site(kind).home));
    switch (kind) {
    case SiteKind::Amg:
        lookup_.state.amgSearchSent = false;
        break;
    case SiteKind::Gracenote:
    case SiteKind::Cddb:
        lookup_.state.gracenoteSearchSent = false;
        break;
    case SiteKind::Freedb:
        lookup_.state.freedbSearchSent = false;
        break;
    case SiteKind::MusicBrainz:
        lookup_.state.musicbrainzSearchSent = false;
        break;
    }
    txtDirectory->setFocus();
}

void frmInternet::reload()
{
    web->stop();
    web->reload();
    lookup_.state.timerInterval = 1000;
    lookup_.state.pageLoaded = false;
    poller_->updateTimer();
    txtDirectory->setFocus();
}

void frmInternet::copySearchText()
{
    const QString text = txtDirectory->selectedText();
    txtDirectory->setFocus();
    QPointer<QWebEnginePage> page = web->page();
    PageBridge::takeSnapshot(page, [page, text](const HtmlDocument &doc) {
        const int field = searchFieldIndex(doc, {SearchMark::amg(), SearchMark::gracenote(), SearchMark::freedb()});
        if (field >= 0)
            PageBridge::carryOut(page, {ElementAction::setAttribute(doc, field, u"value"_s, text)});
    });
}

void frmInternet::updateCaption()
{
    const QString address = web->url().toString();
    if (isAdvertising(address) || !lookup_.sites.siteForAddress(address) || address == lookup_.lastResultUrl)
        return;
    const QString title = web->title();
    setWindowTitle(u" Varnelt - "_s + title + (address != title ? u" - "_s + address : QString()));
}

void frmInternet::busyTick()
{
    if (!tmrBusy->isActive()) {
        imgBusy->setPixmap(busyFrames_.at(3));
    } else if (busyCounter_ < 3) {
        ++busyCounter_;
        imgBusy->setPixmap(busyFrames_.at(busyCounter_ - 1));
    } else {
        busyCounter_ = 0;
        imgBusy->setPixmap(busyFrames_.at(3));
    }
}

void frmInternet::findAutomatically()
{
    if (candidates_->isHidden()) {
        candidates_->show();
        auto *split = qobject_cast<QSplitter *>(candidates_->parentWidget());
        const int width = split->width();
        split->setSizes({width / 2, width - width / 2});
    }
    StatusBar1->showMessage(u"Searching MusicBrainz..."_s);
    candidates_->find(folder_, lookup_.files, lookup_.sites.musicbrainzService);
}

void frmInternet::showTrackList()
{
    if (closing_ || tracks_ || lookup_.record.rows.isEmpty())
        return;
    for (const QString &note : std::as_const(lookup_.record.notes))
        StatusBar1->showMessage(note);
    // No tick reads a page while the list is shown: the record stays as the user sees it.
    poller_->setPaused(true);
    frmTracks dialog(lookup_.record, this);
    dialog.setFolder(folder_);
    dialog.setBestMatchOnOpen(std::exchange(searchRecord_, false));
    dialog.setWorkingList(lookup_.files, lookup_.search.directory);
    dialog.fitToRows();
    tracks_ = &dialog;
    const int answer = dialog.exec();
    tracks_ = nullptr;
    if (closing_)
        return;
    if (answer == QDialog::Accepted) {
        handedOver_ = dialog.record();
        cover_ = dialog.cover();
        accept();
        return;
    }
    // Continue: the record is discarded and browsing goes on; the next completed navigation to a
    // site page starts the timer again.
    lookup_.record = AlbumRecord();
    poller_->setPaused(false);
}

void frmInternet::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        txtDirectory->setFocus();
        txtDirectory->end(false);
    }
}

void frmInternet::done(int result)
{
    if (!closing_) {
        closing_ = true;
        storeWindowPlacement(this, BrowserPlacement);
        Settings().setValue(SettingsKeys::LastSite, lookup_.sites.lastSiteKey(web->url().toString()));
        // Nothing of the page goes on after the window: no tick, no load, no track list.
        poller_->setPaused(true);
        candidates_->cancel();
        web->stop();
        if (tracks_)
            tracks_->reject();
    }
    QDialog::done(result);
}
